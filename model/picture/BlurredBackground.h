#pragma once

#include <QImage>

// The fill behind a picture fitted into a width x height frame: the picture scaled to cover
// the frame with 20 pixels to spare on each side, blurred with a radius of 32 pixels and cut
// to the frame's centre. Opaque, Format_ARGB32_Premultiplied; edges are not darkened.
// Opaque black for a null picture; null for an empty size.
QImage blurredBackground(const QImage& picture, int width, int height);
