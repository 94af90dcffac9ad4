#pragma once

#include "uilib/style/ArrowSpec.h"

#include <QColor>
#include <QLineF>
#include <QMarginsF>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QWidget>

class QImage;
class QPainter;

// True when the ratio has no fractional part.
bool isWholeRatio(double ratio);
QRectF snapToDevicePixels(const QRectF& rect, double ratio);
QMarginsF snapToDevicePixels(const QMarginsF& margins, double ratio);
QSize toLogicalSize(const QSize& pixelSize, double ratio);
QPixmap makeTransparentPixmap(const QSizeF& logicalSize, double ratio, const QColor& fill);

// Rectangles whose pen stays inside them; the inset flag keeps the fill inside the pen too.
void drawFramedRect(QPainter* painter, const QRectF& rect, bool insetFill);
void drawRoundedRectInside(QPainter* painter, const QRectF& rect, double radius, bool insetFill = false);
void drawFrame(QPainter* painter, const QRectF& rect, int topLeft, int topRight, int bottomRight,
               int bottomLeft, bool insetFill);
QPainterPath roundedRectPath(const QRectF& rect, int topLeft, int topRight, int bottomRight, int bottomLeft);

void drawArrow(QPainter* painter, const QRectF& rect, const QColor& color, const ArrowSpec& arrow);
// The insertion marker of a drag: three device pixels thick with an arrow head at each end.
void drawDropMarker(QPainter* painter, const QLineF& line, const QColor& color);
// A one-pixel line that lands on whole device pixels.
void drawPixelAlignedLine(QPainter* painter, const QPointF& from, const QPointF& to);

QPixmap grabWidgetBlurred(QWidget* widget, int blurRadius, QWidget::RenderFlags flags, const QRect& part);
// Every pixel takes the colour's red, green and blue and keeps its own alpha.
void recolorImage(QImage& image, const QColor& color);
