#include "model/transition/TransitionRenderer.h"

#include "model/transition/TransitionCanvas.h"

namespace {

bool isDrawnType(int type)
{
    return type == 0 || (type >= 2 && type <= 28);
}

// The source with a null picture replaced by one of that size and colour, made once.
PictureSource filledWhenNull(PictureSource source, int width, int height, const QColor& color)
{
    return [source = std::move(source), width, height, color, fill = QImage()]() mutable {
        QImage picture = source();
        if (!picture.isNull())
            return picture;
        if (fill.isNull()) {
            fill = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
            fill.fill(color);
        }
        return fill;
    };
}

} // namespace

void TransitionRenderer::setFrameSize(int width, int height, int transformationMode)
{
    m_width = width;
    m_height = height;
    m_transformationMode = transformationMode;
}

void TransitionRenderer::setIncremental(bool incremental)
{
    m_incremental = incremental;
}

void TransitionRenderer::setSeeThrough(bool seeThrough)
{
    m_seeThrough = seeThrough;
}

void TransitionRenderer::render(int type, int frameCount, PictureSource oldPicture,
                                PictureSource newPicture, TransitionFrameSink sink)
{
    m_oldPicture = filledWhenNull(std::move(oldPicture), m_width, m_height,
                                  m_seeThrough ? QColor(Qt::transparent) : QColor::fromRgb(0, 0, 0, 255));
    m_newPicture = std::move(newPicture);
    m_sink = std::move(sink);
    if (!isDrawnType(type) || frameCount <= 0 || m_width <= 0 || m_height <= 0)
        return;
    // A single frame leaves no room for steps: it is the new picture.
    if (type == 0 || frameCount == 1) {
        renderNone(frameCount);
        return;
    }
    if (type == 2) {
        renderPixelate(frameCount);
        return;
    }
    TransitionCanvas canvas(m_oldPicture(), m_width, m_height, m_seeThrough);
    dispatch(type, frameCount, canvas);
}

Qt::TransformationMode TransitionRenderer::mode() const
{
    return m_transformationMode == Qt::SmoothTransformation ? Qt::SmoothTransformation
                                                            : Qt::FastTransformation;
}

QImage TransitionRenderer::scaled(const QImage& picture, int width, int height,
                                  Qt::TransformationMode mode)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return QImage();
    return picture.scaled(width, height, Qt::IgnoreAspectRatio, mode);
}

void TransitionRenderer::dispatch(int type, int n, TransitionCanvas& canvas)
{
    switch (type) {
    case 3: renderSpiralIn(n, canvas); break;
    case 4: renderSpiralOut(n, canvas); break;
    case 5: renderStripes(n, canvas); break;
    case 6: renderWall(n, canvas); break;
    case 7: renderCheckerboard(n, canvas); break;
    case 8: renderRotate(n, canvas, false); break;
    case 9: renderRotate(n, canvas, true); break;
    case 10: renderFlipOver(n, canvas); break;
    case 17: renderStretchHorizontal(n, canvas); break;
    case 18: renderStretchVertical(n, canvas); break;
    case 19: renderZoomIn(n, canvas); break;
    case 20: renderZoomOut(n, canvas); break;
    case 26: renderFadeThrough(QColor::fromRgb(0, 0, 0, 255), n, canvas); break;
    case 27: renderCrossfade(n, canvas); break;
    case 28: renderFadeThrough(QColor::fromRgb(255, 255, 255, 255), n, canvas); break;
    case 11: case 12: case 13: case 14: case 15: case 16: renderWipe(type, n, canvas); break;
    case 21: case 22: case 23: case 24: case 25: renderPush(type, n, canvas); break;
    }
}

void TransitionRenderer::renderNone(int n)
{
    for (int i = 0; i < n; ++i) {
        if (!m_sink(m_newPicture(), i, n))
            return;
    }
}
