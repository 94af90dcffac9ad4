#include <QtTest>

#include "model/Resolution.h"

class TestResolution : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void defaultIs1024x768();
    void shapes();
    void standardListOrder();
    void screenTable_data();
    void screenTable();
    void fullHdKeptWhenAsked();
};

void TestResolution::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("plain") << "1280x720" << 1280 << 720;
    QTest::newRow("upper X") << "1280X720" << 0 << 0;
    QTest::newRow("three parts") << "1280x720x1" << 0 << 0;
    QTest::newRow("no width") << "x720" << 0 << 0;
    QTest::newRow("no height") << "1280x" << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
    QTest::newRow("junk inside") << "12a0x720" << 0 << 0;
    QTest::newRow("letters") << "abcxdef" << 0 << 0;
    QTest::newRow("blank before") << " 1280x720" << 0 << 0;
    QTest::newRow("blanks around x") << "1280 x 720" << 0 << 0;
    QTest::newRow("blank after") << "1280x720 " << 0 << 0;
}

void TestResolution::parse()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, height);
    const Resolution r(text);
    QCOMPARE(r.width(), width);
    QCOMPARE(r.height(), height);
    QCOMPARE(r.isValid(), width > 0);
    if (r.isValid())
        QCOMPARE(r.toString(), text);
}

void TestResolution::defaultIs1024x768()
{
    const Resolution r;
    QCOMPARE(r.toString(), QStringLiteral("1024x768"));
    QVERIFY(r.isValid());
}

void TestResolution::shapes()
{
    QVERIFY(Resolution(1080, 1920).isPortrait());
    QVERIFY(!Resolution(1920, 1080).isPortrait());
    QVERIFY(Resolution(1080, 1080).isSquare1080());
    QVERIFY(!Resolution(1080, 1081).isSquare1080());
    QVERIFY(!Resolution(0, 5).isValid());
}

void TestResolution::standardListOrder()
{
    const QList<QSize> list = Resolution::standardList();
    QCOMPARE(list.size(), 16);
    QCOMPARE(list.first(), QSize(640, 480));
    QCOMPARE(list[3], QSize(540, 960));
    QCOMPARE(list[12], QSize(1920, 1080));
    QCOMPARE(list.last(), QSize(3840, 2160));
}

void TestResolution::screenTable_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full hd") << QSize(1920, 1080) << "1600x900";
    QTest::newRow("16:10 none") << QSize(1440, 900) << "1024x768";
    QTest::newRow("ultra wide") << QSize(2560, 1080) << "1024x768";
    QTest::newRow("in list") << QSize(1280, 1024) << "1280x1024";
    QTest::newRow("4k") << QSize(3840, 2160) << "1600x900";
    QTest::newRow("portrait hd kept") << QSize(1080, 1920) << "1080x1920";
    QTest::newRow("4:3 by key") << QSize(1400, 1050) << "1600x1200";
    QTest::newRow("first entry not examined") << QSize(320, 240) << "1600x1200";
    QTest::newRow("no screen") << QSize() << "1024x768";
}

void TestResolution::screenTable()
{
    QFETCH(QSize, screen);
    QFETCH(QString, expected);
    QCOMPARE(Resolution::defaultForScreenSize(screen).toString(), expected);
}

void TestResolution::fullHdKeptWhenAsked()
{
    QCOMPARE(Resolution::defaultForScreenSize(QSize(1920, 1080), false).toString(), QStringLiteral("1920x1080"));
    QCOMPARE(Resolution::defaultForScreenSize(QSize(3000, 1688), false).toString(), QStringLiteral("3840x2160"));
}

QTEST_GUILESS_MAIN(TestResolution)
#include "tst_resolution.moc"
