#include <QtTest>

#include "app/SplashProgressBar.h"
#include "support/UiTestSupport.h"

namespace {

const QColor kYellow(0xffea00);
const QColor kOrange(0xffa135);

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 10 && qAbs(a.green() - b.green()) <= 10 && qAbs(a.blue() - b.blue()) <= 10
        && a.alpha() == 255;
}

QString describe(const QColor& color)
{
    return color.name(QColor::HexArgb);
}

} // namespace

class TestStartScreen : public QObject
{
    Q_OBJECT

private slots:
    void barSlidesItsBands_data();
    void barSlidesItsBands();
};

void TestStartScreen::barSlidesItsBands_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QColor>("ends");
    QTest::addColumn<QColor>("middle");
    for (double ratio : testRatios()) {
        QTest::addRow("t=0 @%g", ratio) << ratio << 0 << kOrange << kYellow;
        QTest::addRow("t=0.5 @%g", ratio) << ratio << 1000 << kYellow << kOrange;
        QTest::addRow("t=1 @%g", ratio) << ratio << 2000 << kOrange << kYellow;
    }
}

void TestStartScreen::barSlidesItsBands()
{
    QFETCH(double, ratio);
    QFETCH(int, elapsedMs);
    QFETCH(QColor, ends);
    QFETCH(QColor, middle);
    ManualAnimationClock clock;
    QWidget parent;
    parent.resize(240, 40);
    auto* bar = new SplashProgressBar(&parent);
    bar->setGeometry(20, 16, 200, 20);
    QCOMPARE(bar->height(), 8);
    clock.advance(elapsedMs);

    const QImage image = renderWidget(bar, ratio);
    const double w = bar->width();
    for (const QPointF& point : {QPointF(5, 4), QPointF(w - 5, 4)})
        QVERIFY2(near(logicalPixel(image, point), ends), qPrintable(describe(logicalPixel(image, point))));
    QVERIFY2(near(logicalPixel(image, QPointF(w / 2, 4)), middle),
             qPrintable(describe(logicalPixel(image, QPointF(w / 2, 4)))));

    // A pill: the corners' first logical pixel is clear, the straight edges are covered.
    const int corner = int(ratio);
    for (int y = 0; y < corner; ++y) {
        for (int x = 0; x < corner; ++x) {
            QCOMPARE(devicePixel(image, x, y).alpha(), 0);
            QCOMPARE(devicePixel(image, image.width() - 1 - x, image.height() - 1 - y).alpha(), 0);
        }
    }
    QVERIFY(logicalPixel(image, QPointF(w / 2, 0.5)).alpha() > 200);
    QVERIFY(logicalPixel(image, QPointF(0.5, 4)).alpha() > 200);
    QVERIFY(logicalPixel(image, QPointF(w / 2, 7.5)).alpha() > 200);
}

TY_UI_TEST_MAIN(TestStartScreen)
#include "tst_startscreen.moc"
