#pragma once

#include "uilib/controls/CScrollBar.h"
#include "uilib/style/ColorSet.h"

class CAnimationWidget;

// The thin overlay bar of a scroll area: a rounded handle on a rounded groove lying over the
// area's right or bottom edge, widening while the pointer rests on it and narrowing half a
// second after it leaves. It vanishes while nothing can be scrolled. Margin mode 1 keeps the
// content widget clear of the bar while it is shown.
class CAnimationScrollBar : public CScrollBar
{
    Q_OBJECT
public:
    CAnimationScrollBar(int styleKind, QAbstractScrollArea* area, int marginMode = 0,
                        Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr,
                        bool deferStyle = false);
    ~CAnimationScrollBar() override;

    void setGrooveColor(const QColor& color);
    void setHandleColors(const ColorSet& colors);
    QColor grooveColor() const;
    ColorSet handleColors() const;
    // The width ("hoveredProgress") and the fade of a disabled bar ("disabledProgress").
    CAnimationWidget* expansionAnimation() const;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Private;
    Private* d;
};

// Gives the area overlay bars for the orientations whose policy is not always off, once.
void installAnimatedScrollBars(int styleKind, QAbstractScrollArea* area, int marginMode = 0);
