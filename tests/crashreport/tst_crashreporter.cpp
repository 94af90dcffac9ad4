#include <QtTest>

#include "crashreport/CCrashHandler.h"
#include "crashreport/CrashReporterApi.h"
#include "crashreport/reporter/CrashReportGate.h"
#include "crashreport/reporter/CrashReporter.h"
#include "support/CrashTestSupport.h"

// The reporter in this process: its sender is not beside the test, so it installs nothing (the probe
// test installs it for real).
class TestCrashReporter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void gate_data();
    void gate();
    void reporterFlag_data();
    void reporterFlag();
    void setUpOnlyBeforeTheDate();
    void noSenderNoHandler();
    void failedReporterKeepsTheInstalledHandler();

private:
    QTemporaryDir m_data;
};

void TestCrashReporter::initTestCase()
{
    QVERIFY(m_data.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
}

void TestCrashReporter::cleanup()
{
    if (CCrashHandler::instance())
        QCOMPARE(uninstallCrashReporter(), 0);
}

void TestCrashReporter::gate_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("open");
    const QDate lastDay(2026, 10, 14);
    QTest::newRow("long before") << QDateTime(QDate(2024, 1, 1), QTime(12, 0)) << true;
    QTest::newRow("last second") << QDateTime(lastDay, QTime(23, 59, 59)) << true;
    QTest::newRow("last millisecond") << QDateTime(lastDay, QTime(23, 59, 59, 999)) << true;
    QTest::newRow("the day itself") << QDateTime(QDate(2026, 10, 15), QTime(0, 0)) << false;
    QTest::newRow("after") << QDateTime(QDate(2027, 3, 1), QTime(8, 0)) << false;
}

void TestCrashReporter::gate()
{
    QFETCH(QDateTime, now);
    QFETCH(bool, open);
    QCOMPARE(CrashReportGate::isOpen(now), open);
    QCOMPARE(CrashReportGate::isOpen(now.toUTC()), open);
}

void TestCrashReporter::reporterFlag_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("flag");
    QTest::newRow("day before") << QDate(2023, 9, 19) << true;
    QTest::newRow("the day itself") << QDate(2023, 9, 20) << false;
    QTest::newRow("today") << QDate::currentDate() << false;
}

void TestCrashReporter::reporterFlag()
{
    QFETCH(QDate, today);
    QFETCH(bool, flag);
    QCOMPARE(CrashReportGate::reporterFlag(today), flag);
}

void TestCrashReporter::setUpOnlyBeforeTheDate()
{
    QObject application;
    QVERIFY(!CrashReportGate::setUp(&application, QDateTime(QDate(2026, 10, 15), QTime(0, 0)), "1.0", true, "id"));
    const CrashReporter* reporter =
        CrashReportGate::setUp(&application, QDateTime(QDate(2026, 10, 14), QTime(23, 59, 59)), "1.0", true, "id");
    QVERIFY(reporter);
    QVERIFY(!reporter->isInstalled());
}

void TestCrashReporter::noSenderNoHandler()
{
    CrashReporter reporter("K Slideshow Maker", "1.1.3", true);
    QVERIFY(!reporter.isInstalled());
    QCOMPARE(reporter.installError(), QStringLiteral("Brindlet is not found in the specified path."));
    QVERIFY(!CCrashHandler::instance());
}

// A reporter that could not install leaves the handler that was there.
void TestCrashReporter::failedReporterKeepsTheInstalledHandler()
{
    TestInstall record;
    QCOMPARE(installCrashReporter(&record.info), 0);
    {
        CrashReporter reporter("K Slideshow Maker", "1.1.3", true);
        QVERIFY(!reporter.isInstalled());
        QCOMPARE(reporter.installError(), QStringLiteral("Can't install crash handler to the same process twice."));
    }
    QVERIFY(CCrashHandler::instance());
    QCOMPARE(CCrashHandler::instance()->settings().appName, std::u16string(u"Tester"));
}

QTEST_GUILESS_MAIN(TestCrashReporter)
#include "tst_crashreporter.moc"
