#pragma once

#include "uilib/style/CAnimationShow2.h"
#include "uilib/style/ColorSet.h"

#include <QMargins>
#include <QPainterPath>
#include <QPointer>
#include <QRect>
#include <QVector>

#include <array>
#include <functional>

class CAnimationWidget;
class CPainterScope;
class QWidget;

// The drawing half of a painted widget: margins, border widths, padding and corner radii around
// its content, and the fill and border colours by state. The owner widget calls paint() from its
// paint handler and keeps the rectangle up to date.
class CPanelDraw : public CAnimationShow2
{
public:
    // Top-left, top-right, bottom-right, bottom-left; 0 is a square corner.
    using Radii = std::array<int, 4>;
    // Gives the outline that replaces the rectangle.
    using ShapeFunction = std::function<QPainterPath(const CPanelDraw& panel, const QRect& rect)>;

    explicit CPanelDraw(QWidget* owner);
    ~CPanelDraw() override;

    virtual void setMargins(const QMargins& margins);
    virtual QMargins padding() const { return m_padding; }
    virtual void setPadding(const QMargins& padding);
    // Margins, border widths and padding.
    virtual QSize sizeHint() const;
    virtual QSize minimumSizeHint() const { return sizeHint(); }
    // Works out the inner rectangle and the shape while the panel is dirty.
    virtual void updateLayout();
    // The owner may call QWidget::updateGeometry here.
    virtual void geometryChanged() {}
    virtual void lookChanged() { updateOwner(); }
    virtual void updateOwner();

    QWidget* widget() const { return m_owner; }
    QMargins margins() const { return m_margins; }
    QMargins borderWidths() const { return m_borderWidths; }
    Radii radius() const { return m_radius; }
    ColorSet backgroundColors() const { return m_backgroundColors; }
    ColorSet borderColors() const { return m_borderColors; }
    QRect rect() const { return m_rect; }
    QRect innerRect() const { return m_innerRect; }
    bool isDirty() const { return m_dirty; }
    double opacity() const { return m_opacity; }
    void setOpacity(double opacity) { m_opacity = opacity; }

    void setBorderWidths(const QMargins& widths);
    void setRadius(const Radii& radius);
    void setBackgroundColors(const ColorSet& colors);
    void setBorderColors(const ColorSet& colors);
    // The dash pattern of the border pen, in pen widths; empty draws a solid line.
    void setBorderDash(double offset, const QVector<qreal>& pattern);
    // The fill stops inside the border instead of running under it.
    void setInsetFill(bool inset);
    void setRect(const QRect& rect);
    void resize(const QSize& size);

    // Paints the fill and the border for the state; nothing without a rectangle.
    void paint(CPainterScope& scope, const CAnimationWidget& state);

protected:
    void setShapeFunction(const ShapeFunction& function);
    // Marks the shape and the inner rectangle for recomputing.
    void setDirty() { m_dirty = true; }
    // Dirty, then the geometry and look hooks.
    void geometryAndLookChanged();

private:
    void paintFrame(QPainter* painter, const QRectF& frame, const QColor& borderColor);

    QMargins m_margins;
    QMargins m_borderWidths;
    ColorSet m_borderColors;
    Radii m_radius = {0, 0, 0, 0};
    double m_dashOffset = 0.0;
    QVector<qreal> m_dashPattern;
    bool m_insetFill = false;
    ColorSet m_backgroundColors;
    QMargins m_padding;
    double m_opacity = 1.0;
    ShapeFunction m_shapeFunction;
    QPainterPath m_shape;
    bool m_dirty = true;
    QRect m_rect;
    QRect m_innerRect;
    QPointer<QWidget> m_owner;
};
