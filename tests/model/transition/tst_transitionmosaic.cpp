#include <QtTest>

#include "model/transition/TransitionRenderer.h"
#include "support/TransitionProbe.h"

#include <cstdlib>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

TransitionSetup blackToWhite(int type, int n, const QSize& size, bool incremental)
{
    TransitionSetup setup = solidSetup(type, n, size, Qt::black, Qt::white);
    setup.incremental = incremental;
    return setup;
}

// Blocks of a columns x rows grid of `block`-sized blocks whose centre has `color`.
int blocksOf(const QImage& frame, const QSize& block, int columns, int rows, QRgb color)
{
    int count = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QPoint centre(c * block.width() + block.width() / 2, r * block.height() + block.height() / 2);
            count += frame.pixel(centre) == color ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class TestTransitionMosaic : public QObject
{
    Q_OBJECT

private slots:
    void spiralInBlocks_data();
    void spiralInBlocks();
    void revealedBlocks_data();
    void revealedBlocks();
    void spiralOutLeavesEdgeColumns();
    void movingVariantsShowTheCurrentPicture_data();
    void movingVariantsShowTheCurrentPicture();
    void checkerboardVariantsShareOneOrder();
    void stripeRuns();
    void pixelateCoarsestAtHalf();
};

void TestTransitionMosaic::spiralInBlocks_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("second");
    QTest::newRow("landscape") << QSize(1920, 1080) << QRect(0, 990, 92, 99) << QRect(92, 990, 92, 99);
    QTest::newRow("portrait") << QSize(1080, 1920) << QRect(0, 1840, 99, 92) << QRect(99, 1840, 99, 92);
}

// One block per frame: the walk starts bottom-left and heads right; the last column and row
// reach past the frame and are clipped.
void TestTransitionMosaic::spiralInBlocks()
{
    QFETCH(QSize, size);
    QFETCH(QRect, first);
    QFETCH(QRect, second);
    TransitionSetup setup = blackToWhite(3, 232, size, true);
    setup.refuseAt = 1;
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.frames.size(), 2);
    const QImage frame0 = record.frames.value(0);
    const QImage frame1 = record.frames.value(1);
    const QRect clipped = first & QRect(QPoint(0, 0), size);
    QCOMPARE(frame0.pixel(clipped.topLeft()), white);
    QCOMPARE(frame0.pixel(clipped.bottomRight()), white);
    QCOMPARE(frame0.pixel(first.right() + 1, first.top()), black);
    QCOMPARE(frame0.pixel(first.left(), first.top() - 1), black);
    QCOMPARE(frame1.pixel(second.topLeft()), white);
    QCOMPARE(frame1.pixel(second.right(), size.height() - 1), white);
    QCOMPARE(frame1.pixel(second.right() + 1, second.top()), black);
}

void TestTransitionMosaic::revealedBlocks_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("incremental");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("grid");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("lead");
    // The spiral-out walk stays on the grid for its first 121 positions.
    QTest::addColumn<int>("checkedUpTo");
    for (bool incremental : {false, true}) {
        const char* variant = incremental ? "static" : "moving";
        QTest::addRow("spiral in %s", variant) << int(TransitionMosaicSpiralIn) << incremental << QSize(210, 110) << QSize(21, 11) << 231 << 0 << 231;
        QTest::addRow("spiral in portrait %s", variant) << int(TransitionMosaicSpiralIn) << incremental << QSize(110, 210) << QSize(11, 21) << 231 << 0 << 231;
        QTest::addRow("wall %s", variant) << int(TransitionMosaicWall) << incremental << QSize(500, 300) << QSize(10, 6) << 60 << 0 << 60;
        QTest::addRow("checkerboard %s", variant) << int(TransitionCheckerboard) << incremental << QSize(500, 300) << QSize(10, 6) << 60 << (incremental ? -1 : 0) << 60;
        QTest::addRow("spiral out %s", variant) << int(TransitionMosaicSpiralOut) << incremental << QSize(150, 110) << QSize(15, 11) << 165 << (incremental ? 1 : 0) << 121;
    }
}

// Frame i shows lead + (i + 1) x ceil(total / 59) blocks (lead -1 stands for one frame's worth).
void TestTransitionMosaic::revealedBlocks()
{
    QFETCH(int, type);
    QFETCH(bool, incremental);
    QFETCH(QSize, size);
    QFETCH(QSize, grid);
    QFETCH(int, total);
    QFETCH(int, lead);
    QFETCH(int, checkedUpTo);
    const int n = 60;
    const int perFrame = int(std::ceil(total / 59.0));
    const int leadBlocks = lead < 0 ? -perFrame : lead;
    const QSize block(size.width() / grid.width(), size.height() / grid.height());
    const TransitionRecord record = recordTransition(blackToWhite(type, n, size, incremental));
    QCOMPARE(record.frames.size(), n);
    for (int i = 0; i < n; ++i) {
        const int expected = qBound(0, leadBlocks + (i + 1) * perFrame, total);
        if (expected > checkedUpTo)
            break;
        const int shown = blocksOf(record.frames.value(i), block, grid.width(), grid.height(), white);
        QVERIFY2(shown == expected, qPrintable(QString("frame %1: %2 blocks, not %3").arg(i).arg(shown).arg(expected)));
    }
    if (type != TransitionMosaicSpiralOut)
        QVERIFY(isUniform(record.frames.value(n - 1), Qt::white));
}

// The walk of 165 positions never reaches the first and the last block column.
void TestTransitionMosaic::spiralOutLeavesEdgeColumns()
{
    for (bool incremental : {false, true}) {
        const TransitionRecord record = recordTransition(blackToWhite(4, 60, QSize(150, 110), incremental));
        const QImage last = record.frames.value(59);
        QCOMPARE(last.copy(0, 0, 10, 110), solidPicture(QSize(10, 110), Qt::black));
        QCOMPARE(last.copy(140, 0, 10, 110), solidPicture(QSize(10, 110), Qt::black));
        QCOMPARE(last.copy(20, 0, 110, 110), solidPicture(QSize(110, 110), Qt::white));
        QCOMPARE(last.pixel(15, 55), white);
        QCOMPARE(last.pixel(135, 55), white);
    }
}

void TestTransitionMosaic::movingVariantsShowTheCurrentPicture_data()
{
    QTest::addColumn<int>("type");
    for (int type : {TransitionMosaicSpiralIn, TransitionMosaicSpiralOut, TransitionMosaicStripes,
                     TransitionMosaicWall, TransitionCheckerboard})
        QTest::addRow("type %d", type) << type;
}

// With a new picture that changes every frame, every revealed block shows the picture of the
// frame, fetched once per frame.
void TestTransitionMosaic::movingVariantsShowTheCurrentPicture()
{
    QFETCH(int, type);
    const QSize size(210, 110);
    const int n = 12;
    int fetches = 0;
    QVector<QRgb> colors;
    TransitionRenderer renderer;
    renderer.setFrameSize(size.width(), size.height(), 0);
    renderer.render(type, n, [&] { return solidPicture(size, Qt::black); },
                    [&] { return solidPicture(size, QColor(10 * ++fetches, 100, 200)); },
                    [&](const QImage& frame, int index, int) {
                        QSet<QRgb> seen;
                        for (int y = 0; y < size.height(); y += 5) {
                            for (int x = 0; x < size.width(); x += 5)
                                seen << frame.pixel(x, y);
                        }
                        seen.remove(black);
                        colors << (seen.size() == 1 ? *seen.begin() : 0);
                        return fetches == index + 1;
                    });
    QCOMPARE(colors.size(), n);
    // The stripes' first frame reveals nothing.
    for (int i = type == TransitionMosaicStripes ? 1 : 0; i < n; ++i)
        QCOMPARE(colors[i], qRgb(10 * (i + 1), 100, 200));
}

// Drawn from the same rand() state, the static variant shows in frame i + 1 what the moving
// variant shows in frame i.
void TestTransitionMosaic::checkerboardVariantsShareOneOrder()
{
    const QSize size(500, 300);
    std::srand(7);
    const TransitionRecord moving = recordTransition(blackToWhite(7, 20, size, false));
    std::srand(7);
    const TransitionRecord still = recordTransition(blackToWhite(7, 20, size, true));
    QVERIFY(isUniform(still.frames.value(0), Qt::black));
    QCOMPARE(blocksOf(moving.frames.value(0), QSize(50, 50), 10, 6, white), 4);
    for (int i = 0; i + 1 < 20; ++i)
        QCOMPARE(still.frames.value(i + 1), moving.frames.value(i));
}

// 1920 wide, n = 60: runs grow by 33 pixels, even bands from the left, odd from the right.
void TestTransitionMosaic::stripeRuns()
{
    for (bool incremental : {false, true}) {
        TransitionSetup setup = blackToWhite(5, 60, QSize(1920, 100), incremental);
        setup.keep = {0, 1, 30, 59};
        const TransitionRecord record = recordTransition(setup);
        QVERIFY(isUniform(record.frames.value(0), Qt::black));
        for (int i : {1, 30}) {
            const QImage frame = record.frames.value(i);
            const int run = 33 * i;
            QCOMPARE(frame.pixel(run - 1, 25), white);
            QCOMPARE(frame.pixel(run, 25), black);
            QCOMPARE(frame.pixel(1920 - run, 75), white);
            QCOMPARE(frame.pixel(1919 - run, 75), black);
        }
        QVERIFY(isUniform(record.frames.value(59), Qt::white));
    }
}

// n = 60: frames 0..29 come from the old picture, 30..59 from the new one; frame 30 is the
// coarsest (blocks of W / 30) and frame 59 the new picture itself.
void TestTransitionMosaic::pixelateCoarsestAtHalf()
{
    const QSize size(300, 150);
    TransitionSetup setup;
    setup.type = TransitionPixelate;
    setup.frames = 60;
    setup.size = size;
    setup.oldPicture = solidPicture(size, Qt::red);
    setup.newPicture = patternPicture(size, 3);
    const TransitionRecord record = recordTransition(setup);
    for (int i = 0; i < 30; ++i)
        QVERIFY(isUniform(record.frames.value(i), Qt::red));
    const QImage coarsest = record.frames.value(30);
    QCOMPARE(coarsest.size(), size);
    QSet<QRgb> row;
    for (int x = 0; x < size.width(); ++x) {
        QCOMPARE(coarsest.pixel(x, 7), coarsest.pixel(x - x % 30, 0));
        row << coarsest.pixel(x, 7);
    }
    QCOMPARE(row.size(), 10);
    QCOMPARE(record.frames.value(59), setup.newPicture);
}

QTEST_GUILESS_MAIN(TestTransitionMosaic)
#include "tst_transitionmosaic.moc"
