#include <QtTest>

#include "model/transition/TransitionType.h"
#include "support/TransitionProbe.h"

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);
const QColor oldColor(200, 100, 50);
const QColor newColor(40, 220, 120);

// The painter keeps opacity in steps of 1/256, so a blend may miss the exact value by 2.
const int opacityTolerance = 2;

// `top` drawn at `opacity` over `bottom`.
QRgb blend(const QColor& top, const QColor& bottom, double opacity)
{
    auto mix = [opacity](int a, int b) { return int(std::lround(a * opacity + b * (1.0 - opacity))); };
    return qRgb(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
}

} // namespace

class TestTransitionWipe : public QObject
{
    Q_OBJECT

private slots:
    void wipesRunFromOldToNew_data();
    void wipesRunFromOldToNew();
    void leftToRightHalfWay();
    void topToBottomRowsClipped();
    void verticalOutSlitsNarrow();
    void fadeThroughBlack();
    void fadeThroughWhite();
    void crossfade();
};

void TestTransitionWipe::wipesRunFromOldToNew_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("incremental");
    for (int type = TransitionWipeLeftToRight; type <= TransitionWipeVerticalOut; ++type) {
        // Summing 100 / (n - 1) twelve times falls short of 100.
        for (int n : {13, 60, 61}) {
            QTest::addRow("type %d n %d moving", type, n) << type << n << false;
            QTest::addRow("type %d n %d static", type, n) << type << n << true;
        }
    }
}

// Frame 0 is the old picture and the last frame the whole new picture.
void TestTransitionWipe::wipesRunFromOldToNew()
{
    QFETCH(int, type);
    QFETCH(int, n);
    QFETCH(bool, incremental);
    TransitionSetup setup = patternSetup(type, n, QSize(257, 131));
    setup.incremental = incremental;
    setup.keep = {0, n - 1};
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.indices.size(), n);
    QCOMPARE(record.frames.value(0), setup.oldPicture);
    QCOMPARE(record.frames.value(n - 1), setup.newPicture);
}

// Width 1920: 20 columns; with n = 61 frame 30 shows the left 50 pixels of each from the new
// picture.
void TestTransitionWipe::leftToRightHalfWay()
{
    TransitionSetup setup = solidSetup(11, 61, QSize(1920, 4), Qt::black, Qt::white);
    setup.keep = {30};
    const QImage frame = recordTransition(setup).frames.value(30);
    for (int o = 0; o < 1900; o += 100) {
        QCOMPARE(frame.pixel(o, 2), white);
        QCOMPARE(frame.pixel(o + 49, 2), white);
        QCOMPARE(frame.pixel(o + 50, 2), black);
        QCOMPARE(frame.pixel(o + 99, 2), black);
    }
    QCOMPARE(frame.pixel(1919, 2), white);
}

// Height 1080: 11 rows, the last reaching 1100 and clipped.
void TestTransitionWipe::topToBottomRowsClipped()
{
    TransitionSetup setup = solidSetup(13, 61, QSize(4, 1080), Qt::black, Qt::white);
    setup.keep = {30, 60};
    const TransitionRecord record = recordTransition(setup);
    const QImage half = record.frames.value(30);
    for (int o = 0; o < 1080; o += 100) {
        QCOMPARE(half.pixel(2, o + 49), white);
        QCOMPARE(half.pixel(2, o + 50), black);
    }
    QVERIFY(isUniform(record.frames.value(60), Qt::white));
}

// n = 61: the slits of old picture narrow from 100 to 0 about each column's centre line.
void TestTransitionWipe::verticalOutSlitsNarrow()
{
    TransitionSetup setup = solidSetup(16, 61, QSize(300, 4), Qt::black, Qt::white);
    setup.keep = {30};
    const QImage half = recordTransition(setup).frames.value(30);
    for (int o = 0; o < 300; o += 100) {
        QCOMPARE(half.pixel(o + 24, 2), white);
        QCOMPARE(half.pixel(o + 25, 2), black);
        QCOMPARE(half.pixel(o + 74, 2), black);
        QCOMPARE(half.pixel(o + 75, 2), white);
    }
}

// n = 60: the old picture at 1, 29/30, ... over black, frame 30 black, frame 59 the new
// picture at 29/30.
void TestTransitionWipe::fadeThroughBlack()
{
    const TransitionRecord record = recordTransition(solidSetup(26, 60, QSize(20, 10), oldColor, newColor));
    for (int i : {0, 1, 15, 29})
        QVERIFY(closeColors(record.frames.value(i).pixel(5, 5), blend(oldColor, Qt::black, (30 - i) / 30.0),
                                opacityTolerance));
    QVERIFY(isUniform(record.frames.value(30), QColor::fromRgb(0, 0, 0, 255)));
    for (int i : {31, 45, 59})
        QVERIFY(closeColors(record.frames.value(i).pixel(5, 5), blend(newColor, Qt::black, (i - 30) / 30.0),
                                opacityTolerance));
}

void TestTransitionWipe::fadeThroughWhite()
{
    const TransitionRecord record = recordTransition(solidSetup(28, 61, QSize(20, 10), oldColor, newColor));
    QVERIFY(closeColors(record.frames.value(15).pixel(5, 5), blend(oldColor, Qt::white, 0.5), opacityTolerance));
    QVERIFY(isUniform(record.frames.value(30), QColor::fromRgb(255, 255, 255, 255)));
    // With an odd n the last frame shows the new picture whole.
    QCOMPARE(record.frames.value(60).pixel(5, 5), newColor.rgb());
}

// n = 60: frame 0 is the old picture, frame 1 the old one with the new one at 1/60.
void TestTransitionWipe::crossfade()
{
    const TransitionSetup setup = solidSetup(27, 60, QSize(20, 10), oldColor, newColor);
    const TransitionRecord record = recordTransition(setup);
    QCOMPARE(record.frames.value(0), setup.oldPicture);
    QVERIFY(closeColors(record.frames.value(1).pixel(5, 5), blend(newColor, oldColor, 1 / 60.0),
                            opacityTolerance));
    const QRgb last = record.frames.value(59).pixel(5, 5);
    QVERIFY(closeColors(last, newColor.rgb(), 12));
    QVERIFY(last != newColor.rgb());
}

QTEST_GUILESS_MAIN(TestTransitionWipe)
#include "tst_transitionwipe.moc"
