#include "model/transition/TransitionCanvas.h"

#include <QTransform>

TransitionCanvas::TransitionCanvas(const QImage& oldPicture, int width, int height, bool seeThrough)
    : m_seeThrough(seeThrough)
    , m_oldKey(oldPicture.cacheKey())
{
    if (!oldPicture.isNull() && oldPicture.size() == QSize(width, height)) {
        // Shares the picture's pixels until the first draw.
        m_image = oldPicture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        m_image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        fillBackground();
        if (!oldPicture.isNull())
            painter().drawImage(0, 0, oldPicture);
        m_painter.end();
    }
    m_start = m_image;
    // Where the old picture has no pixels, drawing it leaves the canvas as it is.
    m_oldShown = rect();
    m_newShown = QRegion();
}

QPainter& TransitionCanvas::painter()
{
    if (!m_painter.isActive()) {
        m_painter.begin(&m_image);
        if (m_seeThrough)
            m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    }
    return m_painter;
}

void TransitionCanvas::markPainted(const QRect& area)
{
    m_oldShown -= area;
    m_newShown -= area;
}

void TransitionCanvas::drawOld(const QImage& picture, const QRegion& region)
{
    if (picture.cacheKey() != m_oldKey) {
        m_oldKey = picture.cacheKey();
        m_oldShown = QRegion();
    }
    const QRegion visible = region & rect();
    const QRegion missing = visible - m_oldShown;
    drawParts(picture, missing);
    m_oldShown += visible;
    m_newShown -= missing;
}

void TransitionCanvas::drawNew(const QImage& picture, const QRegion& region, bool unchanged)
{
    if (picture.isNull())
        return;
    const QRegion visible = region & rect();
    const QRegion missing = unchanged ? visible - m_newShown : visible;
    drawParts(picture, missing);
    m_newShown = unchanged ? m_newShown + visible : visible;
    m_oldShown -= missing;
}

void TransitionCanvas::drawSplit(const QImage& oldPicture, const QImage& newPicture,
                                 const QRegion& newRegion, bool unchanged)
{
    const QRegion newPart = newPicture.isNull() ? QRegion() : newRegion & newPicture.rect();
    drawOld(oldPicture, QRegion(rect()) - newPart);
    drawNew(newPicture, newPart, unchanged);
}

void TransitionCanvas::drawImage(const QPoint& at, const QImage& picture, const QRect& part)
{
    if (picture.isNull() || part.isEmpty())
        return;
    painter().drawImage(at, picture, part);
    markPainted(QRect(at, part.size()));
}

void TransitionCanvas::drawTransformed(const QImage& picture, const QPointF& at,
                                       const QTransform& transform)
{
    if (picture.isNull())
        return;
    QPainter& p = painter();
    p.setTransform(transform);
    p.drawImage(at, picture);
    p.resetTransform();
    // One pixel around the mapped rectangle takes in every pixel the drawing can touch.
    markPainted(transform.mapRect(QRectF(at, picture.size())).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void TransitionCanvas::fill(const QColor& color)
{
    painter().fillRect(rect(), color);
    markPainted(rect());
}

void TransitionCanvas::fillBackground()
{
    fill(m_seeThrough ? QColor(Qt::transparent) : QColor::fromRgb(0, 0, 0, 255));
}

bool TransitionCanvas::hand(const TransitionFrameSink& sink, int index, int count)
{
    if (m_painter.isActive())
        m_painter.end();
    const bool goOn = sink(m_image, index, count);
    if (m_seeThrough) {
        m_image = m_start;
        m_oldShown = rect();
        m_newShown = QRegion();
    }
    return goOn;
}

void TransitionCanvas::drawParts(const QImage& picture, const QRegion& parts)
{
    if (picture.isNull())
        return;
    for (const QRect& part : parts)
        painter().drawImage(part.topLeft(), picture, part);
}
