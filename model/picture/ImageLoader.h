#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace ImageLoader {

// What the reader saw of a picture file.
struct ImageInfo
{
    QSize size;     // as stored, before scaling and turning; invalid when unknown
    QString format; // the reader's format name, empty when unknown
    bool failed = false;
};

// Loads a picture upright by its EXIF orientation, drawn over opaque black in
// ARGB32_Premultiplied. A size above 0 decodes it just large enough to cover a
// size x size square; 0 or less loads it full size. Null when it cannot be read.
QImage loadImage(const QString& path, int size, ImageInfo* info = nullptr);

} // namespace ImageLoader

// The image reader's formats without "icns", "ico", "cur" and "tga".
QStringList supportedImageSuffixes();
// "*.<suffix>" for each supported suffix, in the same order.
QStringList supportedImageFilters();
// True when the lower-cased suffix of the file name is a supported one.
bool isSupportedImage(const QString& path);
