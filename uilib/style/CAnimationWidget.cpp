#include "uilib/style/CAnimationWidget.h"

#include "uilib/style/CAnimateionProp.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QEvent>
#include <QWidget>

namespace {
constexpr char HoveredProgress[] = "hoveredProgress";
constexpr char PressedProgress[] = "pressedProgress";
constexpr char CheckedProgress[] = "checkedProgress";
}

CAnimationWidget::CAnimationWidget(int mode, QObject* parent)
    : CAnimationInactive(mode, parent)
{
    applyStateStyle();
}

CAnimationWidget::~CAnimationWidget() = default;

void CAnimationWidget::setHovered(bool hovered, bool animated)
{
    driveState(m_hovered, hovered, HoveredProgress, animated);
}

void CAnimationWidget::setPressed(bool pressed, bool animated)
{
    driveState(m_pressed, pressed, PressedProgress, animated);
}

void CAnimationWidget::setChecked(bool checked, bool animated)
{
    driveState(m_checked, checked, CheckedProgress, animated);
}

void CAnimationWidget::setHoveredAnimationParams(const AnimationParams& params)
{
    setExplicitParams(m_hoveredParamsSet, HoveredProgress, params);
}

void CAnimationWidget::setPressedAnimationParams(const AnimationParams& params)
{
    setExplicitParams(m_pressedParamsSet, PressedProgress, params);
}

void CAnimationWidget::setCheckedAnimationParams(const AnimationParams& params)
{
    setExplicitParams(m_checkedParamsSet, CheckedProgress, params);
}

void CAnimationWidget::setHoveredProgress(double progress)
{
    if (storeProgress(m_hoveredProgress, progress))
        emit hoveredProgressChanged(progress);
}

void CAnimationWidget::setPressedProgress(double progress)
{
    if (storeProgress(m_pressedProgress, progress))
        emit pressedProgressChanged(progress);
}

void CAnimationWidget::setCheckedProgress(double progress)
{
    if (storeProgress(m_checkedProgress, progress))
        emit checkedProgressChanged(progress);
}

void CAnimationWidget::applyStyle()
{
    CAnimationInactive::applyStyle();
    applyStateStyle();
}

void CAnimationWidget::applyStateStyle()
{
    Cpalette* palette = currentPalette();
    if (!m_hoveredParamsSet)
        engine()->setAnimation(this, HoveredProgress, palette->animationValue(1));
    if (!m_pressedParamsSet)
        engine()->setAnimation(this, PressedProgress, palette->animationValue(2));
    if (!m_checkedParamsSet)
        engine()->setAnimation(this, CheckedProgress, palette->animationValue(3));
}

bool CAnimationWidget::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* target = widget();
    if (mode() == 2 && watched == target) {
        switch (event->type()) {
        case QEvent::Enter: setHovered(target->isEnabled(), true); break;
        case QEvent::Leave: setHovered(false, true); break;
        case QEvent::FocusIn: setChecked(true, true); break;
        case QEvent::FocusOut: setChecked(false, true); break;
        default: break;
        }
    }
    return CAnimationInactive::eventFilter(watched, event);
}
