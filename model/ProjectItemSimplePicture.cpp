#include "model/ProjectItemSimple.h"

#include "model/picture/BlurredBackground.h"
#include "model/picture/ImageLoader.h"
#include "model/MotionType.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

// The photo slide's picture and its caches.

namespace {

// How much larger than the covering size the picture of a motion is.
constexpr double kEnlarge = 1.2;

bool validSize(int width, int height)
{
    return width > 0 && height > 0;
}

// The picture scaled to cover width x height, cut to its centre; null for a null picture.
QImage coverCrop(const QImage& picture, int width, int height)
{
    if (picture.isNull())
        return picture;
    const QImage scaled =
        picture.scaled(width, height, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return scaled.copy((scaled.width() - width) / 2, (scaled.height() - height) / 2, width, height);
}

// The whole pixels inside the rectangle.
QRect insideOf(const QRectF& rect)
{
    const QPoint topLeft(int(std::ceil(rect.left())), int(std::ceil(rect.top())));
    const QPoint end(int(std::floor(rect.right())), int(std::floor(rect.bottom())));
    return QRect(topLeft, end - QPoint(1, 1));
}

// Paints the canvas outside `covered` with the blurred background, or opaque black without one.
void paintFill(QImage& canvas, const QRect& covered, const QImage* blurred)
{
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : QRegion(canvas.rect()).subtracted(covered)) {
        if (blurred)
            painter.drawImage(rect.topLeft(), *blurred, rect);
        else
            painter.fillRect(rect, Qt::black);
    }
}

} // namespace

QImage ProjectItemSimple::renderImage(int width, int height, bool withText, bool scaleToFit,
                                      bool blurBackground)
{
    if (!validSize(width, height))
        return QImage();
    const QSize size(width, height);
    if (m_cachedSize != size || m_still.isNull()) {
        m_still = stillPicture(width, height, scaleToFit, blurBackground);
        m_cachedSize = size;
    }
    QImage out = m_still;
    if (withText)
        drawText(out);
    return out;
}

QImage ProjectItemSimple::renderMotion(int motion, int width, int height, bool scaleToFit,
                                       bool blurBackground, double progress)
{
    if (motion == MotionNone)
        return renderImage(width, height, false, scaleToFit, blurBackground);
    if (!validSize(width, height))
        return QImage();
    if (m_enlarged.isNull())
        m_enlarged = enlargedPicture(width, height);

    const QSize size = m_enlarged.size().scaled(
        width, height, scaleToFit ? Qt::KeepAspectRatio : Qt::KeepAspectRatioByExpanding);
    QRectF target(QPointF(0, 0), QSizeF(size));
    target.moveCenter(QPointF(width / 2.0, height / 2.0));

    // An opaque picture paints every pixel of its target's inside; a fitted one needs its
    // fill around it, and any other one black under it.
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    const QRect covered = m_enlarged.hasAlphaChannel() ? QRect() : insideOf(target);
    paintFill(canvas, covered, scaleToFit && blurBackground ? &blurredFill(m_enlarged, width, height) : nullptr);

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_enlarged, motionCrop(motion, m_enlarged.size(), progress));
    painter.end();
    return canvas;
}

QImage ProjectItemSimple::motionFrame(int width, int height, bool scaleToFit, bool blurBackground,
                                      double progress)
{
    return renderMotion(m_motion, width, height, scaleToFit, blurBackground, progress);
}

void ProjectItemSimple::motionFrame(QImage& out, int width, int height, bool scaleToFit,
                                    bool blurBackground, double progress)
{
    out = motionFrame(width, height, scaleToFit, blurBackground, progress);
}

QRectF ProjectItemSimple::motionCrop(int motion, const QSize& enlarged, double progress)
{
    const double w = enlarged.width();
    const double h = enlarged.height();
    const double p = progress;
    QRectF crop(0, 0, w / kEnlarge, h / kEnlarge);
    if (motion >= MotionZoomInCenter && motion <= MotionZoomOutLeft) {
        const double q = motion <= MotionZoomInLeft ? p : kFullProgress - p;
        const double f = 1 - q * (1 - 0.8) / kFullProgress;
        crop.setSize(QSizeF(w * f, h * f));
    }
    const double dx = w - crop.width();
    const double dy = h - crop.height();
    switch (motion) {
    case MotionPanLeft:
        crop.moveTopLeft(QPointF(p * dx / kFullProgress, dy / 2));
        break;
    case MotionPanRight:
        crop.moveTopLeft(QPointF((kFullProgress - p) * dx / kFullProgress, dy / 2));
        break;
    case MotionPanUp:
        crop.moveTopLeft(QPointF(dx / 2, p * dy / kFullProgress));
        break;
    case MotionPanDown:
        crop.moveTopLeft(QPointF(dx / 2, (kFullProgress - p) * dy / kFullProgress));
        break;
    case MotionZoomInCenter:
    case MotionZoomOutCenter:
        crop.moveCenter(QPointF(w / 2, h / 2));
        break;
    case MotionZoomInRight:
    case MotionZoomOutRight:
        crop.moveTopLeft(QPointF(dx, dy / 2));
        break;
    case MotionZoomInLeft:
    case MotionZoomOutLeft:
        crop.moveTopLeft(QPointF(0, dy / 2));
        break;
    default:
        break;
    }
    return crop;
}

void ProjectItemSimple::clearCaches()
{
    m_enlarged = QImage();
    m_blurred = QImage();
    m_cachedSize = QSize();
    m_still = QImage();
}

QImage ProjectItemSimple::turned(const QImage& picture) const
{
    if (m_angle <= 0)
        return picture;
    return picture.transformed(QTransform().rotate(m_angle), Qt::FastTransformation);
}

bool ProjectItemSimple::keepsOpaque() const
{
    return m_angle % 90 == 0;
}

QImage ProjectItemSimple::stillPicture(int width, int height, bool scaleToFit, bool blurBackground)
{
    const int side = std::max(int(width * 1.1), int(height * 1.1));
    const QImage picture = turned(ImageLoader::loadImage(m_fileName, side));
    if (!scaleToFit)
        return coverCrop(picture, width, height);
    QImage canvas(width, height, QImage::Format_ARGB32_Premultiplied);
    const QImage fitted = picture.isNull()
        ? picture
        : picture.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QRect place(QPoint((width - fitted.width()) / 2, (height - fitted.height()) / 2),
                      fitted.size());
    const QRect covered = keepsOpaque() ? place : QRect();
    const QImage* blurred = blurBackground ? &blurredFill(picture, width, height) : nullptr;
    paintFill(canvas, covered, blurred);
    QPainter(&canvas).drawImage(place.topLeft(), fitted);
    return canvas;
}

QImage ProjectItemSimple::enlargedPicture(int width, int height) const
{
    QImage picture = turned(ImageLoader::loadImage(m_fileName, -1));
    const bool opaque = !picture.isNull() && keepsOpaque();
    if (picture.isNull()) {
        picture = QImage(width, height, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
    }
    const QSize cover = picture.size().scaled(width, height, Qt::KeepAspectRatioByExpanding);
    const QSize size(int(cover.width() * kEnlarge), int(cover.height() * kEnlarge));
    QImage enlarged = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // An opaque picture is drawn as a plain copy, without blending, in every motion frame.
    if (opaque)
        enlarged.convertTo(QImage::Format_RGB32);
    return enlarged;
}

const QImage& ProjectItemSimple::blurredFill(const QImage& picture, int width, int height)
{
    // Made once, at the frame size it is drawn at.
    if (m_blurred.size() != QSize(width, height))
        m_blurred = blurredBackground(picture, width, height);
    return m_blurred;
}
