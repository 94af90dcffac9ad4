#include "model/picture/ShiftedPicture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Steps of a pixel the mixing weights are given in.
constexpr quint32 kSteps = 256;

// Byte by byte, out = a mixed with b, b weighing w of kSteps; rounded. Sums stay below 2^16,
// so the loop runs on 16-bit lanes.
void mixBytes(uchar* out, const uchar* a, const uchar* b, int count, quint32 w)
{
    if (w == 0) {
        std::memcpy(out, a, size_t(count));
        return;
    }
    const auto wb = quint16(w);
    const auto wa = quint16(kSteps - w);
    for (int i = 0; i < count; ++i)
        out[i] = uchar(quint16(quint16(a[i] * wa) + quint16(b[i] * wb) + 128) >> 8);
}

// A coordinate as its whole pixel and the weight of the next one.
struct Split
{
    int whole;
    quint32 weight;
};

Split split(double coordinate)
{
    const double whole = std::floor(coordinate);
    const auto weight = quint32(std::lround((coordinate - whole) * kSteps));
    if (weight == kSteps)
        return {int(whole) + 1, 0};
    return {int(whole), weight};
}

// Where a pixel's four bytes start, its column held inside the picture.
const uchar* pixelAt(const QImage& picture, int y, int column)
{
    return picture.constScanLine(y) + 4 * std::clamp(column, 0, picture.width() - 1);
}

// Writes `rect` of dest from a Format_RGB32 or Format_ARGB32_Premultiplied picture: first
// each row of the picture mixed with the one below, then each pixel with the one beside it.
void sample(const QImage& picture, const QPointF& offset, QImage& dest, const QRect& rect)
{
    const Split sx = split(offset.x());
    const Split sy = split(offset.y());
    const int width = rect.width();
    const int lastRow = picture.height() - 1;
    // The line holds picture columns first .. first + width (one more for the right-hand
    // neighbours), held at the edges; those from begin to end lie inside the picture.
    const int first = rect.left() + sx.whole;
    const int begin = std::clamp(-first, 0, width + 1);
    const int end = std::clamp(picture.width() - first, begin, width + 1);
    std::vector<quint32> line(width + 1);
    auto* bytes = reinterpret_cast<uchar*>(line.data());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const int above = std::clamp(y + sy.whole, 0, lastRow);
        const int below = std::clamp(y + sy.whole + 1, 0, lastRow);
        // Pixel i of the line, the two rows mixed.
        const auto mixedAt = [&](int i) {
            quint32 pixel;
            mixBytes(reinterpret_cast<uchar*>(&pixel), pixelAt(picture, above, first + i),
                     pixelAt(picture, below, first + i), 4, sy.weight);
            return pixel;
        };
        std::fill(line.begin(), line.begin() + begin, mixedAt(0));
        mixBytes(bytes + 4 * begin, pixelAt(picture, above, first + begin),
                 pixelAt(picture, below, first + begin), 4 * (end - begin), sy.weight);
        std::fill(line.begin() + end, line.end(), mixedAt(width));
        mixBytes(dest.scanLine(y) + 4 * rect.left(), bytes, bytes + 4, 4 * width, sx.weight);
    }
}

} // namespace

void drawShifted(QImage& canvas, const QRect& area, const QImage& picture, const QPointF& offset)
{
    const QRect inside = area & canvas.rect();
    if (inside.isEmpty() || picture.isNull())
        return;
    if (!picture.hasAlphaChannel()) {
        sample(picture.convertToFormat(QImage::Format_RGB32), offset, canvas, inside);
        return;
    }
    const QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage layer(inside.size(), QImage::Format_ARGB32_Premultiplied);
    sample(premultiplied, offset + inside.topLeft(), layer, layer.rect());
    QPainter(&canvas).drawImage(inside.topLeft(), layer);
}
