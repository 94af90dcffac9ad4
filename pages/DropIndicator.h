#pragma once

#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CDrawable.h"

#include <QColor>

class CPainterScope;

// A dashed rounded frame that marks where files can be dropped; the highlight tints its inside.
// Kind 0 keeps 16 pixels around the frame; kind 1 fits a narrow strip, shows without
// activating and draws a line along its bottom.
class DropIndicator : public CWidgetBase, public CDrawable
{
public:
    // noStyle: the colours wait for applyStyle().
    DropIndicator(QWidget* parent, int kind, bool noStyle);
    ~DropIndicator() override;

    int kind() const { return m_kind; }
    double highlight() const { return m_highlight; }
    void setHighlight(double highlight);

    QSize minimumSizeHint() const override;
    void applyStyle() override;
    // Paints the indicator over the scope's area.
    void paint(CPainterScope& scope) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_kind;
    QColor m_frameColor;
    QColor m_fillColor;
    double m_highlight = 0.0;
};
