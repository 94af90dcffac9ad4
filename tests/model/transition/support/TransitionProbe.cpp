#include "support/TransitionProbe.h"

#include "model/transition/TransitionRenderer.h"

#include <cstdlib>

TransitionSetup patternSetup(int type, int frames, const QSize& size)
{
    TransitionSetup setup;
    setup.type = type;
    setup.frames = frames;
    setup.size = size;
    setup.oldPicture = patternPicture(size, 1);
    setup.newPicture = patternPicture(size, 2);
    return setup;
}

TransitionSetup solidSetup(int type, int frames, const QSize& size, const QColor& oldColor,
                           const QColor& newColor)
{
    TransitionSetup setup;
    setup.type = type;
    setup.frames = frames;
    setup.size = size;
    setup.oldPicture = solidPicture(size, oldColor);
    setup.newPicture = solidPicture(size, newColor);
    return setup;
}

TransitionRecord recordTransition(const TransitionSetup& setup, bool snapshot)
{
    TransitionRecord record;
    auto source = [&setup](const QImage& picture, int& fetches) {
        return [&setup, &picture, &fetches]() {
            ++fetches;
            return setup.freshCopies ? picture.copy() : picture;
        };
    };
    TransitionRenderer renderer;
    renderer.setFrameSize(setup.size.width(), setup.size.height(), setup.mode);
    renderer.setIncremental(setup.incremental);
    renderer.render(setup.type, setup.frames, source(setup.oldPicture, record.oldFetches),
                    source(setup.newPicture, record.newFetches),
                    [&](const QImage& frame, int index, int count) {
                        record.indices << index;
                        record.counts << count;
                        if (setup.keep.isEmpty() || setup.keep.contains(index)) {
                            record.frames.insert(index, frame);
                            if (snapshot)
                                record.snapshots.insert(index, frame.copy());
                        }
                        return index != setup.refuseAt;
                    });
    return record;
}

QImage solidPicture(const QSize& size, const QColor& color)
{
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(color);
    return picture;
}

QImage patternPicture(const QSize& size, int seed)
{
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 7 + seed * 31) & 255, (y * 13 + seed * 17) & 255, ((x ^ y) * 5 + seed) & 255);
    }
    return picture;
}

bool closeColors(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance && std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

bool isUniform(const QImage& frame, const QColor& color)
{
    const QImage pixels = frame.convertToFormat(QImage::Format_ARGB32);
    const QRgb wanted = color.rgba();
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            if (line[x] != wanted)
                return false;
        }
    }
    return !pixels.isNull();
}
