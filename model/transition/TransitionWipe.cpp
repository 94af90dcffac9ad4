// Wipes in 100-pixel stripes and the fades.
#include "model/transition/TransitionRenderer.h"

#include "model/transition/TransitionCanvas.h"

#include <QtMath>

namespace {

// Part of stripe k (starting at o = 100 k) for run r: new picture for the wipes, the slit of
// old picture for TransitionWipeVerticalOut.
QRect stripePart(int type, int width, int height, int k, double run)
{
    const int o = 100 * k;
    const int ir = int(run);
    switch (type) {
    case TransitionWipeLeftToRight: return QRect(o, 0, ir, height);
    case TransitionWipeRightToLeft: return QRect(o + 100 - ir, 0, ir, height);
    case TransitionWipeTopToBottom: return QRect(0, o, width, ir);
    case TransitionWipeBottomToTop: return QRect(0, o + 100 - ir, width, ir);
    case TransitionWipeVerticalIn: return QRect(o + 50 - ir / 2, 0, ir, height);
    default: return QRect(o + 50 - int(run * 0.5), 0, ir, height);
    }
}

} // namespace

void TransitionRenderer::renderWipe(int type, int n, TransitionCanvas& canvas)
{
    const bool closing = type == TransitionWipeVerticalOut;
    const bool rows = type == TransitionWipeTopToBottom || type == TransitionWipeBottomToTop;
    const int stripes = int(std::ceil((rows ? m_height : m_width) / 100.0));
    for (int i = 0; i < n; ++i) {
        // i steps of 100 / (n - 1), multiplied rather than summed so the last frame reaches 100.
        const double opened = 100.0 * i / (n - 1);
        const double run = closing ? 100.0 - opened : opened;
        const QImage oldPicture = m_oldPicture();
        const QImage newPicture = m_newPicture();
        QRegion parts;
        for (int k = 0; k < stripes; ++k)
            parts += stripePart(type, m_width, m_height, k, run);
        canvas.drawSplit(oldPicture, newPicture, closing ? QRegion(canvas.rect()) - parts : parts,
                         m_incremental);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// The old picture fades into the colour over the first half, the new one out of it after.
void TransitionRenderer::renderFadeThrough(const QColor& color, int n, TransitionCanvas& canvas)
{
    const int half = n / 2;
    for (int i = 0; i < n; ++i) {
        QPainter& painter = canvas.painter();
        painter.setOpacity(1.0);
        painter.fillRect(canvas.rect(), color);
        painter.setOpacity(std::abs(double(half - i) / half));
        painter.drawImage(0, 0, i < half ? m_oldPicture() : m_newPicture());
        canvas.markPainted(canvas.rect());
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// Each frame blends the old picture in twice and the new one once over the previous frame;
// the opacity carries over from one frame to the next.
void TransitionRenderer::renderCrossfade(int n, TransitionCanvas& canvas)
{
    double opacity = 1.0;
    for (int i = 0; i < n; ++i) {
        const QImage oldPicture = m_oldPicture();
        QPainter& painter = canvas.painter();
        painter.setOpacity(opacity);
        painter.drawImage(0, 0, oldPicture);
        painter.setOpacity(double(n - i) / n);
        painter.drawImage(0, 0, oldPicture);
        opacity = double(i) / n;
        painter.setOpacity(opacity);
        painter.drawImage(0, 0, m_newPicture());
        canvas.markPainted(canvas.rect());
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}
