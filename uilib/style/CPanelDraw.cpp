#include "uilib/style/CPanelDraw.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/ColorUtils.h"
#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/WindowRegion.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace {

QSize marginsSize(const QMargins& m)
{
    return QSize(m.left() + m.right(), m.top() + m.bottom());
}

} // namespace

CPanelDraw::CPanelDraw(QWidget* owner)
    : CAnimationShow2(owner), m_owner(owner)
{
}

CPanelDraw::~CPanelDraw() = default;

void CPanelDraw::setMargins(const QMargins& margins)
{
    if (margins == m_margins)
        return;
    m_margins = margins;
    geometryAndLookChanged();
}

void CPanelDraw::setPadding(const QMargins& padding)
{
    if (padding == m_padding)
        return;
    m_padding = padding;
    geometryAndLookChanged();
}

QSize CPanelDraw::sizeHint() const
{
    return marginsSize(m_margins) + marginsSize(m_borderWidths) + marginsSize(m_padding);
}

void CPanelDraw::updateLayout()
{
    if (!m_dirty)
        return;
    if (!m_rect.isValid()) {
        m_innerRect = QRect();
        m_shape = QPainterPath();
        return;
    }
    m_innerRect = m_rect.marginsRemoved(m_margins).marginsRemoved(m_borderWidths).marginsRemoved(m_padding);
    const bool hadShape = !m_shape.isEmpty();
    m_shape = m_shapeFunction ? m_shapeFunction(*this, m_rect) : QPainterPath();
    m_dirty = false;
    if (!m_owner)
        return;
    if (!m_shape.isEmpty())
        setRoundedWidgetMask(m_owner, m_owner->size(), QPoint(), m_shape, m_borderWidths.left() + 1.0, false, false);
    else if (hadShape)
        clearWidgetMask(m_owner);
}

void CPanelDraw::updateOwner()
{
    if (m_owner)
        m_owner->update();
}

void CPanelDraw::setBorderWidths(const QMargins& widths)
{
    if (widths == m_borderWidths)
        return;
    m_borderWidths = widths;
    geometryAndLookChanged();
}

void CPanelDraw::setRadius(const Radii& radius)
{
    if (radius == m_radius)
        return;
    m_radius = radius;
    geometryAndLookChanged();
}

void CPanelDraw::setBackgroundColors(const ColorSet& colors)
{
    if (colors == m_backgroundColors)
        return;
    m_backgroundColors = colors;
    updateOwner();
}

void CPanelDraw::setBorderColors(const ColorSet& colors)
{
    if (colors == m_borderColors)
        return;
    m_borderColors = colors;
    updateOwner();
}

void CPanelDraw::setBorderDash(double offset, const QVector<qreal>& pattern)
{
    if (qFuzzyCompare(offset + 1.0, m_dashOffset + 1.0) && pattern == m_dashPattern)
        return;
    m_dashOffset = offset;
    m_dashPattern = pattern;
    updateOwner();
}

void CPanelDraw::setInsetFill(bool inset)
{
    if (inset == m_insetFill)
        return;
    m_insetFill = inset;
    updateOwner();
}

void CPanelDraw::setRect(const QRect& rect)
{
    if (rect == m_rect)
        return;
    m_rect = rect;
    m_dirty = true;
    lookChanged();
}

void CPanelDraw::resize(const QSize& size)
{
    if (size == m_rect.size())
        return;
    m_rect.setSize(size);
    m_dirty = true;
    lookChanged();
}

void CPanelDraw::setShapeFunction(const ShapeFunction& function)
{
    m_shapeFunction = function;
    m_dirty = true;
    lookChanged();
}

void CPanelDraw::geometryAndLookChanged()
{
    m_dirty = true;
    geometryChanged();
    lookChanged();
}

void CPanelDraw::paint(CPainterScope& scope, const CAnimationWidget& state)
{
    const QColor background = animatedStateColor(m_backgroundColors, state);
    const QColor border = animatedStateColor(m_borderColors, state);
    updateLayout();
    if (m_dirty)
        return;
    const bool fill = background.isValid() && background.alpha() > 0;
    const bool hasBorder = border.isValid() && !m_borderWidths.isNull();
    if (!fill && !hasBorder)
        return;

    QPainter* painter = scope.painter();
    const double scale = scope.scale();
    painter->save();
    QPen pen(Qt::NoPen);
    if (hasBorder) {
        pen = QPen(QBrush(border), std::round(m_borderWidths.left() * scale) / scale, Qt::SolidLine, Qt::SquareCap,
                   Qt::MiterJoin);
        pen.setDashOffset(m_dashOffset);
        if (!m_dashPattern.isEmpty())
            pen.setDashPattern(m_dashPattern);
    }
    painter->setPen(pen);
    painter->setBrush(fill ? QBrush(background) : QBrush(Qt::NoBrush));
    if (!m_shape.isEmpty()) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->drawPath(m_shape);
    } else {
        QRectF frame = isWholeRatio(scale) ? QRectF(m_rect) : snapToDevicePixels(QRectF(m_rect), scale);
        paintFrame(painter, frame.marginsRemoved(QMarginsF(m_margins)), hasBorder ? border : QColor());
    }
    painter->restore();
}

void CPanelDraw::paintFrame(QPainter* painter, const QRectF& frame, const QColor& borderColor)
{
    const bool square = m_radius == Radii{0, 0, 0, 0};
    const QMargins& w = m_borderWidths;
    const bool equalWidths = w.left() == w.top() && w.left() == w.right() && w.left() == w.bottom();
    if (square && equalWidths) {
        drawFramedRect(painter, frame, m_insetFill);
        return;
    }
    if (!square) {
        drawFrame(painter, frame, m_radius[0], m_radius[1], m_radius[2], m_radius[3], m_insetFill);
        return;
    }
    painter->fillRect(m_insetFill ? frame.marginsRemoved(QMarginsF(w)) : frame, painter->brush());
    if (!borderColor.isValid())
        return;
    const double l = w.left(), t = w.top(), r = w.right(), b = w.bottom();
    const QRectF strips[] = {QRectF(frame.left(), frame.top(), l, frame.height()),
                             QRectF(frame.left(), frame.top(), frame.width(), t),
                             QRectF(frame.right() - r, frame.top(), r, frame.height()),
                             QRectF(frame.left(), frame.bottom() - b, frame.width(), b)};
    for (const QRectF& strip : strips) {
        if (strip.width() > 1e-12 && strip.height() > 1e-12)
            painter->fillRect(strip, borderColor);
    }
}
