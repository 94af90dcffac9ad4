#include "model/picture/ImageLoader.h"

#include "model/picture/ExifReader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

namespace {

// Transparent areas become black; the result is opaque ARGB32_Premultiplied.
QImage overBlack(QImage image)
{
    if (image.isNull() || !image.hasAlphaChannel())
        return std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage canvas(image.size(), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return canvas;
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    painter.drawImage(0, 0, image);
    return canvas;
}

QImage turnUpright(const QImage& image, quint16 orientation)
{
    QTransform transform;
    switch (orientation) {
    case 2:
        transform.rotate(180, Qt::YAxis);
        break;
    case 3:
        transform.rotate(180);
        break;
    case 4:
        transform.rotate(180, Qt::XAxis);
        break;
    case 5:
        transform.rotate(180, Qt::YAxis);
        transform.rotate(90);
        break;
    case 6:
        transform.rotate(90);
        break;
    case 7:
        transform.rotate(180, Qt::XAxis);
        transform.rotate(90);
        break;
    case 8:
        transform.rotate(270);
        break;
    default:
        return image;
    }
    return image.transformed(transform, Qt::FastTransformation);
}

// The size turned by the orientation: orientations 5 to 8 swap width and height.
QSize turnedSize(const QSize& size, quint16 orientation)
{
    return orientation >= 5 && orientation <= 8 ? size.transposed() : size;
}

qint64 pixelCount(const QSize& size)
{
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

QImage load(const QString& path, const ImageLoader::DecodeSize& decodeSize, ImageLoader::ImageInfo& info)
{
    info.failed = true;
    // Only regular files: a pipe or device named like a photo would block the read.
    if (!QFileInfo(path).isFile()) {
        info.problem = QStringLiteral("Not a file.");
        return QImage();
    }
    QImageReader reader(path);
    reader.setAutoTransform(false); // turned by its EXIF orientation below, once
    info.size = reader.size();
    info.format = QString::fromLatin1(reader.format());
    if (pixelCount(info.size) > ImageLoader::kLargestPixelCount) {
        info.problem = QStringLiteral("The picture has %1 x %2 pixels, more than %3 million.")
                           .arg(info.size.width())
                           .arg(info.size.height())
                           .arg(ImageLoader::kLargestPixelCount / 1000000);
        return QImage();
    }
    const quint16 orientation = ExifReader(path).value(ExifReader::OrientationTag).toShort();
    if (info.size.isValid()) {
        const QSize wanted = decodeSize(turnedSize(info.size, orientation));
        if (wanted.isValid())
            reader.setScaledSize(turnedSize(wanted, orientation));
    }
    // Each step gives a null picture when memory runs out.
    const QImage decoded = reader.read();
    if (decoded.isNull()) {
        info.problem = reader.errorString();
        return QImage();
    }
    const QImage upright = turnUpright(overBlack(decoded), orientation);
    if (upright.isNull()) {
        info.problem = QStringLiteral("Out of memory.");
        return QImage();
    }
    info.failed = false;
    return upright;
}

} // namespace

QImage ImageLoader::loadImage(const QString& path, int size, ImageInfo* info)
{
    return loadImage(
        path,
        [size](const QSize& upright) {
            return size > 0 ? upright.scaled(size, size, Qt::KeepAspectRatioByExpanding) : QSize();
        },
        info);
}

QImage ImageLoader::loadImage(const QString& path, const DecodeSize& decodeSize, ImageInfo* info)
{
    ImageInfo seen;
    const QImage image = load(path, decodeSize, seen);
    if (info)
        *info = seen;
    return image;
}

QStringList supportedImageSuffixes()
{
    QStringList suffixes;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        suffixes << QString::fromLatin1(format);
    for (const char* refused : {"icns", "ico", "cur", "tga"})
        suffixes.removeOne(QLatin1String(refused));
    return suffixes;
}

QStringList supportedImageFilters()
{
    QStringList filters;
    for (const QString& suffix : supportedImageSuffixes())
        filters << QStringLiteral("*.%1").arg(suffix);
    return filters;
}

bool isSupportedImage(const QString& path)
{
    return supportedImageSuffixes().contains(QFileInfo(path).suffix().toLower());
}
