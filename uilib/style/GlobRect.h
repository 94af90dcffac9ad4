#pragma once

#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

// The first screen whose geometry, grown by one pixel to the right and below, holds p.
QScreen* screenAt(const QPoint& p);
QScreen* widgetScreen(QWidget* widget);
// The widget's rectangle in global coordinates; empty for null.
QRect globalWidgetRect(QWidget* widget);

// Moves rect into the available area of the screen under the reference's centre
// (the primary screen when none); a rect larger than the area is cut on the right
// and bottom. With step > 1, the top limit moves down so that the height left
// below it, less twice the margin, is a whole number of steps.
QRect clampRectToScreen(const QRect& reference, QRect rect, int step = 0, int margin = 0);

// Puts rect beside the anchor on that side, offset.x away, then aligns it with the
// anchor shifted by offset.y. AlignJustify moves it to the nearest anchor edge it passes.
QRect placeRectBesideAnchor(const QRect& anchor, QRect rect, Qt::Edge side, Qt::Alignment alignment,
                            const QPoint& offset = QPoint());

// Makes rect fit into the area: cut with IgnoreAspectRatio, else scaled down when
// too large, then moved inside.
QRect fitRectInside(QRect rect, const QRect& area, Qt::AspectRatioMode mode);

// A point in native screen pixels in the widget's coordinates; (0, 0) without a native window.
QPoint nativeScreenToWidget(QWidget* widget, const QPoint& native);
