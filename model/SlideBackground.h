#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Backgrounds of title and colour slides, by index 0..29; 18..29 are gradients.
// Any other index reads as white with black text.
QString backgroundColorName(int index);
QString backgroundTextColorName(int index);
// A size-sized picture of the background, Format_ARGB32_Premultiplied.
QImage backgroundImage(int index, const QSize& size);
