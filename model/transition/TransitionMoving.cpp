// Effects in which a picture moves, turns or changes size.
#include "model/transition/TransitionRenderer.h"

#include "model/transition/TransitionCanvas.h"

#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Each of `steps` steps covers span / steps; without steps one step covers the whole span.
double stepAcross(double span, int steps)
{
    return steps > 0 ? span / steps : span;
}

struct PushParts
{
    QRect newPart;
    QPoint newAt;
    QRect oldPart;
    QPoint oldAt;
};

// The parts of a push after shifting the pictures by (sx, sy).
PushParts pushParts(int type, int width, int height, int sx, int sy)
{
    switch (type) {
    case TransitionSlideFromBottom:
        return {{0, 0, width, sy}, {0, height - sy}, {0, sy, width, height - sy}, {0, 0}};
    case TransitionSlideFromLeft:
        return {{width - sx, 0, sx, height}, {0, 0}, {0, 0, width - sx, height}, {sx, 0}};
    case TransitionSlideFromRight:
        return {{0, 0, sx, height}, {width - sx, 0}, {sx, 0, width - sx, height}, {0, 0}};
    case TransitionSlideFromTop:
        return {{0, height - sy, width, sy}, {0, 0}, {0, 0, width, height - sy}, {0, sy}};
    default: // TransitionSlideFromTopLeft
        return {{width - sx, height - sy, sx, sy}, {0, 0}, {0, 0, width - sx, height - sy}, {sx, sy}};
    }
}

} // namespace

// Outward: the new picture grows out of the centre while turning over the old one. Inward: the
// old picture shrinks into the centre while turning over the new one.
void TransitionRenderer::renderRotate(int n, TransitionCanvas& canvas, bool inward)
{
    // Frame i is i steps from the start, multiplied rather than summed, so the outward turn
    // ends on the whole picture upright whatever n is.
    const auto stepsOf = [n](double span, int steps) { return steps * span / (n - 1); };
    for (int i = 0; i < n; ++i) {
        const int steps = inward ? n - i : i;
        if (inward)
            canvas.drawNew(m_newPicture(), canvas.rect(), m_incremental);
        else
            canvas.drawOld(m_oldPicture(), canvas.rect());
        const int w = qRound(stepsOf(m_width, steps));
        const int h = qRound(stepsOf(m_height, steps));
        const QImage turning = scaled(inward ? m_oldPicture() : m_newPicture(), w, h, mode());
        QTransform transform;
        transform.translate(m_width / 2.0, m_height / 2.0);
        transform.rotate(std::fmod(stepsOf(360, steps), 360.0));
        transform.translate(-w / 2.0, -h / 2.0);
        canvas.drawTransformed(turning, QPointF((m_width - w) / 2.0, (m_height - h) / 2.0),
                               transform);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The old picture tips away about the horizontal axis and the new one comes back.
void TransitionRenderer::renderFlipOver(int n, TransitionCanvas& canvas)
{
    const int s = 180 / n;
    const int half = n / 2;
    int angle = 0;
    for (int i = 0; i < n; ++i) {
        canvas.fillBackground();
        QTransform transform;
        transform.translate(m_width / 2, m_height / 2);
        transform.rotate(angle, Qt::XAxis);
        transform.translate(-(m_width / 2), -(m_height / 2));
        const bool first = i < half;
        canvas.drawTransformed(first ? m_oldPicture() : m_newPicture(), QPoint(0, 0), transform);
        angle += first ? -s : s;
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The new picture widens from a vertical band in the middle; the old one keeps its sides.
void TransitionRenderer::renderStretchHorizontal(int n, TransitionCanvas& canvas)
{
    const double step = stepAcross(m_width, n - 2);
    double band = 0.0;
    for (int i = 0; i < n; ++i) {
        const int iw = int(band);
        const int c = (m_width - iw) / 2;
        const int hw = iw / 2;
        canvas.drawOld(m_oldPicture(),
                       QRegion(0, 0, c, m_height) + QRegion(m_width / 2 + hw, 0, c, m_height));
        const QImage stretched = scaled(m_newPicture(), iw, m_height, Qt::FastTransformation);
        canvas.drawImage(QPoint(m_width / 2 - hw, 0), stretched, QRect(0, 0, iw, m_height));
        band = std::min(double(m_width), band + step);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The old picture is squeezed into a horizontal band; the new one shows above and below it.
void TransitionRenderer::renderStretchVertical(int n, TransitionCanvas& canvas)
{
    const double step = std::ceil(stepAcross(m_height, n - 2));
    double band = m_height;
    for (int i = 0; i < n; ++i) {
        const int ig = int(band);
        const int c = (m_height - ig) / 2;
        const int hg = ig / 2;
        // The lower part runs to the bottom edge, so an odd remainder leaves no stale row.
        const int below = m_height / 2 + hg;
        canvas.drawNew(m_newPicture(),
                       QRegion(0, 0, m_width, c) + QRegion(0, below, m_width, m_height - below),
                       m_incremental);
        const QImage squeezed = scaled(m_oldPicture(), m_width, ig, Qt::FastTransformation);
        canvas.drawImage(QPoint(0, c), squeezed, QRect(0, 0, m_width, ig));
        if (step > band && band > 1.0)
            band = 1.0;
        else
            band = std::max(0.0, band - step);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The new picture grows from the centre over the old one.
void TransitionRenderer::renderZoomIn(int n, TransitionCanvas& canvas)
{
    const int dw = std::max(1, m_width / n);
    const int dh = std::max(1, m_height / n);
    int w = 0, h = 0;
    for (int i = 0; i < n; ++i) {
        const QImage oldPicture = m_oldPicture();
        const QImage grown = scaled(m_newPicture(), w, h, Qt::FastTransformation);
        const QRect area(m_width / 2 - w / 2, m_height / 2 - h / 2, w, h);
        canvas.drawOld(oldPicture, QRegion(canvas.rect()) - (grown.isNull() ? QRect() : area));
        canvas.drawImage(area.topLeft(), grown, QRect(0, 0, w, h));
        w = std::min(m_width, w + dw);
        h = std::min(m_height, h + dh);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The old picture shrinks into the centre over the new one.
void TransitionRenderer::renderZoomOut(int n, TransitionCanvas& canvas)
{
    const int dw = std::max(1, m_width / n);
    const int dh = std::max(1, m_height / n);
    int w = m_width, h = m_height;
    for (int i = 0; i < n; ++i) {
        const QImage newPicture = m_newPicture();
        const QImage shrunk = scaled(m_oldPicture(), w, h, Qt::FastTransformation);
        const QRect area(m_width / 2 - w / 2, m_height / 2 - h / 2, w, h);
        canvas.drawNew(newPicture, QRegion(canvas.rect()) - (shrunk.isNull() ? QRect() : area),
                       m_incremental);
        canvas.drawImage(area.topLeft(), shrunk, QRect(0, 0, w, h));
        w = std::max(0, w - dw);
        h = std::max(0, h - dh);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The new picture pushes the old one out of the frame.
void TransitionRenderer::renderPush(int type, int n, TransitionCanvas& canvas)
{
    const bool across = type != TransitionSlideFromBottom && type != TransitionSlideFromTop;
    const bool down = type != TransitionSlideFromLeft && type != TransitionSlideFromRight;
    const int dx = across ? std::max(1, m_width / n) : 0;
    const int dy = down ? std::max(1, m_height / n) : 0;
    int sx = 0, sy = 0;
    for (int i = 0; i < n; ++i) {
        if (type == TransitionSlideFromTopLeft)
            canvas.fillBackground();
        const PushParts parts = pushParts(type, m_width, m_height, sx, sy);
        canvas.drawImage(parts.newAt, m_newPicture(), parts.newPart);
        canvas.drawImage(parts.oldAt, m_oldPicture(), parts.oldPart);
        sx = std::min(m_width, sx + dx);
        sy = std::min(m_height, sy + dy);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}
