#pragma once

#include <QPainter>
#include <QRectF>

class QPaintDevice;
class QStyleOption;

// A painter for one paint event. At a fractional device pixel ratio the painter's origin and
// the area's edges are moved onto whole device pixels.
class CPainterScope
{
public:
    explicit CPainterScope(QPaintDevice* device);
    // Over an existing painter, painting in the option's rect.
    CPainterScope(QPainter* painter, const QStyleOption* option);
    ~CPainterScope();
    CPainterScope(const CPainterScope&) = delete;
    CPainterScope& operator=(const CPainterScope&) = delete;

    QPainter* painter() { return m_borrowed ? m_borrowed : &m_owned; }
    double scale() const { return m_scale; }
    QRectF area() const { return m_area; }

private:
    void open(const QRectF& rect);

    QPainter m_owned;
    QPainter* m_borrowed = nullptr;
    double m_scale = 1.0;
    QRectF m_area;
    bool m_saved = false;
};
