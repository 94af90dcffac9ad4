#include <QtTest>

#include "model/SlideBackground.h"

class TestSlideBackground : public QObject
{
    Q_OBJECT

private slots:
    void colourNames_data();
    void colourNames();
    void plainFill_data();
    void plainFill();
    void gradientCorners_data();
    void gradientCorners();
    void emptySize();
};

void TestSlideBackground::colourNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("textColor");
    QTest::newRow("0") << 0 << "#ffffff" << "#000000";
    QTest::newRow("7") << 7 << "#8cfffb" << "#5370a7";
    QTest::newRow("17") << 17 << "#c3c3c3" << "#000000";
    QTest::newRow("19") << 19 << "#ec1c3c" << "#feefea";
    QTest::newRow("22") << 22 << "#00c4f3" << "#ffffff";
    QTest::newRow("29") << 29 << "#8151c1" << "#ffffff";
    QTest::newRow("-1") << -1 << "#ffffff" << "#000000";
    QTest::newRow("30") << 30 << "#ffffff" << "#000000";
    QTest::newRow("huge") << 1000000 << "#ffffff" << "#000000";
}

void TestSlideBackground::colourNames()
{
    QFETCH(int, index);
    QTEST(backgroundColorName(index), "color");
    QTEST(backgroundTextColorName(index), "textColor");
}

void TestSlideBackground::plainFill_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("color");
    QTest::newRow("0") << 0 << QColor("#ffffff");
    QTest::newRow("4") << 4 << QColor("#3f48cc");
    QTest::newRow("17") << 17 << QColor("#c3c3c3");
    // Indexes outside the table paint the fallback colour, never leftover memory.
    QTest::newRow("-3") << -3 << QColor("#ffffff");
    QTest::newRow("30") << 30 << QColor("#ffffff");
}

void TestSlideBackground::plainFill()
{
    QFETCH(int, index);
    QFETCH(QColor, color);
    const QImage image = backgroundImage(index, QSize(33, 21));
    QCOMPARE(image.size(), QSize(33, 21));
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    QImage expected(image.size(), image.format());
    expected.fill(color);
    QCOMPARE(image, expected);
}

void TestSlideBackground::gradientCorners_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("first");
    QTest::addColumn<QColor>("second");
    QTest::newRow("18") << 18 << QColor("#000000") << QColor("#ffffff");
    QTest::newRow("20") << 20 << QColor("#ffd300") << QColor("#8cffed");
    QTest::newRow("23") << 23 << QColor("#8151c1") << QColor("#ec1c3c");
    QTest::newRow("29") << 29 << QColor("#8151c1") << QColor("#ffffff");
}

void TestSlideBackground::gradientCorners()
{
    QFETCH(int, index);
    QFETCH(QColor, first);
    QFETCH(QColor, second);
    const QImage image = backgroundImage(index, QSize(200, 100));
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    const auto near = [](QRgb a, const QColor& b) {
        return qAbs(qRed(a) - b.red()) <= 2 && qAbs(qGreen(a) - b.green()) <= 2
            && qAbs(qBlue(a) - b.blue()) <= 2 && qAlpha(a) == 255;
    };
    QVERIFY(near(image.pixel(0, 99), first));
    QVERIFY(near(image.pixel(199, 0), second));
}

void TestSlideBackground::emptySize()
{
    QVERIFY(backgroundImage(3, QSize()).isNull());
    QVERIFY(backgroundImage(20, QSize(0, 10)).isNull());
}

QTEST_MAIN(TestSlideBackground)
#include "tst_slidebackground.moc"
