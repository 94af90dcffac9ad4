#include <QtTest>

#include "support/TransitionProbe.h"
#include "model/transition/TransitionRenderer.h"

#include <cstdlib>

class TestTransitionRenderer : public QObject
{
    Q_OBJECT

private slots:
    void frameContract_data();
    void frameContract();
    void stopsAtFirstRefusal_data();
    void stopsAtFirstRefusal();
    void noneHandsTheNewPicture();
    void singleFrameIsTheNewPicture_data();
    void singleFrameIsTheNewPicture();
    void nullPicturesDrawOpaqueBlack_data();
    void nullPicturesDrawOpaqueBlack();
    void nullOldPictureIsOpaqueBlack_data();
    void nullOldPictureIsOpaqueBlack();
    void keptFramesAreNotDrawnOver_data();
    void keptFramesAreNotDrawnOver();
    void shortcutsMatchFullRedraw_data();
    void shortcutsMatchFullRedraw();
    void emptyFrameSizeDrawsNothing();
    void secondRenderReplacesCallables();
};

void TestTransitionRenderer::frameContract_data()
{
    QTest::addColumn<int>("type");
    for (int type = -1; type <= TransitionTypeCount; ++type)
        QTest::addRow("type %d", type) << type;
}

// Real types give exactly n frames numbered in order; random and unknown types none.
void TestTransitionRenderer::frameContract()
{
    QFETCH(int, type);
    const bool drawn = type == TransitionNone || (type >= TransitionPixelate && type <= TransitionFadeToWhite);
    for (int n : {0, 1, 2, 3, 60}) {
        for (bool incremental : {false, true}) {
            TransitionSetup setup = patternSetup(type, n);
            setup.incremental = incremental;
            setup.keep = {-1};
            const TransitionRecord record = recordTransition(setup);
            QVector<int> expected;
            for (int i = 0; drawn && i < n; ++i)
                expected << i;
            QCOMPARE(record.indices, expected);
            QCOMPARE(record.counts, QVector<int>(expected.size(), n));
        }
    }
}

void TestTransitionRenderer::stopsAtFirstRefusal_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("refuseAt");
    for (int type = TransitionNone; type <= TransitionFadeToWhite; ++type) {
        if (type == TransitionRandom)
            continue;
        QTest::addRow("type %d first", type) << type << 0;
        QTest::addRow("type %d second", type) << type << 1;
    }
}

void TestTransitionRenderer::stopsAtFirstRefusal()
{
    QFETCH(int, type);
    QFETCH(int, refuseAt);
    TransitionSetup setup = solidSetup(type, 5, QSize(64, 48), Qt::black, Qt::white);
    setup.refuseAt = refuseAt;
    QCOMPARE(recordTransition(setup).indices.size(), refuseAt + 1);
}

void TestTransitionRenderer::noneHandsTheNewPicture()
{
    TransitionSetup setup = solidSetup(0, 3, QSize(64, 48), Qt::black, Qt::white);
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.indices, QVector<int>({0, 1, 2}));
    QCOMPARE(record.newFetches, 3);
    for (const QImage& frame : record.frames)
        QCOMPARE(frame, setup.newPicture);

    setup.newPicture = QImage();
    for (const QImage& frame : recordTransition(setup).frames)
        QVERIFY(frame.isNull());
}

void TestTransitionRenderer::singleFrameIsTheNewPicture_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("incremental");
    for (int type = TransitionNone; type <= TransitionFadeToWhite; ++type) {
        if (type == TransitionRandom)
            continue;
        QTest::addRow("type %d moving", type) << type << false;
        QTest::addRow("type %d static", type) << type << true;
    }
}

void TestTransitionRenderer::singleFrameIsTheNewPicture()
{
    QFETCH(int, type);
    QFETCH(bool, incremental);
    TransitionSetup setup = patternSetup(type, 1);
    setup.incremental = incremental;
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.indices, QVector<int>({0}));
    QCOMPARE(record.counts, QVector<int>({1}));
    QCOMPARE(record.frames.value(0), setup.newPicture);
}

void TestTransitionRenderer::nullPicturesDrawOpaqueBlack_data()
{
    QTest::addColumn<int>("type");
    // Fading through white shows white; none and pixelate hand the null pictures on.
    for (int type = TransitionMosaicSpiralIn; type <= TransitionCrossfade; ++type)
        QTest::addRow("type %d", type) << type;
}

void TestTransitionRenderer::nullPicturesDrawOpaqueBlack()
{
    QFETCH(int, type);
    for (bool incremental : {false, true}) {
        TransitionSetup setup;
        setup.type = type;
        setup.frames = 6;
        setup.incremental = incremental;
        const TransitionRecord record = recordTransition(setup);
        QCOMPARE(record.frames.size(), 6);
        for (const QImage& frame : record.frames) {
            QCOMPARE(frame.size(), setup.size);
            QVERIFY(isUniform(frame, QColor::fromRgb(0, 0, 0, 255)));
        }
    }
}

void TestTransitionRenderer::nullOldPictureIsOpaqueBlack_data()
{
    QTest::addColumn<int>("type");
    for (int type = TransitionPixelate; type <= TransitionFadeToWhite; ++type)
        QTest::addRow("type %d", type) << type;
}

// A null old picture gives the frames of an opaque black one: every effect starts from black,
// and the new picture leaves no trails where the old one is drawn again.
void TestTransitionRenderer::nullOldPictureIsOpaqueBlack()
{
    QFETCH(int, type);
    for (bool incremental : {false, true}) {
        TransitionSetup setup = patternSetup(type, 9);
        setup.incremental = incremental;
        setup.oldPicture = solidPicture(setup.size, QColor::fromRgb(0, 0, 0, 255));
        std::srand(1); // the same checkerboard order in both runs
        const TransitionRecord black = recordTransition(setup);
        setup.oldPicture = QImage();
        std::srand(1);
        const TransitionRecord null = recordTransition(setup);
        QCOMPARE(null.frames.size(), black.frames.size());
        for (int i = 0; i < black.frames.size(); ++i) {
            QVERIFY2(null.frames.value(i) == black.frames.value(i),
                     qPrintable(QString("frame %1, incremental %2").arg(i).arg(incremental)));
        }
    }
}

void TestTransitionRenderer::keptFramesAreNotDrawnOver_data()
{
    QTest::addColumn<int>("type");
    for (int type : {TransitionMosaicSpiralIn, TransitionMosaicStripes, TransitionRotateOut,
                     TransitionWipeLeftToRight, TransitionWipeVerticalOut, TransitionStretchVertical,
                     TransitionZoomOut, TransitionSlideFromLeft, TransitionFadeToBlack, TransitionCrossfade})
        QTest::addRow("type %d", type) << type;
}

// A sink may keep the frames it gets; later frames must not change them.
void TestTransitionRenderer::keptFramesAreNotDrawnOver()
{
    QFETCH(int, type);
    const TransitionSetup setup = patternSetup(type, 8);
    const TransitionRecord record = recordTransition(setup, true);
    QCOMPARE(record.frames.size(), 8);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(record.frames.value(i), record.snapshots.value(i));
    QVERIFY(record.frames.value(0) != record.frames.value(7));
}

void TestTransitionRenderer::shortcutsMatchFullRedraw_data()
{
    QTest::addColumn<int>("type");
    // Spiral out and checkerboard reveal different counts in their two variants.
    for (int type = TransitionPixelate; type <= TransitionFadeToWhite; ++type) {
        if (type != TransitionMosaicSpiralOut && type != TransitionCheckerboard)
            QTest::addRow("type %d", type) << type;
    }
}

// Drawing only what changed (same old picture, or the incremental flag) gives the same frames
// as drawing everything anew from fresh pictures.
void TestTransitionRenderer::shortcutsMatchFullRedraw()
{
    QFETCH(int, type);
    TransitionSetup setup = patternSetup(type, 13, QSize(217, 131));
    setup.freshCopies = true;
    const TransitionRecord full = recordTransition(setup);
    setup.freshCopies = false;
    for (bool incremental : {false, true}) {
        setup.incremental = incremental;
        const TransitionRecord quick = recordTransition(setup);
        QCOMPARE(quick.frames.size(), full.frames.size());
        for (int i = 0; i < setup.frames; ++i) {
            const QImage a = quick.frames.value(i).convertToFormat(QImage::Format_ARGB32);
            const QImage b = full.frames.value(i).convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(a == b, qPrintable(QString("frame %1, incremental %2").arg(i).arg(incremental)));
        }
    }
}

void TestTransitionRenderer::emptyFrameSizeDrawsNothing()
{
    for (const QSize& size : {QSize(0, 48), QSize(64, 0), QSize(-5, -5)}) {
        TransitionSetup setup = solidSetup(11, 4, QSize(64, 48), Qt::black, Qt::white);
        setup.size = size;
        QVERIFY(recordTransition(setup).indices.isEmpty());
    }
}

void TestTransitionRenderer::secondRenderReplacesCallables()
{
    const QImage black = solidPicture(QSize(20, 10), Qt::black);
    const QImage white = solidPicture(QSize(20, 10), Qt::white);
    TransitionRenderer renderer;
    renderer.setFrameSize(20, 10, 0);
    int first = 0, second = 0;
    renderer.render(27, 3, [&] { return black; }, [&] { return white; },
                    [&](const QImage&, int, int) { return ++first > 0; });
    renderer.render(0, 2, [&] { return black; }, [&] { return black; },
                    [&](const QImage& frame, int, int) {
                        ++second;
                        return frame == black;
                    });
    QCOMPARE(first, 3);
    QCOMPARE(second, 2);
}

QTEST_GUILESS_MAIN(TestTransitionRenderer)
#include "tst_transitionrenderer.moc"
