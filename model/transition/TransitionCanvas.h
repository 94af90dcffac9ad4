#pragma once

#include "model/transition/FrameTypes.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

class QTransform;

// The image a transition effect draws its frames on. It remembers where it holds the old
// picture and where the new one, so a picture that has not changed is drawn only where it is
// missing. Its painter is closed while the sink sees a frame: a frame the sink keeps is copied
// by the next draw instead of being drawn over, and a frame that draws nothing costs nothing.
// Pictures are taken as opaque, unless the canvas is see-through: then every draw replaces the
// pixels it covers and every frame starts afresh from the old picture, so nothing piles up.
class TransitionCanvas
{
public:
    // Starts as the old picture drawn at (0, 0) over the background: opaque black, or
    // transparent when see-through.
    TransitionCanvas(const QImage& oldPicture, int width, int height, bool seeThrough = false);

    QRect rect() const { return m_image.rect(); }
    // The open painter; what is drawn through it must be reported with markPainted.
    QPainter& painter();
    void markPainted(const QRect& area);

    // Draws `region` of the old picture where the canvas does not hold it yet.
    void drawOld(const QImage& picture, const QRegion& region);
    // Draws `region` of the new picture; with `unchanged` (the same picture as in the last
    // call) only where the canvas does not hold it yet.
    void drawNew(const QImage& picture, const QRegion& region, bool unchanged);
    // The new picture in `newRegion` where it has pixels, the old picture everywhere else.
    void drawSplit(const QImage& oldPicture, const QImage& newPicture, const QRegion& newRegion,
                   bool unchanged);
    // Draws `part` of `picture` with its top-left corner at `at`, unscaled.
    void drawImage(const QPoint& at, const QImage& picture, const QRect& part);
    // Draws `picture` at `at` through `transform`.
    void drawTransformed(const QImage& picture, const QPointF& at, const QTransform& transform);
    void fill(const QColor& color);
    void fillBackground();

    bool hand(const TransitionFrameSink& sink, int index, int count);

private:
    void drawParts(const QImage& picture, const QRegion& parts);

    const bool m_seeThrough;
    QImage m_image;
    QImage m_start; // what a see-through canvas starts every frame from
    QPainter m_painter;
    qint64 m_oldKey = 0;
    QRegion m_oldShown;
    QRegion m_newShown;
};
