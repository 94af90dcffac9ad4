#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>

// Draws a picture at its own size moved by any fraction of a pixel: canvas pixel (x, y) of
// `area` shows the picture at (x + offset.x(), y + offset.y()), mixed bilinearly from its four
// nearest pixels (weights in 1/256 pixel); beyond its edges its edge pixels go on. An opaque
// picture replaces the canvas pixels, one with alpha is laid over them. The canvas is
// Format_ARGB32_Premultiplied; pixels outside `area` stay as they are.
void drawShifted(QImage& canvas, const QRect& area, const QImage& picture, const QPointF& offset);
