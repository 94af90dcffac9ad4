#include "uilib/style/CAnimationInactive.h"

#include "uilib/style/CAnimateionProp.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QEvent>
#include <QWidget>

namespace {
constexpr char DisabledProgress[] = "disabledProgress";
}

CAnimationInactive::CAnimationInactive(int mode, QObject* parent)
    : QObject(parent), CDrawable(-1), m_mode(mode), m_engine(new CAnimateionProp(this))
{
    applyDisabledStyle();
}

CAnimationInactive::~CAnimationInactive() = default;

void CAnimationInactive::setWidget(QWidget* widget)
{
    if (m_widget)
        m_widget->removeEventFilter(this);
    m_widget = widget;
    if (!widget)
        return;
    if (m_mode != 0)
        widget->installEventFilter(this);
    setDisabled(!widget->isEnabled(), widget->isVisible());
}

void CAnimationInactive::setDisabled(bool disabled, bool animated)
{
    driveState(m_disabled, disabled, DisabledProgress, animated);
}

void CAnimationInactive::setDisabledOpacity(double factor)
{
    m_disabledOpacitySet = true;
    m_disabledOpacity = factor;
}

void CAnimationInactive::setDisabledAnimationParams(const AnimationParams& params)
{
    setExplicitParams(m_disabledParamsSet, DisabledProgress, params);
}

double CAnimationInactive::opacity() const
{
    return 1.0 - m_disabledOpacity * m_disabledProgress;
}

void CAnimationInactive::setDisabledProgress(double progress)
{
    if (storeProgress(m_disabledProgress, progress))
        emit disabledProgressChanged(progress);
}

void CAnimationInactive::applyStyle()
{
    applyDisabledStyle();
}

void CAnimationInactive::applyDisabledStyle()
{
    Cpalette* palette = currentPalette();
    if (!m_disabledOpacitySet)
        m_disabledOpacity = palette->opacity(0);
    if (!m_disabledParamsSet)
        m_engine->setAnimation(this, DisabledProgress, palette->animationValue(0));
}

bool CAnimationInactive::driveState(bool& state, bool value, const char* property, bool animated)
{
    if (state == value)
        return false;
    state = value;
    m_engine->setState(property, value, animated && m_animationsEnabled);
    return true;
}

bool CAnimationInactive::storeProgress(double& stored, double value)
{
    if (qFuzzyCompare(stored, value))
        return false;
    stored = value;
    if (m_widget)
        m_widget->update();
    return true;
}

void CAnimationInactive::setExplicitParams(bool& explicitFlag, const char* property, const AnimationParams& params)
{
    explicitFlag = true;
    m_engine->setAnimation(this, property, params);
}

bool CAnimationInactive::eventFilter(QObject* watched, QEvent* event)
{
    if (m_mode != 0 && watched == m_widget && event->type() == QEvent::EnabledChange)
        setDisabled(!m_widget->isEnabled(), m_widget->isVisible());
    return QObject::eventFilter(watched, event);
}
