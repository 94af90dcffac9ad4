#pragma once

#include <QBrush>
#include <QColor>
#include <QMargins>
#include <QObject>
#include <QPainterPath>
#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <functional>

// A window's outline: border colour and width, corner radii or a shape, the shadow it casts and the
// anchor side of a popup. Every change repaints the window.
class CBorder : public QObject
{
    Q_OBJECT
public:
    using ShapeFunction = std::function<QPainterPath(const CBorder* border, const QSizeF& size, qreal scale)>;

    explicit CBorder(QWidget* widget);

    QWidget* window() const { return m_window; }

    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    bool fadeWhenInactive() const { return m_fadeWhenInactive; }
    void setFadeWhenInactive(bool fade);
    // 0 while the window is maximised or full screen.
    int borderWidth() const;
    void setBorderWidth(int width);

    ShapeFunction shapeFunction() const { return m_shapeFunction; }
    void setShapeFunction(const ShapeFunction& function);
    // The corner radii: left = top-left, top = top-right, right = bottom-right, bottom = bottom-left.
    QMargins margins() const { return m_margins; }
    void setMargins(int topLeft, int topRight, int bottomRight, int bottomLeft);

    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor& color);
    int shadowBlur() const { return m_shadowBlur; }
    void setShadowBlur(int blur);
    int shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(int offset);

    int anchorSide() const { return m_anchorSide; }
    int anchorAlignment() const { return m_anchorAlignment; }
    void setAnchorOffset(int side, int alignment);
    void resetAnchorOffset() { setAnchorOffset(0, 0); }

    bool excludedFromCapture() const { return m_excludedFromCapture; }
    void setExcludedFromCapture(bool excluded);

    QBrush backgroundBrush() const;
    void setBackgroundBrush(const QBrush& brush);

signals:
    void shadowColorChanged(QColor color);

private:
    template <class T>
    void store(T& field, const T& value);
    void repaint();

    QPointer<QWidget> m_window;
    QColor m_borderColor;
    bool m_fadeWhenInactive = true;
    int m_borderWidth = 0;
    ShapeFunction m_shapeFunction;
    QMargins m_margins;
    QColor m_shadowColor;
    int m_shadowBlur = 0;
    int m_shadowOffset = 0;
    int m_anchorSide = 0;
    int m_anchorAlignment = 0;
    bool m_excludedFromCapture = false;
};
