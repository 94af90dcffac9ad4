// Pixelate and the effects that reveal the new picture block by block or band by band.
#include "model/transition/TransitionRenderer.h"

#include "model/transition/TransitionCanvas.h"

#include <QtMath>

#include <cstdlib>
#include <vector>

namespace {

enum class Heading { Right, Up, Left, Down };

int ceilQuotient(int a, int b)
{
    return int(std::ceil(double(a) / b));
}

// Blocks to reveal per frame so that n - 1 steps reveal all of them (n >= 2).
int blocksPerFrame(int total, int n)
{
    return ceilQuotient(total, n - 1);
}

// Inward spiral over a 21 x 11 grid (11 x 21 when portrait) from the bottom-left block.
QVector<QRect> spiralInOrder(int width, int height)
{
    const bool landscape = width >= height;
    const int columns = landscape ? 21 : 11;
    const int rows = landscape ? 11 : 21;
    const QSize block(ceilQuotient(width, columns), ceilQuotient(height, rows));
    int right = columns - 1, top = 0, left = 0, bottom = rows - 2;
    int column = 0, row = rows - 1;
    Heading heading = Heading::Right;
    QVector<QRect> order;
    for (int k = 0; k < columns * rows; ++k) {
        order << QRect(QPoint(column * block.width(), row * block.height()), block);
        switch (heading) {
        case Heading::Right:
            if (++column == right) {
                heading = Heading::Up;
                --right;
            }
            break;
        case Heading::Up:
            if (--row == top) {
                heading = Heading::Left;
                ++top;
            }
            break;
        case Heading::Left:
            if (--column == left) {
                heading = Heading::Down;
                ++left;
            }
            break;
        case Heading::Down:
            if (++row == bottom) {
                heading = Heading::Right;
                --bottom;
            }
            break;
        }
    }
    return order;
}

// Outward spiral of 165 positions from the centre of a 15 x 11 grid; positions off the grid
// lie off the canvas.
QVector<QRect> spiralOutOrder(int width, int height)
{
    const int positions = 165;
    const QSize block(ceilQuotient(width, 15), ceilQuotient(height, 11));
    int column = 7, row = 5;
    int runs[] = {1, 1, 2, 2}; // right, up, left, down
    const QPoint steps[] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
    QVector<QRect> order{QRect(QPoint(column * block.width(), row * block.height()), block)};
    for (int heading = 0; order.size() < positions; heading = (heading + 1) % 4) {
        for (int k = 0; k < runs[heading] && order.size() < positions; ++k) {
            column += steps[heading].x();
            row += steps[heading].y();
            order << QRect(QPoint(column * block.width(), row * block.height()), block);
        }
        runs[heading] += 2;
    }
    return order;
}

// 50 x 50 blocks row by row, left to right and back again.
QVector<QRect> wallOrder(int width, int height)
{
    const int columns = ceilQuotient(width, 50);
    const int rows = ceilQuotient(height, 50);
    QVector<QRect> order;
    for (int row = 0; row < rows; ++row) {
        for (int k = 0; k < columns; ++k) {
            const int column = row % 2 == 0 ? k : columns - 1 - k;
            order << QRect(column * 50, row * 50, 50, 50);
        }
    }
    return order;
}

// 50 x 50 blocks in an order drawn with rand().
QVector<QRect> checkerboardOrder(int width, int height)
{
    const int columns = ceilQuotient(width, 50);
    const int total = columns * ceilQuotient(height, 50);
    std::vector<int> pool(total);
    for (int m = 0; m < total; ++m)
        pool[m] = m;
    QVector<QRect> order;
    order.reserve(total);
    while (!pool.empty()) {
        const auto picked = pool.begin() + std::rand() % int(pool.size());
        order << QRect(*picked % columns * 50, *picked / columns * 50, 50, 50);
        pool.erase(picked);
    }
    return order;
}

} // namespace

void TransitionRenderer::renderPixelate(int n)
{
    const int half = n / 2;
    const double sx = double(m_width) / half;
    const double sy = double(m_height) / half;
    for (int i = 0; i < n; ++i) {
        const int a = std::abs(half - i) + 1;
        const QImage source = i < half ? m_oldPicture() : m_newPicture();
        const QImage coarse = scaled(source, int(std::ceil(a * sx)), int(std::ceil(a * sy)), mode());
        if (!m_sink(scaled(coarse, m_width, m_height, mode()), i, n))
            return;
    }
}

void TransitionRenderer::renderSpiralIn(int n, TransitionCanvas& canvas)
{
    renderBlocks(n, canvas, spiralInOrder(m_width, m_height), 0);
}

void TransitionRenderer::renderSpiralOut(int n, TransitionCanvas& canvas)
{
    // The static variant shows the centre block before the first frame.
    renderBlocks(n, canvas, spiralOutOrder(m_width, m_height), m_incremental ? 1 : 0);
}

void TransitionRenderer::renderWall(int n, TransitionCanvas& canvas)
{
    renderBlocks(n, canvas, wallOrder(m_width, m_height), 0);
}

void TransitionRenderer::renderCheckerboard(int n, TransitionCanvas& canvas)
{
    const QVector<QRect> order = checkerboardOrder(m_width, m_height);
    // The static variant reveals nothing in its first frame.
    renderBlocks(n, canvas, order, m_incremental ? -blocksPerFrame(order.size(), n) : 0);
}

// Frame i shows the first lead + (i + 1) x b blocks of the order. The moving variant draws
// them all again from the current new picture, the static one only the blocks it adds.
void TransitionRenderer::renderBlocks(int n, TransitionCanvas& canvas, const QVector<QRect>& order,
                                      int lead)
{
    const int total = order.size();
    const int perFrame = blocksPerFrame(total, n);
    QRegion revealed;
    int shown = 0;
    for (int i = 0; i < n; ++i) {
        const int count = int(qBound<qint64>(0, lead + qint64(i + 1) * perFrame, total));
        for (; shown < count; ++shown)
            revealed += order[shown];
        canvas.drawNew(m_newPicture(), revealed, m_incremental);
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}

// 50-pixel bands: even ones grow from the left, odd ones from the right.
void TransitionRenderer::renderStripes(int n, TransitionCanvas& canvas)
{
    const int step = ceilQuotient(m_width, n - 1);
    const int bands = ceilQuotient(m_height, 50);
    int run = 0;
    for (int i = 0; i < n; ++i) {
        QRegion runs;
        for (int k = 0; k < bands; ++k)
            runs += QRect(k % 2 == 0 ? 0 : m_width - run, 50 * k, run, 50);
        canvas.drawNew(m_newPicture(), runs, m_incremental);
        run += step;
        if (!canvas.hand(m_sink, i, n))
            return;
    }
}
