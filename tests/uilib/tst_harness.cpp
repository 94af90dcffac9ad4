#include "support/UiTestSupport.h"

#include <QEasingCurve>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <QVariantAnimation>
#include <QtMath>

// The support library itself: the manual clock, the watchdog and the ratio painting.
class TestHarness : public QObject
{
    Q_OBJECT
private slots:
    void manualClock();
    void manualClockRestart();
    void watchdogEndsLoop();
    void paintAtRatio_data();
    void paintAtRatio();
};

void TestHarness::manualClock()
{
    ManualAnimationClock clock;
    QVariantAnimation animation;
    animation.setStartValue(0.0);
    animation.setEndValue(1.0);
    animation.setDuration(250);
    animation.setEasingCurve(QEasingCurve::OutCubic);
    animation.start();
    clock.advance(125);
    QCOMPARE(animation.currentTime(), 125);
    QCOMPARE(animation.currentValue().toDouble(), QEasingCurve(QEasingCurve::OutCubic).valueForProgress(0.5));
    clock.advance(125);
    QCOMPARE(animation.state(), QAbstractAnimation::Stopped);
    QCOMPARE(animation.currentValue().toDouble(), 1.0);
}

void TestHarness::manualClockRestart()
{
    ManualAnimationClock clock;
    QVariantAnimation first;
    first.setStartValue(0.0);
    first.setEndValue(1.0);
    first.setDuration(100);
    first.start();
    clock.advance(100);
    QCOMPARE(first.state(), QAbstractAnimation::Stopped);

    // Once nothing runs Qt stops the clock; a later animation starts from its own beginning.
    QVariantAnimation second;
    second.setStartValue(0.0);
    second.setEndValue(1.0);
    second.setDuration(250);
    second.start();
    clock.advance(125);
    QCOMPARE(second.currentTime(), 125);
}

void TestHarness::watchdogEndsLoop()
{
    QEventLoop loop;
    NestedLoopWatchdog watchdog(50, &loop);
    watchdog.expectTimeout();
    QCOMPARE(loop.exec(), 1);
    QVERIFY(watchdog.fired());

    // A loop that ends in time leaves the watchdog quiet.
    NestedLoopWatchdog quiet(5000, &loop);
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(0); });
    QCOMPARE(loop.exec(), 0);
    QVERIFY(!quiet.fired());
}

void TestHarness::paintAtRatio_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestHarness::paintAtRatio()
{
    QFETCH(double, ratio);
    const QImage image = ::paintAtRatio(QSize(10, 7), ratio, [](QPainter* painter) {
        painter->fillRect(QRectF(2, 2, 4, 4), Qt::red);
    });
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(image.size(), QSize(qCeil(10 * ratio), qCeil(7 * ratio)));
    QCOMPARE(logicalPixel(image, QPointF(3, 3)), QColor(Qt::red));
    QCOMPARE(devicePixel(image, 0, 0), QColor(Qt::transparent));
    QVERIFY(!isFlatImage(image));
}

TY_UI_TEST_MAIN(TestHarness)
#include "tst_harness.moc"
