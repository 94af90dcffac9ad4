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

QImage turnUpright(QImage image, quint16 orientation)
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

} // namespace

QImage ImageLoader::loadImage(const QString& path, int size, ImageInfo* info)
{
    // Only regular files: a pipe or device named like a photo would block the read.
    if (!QFileInfo(path).isFile()) {
        if (info)
            *info = ImageInfo{QSize(), QString(), true};
        return QImage();
    }
    QImageReader reader(path);
    reader.setAutoTransform(false); // turned by its EXIF orientation below, once
    const QSize stored = reader.size();
    const QString format = QString::fromLatin1(reader.format());
    if (size > 0 && stored.isValid())
        reader.setScaledSize(stored.scaled(size, size, Qt::KeepAspectRatioByExpanding));
    const QImage image = overBlack(reader.read());
    if (info)
        *info = ImageInfo{stored, format, image.isNull()};
    if (image.isNull())
        return image;
    return turnUpright(image, ExifReader(path).value(ExifReader::OrientationTag).toShort());
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
