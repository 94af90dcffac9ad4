#pragma once

#include "uilib/style/CAnimationInactive.h"

// Adds the animated hovered, pressed and checked looks. In mode 2 it also follows the pointer
// (hovered while enabled) and the keyboard focus (checked while focused).
class CAnimationWidget : public CAnimationInactive
{
    Q_OBJECT
    Q_PROPERTY(double hoveredProgress READ hoveredProgress WRITE setHoveredProgress NOTIFY hoveredProgressChanged)
    Q_PROPERTY(double pressedProgress READ pressedProgress WRITE setPressedProgress NOTIFY pressedProgressChanged)
    Q_PROPERTY(double checkedProgress READ checkedProgress WRITE setCheckedProgress NOTIFY checkedProgressChanged)

public:
    CAnimationWidget(int mode, QObject* parent);
    ~CAnimationWidget() override;

    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }
    bool isChecked() const { return m_checked; }
    void setHovered(bool hovered, bool animated);
    void setPressed(bool pressed, bool animated);
    void setChecked(bool checked, bool animated);

    void setHoveredAnimationParams(const AnimationParams& params);
    void setPressedAnimationParams(const AnimationParams& params);
    void setCheckedAnimationParams(const AnimationParams& params);

    double hoveredProgress() const { return m_hoveredProgress; }
    double pressedProgress() const { return m_pressedProgress; }
    double checkedProgress() const { return m_checkedProgress; }
    void setHoveredProgress(double progress);
    void setPressedProgress(double progress);
    void setCheckedProgress(double progress);

    void applyStyle() override;

signals:
    void hoveredProgressChanged(double progress);
    void pressedProgressChanged(double progress);
    void checkedProgressChanged(double progress);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyStateStyle();

    bool m_hovered = false;
    bool m_pressed = false;
    bool m_checked = false;
    bool m_hoveredParamsSet = false;
    bool m_pressedParamsSet = false;
    bool m_checkedParamsSet = false;
    double m_hoveredProgress = 0.0;
    double m_pressedProgress = 0.0;
    double m_checkedProgress = 0.0;
};
