#include "model/ProjectItemSimple.h"

#include "model/picture/BlurredBackground.h"
#include "model/picture/ImageLoader.h"
#include "model/picture/ShiftedPicture.h"
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

// The size to decode a picture at for the enlarged picture of a width x height frame: just
// large enough that, turned by the angle, it covers the frame enlarged. Invalid, that is as
// stored, when that is not smaller.
QSize enlargedDecodeSize(const QSize& upright, int angle, int width, int height)
{
    const QSizeF turned = QTransform().rotate(angle).mapRect(QRectF(QPointF(), QSizeF(upright))).size();
    const double factor = kEnlarge * std::max(width / turned.width(), height / turned.height());
    if (factor >= 1)
        return QSize();
    // A hair above a whole number stays on it, so the enlarged picture is often this size.
    const auto side = [factor](int length) { return std::max(1, int(std::ceil(length * factor - 1e-6))); };
    return QSize(side(upright.width()), side(upright.height()));
}

// The whole pixels inside the rectangle.
QRect insideOf(const QRectF& rect)
{
    const QPoint topLeft(int(std::ceil(rect.left())), int(std::ceil(rect.top())));
    const QPoint end(int(std::floor(rect.right())), int(std::floor(rect.bottom())));
    return QRect(topLeft, end - QPoint(1, 1));
}

// The pixels whose centres lie inside the rectangle.
QRect centresIn(const QRectF& rect)
{
    const QPoint topLeft(int(std::ceil(rect.left() - 0.5)), int(std::ceil(rect.top() - 0.5)));
    const QPoint end(int(std::ceil(rect.right() - 0.5)), int(std::ceil(rect.bottom() - 0.5)));
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
    if (withText && !out.isNull())
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
    if (canvas.isNull())
        return canvas;
    const QRect covered = m_enlarged.hasAlphaChannel() ? QRect() : insideOf(target);
    paintFill(canvas, covered, scaleToFit && blurBackground ? &blurredFill(m_enlarged, width, height) : nullptr);

    const QRectF crop = motionCrop(motion, m_enlarged.size(), progress);
    // A window as large as its target moves by fractions of a pixel, not whole pixels.
    if (crop.size() == target.size()) {
        drawShifted(canvas, centresIn(target), m_enlarged, crop.topLeft() - target.topLeft());
        return canvas;
    }
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_enlarged, crop);
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
    if (canvas.isNull())
        return canvas;
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
    const int angle = std::max(m_angle, 0); // as turned() turns it
    QImage picture = turned(ImageLoader::loadImage(m_fileName, [=](const QSize& upright) {
        return enlargedDecodeSize(upright, angle, width, height);
    }));
    const bool opaque = !picture.isNull() && keepsOpaque();
    const QSize cover = (picture.isNull() ? QSize(width, height) : picture.size())
                            .scaled(width, height, Qt::KeepAspectRatioByExpanding);
    const QSize size(int(cover.width() * kEnlarge), int(cover.height() * kEnlarge));
    QImage enlarged =
        picture.isNull() ? picture : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // An unreadable picture, or one memory did not suffice for, shows nothing.
    if (enlarged.isNull()) {
        enlarged = QImage(size, QImage::Format_ARGB32_Premultiplied);
        enlarged.fill(Qt::transparent);
        return enlarged;
    }
    // An opaque picture is drawn as a plain copy, without blending, in every motion frame;
    // one with alpha is kept premultiplied, as it is drawn.
    enlarged.convertTo(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    return enlarged;
}

const QImage& ProjectItemSimple::blurredFill(const QImage& picture, int width, int height)
{
    // Made once, at the frame size it is drawn at.
    if (m_blurred.size() != QSize(width, height))
        m_blurred = blurredBackground(picture, width, height);
    return m_blurred;
}
