#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

namespace ImageLoader {

// Pictures of more pixels are not decoded: they would need gigabytes.
constexpr qint64 kLargestPixelCount = 256'000'000;

// What the reader saw of a picture file.
struct ImageInfo
{
    QSize size;     // as stored, before scaling and turning; invalid when unknown
    QString format; // the reader's format name, empty when unknown
    bool failed = false;
    QString problem; // why it failed, when known
};

// The size to decode a picture at, from its upright size as stored. An invalid size
// decodes it as stored.
using DecodeSize = std::function<QSize(const QSize& upright)>;

// Loads a picture upright by its EXIF orientation, drawn over opaque black in
// ARGB32_Premultiplied. A size above 0 decodes it just large enough to cover a
// size x size square; 0 or less loads it full size. Null when it cannot be read,
// is larger than kLargestPixelCount or memory runs out.
QImage loadImage(const QString& path, int size, ImageInfo* info = nullptr);
// The same, decoded at the size decodeSize picks.
QImage loadImage(const QString& path, const DecodeSize& decodeSize, ImageInfo* info = nullptr);

} // namespace ImageLoader

// The image reader's formats without "icns", "ico", "cur" and "tga".
QStringList supportedImageSuffixes();
// "*.<suffix>" for each supported suffix, in the same order.
QStringList supportedImageFilters();
// True when the lower-cased suffix of the file name is a supported one.
bool isSupportedImage(const QString& path);
