#pragma once

#include "uilib/style/CAnimationShow2.h"
#include "uilib/style/CDrawable.h"

#include <QColor>
#include <QWidget>

// A mouse-transparent soft shadow strip along one edge of a target widget. Mode 0 stands free;
// any other mode follows the target, mode 2 on the inside of the target's edge.
class CChadowLine : public QWidget, public CDrawable, public CAnimationShow2
{
    Q_OBJECT
public:
    CChadowLine(int styleKind, int edge, int mode, QWidget* target, bool deferStyle = false);
    ~CChadowLine() override;

    void applyStyle() override;
    void setShadowSize(int size);
    void setColor(const QColor& color);
    int shadowSize() const;
    QColor color() const;
    int edge() const;

    // Where an attached line lies for the target geometry g.
    static QRect placement(int edge, bool inside, int size, const QRect& g);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Private;
    Private* d;
};
