#include <QtTest>

#include "support/TransitionProbe.h"

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

// Rows of column x that have `color`.
int rowsOf(const QImage& frame, int x, QRgb color)
{
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        count += frame.pixel(x, y) == color ? 1 : 0;
    return count;
}

// Share of the frame's pixels that have `color`.
double shareOf(const QImage& frame, QRgb color)
{
    int count = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x)
            count += frame.pixel(x, y) == color ? 1 : 0;
    }
    return double(count) / (frame.width() * frame.height());
}

} // namespace

class TestTransitionMoving : public QObject
{
    Q_OBJECT

private slots:
    void rotateOutEndsUprightAndWhole_data();
    void rotateOutEndsUprightAndWhole();
    void rotateInStartsAlmostWhole();
    void flipOverTipsOldThenNew();
    void flipOverUntiltedFrom181Frames();
    void stretchHorizontalWidensTheBand();
    void stretchVerticalBandHeights();
    void zoomInLastFrame();
    void zoomOutStartsWithTheOldPicture();
    void pushFromBottom();
    void pushFromTopLeftLeavesBlackCorners();
    void firstFrameShowsTheOldPicture_data();
    void firstFrameShowsTheOldPicture();
};

void TestTransitionMoving::rotateOutEndsUprightAndWhole_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QSize>("size");
    QTest::newRow("61 at 1920 x 1080") << 61 << QSize(1920, 1080);
    // Steps that are no whole numbers of pixels and degrees.
    QTest::newRow("31 at 1920 x 1080") << 31 << QSize(1920, 1080);
    QTest::newRow("32 at 1920 x 1080") << 32 << QSize(1920, 1080);
    QTest::newRow("31 at 640 x 360") << 31 << QSize(640, 360);
    QTest::newRow("46 at 640 x 360") << 46 << QSize(640, 360);
}

// The last frame is the new picture whole and upright; half way it is half size.
void TestTransitionMoving::rotateOutEndsUprightAndWhole()
{
    QFETCH(int, n);
    QFETCH(QSize, size);
    TransitionSetup setup = solidSetup(8, n, size, Qt::black, Qt::white);
    setup.keep = {(n - 1) / 2, n - 1};
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.indices.size(), n);
    QVERIFY(isUniform(record.frames.value(n - 1), Qt::white));
    const double half = double((n - 1) / 2) / (n - 1);
    QVERIFY(qAbs(shareOf(record.frames.value((n - 1) / 2), white) - half * half) < 0.01);
}

// n = 61: frame 0 scales the old picture to 1952 x 1098 turned by 366 degrees.
void TestTransitionMoving::rotateInStartsAlmostWhole()
{
    TransitionSetup setup = solidSetup(9, 61, QSize(1920, 1080), Qt::white, Qt::black);
    setup.keep = {0};
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.indices.size(), 61);
    const QImage first = record.frames.value(0);
    QCOMPARE(first.pixel(960, 540), white);
    QCOMPARE(first.pixel(1919, 0), black);
    QVERIFY(shareOf(first, white) > 0.85);
}

// n = 60: the old picture tips away to -87 degrees, frame 30 is edge-on (black), then the new
// picture comes back.
void TestTransitionMoving::flipOverTipsOldThenNew()
{
    const TransitionRecord record = recordTransition(solidSetup(10, 60, QSize(200, 120), Qt::red, Qt::blue));
    QVERIFY(isUniform(record.frames.value(0), Qt::red));
    QVERIFY(shareOf(record.frames.value(30), black) > 0.95);
    QCOMPARE(record.frames.value(15).pixel(100, 60), qRgb(255, 0, 0));
    QCOMPARE(record.frames.value(59).pixel(100, 60), qRgb(0, 0, 255));
}

// From 181 frames on the step is 0: the old picture, then the new one, both untilted.
void TestTransitionMoving::flipOverUntiltedFrom181Frames()
{
    const TransitionSetup setup = patternSetup(10, 181);
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.frames.size(), 181);
    for (int i = 0; i < 181; ++i)
        QCOMPARE(record.frames.value(i), i < 90 ? setup.oldPicture : setup.newPicture);
}

void TestTransitionMoving::stretchHorizontalWidensTheBand()
{
    TransitionSetup setup = solidSetup(17, 60, QSize(580, 10), Qt::black, Qt::white);
    const TransitionRecord record = recordTransition(setup);
    QVERIFY(isUniform(record.frames.value(0), Qt::black));
    // The band grows by 580 / 58 = 10 pixels a frame.
    QCOMPARE(record.frames.value(29).pixel(290 - 145, 5), white);
    QCOMPARE(record.frames.value(29).pixel(290 - 147, 5), black);
    QCOMPARE(record.frames.value(29).pixel(290 + 144, 5), white);
    QCOMPARE(record.frames.value(29).pixel(290 + 146, 5), black);
    QVERIFY(isUniform(record.frames.value(59), Qt::white));
}

// Height 1080, n = 60: step 19; the band runs 1080, 1061, ..., 16 (frame 56), 1, 0, 0, and
// every other row shows the new picture.
void TestTransitionMoving::stretchVerticalBandHeights()
{
    for (bool incremental : {false, true}) {
        TransitionSetup setup = solidSetup(18, 60, QSize(4, 1080), Qt::white, Qt::black);
        setup.incremental = incremental;
        const TransitionRecord record = recordTransition(setup);
        for (int i = 0; i < 60; ++i) {
            const int band = i <= 56 ? 1080 - 19 * i : (i == 57 ? 1 : 0);
            const QImage frame = record.frames.value(i);
            QCOMPARE(rowsOf(frame, 2, white), band);
            QCOMPARE(rowsOf(frame, 2, black), 1080 - band);
        }
    }
}

// n = 60 at 1920 x 1080: frame 59 shows the new picture at 1888 x 1062, centred.
void TestTransitionMoving::zoomInLastFrame()
{
    TransitionSetup setup = solidSetup(19, 60, QSize(1920, 1080), Qt::black, Qt::white);
    setup.keep = {59};
    const QImage last = recordTransition(setup).frames.value(59);
    const QRect area(16, 9, 1888, 1062);
    QCOMPARE(last.copy(area), solidPicture(area.size(), Qt::white));
    QCOMPARE(last.pixel(area.left() - 1, area.top()), black);
    QCOMPARE(last.pixel(area.right() + 1, area.bottom()), black);
    QCOMPARE(last.pixel(area.left(), area.top() - 1), black);
    QCOMPARE(last.pixel(area.right(), area.bottom() + 1), black);
}

void TestTransitionMoving::zoomOutStartsWithTheOldPicture()
{
    const TransitionRecord record = recordTransition(solidSetup(20, 60, QSize(300, 120), Qt::white, Qt::black));
    QVERIFY(isUniform(record.frames.value(0), Qt::white));
    // Frame 59: the old picture at 300 - 59 x 5 = 5 by 120 - 59 x 2 = 2, centred.
    const QImage last = record.frames.value(59);
    QCOMPARE(last.copy(148, 59, 5, 2), solidPicture(QSize(5, 2), Qt::white));
    QCOMPARE(shareOf(last, white), 10.0 / (300 * 120));
}

// Height 1080, n = 60: 18 pixels a frame; in frame 59 the new picture is 1062 pixels in.
void TestTransitionMoving::pushFromBottom()
{
    const TransitionSetup setup = patternSetup(21, 60, QSize(4, 1080));
    const TransitionRecord record = recordTransition(setup);
    const QImage last = record.frames.value(59);
    QCOMPARE(last.copy(0, 18, 4, 1062), setup.newPicture.copy(0, 0, 4, 1062));
    QCOMPARE(last.copy(0, 0, 4, 18), setup.oldPicture.copy(0, 1062, 4, 18));
}

// Frame 30 of 60 at 600 x 300: new top-left, old bottom-right, the other corners black.
void TestTransitionMoving::pushFromTopLeftLeavesBlackCorners()
{
    const QImage frame = recordTransition(solidSetup(25, 60, QSize(600, 300), Qt::red, Qt::blue)).frames.value(30);
    QCOMPARE(frame.copy(0, 0, 300, 150), solidPicture(QSize(300, 150), Qt::blue));
    QCOMPARE(frame.copy(300, 150, 300, 150), solidPicture(QSize(300, 150), Qt::red));
    QCOMPARE(frame.copy(300, 0, 300, 150), solidPicture(QSize(300, 150), Qt::black));
    QCOMPARE(frame.copy(0, 150, 300, 150), solidPicture(QSize(300, 150), Qt::black));
}

void TestTransitionMoving::firstFrameShowsTheOldPicture_data()
{
    QTest::addColumn<int>("type");
    for (int type : {10, 17, 18, 19, 20, 21, 22, 23, 24, 25})
        QTest::addRow("type %d", type) << type;
}

void TestTransitionMoving::firstFrameShowsTheOldPicture()
{
    QFETCH(int, type);
    const TransitionSetup setup = patternSetup(type, 60, QSize(161, 91));
    QCOMPARE(recordTransition(setup).frames.value(0), setup.oldPicture);
}

QTEST_GUILESS_MAIN(TestTransitionMoving)
#include "tst_transitionmoving.moc"
