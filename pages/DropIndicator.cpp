#include "pages/DropIndicator.h"

#include "pages/NearlyEqual.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QPen>

#include <cmath>

namespace {

bool isWhole(double ratio)
{
    return nearlyEqual(ratio, std::round(ratio));
}

// The rectangle with each edge on a whole device pixel.
QRectF onDevicePixels(const QRectF& rect, double ratio)
{
    const auto snap = [ratio](double edge) { return std::round(edge * ratio) / ratio; };
    QRectF snapped;
    snapped.setCoords(snap(rect.left()), snap(rect.top()), snap(rect.right()), snap(rect.bottom()));
    return snapped;
}

} // namespace

DropIndicator::DropIndicator(QWidget* parent, int kind, bool noStyle)
    : CWidgetBase(parent)
    , CDrawable(-1)
    , m_kind(kind)
{
    if (kind == 1) {
        setContentsMargins(3, 2, 3, 3);
        setAttribute(Qt::WA_ShowWithoutActivating);
    } else {
        setContentsMargins(16, 16, 16, 16);
    }
    if (!noStyle)
        applyStyle();
}

DropIndicator::~DropIndicator() = default;

void DropIndicator::setHighlight(double highlight)
{
    if (nearlyEqual(highlight, m_highlight))
        return;
    m_highlight = highlight;
    update();
}

QSize DropIndicator::minimumSizeHint() const
{
    return QSize(32, 32);
}

void DropIndicator::applyStyle()
{
    const Cpalette* palette = currentPalette();
    m_frameColor = palette->color(0);
    m_fillColor = palette->color(2);
    update();
}

void DropIndicator::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    paint(scope);
}

void DropIndicator::paint(CPainterScope& scope) const
{
    QPainter* painter = scope.painter();
    const double ratio = scope.scale();
    const double pixel = 1.0 / ratio;
    QRectF area = scope.area().marginsRemoved(contentsMargins());
    if (!isWhole(ratio))
        area = onDevicePixels(area, ratio);
    painter->fillRect(area, m_fillColor);

    painter->setRenderHint(QPainter::Antialiasing, true);
    QPen pen(m_frameColor, pixel, Qt::CustomDashLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setDashPattern({8, 8});
    painter->setPen(pen);
    QColor tint = m_frameColor;
    tint.setAlphaF(qBound(0.0, m_highlight * 0.1, 1.0));
    painter->setBrush(tint);
    const double half = pixel / 2;
    painter->drawRoundedRect(area.adjusted(half, half, -half, -half), 8, 8);

    if (m_kind != 1)
        return;
    painter->setPen(QPen(currentPalette()->color(1), pixel, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const double y = area.bottom() - half;
    painter->drawLine(QPointF(area.left() + half, y), QPointF(area.right() - half, y));
}
