#pragma once

#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

class QWidget;

// Masks the widget by the path drawn at its device pixel ratio: the region of the black pixels
// of a bitmap painted with a black brush on white (swapped when inverted) and a black pen
// (white with whitePen) of the width snapped to device pixels.
void setRoundedWidgetMask(QWidget* widget, const QSize& size, const QPoint& offset, const QPainterPath& path,
                          qreal penWidth, bool inverted, bool whitePen);
// Gives the widget the region, in device pixels, as its mask.
void applyWidgetRegion(QWidget* widget, const QRegion& deviceRegion);
void clearWidgetMask(QWidget* widget);

// How combineNativeRegion joins a rounded rectangle to a region.
enum class RegionCombine { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

// The region of the rectangle in device pixels, with rounded corners when radius > 0; it always
// covers the whole rectangle's bounds.
QRegion makeNativeRectRegion(const QRect& rect, int radius);
// Combines the region with makeNativeRectRegion(rect, radius); false (region untouched) for an
// unknown mode.
bool combineNativeRegion(QRegion& region, const QRect& rect, int radius, int mode);

// The widget at the global point, passing over top-levels that are transparent for mouse events
// or masked at the point; null over no window.
QWidget* regionAwareWidgetAt(const QPoint& global);
// Children first (windows skipped): updateGeometry() on widgets without a layout, then activates
// the layouts of the tree.
void updateGeometryTree(QWidget* widget);
