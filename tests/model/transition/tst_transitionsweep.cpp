#include <QtTest>

#include "model/transition/TransitionType.h"
#include "support/TransitionProbe.h"

// Every type with few frames, both variants, odd sizes and awkward pictures: exactly n frames
// of the frame size and no fault. Also run under the address and undefined-behaviour checkers.
class TestTransitionSweep : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data();
    void sweep();
};

void TestTransitionSweep::sweep_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("odd landscape") << QSize(101, 67) << QSize(101, 67);
    QTest::newRow("odd portrait") << QSize(67, 101) << QSize(67, 101);
    QTest::newRow("one pixel") << QSize(1, 1) << QSize(1, 1);
    QTest::newRow("small pictures") << QSize(101, 67) << QSize(31, 17);
    QTest::newRow("large pictures") << QSize(101, 67) << QSize(203, 99);
    QTest::newRow("null pictures") << QSize(101, 67) << QSize();
}

void TestTransitionSweep::sweep()
{
    QFETCH(QSize, size);
    QFETCH(QSize, pictureSize);
    for (int type = TransitionNone; type <= TransitionFadeToWhite; ++type) {
        for (int n : {0, 1, 2, 3, 8}) {
            for (bool incremental : {false, true}) {
                for (int mode : {0, 1}) {
                    TransitionSetup setup = patternSetup(type, n, pictureSize);
                    setup.size = size;
                    setup.incremental = incremental;
                    setup.mode = mode;
                    const TransitionRecord record = recordTransition(setup);
                    const int expected = type == TransitionRandom ? 0 : n;
                    QVERIFY2(record.indices.size() == expected,
                             qPrintable(QString("type %1, n %2").arg(type).arg(n)));
                    // None, pixelate and single frames hand the pictures themselves.
                    const bool handsPictures = type == TransitionNone || type == TransitionPixelate || n == 1;
                    for (const QImage& frame : record.frames)
                        QVERIFY(handsPictures || frame.size() == size);
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestTransitionSweep)
#include "tst_transitionsweep.moc"
