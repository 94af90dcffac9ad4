#include "uilib/style/DrawPrimitives.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

// Qt's own image blur, exported by the widgets module.
Q_DECL_IMPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality, bool alphaOnly,
                                int transposed = 0);

namespace {

bool isZero(double value)
{
    return std::abs(value) <= 1e-12;
}

double deviceRatio(const QPainter* painter)
{
    return painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
}

double penWidth(const QPainter* painter)
{
    return painter->pen().style() == Qt::NoPen ? 0.0 : painter->pen().widthF();
}

double snapEdge(double edge, double ratio)
{
    return std::round(edge * ratio) / ratio;
}

} // namespace

bool isWholeRatio(double ratio)
{
    return isZero(ratio - std::trunc(ratio));
}

QRectF snapToDevicePixels(const QRectF& rect, double ratio)
{
    if (isWholeRatio(ratio))
        return rect;
    QRectF result;
    result.setCoords(snapEdge(rect.left(), ratio), snapEdge(rect.top(), ratio), snapEdge(rect.right(), ratio),
                     snapEdge(rect.bottom(), ratio));
    return result;
}

QMarginsF snapToDevicePixels(const QMarginsF& margins, double ratio)
{
    if (isWholeRatio(ratio))
        return margins;
    return QMarginsF(snapEdge(margins.left(), ratio), snapEdge(margins.top(), ratio),
                     snapEdge(margins.right(), ratio), snapEdge(margins.bottom(), ratio));
}

QSize toLogicalSize(const QSize& pixelSize, double ratio)
{
    return QSize(int(std::round(pixelSize.width() / ratio)), int(std::round(pixelSize.height() / ratio)));
}

QPixmap makeTransparentPixmap(const QSizeF& logicalSize, double ratio, const QColor& fill)
{
    QPixmap pixmap(int(std::ceil(logicalSize.width() * ratio)), int(std::ceil(logicalSize.height() * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(fill);
    return pixmap;
}

void drawFramedRect(QPainter* painter, const QRectF& rect, bool insetFill)
{
    if (!rect.isValid())
        return;
    const double w = penWidth(painter);
    if (isZero(w)) {
        painter->fillRect(rect, painter->brush());
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRectF fill = insetFill ? rect.adjusted(w, w, -w, -w) : rect;
    painter->fillRect(fill, painter->brush());
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(w / 2, w / 2, -w / 2, -w / 2));
    painter->restore();
}

void drawRoundedRectInside(QPainter* painter, const QRectF& rect, double radius, bool insetFill)
{
    if (!rect.isValid())
        return;
    if (isZero(radius)) {
        drawFramedRect(painter, rect, false);
        return;
    }
    const double w = penWidth(painter);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (isZero(w)) {
        painter->drawRoundedRect(rect, radius, radius);
    } else {
        const QPen pen = painter->pen();
        painter->setPen(Qt::NoPen);
        if (insetFill)
            painter->drawRoundedRect(rect.adjusted(w, w, -w, -w), radius - w, radius - w);
        else
            painter->drawRoundedRect(rect, radius + w / 2, radius + w / 2);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(rect.adjusted(w / 2, w / 2, -w / 2, -w / 2), radius, radius);
    }
    painter->restore();
}

void drawFrame(QPainter* painter, const QRectF& rect, int topLeft, int topRight, int bottomRight,
               int bottomLeft, bool insetFill)
{
    if (topLeft == topRight && topLeft == bottomRight && topLeft == bottomLeft) {
        if (topLeft > 0)
            drawRoundedRectInside(painter, rect, topLeft, insetFill);
        else
            drawFramedRect(painter, rect, false);
        return;
    }
    const double w = penWidth(painter);
    const QRectF inner = rect.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    const bool antialiased = painter->testRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->drawPath(roundedRectPath(inner, topLeft, topRight, bottomRight, bottomLeft));
    painter->setRenderHint(QPainter::Antialiasing, antialiased);
}

QPainterPath roundedRectPath(const QRectF& rect, int topLeft, int topRight, int bottomRight, int bottomLeft)
{
    const double x = rect.x();
    const double y = rect.y();
    const double w = rect.width();
    const double h = rect.height();
    QPainterPath path;
    path.moveTo(x + topLeft, y);
    path.lineTo(x + w - topRight, y);
    if (topRight > 0)
        path.arcTo(x + w - 2 * topRight, y, 2 * topRight, 2 * topRight, 90, -90);
    path.lineTo(x + w, y + h - bottomRight);
    if (bottomRight > 0)
        path.arcTo(x + w - 2 * bottomRight, y + h - 2 * bottomRight, 2 * bottomRight, 2 * bottomRight, 0, -90);
    path.lineTo(x + bottomLeft, y + h);
    if (bottomLeft > 0)
        path.arcTo(x, y + h - 2 * bottomLeft, 2 * bottomLeft, 2 * bottomLeft, -90, -90);
    path.lineTo(x, y + topLeft);
    if (topLeft > 0)
        path.arcTo(x, y, 2 * topLeft, 2 * topLeft, 180, -90);
    path.closeSubpath();
    return path;
}

void drawArrow(QPainter* painter, const QRectF& rect, const QColor& color, const ArrowSpec& arrow)
{
    if (arrow.direction < Qt::UpArrow || arrow.direction > Qt::RightArrow)
        return;
    const double ratio = deviceRatio(painter);
    const QMarginsF margins = snapToDevicePixels(QMarginsF(arrow.margins), ratio);
    const QPointF centre = rect.marginsRemoved(margins).center();
    QRectF box(QPointF(), QSizeF(arrow.size));
    box.moveCenter(centre);
    box = snapToDevicePixels(box, ratio);

    const double h = arrow.width / 2;
    const double l = box.left() + h;
    const double r = box.right() - h;
    const double t = box.top() + h;
    const double b = box.bottom() - h;
    const double cx = (l + r) / 2;
    const double cy = (t + b) / 2;
    QPainterPath path;
    switch (arrow.direction) {
    case Qt::UpArrow:
        path.moveTo(l, b), path.lineTo(cx, t), path.lineTo(r, b);
        break;
    case Qt::DownArrow:
        path.moveTo(l, t), path.lineTo(cx, b), path.lineTo(r, t);
        break;
    case Qt::LeftArrow:
        path.moveTo(r, t), path.lineTo(l, cy), path.lineTo(r, b);
        break;
    default:
        path.moveTo(l, t), path.lineTo(r, cy), path.lineTo(l, b);
        break;
    }

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (isZero(arrow.width)) {
        path.closeSubpath();
        painter->fillPath(path, color);
    } else {
        painter->strokePath(path, QPen(color, arrow.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter->restore();
}

void drawDropMarker(QPainter* painter, const QLineF& line, const QColor& color)
{
    const bool vertical = qFuzzyCompare(line.x1(), line.x2());
    const bool horizontal = qFuzzyCompare(line.y1(), line.y2());
    if (!vertical && !horizontal)
        return;
    const double ratio = deviceRatio(painter);
    const double w = std::round(ratio) / ratio;
    const QPointF across = vertical ? QPointF(w, 0) : QPointF(0, w);

    painter->save();
    painter->setPen(QPen(color, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (int side = -1; side <= 1; ++side)
        painter->drawLine(line.translated(across * side));

    ArrowSpec head;
    if (vertical) {
        const double top = std::min(line.y1(), line.y2());
        const double bottom = std::max(line.y1(), line.y2());
        head.size = QSize(9, 5);
        head.direction = Qt::DownArrow;
        drawArrow(painter, QRectF(line.x1() - 4.5, top, 9, 5), color, head);
        head.direction = Qt::UpArrow;
        drawArrow(painter, QRectF(line.x1() - 4.5, bottom - 5, 9, 5), color, head);
    } else {
        const double left = std::min(line.x1(), line.x2());
        const double right = std::max(line.x1(), line.x2());
        head.size = QSize(5, 9);
        head.direction = Qt::RightArrow;
        drawArrow(painter, QRectF(left, line.y1() - 4.5, 5, 9), color, head);
        head.direction = Qt::LeftArrow;
        drawArrow(painter, QRectF(right - 5, line.y1() - 4.5, 5, 9), color, head);
    }
    painter->restore();
}

void drawPixelAlignedLine(QPainter* painter, const QPointF& from, const QPointF& to)
{
    const int rounded = int(deviceRatio(painter) + 0.5);
    const double offset = 0.5 * ((rounded + 1) % 2);
    const QPointF shift(offset, offset);
    const bool antialiased = painter->testRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->drawLine(from + shift, to + shift);
    painter->setRenderHint(QPainter::Antialiasing, antialiased);
}

QPixmap grabWidgetBlurred(QWidget* widget, int blurRadius, QWidget::RenderFlags flags, const QRect& part)
{
    if (!widget)
        return QPixmap();
    const QSize size = part.isEmpty() ? widget->size() : part.size();
    const double ratio = widget->devicePixelRatioF();
    QPixmap pixmap = makeTransparentPixmap(size, ratio, Qt::transparent);
    widget->render(&pixmap, QPoint(), part.isEmpty() ? QRegion() : QRegion(part), flags);
    if (blurRadius <= 0)
        return pixmap;

    pixmap.setDevicePixelRatio(1.0);
    QImage image = pixmap.toImage();
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        qt_blurImage(&painter, image, blurRadius, true, false);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void recolorImage(QImage& image, const QColor& color)
{
    const QImage::Format format = image.format();
    if (format != QImage::Format_ARGB32 && format != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    const QRgb rgb = color.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), qAlpha(line[x]));
            line[x] = premultiplied ? qPremultiply(pixel) : pixel;
        }
    }
}
