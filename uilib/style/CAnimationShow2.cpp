#include "uilib/style/CAnimationShow2.h"

#include "uilib/style/COpacityEffect.h"

#include <QEvent>
#include <QWidget>

#include <cmath>

namespace {

AnimationParams defaultParams()
{
    return AnimationParams{QEasingCurve::OutCubic, 250, QEasingCurve::InCubic, 250, 0.0, 1.0};
}

COpacityEffect* opacityEffect(const QWidget* widget)
{
    return dynamic_cast<COpacityEffect*>(widget->graphicsEffect());
}

bool isVisibleToParent(const QWidget* widget)
{
    return widget->isVisibleTo(widget->parentWidget());
}

// The widget's opacity effect, installed when it has no effect at all: opaque when the widget
// shows, transparent when it is hidden. Null when it carries another effect.
COpacityEffect* ensureOpacityEffect(QWidget* widget)
{
    if (COpacityEffect* effect = opacityEffect(widget))
        return effect;
    if (widget->graphicsEffect())
        return nullptr;
    auto* effect = new COpacityEffect(widget);
    effect->setOpacity(isVisibleToParent(widget) ? 1.0 : 0.0);
    return effect;
}

double currentOpacity(QWidget* widget)
{
    if (!widget)
        return 1.0;
    double opacity = 1.0;
    if (widget->isWindow())
        opacity = widget->windowOpacity();
    else if (COpacityEffect* effect = ensureOpacityEffect(widget))
        opacity = effect->opacity();
    return opacity < 0.0 || opacity > 1.0 ? 1.0 : opacity;
}

void applyOpacity(QWidget* widget, double opacity)
{
    if (!widget)
        return;
    if (widget->isWindow()) {
        widget->setWindowOpacity(opacity);
        return;
    }
    if (COpacityEffect* effect = ensureOpacityEffect(widget))
        effect->setOpacity(opacity);
}

} // namespace

CAnimationShow2::VisibilityAnimator::VisibilityAnimator(QWidget* widget)
    : CAnimationProgress(widget, defaultParams()), m_widget(widget)
{
    widget->installEventFilter(this);
    // A hidden widget starts hidden whatever its opacity, so that its animated show runs.
    const double opacity = currentOpacity(widget);
    if (isVisibleToParent(widget) && qFuzzyCompare(opacity, 1.0))
        jumpToEnd();
}

CAnimationShow2::VisibilityAnimator::~VisibilityAnimator() = default;

bool CAnimationShow2::VisibilityAnimator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_widget)
        return false;
    if (event->type() == QEvent::HideToParent) {
        resetToStart();
    } else if (event->type() == QEvent::ShowToParent && !isRunning()) {
        // Shown directly while no show runs: shown in full, never left transparent.
        jumpToEnd();
        setProgress(1.0);
    }
    return false;
}

CAnimationShow2::CAnimationShow2(QWidget* widget)
    : m_widget(widget)
{
}

CAnimationShow2::~CAnimationShow2()
{
    delete m_animator.data();
}

void CAnimationShow2::animationFinished()
{
}

void CAnimationShow2::ensureAnimator()
{
    if (m_animator || !m_widget)
        return;
    auto* animator = new VisibilityAnimator(m_widget);
    QObject::connect(animator, &CAnimationProgress::progressChanged, animator,
                     [this](double progress) { onProgress(progress); });
    m_animator = animator;
    QObject::connect(animator, &CAnimationProgress::started, animator, [this] {
        if (COpacityEffect* effect = m_widget ? opacityEffect(m_widget) : nullptr)
            effect->startCaching();
    });
    QObject::connect(animator, &CAnimationProgress::finished, animator, [this](CAnimateionProp::Pos position) {
        if (COpacityEffect* effect = m_widget ? opacityEffect(m_widget) : nullptr)
            effect->stopCaching();
        if (position == CAnimateionProp::End)
            animationFinished();
    });
}

void CAnimationShow2::onProgress(double progress)
{
    QWidget* widget = m_widget;
    if (!widget)
        return;
    progress = std::isnan(progress) ? 0.0 : qBound(0.0, progress, 1.0);
    applyOpacity(widget, progress);
    if (std::abs(progress) <= 1e-12) {
        // A show turned round from a nearly finished hide starts from 0: it must not hide the
        // widget, whose hide would reset the show it is starting.
        const bool showing = m_animator && m_animator->position() == CAnimateionProp::End;
        widget->setVisible(showing);
    } else if (!isVisibleToParent(widget)) {
        widget->setVisible(true);
    }
}

void CAnimationShow2::setVisibleAnimated(bool visible, bool animated)
{
    if (animated)
        ensureAnimator();
    if (!m_animator) {
        if (m_widget)
            m_widget->setVisible(visible);
        return;
    }
    m_animator->setState(visible, animated);
    if (animated && visible && m_widget && !isVisibleToParent(m_widget))
        m_animator->setProgress(0.001);
}

void CAnimationShow2::setAnimationParams(const AnimationParams& params)
{
    ensureAnimator();
    if (m_animator)
        m_animator->setAnimationParams(params);
}

void CAnimationShow2::setSlide(int edge, int distance)
{
    ensureAnimator();
    if (!m_widget || m_widget->isWindow())
        return;
    if (COpacityEffect* effect = ensureOpacityEffect(m_widget))
        effect->setSlide(edge, distance);
}
