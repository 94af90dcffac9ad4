#pragma once

#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CDrawable.h"
#include "uilib/style/CPanelDraw.h"

class CAnimationWidget;

// A painted panel: background, border and rounded shape in the look the palette gives its kind.
class CPanel : public CWidgetBase, public CPanelDraw, public CDrawable
{
    Q_OBJECT
public:
    // Kind -1 takes no palette look; deferStyle leaves the first applyStyle() to a subclass.
    CPanel(int styleKind, QWidget* parent = nullptr, bool deferStyle = false);
    explicit CPanel(QWidget* parent = nullptr, bool deferStyle = false);
    ~CPanel() override;

    // As a widget; the drawing part's own are reached through CPanelDraw.
    using QWidget::minimumSizeHint;
    using QWidget::rect;
    using QWidget::resize;
    using QWidget::sizeHint;

    void applyStyle() override;
    CAnimationWidget* animation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CAnimationWidget* m_animation;
};
