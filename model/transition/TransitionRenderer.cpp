#include "model/transition/TransitionRenderer.h"

#include "model/transition/TransitionCanvas.h"

#include <algorithm>

namespace {

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
    if (framesDrawn(type, frameCount, m_width, m_height) == 0)
        return;
    // A single frame leaves no room for steps: it is the new picture.
    if (type == TransitionNone || frameCount == 1) {
        renderNone(frameCount);
        return;
    }
    if (type == TransitionPixelate) {
        renderPixelate(frameCount);
        return;
    }
    TransitionCanvas canvas(m_oldPicture(), m_width, m_height, m_seeThrough);
    dispatch(type, frameCount, canvas);
}

int TransitionRenderer::framesDrawn(int type, int frameCount, int width, int height)
{
    if (!isDrawnTransition(type) || width <= 0 || height <= 0)
        return 0;
    return std::max(frameCount, 0);
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
    case TransitionMosaicSpiralIn: renderSpiralIn(n, canvas); break;
    case TransitionMosaicSpiralOut: renderSpiralOut(n, canvas); break;
    case TransitionMosaicStripes: renderStripes(n, canvas); break;
    case TransitionMosaicWall: renderWall(n, canvas); break;
    case TransitionCheckerboard: renderCheckerboard(n, canvas); break;
    case TransitionRotateOut: renderRotate(n, canvas, false); break;
    case TransitionRotateIn: renderRotate(n, canvas, true); break;
    case TransitionFlipOver: renderFlipOver(n, canvas); break;
    case TransitionStretchHorizontal: renderStretchHorizontal(n, canvas); break;
    case TransitionStretchVertical: renderStretchVertical(n, canvas); break;
    case TransitionZoomIn: renderZoomIn(n, canvas); break;
    case TransitionZoomOut: renderZoomOut(n, canvas); break;
    case TransitionFadeToBlack: renderFadeThrough(QColor::fromRgb(0, 0, 0, 255), n, canvas); break;
    case TransitionCrossfade: renderCrossfade(n, canvas); break;
    case TransitionFadeToWhite: renderFadeThrough(QColor::fromRgb(255, 255, 255, 255), n, canvas); break;
    case TransitionWipeLeftToRight:
    case TransitionWipeRightToLeft:
    case TransitionWipeTopToBottom:
    case TransitionWipeBottomToTop:
    case TransitionWipeVerticalIn:
    case TransitionWipeVerticalOut: renderWipe(type, n, canvas); break;
    case TransitionSlideFromBottom:
    case TransitionSlideFromLeft:
    case TransitionSlideFromRight:
    case TransitionSlideFromTop:
    case TransitionSlideFromTopLeft: renderPush(type, n, canvas); break;
    }
}

void TransitionRenderer::renderNone(int n)
{
    for (int i = 0; i < n; ++i) {
        if (!m_sink(m_newPicture(), i, n))
            return;
    }
}
