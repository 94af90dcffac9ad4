#include <QtTest>

#include "model/picture/BlurredBackground.h"
#include "support/PhotoFixtures.h"

#include <QPainter>

using PhotoFixtures::solid;

namespace {

// Black on the left half, white on the right.
QImage edge(int width, int height)
{
    QImage image = solid(width, height, Qt::black);
    QPainter(&image).fillRect(width / 2, 0, width - width / 2, height, Qt::white);
    return image;
}

bool allOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

} // namespace

class TestBlurredBackground : public QObject
{
    Q_OBJECT

private slots:
    void frameSizedAndOpaque_data();
    void frameSizedAndOpaque();
    void uniformToTheEdges();
    void smoothAcrossAnEdge();
    void transparentPictureOverBlack();
    void nullPictureIsBlack();
    void emptySizeIsNull();
};

void TestBlurredBackground::frameSizedAndOpaque_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("frame");
    QTest::newRow("wider picture") << QSize(300, 100) << QSize(100, 50);
    QTest::newRow("taller picture") << QSize(60, 200) << QSize(100, 50);
    QTest::newRow("portrait frame") << QSize(300, 200) << QSize(45, 81);
    QTest::newRow("tiny picture") << QSize(3, 2) << QSize(64, 36);
    QTest::newRow("one pixel frame") << QSize(30, 20) << QSize(1, 1);
}

void TestBlurredBackground::frameSizedAndOpaque()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, frame);
    const QImage out =
        blurredBackground(edge(picture.width(), picture.height()), frame.width(), frame.height());
    QCOMPARE(out.size(), frame);
    QCOMPARE(out.format(), QImage::Format_ARGB32_Premultiplied);
    QVERIFY(allOpaque(out));
}

void TestBlurredBackground::uniformToTheEdges()
{
    const QColor color(200, 100, 50);
    const QImage out = blurredBackground(solid(160, 90, color), 120, 80);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (qAbs(qRed(p) - 200) > 2 || qAbs(qGreen(p) - 100) > 2 || qAbs(qBlue(p) - 50) > 2)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(p, 8, 16)));
        }
    }
}

void TestBlurredBackground::smoothAcrossAnEdge()
{
    // The picture covers 140 x 70 as 180 x 90, so its edge lands on frame column 50.
    const QImage out = blurredBackground(edge(200, 100), 100, 50);
    const int y = 25;
    QVERIFY(qRed(out.pixel(0, y)) < 8);
    QVERIFY(qRed(out.pixel(99, y)) > 247);
    for (int x = 1; x < out.width(); ++x) {
        const int step = qRed(out.pixel(x, y)) - qRed(out.pixel(x - 1, y));
        QVERIFY2(step >= 0 && step <= 16, qPrintable(QStringLiteral("step %1 at %2").arg(step).arg(x)));
    }
    for (int x = 44; x <= 56; ++x) {
        const int value = qRed(out.pixel(x, y));
        QVERIFY2(value > 16 && value < 239, qPrintable(QStringLiteral("%1 at %2").arg(value).arg(x)));
    }
}

void TestBlurredBackground::transparentPictureOverBlack()
{
    QImage picture(100, 50, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const QImage out = blurredBackground(picture, 100, 50);
    QCOMPARE(out.pixel(50, 25), qRgb(0, 0, 0));
}

void TestBlurredBackground::nullPictureIsBlack()
{
    const QImage out = blurredBackground(QImage(), 40, 30);
    QCOMPARE(out.size(), QSize(40, 30));
    for (const QPoint& p : {QPoint(0, 0), QPoint(20, 15), QPoint(39, 29)})
        QCOMPARE(out.pixel(p), qRgb(0, 0, 0));
}

void TestBlurredBackground::emptySizeIsNull()
{
    QVERIFY(blurredBackground(solid(10, 10, Qt::red), 0, 10).isNull());
    QVERIFY(blurredBackground(solid(10, 10, Qt::red), 10, -1).isNull());
}

QTEST_GUILESS_MAIN(TestBlurredBackground)
#include "tst_blurredbackground.moc"
