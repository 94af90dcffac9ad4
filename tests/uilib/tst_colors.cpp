#include "uilib/style/ColorUtils.h"

#include <QSpinBox>
#include <QTest>
#include <QWidget>

class TestColors : public QObject
{
    Q_OBJECT
private slots:
    void blendColors_data();
    void blendColors();
    void mixColors_data();
    void mixColors();
    void isDarkColor_data();
    void isDarkColor();
    void lerpInt();
    void widgetColors();
};

void TestColors::blendColors_data()
{
    QTest::addColumn<QColor>("from");
    QTest::addColumn<QColor>("to");
    QTest::addColumn<double>("p");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QColor>("expected");
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    // Each channel is sqrt(0.5) = 0.7071, which Qt keeps in 16 bits and reads back as 180.
    QTest::newRow("perceptual half") << black << white << 0.5 << 1 << QColor::fromRgbF(0.70710678, 0.70710678, 0.70710678);
    QTest::newRow("linear half") << black << white << 0.5 << 0 << QColor(128, 128, 128);
    QTest::newRow("start") << black << white << 0.0 << 1 << black;
    QTest::newRow("end") << black << white << 1.0 << 1 << white;
    QTest::newRow("clamped below") << black << white << -3.0 << 0 << black;
    QTest::newRow("clamped above") << black << white << 7.0 << 0 << white;
    QTest::newRow("equal colours") << white << white << 0.3 << 1 << white;
    QTest::newRow("other mode") << black << white << 0.5 << 2 << white;
    QTest::newRow("from transparent") << QColor(0, 0, 0, 0) << QColor(255, 0, 0, 200) << 0.5 << 1
                                      << QColor(255, 0, 0, 100);
    QTest::newRow("to transparent") << QColor(0, 0, 255, 200) << QColor(255, 0, 0, 0) << 0.25 << 1
                                    << QColor(0, 0, 255, 150);
    QTest::newRow("linear alpha") << QColor(0, 0, 0, 0) << QColor(100, 200, 50, 255) << 0.5 << 0
                                  << QColor(50, 100, 25, 128);
}

void TestColors::blendColors()
{
    QFETCH(QColor, from);
    QFETCH(QColor, to);
    QFETCH(double, p);
    QFETCH(int, mode);
    QFETCH(QColor, expected);
    const QColor blended = ::blendColors(from, to, p, mode);
    QCOMPARE(blended.rgba(), expected.rgba());
    QVERIFY(qAbs(blended.redF() - expected.redF()) < 1e-4);
}

void TestColors::mixColors_data()
{
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("over");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("black 46 on white") << QColor(Qt::white) << QColor(0, 0, 0, 46) << QColor(0xD1D1D1);
    QTest::newRow("transparent over") << QColor(10, 20, 30, 40) << QColor(Qt::transparent) << QColor(10, 20, 30, 40);
    QTest::newRow("opaque over") << QColor(Qt::white) << QColor(1, 2, 3) << QColor(1, 2, 3);
    QTest::newRow("both half") << QColor(255, 0, 0, 128) << QColor(0, 0, 255, 128) << QColor(85, 0, 170, 192);
    QTest::newRow("nothing under") << QColor(0, 0, 0, 0) << QColor(0, 0, 255, 128) << QColor(0, 0, 255, 128);
}

void TestColors::mixColors()
{
    QFETCH(QColor, base);
    QFETCH(QColor, over);
    QFETCH(QColor, expected);
    QCOMPARE(::mixColors(base, over).rgba(), expected.rgba());
}

void TestColors::isDarkColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<bool>("dark");
    QTest::newRow("invalid") << QColor() << false;
    QTest::newRow("transparent") << QColor(Qt::transparent) << false;
    QTest::newRow("black") << QColor(Qt::black) << true;
    // 11r + 16g + 5b with the low five bits cleared against 4096: grey 127 is dark, 128 is not.
    QTest::newRow("grey 127") << QColor(127, 127, 127) << true;
    QTest::newRow("grey 128") << QColor(128, 128, 128) << false;
    QTest::newRow("#656565") << QColor(0x656565) << true;
    QTest::newRow("pure green 255") << QColor(0, 255, 0) << true;
    QTest::newRow("green and a little blue") << QColor(0, 255, 7) << false;
    QTest::newRow("pure red 255") << QColor(255, 0, 0) << true;
}

void TestColors::isDarkColor()
{
    QFETCH(QColor, color);
    QFETCH(bool, dark);
    QCOMPARE(::isDarkColor(color), dark);
}

void TestColors::lerpInt()
{
    QCOMPARE(::lerpInt(10, 20, 1e-13), 10);
    QCOMPARE(::lerpInt(10, 20, 1.0), 20);
    QCOMPARE(::lerpInt(0, 255, 0.5), 128);
    QCOMPARE(::lerpInt(255, 0, 0.5), 128);
}

void TestColors::widgetColors()
{
    QWidget widget;
    setWidgetBackgroundColor(&widget, QColor(Qt::red));
    QCOMPARE(widget.palette().color(QPalette::Active, QPalette::Window), QColor(Qt::red));
    QCOMPARE(widget.palette().color(QPalette::Disabled, QPalette::Window).alphaF(), 0.6);
    QVERIFY(widget.autoFillBackground());

    QSpinBox spin;
    setWidgetTextColor(&spin, QColor(Qt::blue));
    QCOMPARE(spin.palette().color(QPalette::Inactive, QPalette::Text), QColor(Qt::blue));

    QWidget plain;
    setWidgetTextColor(&plain, QColor(Qt::green));
    QCOMPARE(plain.palette().color(plain.foregroundRole()), QColor(Qt::green));
    QVERIFY(!plain.autoFillBackground());

    setWidgetBackgroundBrush(&plain, QBrush(Qt::yellow));
    QCOMPARE(plain.palette().brush(QPalette::Disabled, plain.backgroundRole()).color(), QColor(Qt::yellow));
    setWidgetTextColor(nullptr, Qt::red);
    setWidgetBackgroundBrush(nullptr, QBrush());
}

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
