#pragma once

#include "uilib/controls/ButtonContent.h"
#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CDrawable.h"

class CAnimationWidget;
class CPainterScope;

// An icon and texts painted as a button paints them, without any button behaviour.
class CWidgetTextIcon : public CWidgetBase, public CButtonDraw, public CDrawable
{
    Q_OBJECT
public:
    CWidgetTextIcon(int styleKind, const QString& iconName, QWidget* parent = nullptr, bool deferStyle = false);
    CWidgetTextIcon(int styleKind, QWidget* parent = nullptr, bool deferStyle = false);
    ~CWidgetTextIcon() override;

    using CButtonDraw::setFont;
    using QWidget::rect;
    using QWidget::resize;

    CAnimationWidget* animation() const { return m_animation; }
    void applyStyle() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void geometryChanged() override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    virtual void drawContent(CPainterScope& scope);

private:
    mutable SizeHintCache m_sizes;
    CAnimationWidget* m_animation;
};
