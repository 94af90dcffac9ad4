// Picture loading: scaled decoding against full decoding, EXIF turning, the black
// backing of transparent pictures and the suffix check.
#include "BenchTiming.h"
#include "model/picture/ImageLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

// A photo-like picture: smooth gradients with fine detail, so the encoder works.
QImage photo(int width, int height, bool alpha)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha ? (x * 255 / width) : 255;
            line[x] = qRgba((x * 7 + y) & 0xFF, (y * 3) & 0xFF, (x ^ y) & 0xFF, a);
        }
    }
    return image;
}

bool save(const QImage& image, const QString& path, const QByteArray& exif = QByteArray())
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QFileInfo(path).suffix().toLatin1());
    writer.setQuality(90);
    if (!writer.write(image))
        return false;
    if (!exif.isEmpty())
        bytes.insert(2, exif);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// APP1 segment with Orientation 6 (big-endian TIFF).
QByteArray orientationSix()
{
    const QByteArray block("MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 26);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + block;
    const int size = payload.size() + 2;
    return QByteArray("\xFF\xE1", 2) + char(size >> 8) + char(size & 0xFF) + payload;
}

// Prints the median time of `runs` runs, after one warm-up run.
void report(const char* what, int runs, const std::function<QSize()>& work)
{
    QSize size;
    const double ms = medianMs(runs, [&] { size = work(); });
    std::printf("%-52s %9.2f ms  (%dx%d)\n", what, ms, size.width(), size.height());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString jpeg = dir.filePath("photo.jpg");
    const QString turned = dir.filePath("turned.jpg");
    const QString png = dir.filePath("clear.png");
    const QImage big = photo(6000, 4000, false);
    if (!save(big, jpeg) || !save(big, turned, orientationSix()) || !save(photo(3000, 2000, true), png)) {
        std::fprintf(stderr, "cannot write the test pictures\n");
        return 1;
    }
    const int side = int(1920 * 1.1); // still picture of a 1920x1080 frame
    std::printf("6000x4000 JPEG, still-picture side %d\n", side);
    report("for comparison: QImageReader::read alone", 5, [&] { return QImageReader(jpeg).read().size(); });
    report("loadImage full size", 5, [&] { return ImageLoader::loadImage(jpeg, -1).size(); });
    report("loadImage scaled to the still side 2112", 5, [&] { return ImageLoader::loadImage(jpeg, side).size(); });
    report("for comparison: full decode, then smooth scale", 5, [&] {
        const QImage image = QImageReader(jpeg).read();
        return image.scaled(side, side, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation).size();
    });
    const int preview = int(460 * 1.1); // preview frame 460x277
    report("loadImage scaled to the preview side 506", 5,
           [&] { return ImageLoader::loadImage(jpeg, preview).size(); });
    report("for comparison: full decode, then smooth scale", 5, [&] {
        const QImage image = QImageReader(jpeg).read();
        return image.scaled(preview, preview, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation).size();
    });
    report("loadImage full size, EXIF orientation 6", 5, [&] { return ImageLoader::loadImage(turned, -1).size(); });
    report("loadImage scaled, EXIF orientation 6", 5, [&] { return ImageLoader::loadImage(turned, side).size(); });
    report("3000x2000 PNG with alpha, over black", 5, [&] { return ImageLoader::loadImage(png, -1).size(); });
    report("isSupportedImage, per 1000 calls", 5, [] {
        int hits = 0;
        for (int i = 0; i < 1000; ++i)
            hits += isSupportedImage(QStringLiteral("/photos/IMG_%1.JPG").arg(i));
        return QSize(hits, 0);
    });
    return 0;
}
