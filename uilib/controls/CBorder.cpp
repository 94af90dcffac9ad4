#include "uilib/controls/CBorder.h"

#include "uilib/style/ColorUtils.h"

CBorder::CBorder(QWidget* widget)
    : QObject(widget)
    , m_window(widget ? widget->window() : nullptr)
{
}

template <class T>
void CBorder::store(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    repaint();
}

void CBorder::repaint()
{
    if (m_window)
        m_window->update();
}

void CBorder::setBorderColor(const QColor& color)
{
    store(m_borderColor, color);
}

void CBorder::setFadeWhenInactive(bool fade)
{
    store(m_fadeWhenInactive, fade);
}

int CBorder::borderWidth() const
{
    if (m_window && (m_window->isMaximized() || m_window->isFullScreen()))
        return 0;
    return m_borderWidth;
}

void CBorder::setBorderWidth(int width)
{
    store(m_borderWidth, width);
}

void CBorder::setShapeFunction(const ShapeFunction& function)
{
    m_shapeFunction = function;
    repaint();
}

void CBorder::setMargins(int topLeft, int topRight, int bottomRight, int bottomLeft)
{
    store(m_margins, QMargins(topLeft, topRight, bottomRight, bottomLeft));
}

void CBorder::setShadowColor(const QColor& color)
{
    if (m_shadowColor == color)
        return;
    m_shadowColor = color;
    repaint();
    emit shadowColorChanged(color);
}

void CBorder::setShadowBlur(int blur)
{
    store(m_shadowBlur, blur);
}

void CBorder::setShadowOffset(int offset)
{
    store(m_shadowOffset, offset);
}

void CBorder::setAnchorOffset(int side, int alignment)
{
    if (m_anchorSide == side && m_anchorAlignment == alignment)
        return;
    m_anchorSide = side;
    m_anchorAlignment = alignment;
    repaint();
}

void CBorder::setExcludedFromCapture(bool excluded)
{
    store(m_excludedFromCapture, excluded);
}

QBrush CBorder::backgroundBrush() const
{
    return m_window ? m_window->palette().brush(m_window->backgroundRole()) : QBrush();
}

void CBorder::setBackgroundBrush(const QBrush& brush)
{
    setWidgetBackgroundBrush(m_window, brush);
    repaint();
}
