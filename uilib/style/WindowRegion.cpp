#include "uilib/style/WindowRegion.h"

#include <QBitmap>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <cmath>

void setRoundedWidgetMask(QWidget* widget, const QSize& size, const QPoint& offset, const QPainterPath& path,
                          qreal penWidth, bool inverted, bool whitePen)
{
    if (!widget || size.isEmpty())
        return;
    const double ratio = widget->devicePixelRatioF();
    QBitmap bitmap(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(inverted ? Qt::color1 : Qt::color0);
    {
        QPainter painter(&bitmap);
        painter.setBrush(inverted ? Qt::color0 : Qt::color1);
        painter.setPen(QPen(whitePen ? Qt::color0 : Qt::color1, std::round(penWidth * ratio) / ratio, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.translate(offset);
        painter.drawPath(path);
    }
    applyWidgetRegion(widget, QRegion(bitmap));
}

void applyWidgetRegion(QWidget* widget, const QRegion& deviceRegion)
{
    if (!widget)
        return;
    const double ratio = widget->devicePixelRatioF();
    QRegion logical;
    for (const QRect& rect : deviceRegion) {
        logical += QRect(int(std::floor(rect.x() / ratio)), int(std::floor(rect.y() / ratio)),
                         int(std::ceil(rect.width() / ratio)), int(std::ceil(rect.height() / ratio)));
    }
    widget->setMask(logical);
}

void clearWidgetMask(QWidget* widget)
{
    if (widget)
        widget->clearMask();
}
