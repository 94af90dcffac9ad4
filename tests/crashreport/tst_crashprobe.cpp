#include <QtTest>

#include "crashreport/CrashNames.h"
#include "support/CrashTestSupport.h"

#include <csignal>

// The probe installs the crash reporter and fails on purpose; the test sender beside it writes what the
// report holds. Every run has its own data folder and a watchdog.
class TestCrashProbe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void failures_data();
    void failures();
    void callback_data();
    void callback();
    void continuesAfterAStopRequest();
    void faultInTheCallback();
    void senderEndsWithoutTakingOver();
    void senderDeletedAfterInstall();
    void longSenderFolder();
    void afterUninstall_data();
    void afterUninstall();
    void reporterFillsTheReport();
    void machineIdHash_data();
    void machineIdHash();
    void wiring_data();
    void wiring();

private:
    struct Run {
        bool finished = false;
        QProcess::ExitStatus status = QProcess::NormalExit;
        int code = -1;   // the signal number when it crashed
        qint64 pid = 0;
        QStringList out;
        QString err;

        QString value(const QString& key, int which = 0) const;
        QStringList values(const QString& key) const;
    };

    Run runProbe(const QStringList& arguments, const QProcessEnvironment& extra = {});
    static QJsonObject description(const QString& reportFolder);
    static void verifyNothingLeft(const Run& run);

    std::unique_ptr<QTemporaryDir> m_data;
};

QString TestCrashProbe::Run::value(const QString& key, int which) const
{
    const QStringList all = values(key);
    return which < all.size() ? all[which] : QString();
}

QStringList TestCrashProbe::Run::values(const QString& key) const
{
    QStringList found;
    for (const QString& line : out) {
        if (line.startsWith(key + ' '))
            found << line.mid(key.size() + 1);
    }
    return found;
}

void TestCrashProbe::initTestCase()
{
#ifndef CRASH_PROBE
    QSKIP("The sanitizers catch the probe's faults first: no probe in this build.");
#endif
}

void TestCrashProbe::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
}

TestCrashProbe::Run TestCrashProbe::runProbe(const QStringList& arguments, const QProcessEnvironment& extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", m_data->path());
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));
    QProcess probe;
    probe.setProcessEnvironment(environment);
#ifdef CRASH_PROBE
    probe.start(QStringLiteral(CRASH_PROBE), arguments);
#endif
    Run run;
    if (!probe.waitForStarted(30000))
        return run;
    run.pid = probe.processId();
    run.finished = probe.waitForFinished(30000);
    if (!run.finished) {
        probe.kill();
        probe.waitForFinished(30000);
    }
    run.status = probe.exitStatus();
    run.code = probe.exitCode();
    run.out = QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(probe.readAllStandardError());
    return run;
}

// The sender writes the description after it let the probe go: it may come a moment after the probe ended.
QJsonObject TestCrashProbe::description(const QString& reportFolder)
{
    const QString path = reportFolder + "/description.json";
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 30000))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

void TestCrashProbe::verifyNothingLeft(const Run& run)
{
    for (const QString& report : run.values("report")) {
        const std::u16string id = u16(QFileInfo(report).fileName());
        QVERIFY2(!blockExists(id), qPrintable(report));
        QVERIFY2(!eventExists(id), qPrintable(report));
    }
}

void TestCrashProbe::failures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");
    QTest::newRow("null write") << "null-write" << 11 << SIGSEGV;
    QTest::newRow("null write on a worker") << "worker-null-write" << 0 << SIGSEGV;
    QTest::newRow("division by zero") << "divide" << 8 << SIGFPE;
    QTest::newRow("trap") << "trap" << 9 << SIGILL;
    QTest::newRow("abort") << "abort" << 7 << SIGABRT;
    QTest::newRow("uncaught exception") << "throw" << 1 << 0;
    QTest::newRow("SIGTERM") << "sigterm" << 12 << SIGTERM;
    QTest::newRow("SIGINT") << "sigint" << 10 << SIGINT;
    QTest::newRow("failed new") << "new" << 4 << 0;
    QTest::newRow("pure call") << "pure" << 3 << 0;
    QTest::newRow("runaway recursion") << "recursion" << 11 << SIGSEGV;
}

void TestCrashProbe::failures()
{
    QFETCH(QString, failure);
    QFETCH(int, type);
    QFETCH(int, code);
    const Run run = runProbe({failure});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    const QJsonObject header = description(run.value("report"))["header"].toObject();
    QCOMPARE(header["crash_happened"].toInt(), 1);
    QCOMPARE(header["process_id"].toVariant().toLongLong(), run.pid);
    QCOMPARE(header["thread_id"].toVariant().toLongLong(), run.value("thread").toLongLong());
    if (failure != "worker-null-write")
        QCOMPARE(header["thread_id"].toVariant().toLongLong(), run.pid);
    QCOMPARE(header["exception_type"].toInt(), type);
    QCOMPARE(header["exception_code"].toInt(), code);
    if (failure == "divide")
        QCOMPARE(header["fpe_subcode"].toInt(), FPE_INTDIV);
    verifyNothingLeft(run);
}

void TestCrashProbe::callback_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("stages");
    QTest::addColumn<bool>("sent");
    QTest::newRow("go on") << "log" << QStringList{"10"} << true;
    QTest::newRow("cancel") << "cancel" << QStringList{"10"} << false;
    QTest::newRow("call again") << "again" << QStringList{"10", "20"} << true;
}

void TestCrashProbe::callback()
{
    QFETCH(QString, mode);
    QFETCH(QStringList, stages);
    QFETCH(bool, sent);
    const Run run = runProbe({"--callback", mode, "sigterm"});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.values("stage"), stages);
    if (sent)
        QCOMPARE(description(run.value("report"))["header"].toObject()["exception_type"].toInt(), 12);
    else
        QVERIFY(!QFileInfo::exists(run.value("report")));
    verifyNothingLeft(run);
}

// The callback asks to go on: a stop request lets the probe live with a fresh report prepared, a fault does not.
void TestCrashProbe::continuesAfterAStopRequest()
{
    const Run run = runProbe({"--callback", "continue", "sigterm-then-null-write"});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.values("stage").size(), 2);
    QVERIFY(run.out.contains("alive"));
    const QStringList reports = run.values("report");
    QCOMPARE(reports.size(), 2);
    QVERIFY(reports[0] != reports[1]);
    const QJsonObject first = description(reports[0])["header"].toObject();
    const QJsonObject second = description(reports[1])["header"].toObject();
    QCOMPARE(first["exception_type"].toInt(), 12);
    QCOMPARE(second["exception_type"].toInt(), 11);
    QCOMPARE(second["crash_id"].toString(), QFileInfo(reports[1]).fileName());
    verifyNothingLeft(run);
}

void TestCrashProbe::faultInTheCallback()
{
    const Run run = runProbe({"--callback", "fault", "null-write"});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err, QStringLiteral("CrashProbe: a fatal error happened while a crash was reported\n"));
    QVERIFY(!QFileInfo::exists(run.value("report")));
    verifyNothingLeft(run);
}

void TestCrashProbe::senderEndsWithoutTakingOver()
{
    QProcessEnvironment noPost;
    noPost.insert("BRINDLET_NO_POST", "1");
    const Run run = runProbe({"null-write"}, noPost);
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    verifyNothingLeft(run);
}

void TestCrashProbe::senderDeletedAfterInstall()
{
    const QString folder = m_data->filePath("sender");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(BRINDLET_DIR "/Brindlet", folder + "/Brindlet"));
    const Run run = runProbe({"--sender", folder, "--delete-sender", "null-write"});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err, QStringLiteral("CrashProbe has stopped working: Error launching Brindlet\n"));
    QVERIFY(!QFileInfo::exists(run.value("report")));
    verifyNothingLeft(run);
}

void TestCrashProbe::longSenderFolder()
{
    QString folder = m_data->path();
    while (folder.size() <= 300)
        folder += "/a-rather-long-folder-name";
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(BRINDLET_DIR "/Brindlet", folder + "/Brindlet"));
    const Run run = runProbe({"--sender", folder, "null-write"});
    QVERIFY(run.finished);
    QCOMPARE(run.code, 1);
    QCOMPARE(description(run.value("report"))["header"].toObject()["exception_type"].toInt(), 11);
    verifyNothingLeft(run);
}

void TestCrashProbe::afterUninstall_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << "sigterm" << SIGTERM;
    QTest::newRow("null write") << "null-write" << SIGSEGV;
}

void TestCrashProbe::afterUninstall()
{
    QFETCH(QString, failure);
    QFETCH(int, signal);
    const Run run = runProbe({"--uninstall", failure});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::CrashExit);
    QCOMPARE(run.code, signal);
    QVERIFY(!QFileInfo::exists(run.value("report")));
    verifyNothingLeft(run);
}

void TestCrashProbe::reporterFillsTheReport()
{
    const Run run = runProbe({"--reporter", "--property", "m_id=abc", "--property", "M_ID=x", "null-write"});
    QVERIFY(run.finished);
    QCOMPARE(run.code, 1);
    const QJsonObject report = description(run.value("report"));
    const QJsonObject header = report["header"].toObject();
    QCOMPARE(header["install_flags"].toInt(), 0x606000);
    QCOMPARE(header["priority_1"].toInt(), 1);
    QCOMPARE(header["priority_2"].toInt(), -1);
    QCOMPARE(header["priority_3"].toInt(), -1);
    QCOMPARE(header["minidump_type"].toInt(), 0x1974);
    QCOMPARE(header["screenshot_wanted"].toInt(), 1);
    QCOMPARE(header["screenshot_flags"].toInt(), 0);
    QCOMPARE(header["jpeg_quality"].toInt(), 75);
    QCOMPARE(header["upload_url"].toString(), QStringLiteral("https://kestrovasoft.com/index.php"));
    QCOMPARE(header["privacy_policy_url"].toString(), QString(""));
    QCOMPARE(header["app_name"].toString(), QStringLiteral("K Slideshow Maker"));
    QCOMPARE(header["report_folder"].toString(),
             m_data->path() + "/CrashReport/UnsentCrashReports/K Slideshow Maker_1.1.3");
    QCOMPARE(header["email_subject"].toString(), QStringLiteral("K Slideshow Maker 1.1.3 Error Report"));
    const QJsonArray properties = report["properties"].toArray();
    QCOMPARE(properties.size(), 2);
    QCOMPARE(properties[0]["name"].toString(), QStringLiteral("M_ID"));
    QCOMPARE(properties[0]["value"].toString(), QStringLiteral("x"));
    QCOMPARE(properties[1]["name"].toString(), QStringLiteral("m_id"));
    QCOMPARE(properties[1]["value"].toString(), QStringLiteral("87936e032c4c0c7a886db6f47d17c8b5"));
    QCOMPARE(report["files"].toArray().size(), 0);
    verifyNothingLeft(run);
}

void TestCrashProbe::machineIdHash_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("hash");
    QTest::newRow("empty") << "" << "e073b72e31dc0136397252d4fa6f8ca3";
    QTest::newRow("not ASCII") << QString::fromUtf8("é") << "d965c91b23a6074858b64733b79f08e1";
}

void TestCrashProbe::machineIdHash()
{
    QFETCH(QString, value);
    QFETCH(QString, hash);
    const Run run = runProbe({"--reporter", "--property", "m_id=" + value, "--property", "m_id=first",
                              "--property", "m_id=" + value, "null-write"});
    QVERIFY(run.finished);
    const QJsonArray properties = description(run.value("report"))["properties"].toArray();
    QCOMPARE(properties.size(), 1);
    QCOMPARE(properties[0]["value"].toString(), hash);
    verifyNothingLeft(run);
}

void TestCrashProbe::wiring_data()
{
    QTest::addColumn<QString>("now");
    QTest::addColumn<bool>("installs");
    QTest::newRow("last second") << "2026-10-14T23:59:59" << true;
    QTest::newRow("the day itself") << "2026-10-15T00:00:00" << false;
}

// The programs' set-up: a reporter only before the date, gone with the application object.
void TestCrashProbe::wiring()
{
    QFETCH(QString, now);
    QFETCH(bool, installs);
    const Run run = runProbe({"--wiring", now, "sigterm"});
    QVERIFY(run.finished);
    QCOMPARE(run.values("reporter"), QStringList{installs ? "1" : "0"});
    QCOMPARE(run.values("installed"), (QStringList{installs ? "1" : "0", "0"}));
    QCOMPARE(run.status, QProcess::CrashExit);
    QCOMPARE(run.code, SIGTERM);
    QCOMPARE(run.values("report").size(), installs ? 1 : 0);
    verifyNothingLeft(run);
}

QTEST_GUILESS_MAIN(TestCrashProbe)
#include "tst_crashprobe.moc"
