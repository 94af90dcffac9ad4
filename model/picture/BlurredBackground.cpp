#include "model/picture/BlurredBackground.h"

#include <QPainter>

#include <algorithm>

namespace {

// Spare border on each side of the frame, in frame pixels.
constexpr int kSpare = 20;
// A blur of radius 32 is approximated by three box passes of radius 5 over a half-sized
// picture: a Gaussian of sigma about 11 frame pixels, which fades out near 32.
constexpr int kBoxRadius = 5;
constexpr int kBoxPasses = 3;

// One box pass along every row of src, each pixel's neighbours beyond the row's ends taken
// as its end pixels. The result is written transposed, so that alternating calls blur rows
// and columns. Both images are Format_RGB32.
void boxPassTransposed(const QImage& src, QImage& dst)
{
    constexpr int window = 2 * kBoxRadius + 1;
    constexpr quint32 scale = ((1u << 16) + window - 1) / window; // division as a product
    const int width = src.width();
    const int height = src.height();
    auto* out = reinterpret_cast<quint32*>(dst.bits());
    const qsizetype outStride = dst.bytesPerLine() / 4;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const quint32*>(src.constScanLine(y));
        const auto at = [row, width](int x) { return row[std::clamp(x, 0, width - 1)]; };
        quint32 r = 0, g = 0, b = 0;
        for (int x = -kBoxRadius; x <= kBoxRadius; ++x) {
            const quint32 p = at(x);
            r += (p >> 16) & 0xff;
            g += (p >> 8) & 0xff;
            b += p & 0xff;
        }
        quint32* column = out + y;
        for (int x = 0; x < width; ++x) {
            const quint32 half = 1u << 15;
            column[x * outStride] = 0xff000000u | ((r * scale + half) >> 16) << 16
                | ((g * scale + half) >> 16) << 8 | ((b * scale + half) >> 16);
            const quint32 in = at(x + kBoxRadius + 1);
            const quint32 gone = at(x - kBoxRadius);
            r += ((in >> 16) & 0xff) - ((gone >> 16) & 0xff);
            g += ((in >> 8) & 0xff) - ((gone >> 8) & 0xff);
            b += (in & 0xff) - (gone & 0xff);
        }
    }
}

// The picture over opaque black at that size, blurred.
QImage blurred(const QImage& picture, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.drawImage(QRect(QPoint(0, 0), size),
                          picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QImage transposed(size.transposed(), QImage::Format_RGB32);
    for (int pass = 0; pass < kBoxPasses; ++pass) {
        boxPassTransposed(image, transposed);
        boxPassTransposed(transposed, image);
    }
    return image;
}

} // namespace

QImage blurredBackground(const QImage& picture, int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return canvas;
    canvas.fill(Qt::black);
    if (picture.isNull())
        return canvas;
    const QSize cover =
        picture.size().scaled(width + 2 * kSpare, height + 2 * kSpare, Qt::KeepAspectRatioByExpanding);
    const QSize half((cover.width() + 1) / 2, (cover.height() + 1) / 2);
    const QPoint corner(-(cover.width() - width) / 2, -(cover.height() - height) / 2);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(corner, half * 2), blurred(picture, half));
    return canvas;
}
