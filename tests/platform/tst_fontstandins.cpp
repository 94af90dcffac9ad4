#include <QtTest>

#include "platform/FontStandIns.h"

#include <QFontDatabase>
#include <QFontInfo>

// The design's faces stand in as the condensed DejaVu face, under their own names.
class TestFontStandIns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void designFacesResolveToTheStandIn_data();
    void designFacesResolveToTheStandIn();
    void otherFacesAreLeftAlone();
};

void TestFontStandIns::initTestCase()
{
    if (!QFontDatabase().families().contains(FontStandIns::kStandIn))
        QSKIP("The condensed DejaVu face is not installed.");
    QVERIFY(FontStandIns::install());
    // A second start-up changes nothing.
    QVERIFY(FontStandIns::install());
}

void TestFontStandIns::designFacesResolveToTheStandIn_data()
{
    QTest::addColumn<QString>("family");
    for (const QString& family : FontStandIns::families())
        QTest::newRow(qPrintable(family)) << family;
}

void TestFontStandIns::designFacesResolveToTheStandIn()
{
    QFETCH(QString, family);
    QFont font(family);
    font.setPixelSize(14);
    QCOMPARE(font.family(), family);
    QCOMPARE(QFontInfo(font).family(), FontStandIns::kStandIn);
}

void TestFontStandIns::otherFacesAreLeftAlone()
{
    const QString plain = QStringLiteral("DejaVu Sans");
    QVERIFY(QFont::substitutes(plain).isEmpty());
    QFont font(plain);
    font.setPixelSize(14);
    QCOMPARE(QFontInfo(font).family(), plain);
}

QTEST_MAIN(TestFontStandIns)
#include "tst_fontstandins.moc"
