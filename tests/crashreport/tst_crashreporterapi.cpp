#include <QtTest>

#include "crashreport/CCrashHandler.h"
#include "crashreport/CrashReporterApi.h"
#include "crashreport/HandOverFormat.h"
#include "crashreport/HandOverReader.h"
#include "support/CrashTestSupport.h"

#include <csignal>
#include <functional>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using namespace HandOver;

// The record is the 64-bit form of a 108-byte layout; its size word holds this size.
static_assert(sizeof(void*) != 8 || sizeof(CrashInstallInfo) == 184);

using Call = std::function<int()>;
Q_DECLARE_METATYPE(Call)

class TestCrashReporterApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void codesAndTexts_data();
    void codesAndTexts();
    void liveBlockDefaults();
    void secondInstallKeepsTheFirst();
    void addReportFile_data();
    void addReportFile();
    void refusedItemChangesNothing();
    void badQualityKeepsTheHeader();
    void shortBuffer();
    void threadsKeepTheirTexts();
    void secondThreadEntry();
    void uninstallFromAnotherThread();
    void uninstallRemovesBlockAndEvent();
    void sharedMemoryFailure();

private:
    static int install(const std::function<void(CrashInstallInfo&)>& change = {});
    static std::vector<unsigned char> liveBlock();
    static QString reportFolder(const QString& name);

    QTemporaryDir m_data;
    QTemporaryDir m_files;
};

int TestCrashReporterApi::install(const std::function<void(CrashInstallInfo&)>& change)
{
    TestInstall record;
    if (change)
        change(record.info);
    return installCrashReporter(&record.info);
}

// The used part of the installed handler's block, read through a mapping of its own.
std::vector<unsigned char> TestCrashReporterApi::liveBlock()
{
    const CCrashHandler* handler = CCrashHandler::instance();
    if (!handler)
        return {};
    SharedMemoryBlock block;
    if (!block.create(handler->crashId(), true, 0, 0))
        return {};
    const auto* data = static_cast<const unsigned char*>(block.mapView(0, block.size()));
    return std::vector<unsigned char>(data, data + readU32(data + BytesInUse));
}

QString TestCrashReporterApi::reportFolder(const QString& name)
{
    return qEnvironmentVariable("XDG_DATA_HOME") + "/CrashReport/UnsentCrashReports/" + name + "_1.2";
}

void TestCrashReporterApi::initTestCase()
{
    QVERIFY(m_data.isValid());
    QVERIFY(m_files.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    QFile log(m_files.filePath("a.log"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    QVERIFY(QDir(m_files.path()).mkdir("sub"));
    QCOMPARE(::mkfifo(QFile::encodeName(m_files.filePath("pipe")).constData(), 0600), 0);
    QVERIFY(QDir(m_files.path()).mkpath("nosender"));
    QVERIFY(QDir(m_files.path()).mkpath("foldersender/Brindlet"));
    QVERIFY(QDir(m_files.path()).mkpath("plainsender"));
    QFile plain(m_files.filePath("plainsender/Brindlet"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QVERIFY(QFile::copy(QStringLiteral(BRINDLET_DIR "/Brindlet"), m_files.filePath("blocked")));
    QVERIFY(QDir(m_files.path()).mkpath("logsblocked"));
    QVERIFY(QFile::copy(QStringLiteral(BRINDLET_DIR "/Brindlet"), m_files.filePath("logsblocked/Logs")));
}

void TestCrashReporterApi::cleanup()
{
    if (CCrashHandler::instance())
        QCOMPARE(uninstallCrashReporter(), 0);
}

void TestCrashReporterApi::codesAndTexts_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    const QString notInstalled = "Crash handler wasn't previously installed for current process.";
    const std::u16string files = u16(m_files.path());
    const auto withSender = [files](const char16_t* folder) {
        const std::u16string path = files + folder;
        return [=] { return install([&](CrashInstallInfo& i) { i.senderFolder = path.c_str(); }); };
    };
    const auto withReports = [files](const char16_t* folder) {
        const std::u16string path = files + folder;
        return [=] { return install([&](CrashInstallInfo& i) { i.reportFolder = path.c_str(); }); };
    };

    QTest::newRow("install: no record") << false << Call([] { return installCrashReporter(nullptr); }) << 1
                                        << "pInfo is NULL or pInfo->cb member is not valid.";
    QTest::newRow("install: 32-bit size") << false << Call([] { return install([](auto& i) { i.size = 108; }); }) << 1
                                          << "pInfo is NULL or pInfo->cb member is not valid.";
    QTest::newRow("install") << false << Call([] { return install(); }) << 0 << "Success.";
    QTest::newRow("install: no version") << false
                                         << Call([] { return install([](auto& i) { i.applicationVersion = nullptr; }); })
                                         << 4 << "Application version is not specified.";
    QTest::newRow("install: icon index -1")
        << false << Call([] { return install([](auto& i) { i.customIcon = u"/icons/app.ico,-1"; }); }) << 4
        << "Invalid index of custom icon (it should not equal to -1).";
    QTest::newRow("install: icon index 0")
        << false << Call([] { return install([](auto& i) { i.customIcon = u"/icons/app.ico,0"; }); }) << 0 << "Success.";
    QTest::newRow("install: zip archives alone")
        << false << Call([] { return install([](auto& i) { i.flags |= 0x80000; }); }) << 4
        << "The flag CR_INST_STORE_ZIP_ARCHIVES should be used with CR_INST_DONT_SEND_REPORT flag.";
    QTest::newRow("install: zip archives, not sent")
        << false << Call([] { return install([](auto& i) { i.flags |= 0x88000; }); }) << 0 << "Success.";
    QTest::newRow("install: no sender") << false << Call(withSender(u"/nosender")) << 4
                                        << "Brindlet is not found in the specified path.";
    QTest::newRow("install: sender not executable") << false << Call(withSender(u"/plainsender/")) << 4
                                                    << "Brindlet is not found in the specified path.";
    QTest::newRow("install: sender is a folder") << false << Call(withSender(u"/foldersender")) << 4
                                                 << "Brindlet is not found in the specified path.";
    QTest::newRow("install: report folder blocked") << false << Call(withReports(u"/blocked/reports")) << 4
                                                    << "Couldn't create crash report directory.";
    QTest::newRow("install: logs folder blocked") << false << Call(withReports(u"/logsblocked")) << 4
                                                  << "Couldn't create logs directory.";
    QTest::newRow("install twice") << true << Call([] { return install(); }) << 2
                                   << "Can't install crash handler to the same process twice.";

    QTest::newRow("uninstall") << true << Call(uninstallCrashReporter) << 0 << "No error.";
    QTest::newRow("uninstall, none") << false << Call(uninstallCrashReporter) << 1
                                     << "Crash handler wasn't preiviously installed for this process.";

    const Call callback = [] { return setCrashCallback([](CrashCallbackInfo*) { return 1; }, nullptr); };
    QTest::newRow("callback") << true << callback << 0 << "Success.";
    QTest::newRow("callback, none") << false << callback << 1 << notInstalled;

    const Call file = [files] { return ::addReportFile((files + u"/a.log").c_str(), nullptr, u"Log file", 1); };
    QTest::newRow("file") << true << file << 0 << "Success.";
    QTest::newRow("file, none") << false << file << 1 << notInstalled;

    const Call property = [] { return addReportProperty(u"name", u"value"); };
    QTest::newRow("property") << true << property << 0 << "Success.";
    QTest::newRow("property, none") << false << property << 1 << notInstalled;
    QTest::newRow("property: empty name") << true << Call([] { return addReportProperty(u"", u"v"); }) << 2
                                          << "Invalid property name specified.";
    QTest::newRow("property: no name") << true << Call([] { return addReportProperty(nullptr, u"v"); }) << 2
                                       << "Invalid property name specified.";
    QTest::newRow("property: no value") << true << Call([] { return addReportProperty(u"n", nullptr); }) << 0
                                        << "Success.";
    QTest::newRow("property: too long")
        << true << Call([] { return addReportProperty(u"n", std::u16string(32765, u'x').c_str()); }) << 2
        << "The crash report has no room for this item.";

    QTest::newRow("screenshot") << true << Call([] { return addReportScreenshot(8, 100); }) << 0 << "Success.";
    QTest::newRow("screenshot: quality 0") << true << Call([] { return addReportScreenshot(0, 0); }) << 0 << "Success.";
    QTest::newRow("screenshot, none") << false << Call([] { return addReportScreenshot(0, 75); }) << 1 << notInstalled;
    QTest::newRow("screenshot: quality 101") << true << Call([] { return addReportScreenshot(0, 101); }) << 1
                                             << "Invalid Jpeg quality.";
    QTest::newRow("screenshot: quality -1") << true << Call([] { return addReportScreenshot(0, -1); }) << 1
                                            << "Invalid Jpeg quality.";

    QTest::newRow("set text") << false << Call([] { return setLastCrashReporterError(u"mine"); }) << 0 << "mine";
    QTest::newRow("read text: no buffer") << true << Call([] {
        setLastCrashReporterError(u"before");
        return lastCrashReporterError(nullptr, 16);
    }) << -1 << "before";
    QTest::newRow("read text: no room") << true << Call([] {
        setLastCrashReporterError(u"before");
        char16_t buffer[4];
        return lastCrashReporterError(buffer, 0);
    }) << -1 << "before";
}

void TestCrashReporterApi::codesAndTexts()
{
    QFETCH(bool, installed);
    QFETCH(Call, call);
    QFETCH(int, code);
    QFETCH(QString, text);
    if (installed)
        QCOMPARE(install(), 0);
    const CCrashHandler* before = CCrashHandler::instance();
    QCOMPARE(call(), code);
    QCOMPARE(lastError(), text);
    if (code != 0)
        QCOMPARE(CCrashHandler::instance(), before);
}

void TestCrashReporterApi::liveBlockDefaults()
{
    QCOMPARE(install([](CrashInstallInfo& i) {
                 i.applicationName = nullptr;
                 i.emailTo = u"ops@example.org:2525";
                 i.smtpPassword = u"secret";
                 i.priorities[0] = 1;
                 i.priorities[1] = -1;
             }),
             0);
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString folder = reportFolder(name);
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFileInfo(folder + "/Logs").isDir());

    const std::vector<unsigned char> block = liveBlock();
    HandOverReader reader;
    QVERIFY2(reader.read(block.data(), block.size()), reader.error().c_str());
    const auto text = [&](uint32_t field) { return fromU16(reader.text(field).value_or(u"<absent>")); };
    QCOMPARE(text(AppName), name);
    QCOMPARE(text(AppVersion), QStringLiteral("1.2"));
    QCOMPARE(text(EmailSubject), name + " 1.2 Error Report");
    QCOMPARE(text(EmailTo), QStringLiteral("ops@example.org"));
    QCOMPARE(reader.number(SmtpPort), 2525u);
    QCOMPARE(reader.number(SmtpProxyPort), 25u);
    QCOMPARE(text(SmtpPassword), QString());
    QCOMPARE(reader.number(RestartTimeout), 60u);
    QCOMPARE(reader.number(InstallFlags), 0x20u);
    QCOMPARE(reader.number(Priorities), 1u);
    QCOMPARE(int32_t(reader.number(Priorities + 4)), -1);
    QCOMPARE(reader.number(Priorities + 8), 0u);
    QCOMPARE(reader.number(ScreenshotWanted), 0u);
    QCOMPARE(reader.number(JpegQuality), 95u);
    QCOMPARE(reader.number(ProcessId), uint32_t(QCoreApplication::applicationPid()));
    QCOMPARE(reader.number(CrashHappened), 0u);
    QCOMPARE(text(CrashId), fromU16(CCrashHandler::instance()->crashId()));
    QCOMPARE(text(ReportFolder), folder);
    QCOMPARE(text(ProgramPath), QCoreApplication::applicationFilePath());
    QCOMPARE(text(LanguageFile), QStringLiteral(BRINDLET_DIR "/crashrpt_lang.ini"));
    QCOMPARE(text(DebugHelpFolder), QCoreApplication::applicationDirPath() + "/");
    QCOMPARE(fromU16(CCrashHandler::instance()->settings().senderPath), QStringLiteral(BRINDLET_DIR "/Brindlet"));
}

void TestCrashReporterApi::secondInstallKeepsTheFirst()
{
    QCOMPARE(install(), 0);
    const CCrashHandler* first = CCrashHandler::instance();
    const std::u16string id = first->crashId();
    QCOMPARE(install([](CrashInstallInfo& i) { i.applicationName = u"Other"; }), 2);
    QCOMPARE(CCrashHandler::instance(), first);
    QVERIFY(first->isInitialized());
    QVERIFY(first->crashId() == id);
    QVERIFY(blockExists(id));
    QCOMPARE(addReportProperty(u"still", u"there"), 0);
}

void TestCrashReporterApi::addReportFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("addedBefore");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("recorded");
    const QString ok = "Success.";
    const QString notRegular = "The file does not exists or not a regular file.";
    QTest::newRow("no path") << QString() << QString() << 1u << false << 2 << "Invalid file name specified." << "";
    QTest::newRow("empty path") << "" << QString() << 1u << false << 2 << "Invalid file name specified." << "";
    QTest::newRow("blank destination") << "<dir>/a.log" << " \t" << 1u << false << 2
                                       << "Invalid destination file name specified." << "";
    QTest::newRow("empty destination") << "<dir>/a.log" << "" << 1u << false << 2
                                       << "Invalid destination file name specified." << "";
    QTest::newRow("file") << "<dir>/a.log" << QString() << 1u << false << 0 << ok << "a.log";
    QTest::newRow("own destination") << "<dir>/a.log" << "renamed.txt" << 5u << false << 0 << ok << "renamed.txt";
    QTest::newRow("pattern names itself") << "<dir>/*.log" << "x.txt" << 0u << false << 0 << ok << "*.log";
    QTest::newRow("pattern, long prefix") << "\\\\?\\<dir>/a?.log" << QString() << 0u << false << 0 << ok << "a?.log";
    QTest::newRow("missing") << "<dir>/none.log" << QString() << 1u << false << 2 << notRegular << "";
    QTest::newRow("missing allowed") << "<dir>/none.log" << QString() << 2u << false << 0 << ok << "none.log";
    QTest::newRow("folder") << "<dir>/sub" << QString() << 1u << false << 2 << notRegular << "";
    QTest::newRow("pipe") << "<dir>/pipe" << QString() << 1u << false << 2 << notRegular << "";
    QTest::newRow("pipe allowed") << "<dir>/pipe" << QString() << 2u << false << 0 << ok << "pipe";
    QTest::newRow("same destination") << "<dir>/a.log" << QString() << 1u << true << 2
                                      << "A file with such a destination name already exists." << "";
    QTest::newRow("other destination") << "<dir>/a.log" << "b.log" << 1u << true << 0 << ok << "b.log";
}

void TestCrashReporterApi::addReportFile()
{
    QFETCH(QString, path);
    QFETCH(QString, destination);
    QFETCH(uint, flags);
    QFETCH(bool, addedBefore);
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(QString, recorded);
    QCOMPARE(install(), 0);
    const std::u16string file = u16(path.replace("<dir>", m_files.path()));
    const std::u16string target = u16(destination);
    if (addedBefore)
        QCOMPARE(::addReportFile(u16(m_files.filePath("a.log")).c_str(), nullptr, nullptr, 1), 0);

    QCOMPARE(::addReportFile(path.isNull() ? nullptr : file.c_str(), destination.isNull() ? nullptr : target.c_str(),
                             u"Description", flags),
             code);
    QCOMPARE(lastError(), text);

    const std::vector<unsigned char> block = liveBlock();
    HandOverReader reader;
    QVERIFY2(reader.read(block.data(), block.size()), reader.error().c_str());
    QCOMPARE(reader.files().size(), size_t(addedBefore + (code == 0)));
    if (code != 0)
        return;
    const HandOverReader::File& added = reader.files().back();
    QCOMPARE(fromU16(added.source), path);
    QCOMPARE(fromU16(added.destination), recorded);
    QCOMPARE(fromU16(added.description), QStringLiteral("Description"));
    QCOMPARE(added.makeCopy, (flags & 1) != 0);
    QCOMPARE(added.mayDelete, (flags & 4) != 0);
}

void TestCrashReporterApi::refusedItemChangesNothing()
{
    QCOMPARE(install(), 0);
    QCOMPARE(addReportProperty(u"kept", u"1"), 0);
    const std::vector<unsigned char> before = liveBlock();
    const std::u16string huge(32765, u'x');
    QCOMPARE(addReportProperty(u"huge", huge.c_str()), 2);
    QCOMPARE(::addReportFile(u16(m_files.filePath("a.log")).c_str(), huge.c_str(), nullptr, 0), 2);
    QCOMPARE(lastError(), QStringLiteral("The crash report has no room for this item."));
    QVERIFY(liveBlock() == before);

    // The tables did not take the refused items either.
    QCOMPARE(::addReportFile(u16(m_files.filePath("a.log")).c_str(), huge.substr(0, 100).c_str(), nullptr, 0), 0);
    QCOMPARE(CCrashHandler::instance()->settings().appName, std::u16string(u"Tester"));
    const std::vector<unsigned char> after = liveBlock();
    HandOverReader reader;
    QVERIFY2(reader.read(after.data(), after.size()), reader.error().c_str());
    QCOMPARE(reader.properties().size(), size_t(1));
    QCOMPARE(reader.files().size(), size_t(1));
}

void TestCrashReporterApi::badQualityKeepsTheHeader()
{
    QCOMPARE(install(), 0);
    QCOMPARE(addReportScreenshot(8, 75), 0);
    const auto screenshot = [] {
        const std::vector<unsigned char> block = liveBlock();
        return QList<uint32_t>{readU32(block.data() + ScreenshotWanted), readU32(block.data() + ScreenshotFlags),
                               readU32(block.data() + JpegQuality)};
    };
    QCOMPARE(screenshot(), (QList<uint32_t>{1, 8, 75}));
    QCOMPARE(addReportScreenshot(0, 101), 1);
    QCOMPARE(addReportScreenshot(0, -5), 1);
    QCOMPARE(screenshot(), (QList<uint32_t>{1, 8, 75}));
}

void TestCrashReporterApi::shortBuffer()
{
    int copied = 0;
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    std::thread([&] { copied = lastCrashReporterError(buffer, 4); }).join();
    QCOMPARE(copied, 3);
    QCOMPARE(QString::fromUtf16(buffer), QStringLiteral("No "));

    char16_t exact[10];
    std::thread([&] { copied = lastCrashReporterError(exact, 10); }).join();
    QCOMPARE(copied, 9);
    QCOMPARE(QString::fromUtf16(exact), QStringLiteral("No error."));
}

void TestCrashReporterApi::threadsKeepTheirTexts()
{
    std::promise<void> firstSet;
    std::promise<void> secondSet;
    QString first;
    QString second;
    std::thread a([&] {
        setLastCrashReporterError(u"alpha");
        firstSet.set_value();
        secondSet.get_future().wait();
        first = lastError();
    });
    std::thread b([&] {
        firstSet.get_future().wait();
        addReportProperty(u"x", u"y");
        second = lastError();
        secondSet.set_value();
    });
    a.join();
    b.join();
    QCOMPARE(first, QStringLiteral("alpha"));
    QCOMPARE(second, QStringLiteral("Crash handler wasn't previously installed for current process."));
}

void TestCrashReporterApi::secondThreadEntry()
{
    QCOMPARE(install(), 0);
    CCrashHandler* handler = CCrashHandler::instance();
    QCOMPARE(handler->setThreadHandlers(0x20), 1);
    QCOMPARE(lastError(), QStringLiteral("Can't install handlers for current thread twice."));
    QList<int> results;
    QString text;
    std::thread([&] {
        results << handler->setThreadHandlers(0x20) << handler->setThreadHandlers(0x20)
                << handler->unsetThreadHandlers() << handler->unsetThreadHandlers();
        text = lastError();
    }).join();
    QCOMPARE(results, (QList<int>{0, 1, 0, 1}));
    QCOMPARE(text, QStringLiteral("Crash handler wasn't previously installed for current thread."));
}

void TestCrashReporterApi::uninstallFromAnotherThread()
{
    QCOMPARE(install(), 0);
    const CCrashHandler* handler = CCrashHandler::instance();
    int result = 0;
    QString text;
    std::thread([&] {
        result = uninstallCrashReporter();
        text = lastError();
    }).join();
    QCOMPARE(result, 2);
    QCOMPARE(text, QStringLiteral("Crash handler wasn't previously installed for current thread."));
    QCOMPARE(CCrashHandler::instance(), handler);
    QVERIFY(handler->isInitialized());
    QCOMPARE(addReportProperty(u"still", u"installed"), 0);
}

void TestCrashReporterApi::uninstallRemovesBlockAndEvent()
{
    QCOMPARE(install(), 0);
    const std::u16string id = CCrashHandler::instance()->crashId();
    QVERIFY(blockExists(id));
    QVERIFY(eventExists(id));
    QCOMPARE(uninstallCrashReporter(), 0);
    QVERIFY(!CCrashHandler::instance());
    QVERIFY(!blockExists(id));
    QVERIFY(!eventExists(id));
    QCOMPARE(lastError(), QStringLiteral("No error."));
    QCOMPARE(addReportProperty(u"late", u"1"), 1);
}

// A block that cannot be sized leaves no handler behind.
void TestCrashReporterApi::sharedMemoryFailure()
{
    rlimit old;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = install();
    const QString text = lastError();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(result, 4);
    QCOMPARE(text, QStringLiteral("Couldn't initialize shared memory."));
    QVERIFY(!CCrashHandler::instance());
    QCOMPARE(addReportProperty(u"name", u"value"), 1);
    QCOMPARE(install(), 0);
}

QTEST_GUILESS_MAIN(TestCrashReporterApi)
#include "tst_crashreporterapi.moc"
