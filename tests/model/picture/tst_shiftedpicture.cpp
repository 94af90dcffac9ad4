#include <QtTest>

#include "model/picture/ShiftedPicture.h"

#include <cmath>

namespace {

const QRgb kUntouched = qRgb(1, 2, 3);

// Every channel of every pixel its own, so a pixel taken from the wrong place shows.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x * 11 + y * 29) * 7 % 256));
    return image;
}

// One channel of the picture at (x, y), bilinear, its edge pixels going on beyond it.
double channelAt(const QImage& picture, double x, double y, int shift)
{
    const auto at = [&](int column, int row) {
        const QRgb pixel = picture.pixel(qBound(0, column, picture.width() - 1),
                                         qBound(0, row, picture.height() - 1));
        return double((pixel >> shift) & 0xff);
    };
    const int left = int(std::floor(x));
    const int top = int(std::floor(y));
    const double fx = x - left;
    const double fy = y - top;
    const double upper = at(left, top) * (1 - fx) + at(left + 1, top) * fx;
    const double lower = at(left, top + 1) * (1 - fx) + at(left + 1, top + 1) * fx;
    return upper * (1 - fy) + lower * fy;
}

} // namespace

class TestShiftedPicture : public QObject
{
    Q_OBJECT

private slots:
    void bilinear_data();
    void bilinear();
    void laidOverWithAlpha();
};

void TestShiftedPicture::bilinear_data()
{
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<QRect>("area");
    const QRect inside(2, 1, 10, 8);
    QTest::newRow("whole pixels") << QPointF(3, 2) << inside;
    QTest::newRow("half a pixel across") << QPointF(0.5, 0) << inside;
    QTest::newRow("a quarter down") << QPointF(0, 0.25) << inside;
    QTest::newRow("both ways") << QPointF(1.3, 0.7) << inside;
    QTest::newRow("before the edges") << QPointF(-4.6, -2.2) << inside;
    QTest::newRow("past the edges") << QPointF(9.8, 7.9) << inside;
    QTest::newRow("area beyond the canvas") << QPointF(-1.5, 0.5) << QRect(-3, -2, 30, 20);
    QTest::newRow("nearly a whole pixel") << QPointF(0.999, 1.001) << inside;
}

void TestShiftedPicture::bilinear()
{
    QFETCH(QPointF, offset);
    QFETCH(QRect, area);
    const QImage picture = pattern(12, 9);
    QImage canvas(16, 12, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(kUntouched);
    drawShifted(canvas, area, picture, offset);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb actual = canvas.pixel(x, y);
            if (!area.contains(x, y)) {
                QCOMPARE(actual, kUntouched);
                continue;
            }
            QCOMPARE(qAlpha(actual), 255);
            for (int shift : {0, 8, 16}) {
                const double expected = channelAt(picture, x + offset.x(), y + offset.y(), shift);
                if (qAbs(int((actual >> shift) & 0xff) - expected) > 1.5)
                    QFAIL(qPrintable(QStringLiteral("%1,%2 channel at %3: %4, expected %5")
                                         .arg(x).arg(y).arg(shift)
                                         .arg((actual >> shift) & 0xff).arg(expected)));
            }
        }
    }
}

void TestShiftedPicture::laidOverWithAlpha()
{
    // Half-transparent red over blue, half a pixel from a transparent column.
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(QColor(255, 0, 0, 128));
    for (int y = 0; y < 2; ++y)
        picture.setPixel(0, y, qRgba(0, 0, 0, 0));
    QImage canvas(4, 2, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::blue);
    drawShifted(canvas, canvas.rect(), picture, QPointF(-0.5, 0));

    // Column 0 shows the transparent column alone, column 1 half of it, the rest red over blue.
    const QRgb first = canvas.pixel(0, 0);
    QCOMPARE(first, qRgb(0, 0, 255));
    const QRgb half = canvas.pixel(1, 1);
    QVERIFY2(qAbs(qRed(half) - 64) <= 1 && qGreen(half) == 0 && qAbs(qBlue(half) - 191) <= 1,
             qPrintable(QString::number(half, 16)));
    const QRgb over = canvas.pixel(3, 0);
    QVERIFY2(qAbs(qRed(over) - 128) <= 1 && qGreen(over) == 0 && qAbs(qBlue(over) - 127) <= 1,
             qPrintable(QString::number(over, 16)));
}

QTEST_MAIN(TestShiftedPicture)
#include "tst_shiftedpicture.moc"
