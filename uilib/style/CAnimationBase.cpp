#include "uilib/style/CAnimationBase.h"

#include "uilib/style/COpacityEffect.h"

#include <QEventLoop>
#include <QVariantAnimation>
#include <QWidget>

CAnimationBase::CAnimationBase(QWidget* target)
    : QObject(target), m_target(target), m_animation(new QVariantAnimation(this))
{
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        if (m_target)
            applyValue(value);
    });
    connect(m_animation, &QAbstractAnimation::finished, this, &CAnimationBase::finished);
}

CAnimationBase::~CAnimationBase() = default;

void CAnimationBase::setDuration(int durationMs)
{
    m_duration = qMax(0, durationMs);
}

void CAnimationBase::animate(const QVariant& from, const QVariant& to, bool animated, bool wait)
{
    if (from == to) {
        stop();
        return;
    }
    if (m_target && m_target->isVisible() && animated) {
        int duration = m_duration;
        if (isRunning()) {
            duration = m_animation->duration() - m_animation->currentTime();
            m_animation->stop();
        }
        m_animation->setStartValue(from);
        m_animation->setCurrentTime(0);
        m_animation->setDuration(duration);
        m_animation->setEndValue(to);
        m_animation->start();
        if (!wait)
            return;
        const QPointer<CAnimationBase> self(this);
        waitForEnd();
        if (!self)
            return;
    }
    stop();
    if (m_target)
        applyValue(to);
}

// A nested loop until the animation stops, the target goes or this object goes.
void CAnimationBase::waitForEnd()
{
    if (!isRunning())
        return;
    QEventLoop loop;
    connect(m_animation, &QAbstractAnimation::stateChanged, &loop, [&loop](QAbstractAnimation::State state) {
        if (state == QAbstractAnimation::Stopped)
            loop.quit();
    });
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    if (m_target)
        connect(m_target, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool CAnimationBase::isRunning() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

void CAnimationBase::stop()
{
    if (isRunning())
        m_animation->stop();
}

void CAnimationGeom::setGeometry(const QRect& to, bool animated, int durationMs, bool wait)
{
    if (durationMs >= 0)
        setDuration(durationMs);
    animate(target() ? target()->geometry() : QRect(), to, animated, wait);
}

void CAnimationGeom::applyValue(const QVariant& value)
{
    QWidget* widget = target();
    if (!widget)
        return;
    const QRect rect = value.toRect();
    widget->move(rect.topLeft());
    const QSizePolicy policy = widget->sizePolicy();
    if (policy.horizontalPolicy() == QSizePolicy::Fixed)
        widget->setFixedWidth(rect.width());
    if (policy.verticalPolicy() == QSizePolicy::Fixed)
        widget->setFixedHeight(rect.height());
    widget->resize(rect.size());
}

double CAnimationShow::opacity() const
{
    QWidget* widget = target();
    if (!widget)
        return 1.0;
    if (widget->isWindow())
        return widget->windowOpacity();
    if (auto* effect = dynamic_cast<COpacityEffect*>(widget->graphicsEffect()))
        return effect->opacity();
    return widget->isVisible() ? 1.0 : 0.0;
}

void CAnimationShow::setOpacity(double to, bool animated, int durationMs, bool wait)
{
    if (durationMs >= 0)
        setDuration(durationMs);
    animate(opacity(), to, animated, wait);
}

void CAnimationShow::applyValue(const QVariant& value)
{
    QWidget* widget = target();
    if (!widget)
        return;
    if (widget->isWindow()) {
        widget->setWindowOpacity(value.toDouble());
        return;
    }
    auto* effect = dynamic_cast<COpacityEffect*>(widget->graphicsEffect());
    if (!effect && !widget->graphicsEffect())
        effect = new COpacityEffect(widget);
    if (effect)
        effect->setOpacity(value.toDouble());
}
