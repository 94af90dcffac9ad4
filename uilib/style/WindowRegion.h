#pragma once

#include <QPainterPath>
#include <QPoint>
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
