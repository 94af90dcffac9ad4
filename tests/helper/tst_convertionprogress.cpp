#include <QtTest>

#include "helper/ConvertionProgress.h"
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"

#include <iostream>
#include <memory>
#include <sstream>

class TestConvertionProgress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void progressLineText();
    void estimate_data();
    void estimate();
    void firstStepMeasuresFromReset();
    void stepBeforeResetEstimatesZero();
    void resetClearsCounters();
    void controlValues_data();
    void controlValues();
    void totalsAreWritten();
    void hostileSessionIdTouchesNothing();
    void secondProcessSteersTheJob();
    void childSession();

private:
    std::unique_ptr<QTemporaryDir> m_root;
};

namespace {

const char* const kChildSession = "TY_TEST_CHILD_SESSION";

bool isChild()
{
    return qEnvironmentVariableIsSet(kChildSession);
}

// Collects what is written to std::cout while it lives.
class CoutCapture
{
public:
    CoutCapture() : m_old(std::cout.rdbuf(m_text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(m_old); }
    QString text() const { return QString::fromStdString(m_text.str()); }

private:
    std::ostringstream m_text;
    std::streambuf* m_old;
};

// Parses "value: <done>, total: <total>, remtime:<ms>\n"; false for any other text.
bool parseLine(const QString& line, qint64* done, qint64* total, qint64* remaining)
{
    static const QRegularExpression form(QStringLiteral("^value: (\\d+), total: (\\d+), remtime:(-?\\d+)\n$"));
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return false;
    *done = m.captured(1).toLongLong();
    *total = m.captured(2).toLongLong();
    *remaining = m.captured(3).toLongLong();
    return true;
}

QString nextLine(QProcess& process)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return QString();
    }
    return QString::fromUtf8(process.readLine());
}

} // namespace

void TestConvertionProgress::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Slide App"));
}

void TestConvertionProgress::init()
{
    // The child works in the folders its parent gave it.
    if (isChild())
        return;
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    qputenv("XDG_CONFIG_HOME", m_root->filePath("config").toLocal8Bit());
}

void TestConvertionProgress::progressLineText()
{
    ConvertionProgress progress("s1");
    CoutCapture out;
    progress.reset();
    progress.setTotal(3);
    progress.setValue(2);
    progress.setTotal(6000000000LL);
    progress.setValue(5000000000LL);
    progress.addSubSteps(2);
    QCOMPARE(out.text(), QStringLiteral("value: 2, total: 3, remtime:0\n"
                                        "value: 5000000000, total: 6000000000, remtime:0\n"
                                        "value: 5000000000, total: 6000000000, remtime:0\n"));
}

void TestConvertionProgress::estimate_data()
{
    QTest::addColumn<qint64>("accumulated");
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("remaining");
    QTest::newRow("nothing yet") << qint64(0) << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("done 0") << qint64(500) << qint64(0) << qint64(10) << qint64(0);
    QTest::newRow("total 0") << qint64(500) << qint64(1) << qint64(0) << qint64(0);
    QTest::newRow("all done") << qint64(500) << qint64(10) << qint64(10) << qint64(0);
    QTest::newRow("done above total") << qint64(500) << qint64(12) << qint64(10) << qint64(0);
    QTest::newRow("mean times left") << qint64(1000) << qint64(4) << qint64(10) << qint64(1500);
    QTest::newRow("truncated") << qint64(10) << qint64(3) << qint64(4) << qint64(3);
    QTest::newRow("64-bit") << qint64(3000000) << qint64(3000000000LL) << qint64(6000000000LL)
                            << qint64(3000000);
}

void TestConvertionProgress::estimate()
{
    QFETCH(qint64, accumulated);
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(qint64, remaining);
    QCOMPARE(ConvertionProgress::estimateRemaining(accumulated, done, total), remaining);
}

void TestConvertionProgress::firstStepMeasuresFromReset()
{
    ConvertionProgress progress("s1");
    CoutCapture out;
    progress.reset();
    QThread::msleep(300);
    QElapsedTimer sinceReset;
    sinceReset.start();
    progress.reset();
    progress.setTotal(3);
    QThread::msleep(40);
    progress.step();
    const qint64 elapsed = sinceReset.elapsed();
    qint64 done = 0, total = 0, remaining = 0;
    QVERIFY2(parseLine(out.text(), &done, &total, &remaining), qPrintable(out.text()));
    QCOMPARE(done, qint64(1));
    QCOMPARE(total, qint64(3));
    // Two steps left at the time the first took since the reset (40 ms or more), not counting
    // the 300 ms before it; a busy machine only makes that time longer.
    QVERIFY2(remaining >= 80 && remaining <= 2 * elapsed + 2,
             qPrintable(QStringLiteral("%1 after %2 ms").arg(remaining).arg(elapsed)));
}

void TestConvertionProgress::stepBeforeResetEstimatesZero()
{
    ConvertionProgress progress("s1");
    CoutCapture out;
    progress.setTotal(4);
    progress.step();
    QCOMPARE(out.text(), QStringLiteral("value: 1, total: 4, remtime:0\n"));
}

void TestConvertionProgress::resetClearsCounters()
{
    ConvertionProgress progress("s1");
    CoutCapture out;
    progress.reset();
    progress.setTotal(100);
    QThread::msleep(20);
    progress.step();
    progress.step();
    progress.reset();
    progress.step();
    QVERIFY(out.text().endsWith(QStringLiteral("\nvalue: 1, total: 0, remtime:0\n")));
}

void TestConvertionProgress::controlValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("expected");
    for (const QString& name : {SessionKey::isPaused, SessionKey::isCanceled}) {
        const QByteArray key = name.toLatin1();
        QTest::addRow("%s no key", key.data()) << name << QByteArray() << false;
        QTest::addRow("%s missing", key.data()) << name << QByteArray("[General]\nother=1\n") << false;
        QTest::addRow("%s 0", key.data()) << name << "[General]\n" + key + "=0\n" << false;
        QTest::addRow("%s 1", key.data()) << name << "[General]\n" + key + "=1\n" << true;
        QTest::addRow("%s 2", key.data()) << name << "[General]\n" + key + "=2\n" << false;
        QTest::addRow("%s -1", key.data()) << name << "[General]\n" + key + "=-1\n" << false;
        QTest::addRow("%s 2^32+1", key.data()) << name << "[General]\n" + key + "=4294967297\n" << false;
        QTest::addRow("%s text", key.data()) << name << "[General]\n" + key + "=true\n" << false;
    }
}

void TestConvertionProgress::controlValues()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, expected);
    const RegistryKey key(SessionKey::of("s1"));
    if (!content.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(key.filePath()).path()));
        QFile file(key.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ConvertionProgress progress("s1");
    const bool paused = progress.isPaused();
    const bool canceled = progress.isCanceled();
    QCOMPARE(name == SessionKey::isPaused ? paused : canceled, expected);
    QCOMPARE(name == SessionKey::isPaused ? canceled : paused, false);
}

void TestConvertionProgress::totalsAreWritten()
{
    ConvertionProgress progress("s1");
    progress.setTotal(6000000000LL);
    progress.setTotalPages(4);
    const RegistryKey key(SessionKey::of("s1"));
    QCOMPARE(key.intValue(SessionKey::totalTask), qint64(6000000000LL));
    QCOMPARE(key.intValue(SessionKey::totalPage), qint64(4));
}

void TestConvertionProgress::hostileSessionIdTouchesNothing()
{
    for (const QString& id : {QString(), QStringLiteral(".."), QStringLiteral("../../x"),
                              QStringLiteral("..\\..\\x")}) {
        ConvertionProgress progress(id);
        progress.setTotal(5);
        progress.setTotalPages(2);
        QVERIFY(!progress.isCanceled());
        QVERIFY(!progress.isPaused());
    }
    QDirIterator it(m_root->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QVERIFY2(!it.hasNext(), qPrintable(it.next()));
}

// A second process runs a job: it reports a line for every change of "is_paused" it sees
// and stops on "is_canceled". Each line must arrive while the child still runs.
void TestConvertionProgress::secondProcessSteersTheJob()
{
    const QString id = QStringLiteral("child1");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildSession, id);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"childSession", "-o", m_root->filePath("child.log") + ",txt"});
    QVERIFY(child.waitForStarted());
    child.closeWriteChannel();

    RegistryKey key(SessionKey::of(id));
    qint64 done = 0, total = 0, remaining = 0;
    const QString first = nextLine(child);
    QVERIFY2(parseLine(first, &done, &total, &remaining), qPrintable(first));
    QCOMPARE(done, qint64(1));
    QCOMPARE(total, qint64(1000));
    QCOMPARE(key.intValue(SessionKey::totalTask), qint64(1000));

    // 1 and 2 make files of the same size; only 1 pauses.
    for (int i = 1; i <= 20; ++i) {
        QThread::msleep(10);
        QVERIFY(key.setIntValue(SessionKey::isPaused, i % 2 ? 1 : 2));
        const QString line = nextLine(child);
        QVERIFY2(parseLine(line, &done, &total, &remaining), qPrintable(line));
        QCOMPARE(done, qint64(i + 1));
    }
    QThread::msleep(10);
    QVERIFY(key.setIntValue(SessionKey::isCanceled, 1));
    const QString last = nextLine(child);
    QVERIFY2(parseLine(last, &done, &total, &remaining), qPrintable(last));
    QCOMPARE(done, qint64(22));
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAll(), QByteArray());
}

void TestConvertionProgress::childSession()
{
    if (!isChild())
        QSKIP("Runs in the child process of secondProcessSteersTheJob");
    ConvertionProgress progress(qEnvironmentVariable(kChildSession));
    progress.reset();
    progress.setTotal(1000);
    progress.step();
    bool paused = false;
    QElapsedTimer deadline;
    deadline.start();
    while (!progress.isCanceled()) {
        QVERIFY(deadline.elapsed() < 30000);
        if (progress.isPaused() != paused) {
            paused = !paused;
            progress.step();
        }
        QThread::msleep(1);
    }
    progress.step();
}

QTEST_GUILESS_MAIN(TestConvertionProgress)
#include "tst_convertionprogress.moc"
