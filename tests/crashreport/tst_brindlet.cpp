#include <QtTest>

#include "crashreport/CCrashHandler.h"
#include "crashreport/CrashNames.h"
#include "crashreport/CrashReporterApi.h"
#include "crashreport/HandOverBlock.h"
#include "crashreport/HandOverFormat.h"
#include "crashreport/HandOverReader.h"
#include "crashreport/SharedMemoryBlock.h"
#include "support/CrashTestSupport.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <semaphore.h>

using namespace HandOver;

using Corruption = std::function<void(unsigned char*)>;
Q_DECLARE_METATYPE(Corruption)

class TestBrindlet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void takesTheBlockOver();
    void switchKeepsTheEventUnset();
    void corruptBlockEndsIt_data();
    void corruptBlockEndsIt();

private:
    static int runSender(const QStringList& arguments, const QProcessEnvironment& environment = {});
    void installWithFiles();
    QString reportPath() const;

    QTemporaryDir m_data;
    QTemporaryDir m_files;
};

void TestBrindlet::initTestCase()
{
    QVERIFY(m_data.isValid());
    QVERIFY(m_files.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    const std::pair<const char*, const char*> files[] = {{"notes.txt", "hello"}, {"other.txt", "stays"},
                                                         {"secret", "inside"}};
    for (const auto& file : files) {
        QFile f(m_files.filePath(file.first));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file.second);
    }
}

void TestBrindlet::cleanup()
{
    if (CCrashHandler::instance())
        QCOMPARE(uninstallCrashReporter(), 0);
}

int TestBrindlet::runSender(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess sender;
    if (!environment.isEmpty())
        sender.setProcessEnvironment(environment);
    sender.start(QStringLiteral(BRINDLET_DIR "/Brindlet"), arguments);
    if (!sender.waitForFinished(60000) || sender.exitStatus() != QProcess::NormalExit)
        return -1;
    return sender.exitCode();
}

void TestBrindlet::installWithFiles()
{
    TestInstall record;
    QCOMPARE(installCrashReporter(&record.info), 0);
    QCOMPARE(addReportProperty(u"m_id", u"42"), 0);
    QCOMPARE(addReportProperty(u"quoted", u"a\"b\\c\nd"), 0);
    QCOMPARE(addReportFile(u16(m_files.filePath("notes.txt")).c_str(), nullptr, u"Notes", CrashFileMakeCopy), 0);
    QCOMPARE(addReportFile(u16(m_files.filePath("other.txt")).c_str(), nullptr, nullptr, 0), 0);
    QCOMPARE(addReportFile(u16(m_files.filePath("secret")).c_str(), u"../../evil.txt", nullptr, CrashFileMakeCopy), 0);
    QCOMPARE(addReportScreenshot(8, 75), 0);
}

QString TestBrindlet::reportPath() const
{
    const CCrashHandler* handler = CCrashHandler::instance();
    return fromU16(handler->settings().reportFolder + u"/" + handler->crashId());
}

static QJsonValue expectedValue(const HandOverReader& reader, const HeaderField& field)
{
    const uint32_t number = reader.number(field.offset);
    if (field.kind == FieldKind::Text) {
        const auto text = reader.text(field.offset);
        return text ? QJsonValue(fromU16(*text)) : QJsonValue();
    }
    return field.kind == FieldKind::Signed ? QJsonValue(int32_t(number)) : QJsonValue(qint64(number));
}

void TestBrindlet::takesTheBlockOver()
{
    installWithFiles();
    const std::u16string id = CCrashHandler::instance()->crashId();
    sem_t* event = ::sem_open(crashEventName(id).c_str(), 0);
    QVERIFY(event != SEM_FAILED);
    QCOMPARE(runSender({fromU16(id)}), 0);
    timespec deadline;
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += 30;
    const int waited = ::sem_timedwait(event, &deadline);
    ::sem_close(event);
    QCOMPARE(waited, 0);

    QFile file(reportPath() + "/description.json");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonObject description = QJsonDocument::fromJson(file.readAll(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    SharedMemoryBlock block;
    QVERIFY(block.create(id, true, 0, 0));
    HandOverReader reader;
    QVERIFY(reader.read(static_cast<const unsigned char*>(block.mapView(0, block.size())), block.size()));
    const QJsonObject header = description["header"].toObject();
    QCOMPARE(header.size(), int(std::size(kHeaderFields)));
    for (const HeaderField& field : kHeaderFields)
        QVERIFY2(header[field.name] == expectedValue(reader, field), field.name);
    QCOMPARE(header["crash_happened"].toInt(), 0);
    QCOMPARE(header["app_name"].toString(), QStringLiteral("Tester"));
    QCOMPARE(header["priority_2"].toInt(), 0);
    QCOMPARE(header["jpeg_quality"].toInt(), 75);

    const QJsonArray properties = description["properties"].toArray();
    QCOMPARE(properties.size(), 2);
    QCOMPARE(properties[0]["name"].toString(), QStringLiteral("m_id"));
    QCOMPARE(properties[0]["value"].toString(), QStringLiteral("42"));
    QCOMPARE(properties[1]["value"].toString(), QStringLiteral("a\"b\\c\nd"));
    const QJsonArray files = description["files"].toArray();
    QCOMPARE(files.size(), 3);
    QCOMPARE(files[0]["source"].toString(), m_files.filePath("notes.txt"));
    QCOMPARE(files[0]["destination"].toString(), QStringLiteral("notes.txt"));
    QCOMPARE(files[0]["description"].toString(), QStringLiteral("Notes"));
    QCOMPARE(files[0]["make_copy"].toBool(), true);
    QCOMPARE(files[1]["make_copy"].toBool(), false);
    QCOMPARE(files[2]["source"].toString(), m_files.filePath("secret"));
    QCOMPARE(files[2]["destination"].toString(), QStringLiteral("../../evil.txt"));
    QCOMPARE(description["registry_keys"].toArray().size(), 0);

    QDir report(reportPath());
    QCOMPARE(report.entryList(QDir::Files, QDir::Name),
             (QStringList{"description.json", "evil.txt", "notes.txt"}));
    QFile copy(report.filePath("notes.txt"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("hello"));
    QVERIFY(!QFile::exists(report.filePath("../evil.txt")));
}

void TestBrindlet::switchKeepsTheEventUnset()
{
    installWithFiles();
    const std::u16string id = CCrashHandler::instance()->crashId();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("BRINDLET_NO_POST", "1");
    QCOMPARE(runSender({fromU16(id)}, environment), 0);
    sem_t* event = ::sem_open(crashEventName(id).c_str(), 0);
    QVERIFY(event != SEM_FAILED);
    const int taken = ::sem_trywait(event);
    const int error = errno;
    ::sem_close(event);
    QCOMPARE(taken, -1);
    QCOMPARE(error, EAGAIN);
    QVERIFY(QFile::exists(reportPath() + "/description.json"));
}

void TestBrindlet::corruptBlockEndsIt_data()
{
    QTest::addColumn<uint>("size");
    QTest::addColumn<Corruption>("corrupt");
    const auto set32 = [](uint32_t offset, uint32_t value) {
        return Corruption([=](unsigned char* b) { writeU32(b + offset, value); });
    };
    QTest::newRow("no block") << 0u << Corruption();
    QTest::newRow("smaller than a header") << 100u << Corruption();
    QTest::newRow("zeros") << 4096u << Corruption([](unsigned char* b) { std::memset(b, 0, 4096); });
    QTest::newRow("bytes in use past the mapping") << 4096u << set32(BytesInUse, 8192);
    QTest::newRow("item size zero") << 4096u << Corruption([](unsigned char* b) { writeU16(b + 224, 0); });
    QTest::newRow("identifier absent") << 4096u << set32(CrashId, 0);
    QTest::newRow("counter") << 4096u << set32(PropertyCount, 7);
    QTest::newRow("relative report folder") << 4096u << Corruption([](unsigned char* b) {
        writeU16(b + readU32(b + ReportFolder) + kStringFixedSize, u'x');
    });
}

void TestBrindlet::corruptBlockEndsIt()
{
    QFETCH(uint, size);
    QFETCH(Corruption, corrupt);
    const std::u16string name = u16(QUuid::createUuid().toString(QUuid::WithoutBraces));
    const QString reportFolder = m_files.filePath("corrupt");
    SharedMemoryBlock block;
    if (size) {
        QVERIFY(block.create(name, false, size, 0));
        auto* base = static_cast<unsigned char*>(block.mapView(0, size));
        CrashSettings settings;
        settings.reportFolder = u16(reportFolder);
        if (size >= kHeaderSize)
            HandOverBlock().fill(base, size, settings, ReportContents(), name, false);
        if (corrupt)
            corrupt(base);
    }
    const int code = runSender({fromU16(name)});
    QVERIFY(code > 0);
    QVERIFY(!QFile::exists(reportFolder));
}

QTEST_GUILESS_MAIN(TestBrindlet)
#include "tst_brindlet.moc"
