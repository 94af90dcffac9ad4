#include <QtTest>

#include "app/Composer.h"
#include "app/ProgressReader.h"
#include "model/AppPaths.h"
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"
#include "platform/ToolPaths.h"
#include "support/AppTestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <memory>

using Signals = QList<QPair<int, qlonglong>>;
Q_DECLARE_METATYPE(Signals)

namespace {

const QString kAppName = QStringLiteral("Kestrova Slideshow Maker");
const QString kFakeHelper = QStringLiteral(TY_BIN_DIR "/ty_fake_helper");
constexpr int kWaitMs = 20000;

Signals progressOf(const QSignalSpy& spy)
{
    Signals list;
    for (const QList<QVariant>& call : spy)
        list.append({call[0].toInt(), call[1].toLongLong()});
    return list;
}

QJsonObject colourSlide(int time_ms)
{
    return {{"type", "colored"}, {"bg_index", 5}, {"time_ms", time_ms}, {"transition", 0}};
}

} // namespace

// The composer drives a stand-in helper that follows a script, and once the real one.
class TestComposer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void progressLines_data();
    void progressLines();
    void argumentsAndMergedChannels();
    void progressFromTheHelper();
    void pauseResumeAndCancel();
    void idleCallsDoNothing();
    void helperIgnoringCancelIsKilled();
    void outcome_data();
    void outcome();
    void helperThatCannotStart_data();
    void helperThatCannotStart();
    void secondRunStartsAfresh();
    void destructionEndsEverything();
    void realHelperMakesAVideo();

private:
    void setScript(const QJsonObject& script);
    // Runs the composer on a request and waits for the helper to start.
    void start(Composer& composer);

    std::unique_ptr<PrivateFolders> m_folders;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeHelper> m_helper;
    QString m_output;
    QString m_request;
};

void TestComposer::initTestCase()
{
    m_folders = std::make_unique<PrivateFolders>();
    QVERIFY(m_folders->isValid());
    QCoreApplication::setApplicationName(kAppName);
    QVERIFY2(QFileInfo(kFakeHelper).isExecutable(), "the stand-in helper is needed");
    qRegisterMetaType<QProcess::ExitStatus>();
}

void TestComposer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_helper = std::make_unique<FakeHelper>(m_dir->path());
    m_output = m_dir->filePath("out.mp4");
    m_request = m_dir->filePath("request.json");
    ToolPaths::setHelper(kFakeHelper);
}

void TestComposer::cleanup()
{
    ToolPaths::setHelper(QString());
    m_dir.reset();
}

void TestComposer::setScript(const QJsonObject& script)
{
    QVERIFY(m_helper->setScript(script));
}

void TestComposer::start(Composer& composer)
{
    QSignalSpy started(&composer, &Composer::started);
    composer.setOutputFile(m_output);
    composer.run(m_request);
    QVERIFY(started.count() == 1 || started.wait(kWaitMs));
    QVERIFY(composer.isRunning());
}

void TestComposer::progressLines_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<Signals>("expected");
    QTest::newRow("CRLF line") << QList<QByteArray>{"value: 3, total: 12, remtime:45000\r\n"}
                               << Signals{{25, 45000}};
    QTest::newRow("two lines, the last counts")
        << QList<QByteArray>{"value: 1, total: 4, remtime:900\nvalue: 2, total: 4, remtime:600\n"}
        << Signals{{50, 600}};
    QTest::newRow("truncated, not rounded") << QList<QByteArray>{"value: 1, total: 3, remtime:0\n"}
                                            << Signals{{33, 0}};
    QTest::newRow("total 0") << QList<QByteArray>{"value: 1, total: 0, remtime:5\n"} << Signals{};
    QTest::newRow("only line breaks") << QList<QByteArray>{"\n\r\n\n"} << Signals{};
    QTest::newRow("negative remaining") << QList<QByteArray>{"value: 1, total: 2, remtime:-300\n"}
                                        << Signals{{50, 0}};
    QTest::newRow("line over two pieces")
        << QList<QByteArray>{"value: 1, total: 2, rem", "time:123456\n"} << Signals{{50, 123456}};
    QTest::newRow("piece ends inside the next line")
        << QList<QByteArray>{"value: 1, total: 4, remtime:900\nvalue: 2, tot", "al: 4, remtime:600\n"}
        << Signals{{25, 900}, {50, 600}};
    QTest::newRow("blank line after the last") << QList<QByteArray>{"value: 3, total: 4, remtime:7\r\n\r\n"}
                                               << Signals{{75, 7}};
    QTest::newRow("other text") << QList<QByteArray>{"Encoding failed\n"} << Signals{};
    QTest::newRow("count past the total") << QList<QByteArray>{"value: 2147483647, total: 1, remtime:1\n"}
                                          << Signals{{100, 1}};
}

void TestComposer::progressLines()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(Signals, expected);
    ProgressReader reader;
    Signals seen;
    for (const QByteArray& piece : pieces) {
        if (const auto progress = reader.read(piece))
            seen.append({progress->percent, progress->remainingMs});
    }
    QCOMPARE(seen, expected);
}

void TestComposer::argumentsAndMergedChannels()
{
    // The first run clears the whole cache root.
    const QString leftOver = AppPaths::tempCacheDir() + "/old-session/file";
    QVERIFY(QDir().mkpath(QFileInfo(leftOver).path()));
    QVERIFY(QFile(leftOver).open(QIODevice::WriteOnly));

    setScript({{"stderr", true}, {"chunks", QJsonArray{"value: 1, total: 2, remtime:10\n"}},
               {"output", m_output}, {"content", "video"}});
    Composer composer;
    QSignalSpy started(&composer, &Composer::started);
    QSignalSpy progress(&composer, &Composer::progress);
    QSignalSpy finished(&composer, &Composer::finished);
    QCOMPARE(composer.sessionId(), QString());
    composer.setOutputFile(m_output);
    composer.run(m_request);
    QVERIFY(finished.count() == 1 || finished.wait(kWaitMs));

    QCOMPARE(started.count(), 1);
    QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(composer.sessionId()).hasMatch());
    const QString cache = AppPaths::tempCacheDir() + '/' + composer.sessionId();
    QCOMPARE(composer.sessionCacheDir(), cache);
    QCOMPARE(m_helper->recorded("argument"),
             (QStringList{"--request", m_request, "--cache", cache, "--session_id", composer.sessionId()}));
    // The helper leads a process group of its own.
    QCOMPARE(m_helper->recordedPid("group"), m_helper->recordedPid("pid"));
    // Standard error reaches the progress too.
    QCOMPARE(progressOf(progress), (Signals{{50, 10}}));
    QCOMPARE(finished.first().first().toString(), m_output);
    QVERIFY(!QFileInfo::exists(leftOver));
}

void TestComposer::progressFromTheHelper()
{
    setScript({{"chunks", QJsonArray{"value: 3, total: 12, remtime:45000\r\n", "value: 1, tot",
                                     "al: 3, remtime:1234\n"}},
               {"gapMs", 100}});
    Composer composer;
    QSignalSpy progress(&composer, &Composer::progress);
    QSignalSpy failed(&composer, &Composer::failed);
    composer.run(m_request);
    QVERIFY(failed.count() == 1 || failed.wait(kWaitMs));
    QCOMPARE(progressOf(progress), (Signals{{25, 45000}, {33, 1234}}));
}

void TestComposer::pauseResumeAndCancel()
{
    setScript({{"waitCancel", true}, {"output", m_output}, {"content", "video"}});
    Composer composer;
    QSignalSpy canceled(&composer, &Composer::canceled);
    QSignalSpy finished(&composer, &Composer::finished);
    QSignalSpy failed(&composer, &Composer::failed);
    start(composer);
    const RegistryKey session(SessionKey::of(composer.sessionId()));

    composer.pause();
    QCOMPARE(session.intValue(SessionKey::isPaused), 1);
    QVERIFY(composer.isRunning());
    composer.resume();
    QCOMPARE(session.intValue(SessionKey::isPaused), 0);

    composer.cancel();
    QCOMPARE(session.intValue(SessionKey::isCanceled), 1);
    QVERIFY(canceled.wait(kWaitMs));
    QCOMPARE(m_helper->recorded("canceled").size(), 1);
    // The helper wrote its output before it ended: a cancel still wins.
    QVERIFY(QFileInfo::exists(m_output));
    QCOMPARE(finished.count() + failed.count(), 0);

    // A run right after the cancel is not ended by the cancel's late kill.
    const QString canceledFolder = composer.sessionCacheDir();
    start(composer);
    QVERIFY(!composer.findChild<QTimer*>()->isActive());
    QVERIFY(!QFileInfo::exists(canceledFolder));
}

void TestComposer::idleCallsDoNothing()
{
    Composer composer;
    auto* killTimer = composer.findChild<QTimer*>();
    QVERIFY(killTimer);
    const QString sessions = RegistryKey(SessionKey::sessions()).filePath().chopped(5);
    composer.cancel();
    composer.pause();
    composer.resume();
    QVERIFY(!killTimer->isActive());
    QVERIFY(!QFileInfo::exists(sessions));

    // The same once a run has ended.
    setScript({});
    QSignalSpy failed(&composer, &Composer::failed);
    composer.run(m_request);
    QVERIFY(failed.count() == 1 || failed.wait(kWaitMs));
    QVERIFY(!composer.isRunning());
    composer.cancel();
    composer.pause();
    composer.resume();
    QVERIFY(!killTimer->isActive());
    QVERIFY(!QFileInfo::exists(RegistryKey(SessionKey::of(composer.sessionId())).filePath()));
}

void TestComposer::helperIgnoringCancelIsKilled()
{
    setScript({{"waitCancel", true}, {"ignoreCancel", true}, {"grandchild", true}});
    Composer composer;
    QSignalSpy canceled(&composer, &Composer::canceled);
    start(composer);
    QTRY_VERIFY_WITH_TIMEOUT(m_helper->recordedPid("grandchild") > 0, kWaitMs);
    const pid_t helper = m_helper->recordedPid("pid");
    const pid_t grandchild = m_helper->recordedPid("grandchild");
    QVERIFY(QFileInfo::exists(composer.sessionCacheDir()));

    QElapsedTimer sinceCancel;
    sinceCancel.start();
    composer.cancel();
    QVERIFY(canceled.wait(kWaitMs));
    QVERIFY2(sinceCancel.elapsed() >= 250, qPrintable(QString::number(sinceCancel.elapsed())));
    QCOMPARE(m_helper->recorded("canceled").size(), 1);
    QVERIFY(Processes::isGone(helper));
    QTRY_VERIFY_WITH_TIMEOUT(Processes::isGone(grandchild), kWaitMs);
    QVERIFY(!QFileInfo::exists(composer.sessionCacheDir()));
}

void TestComposer::outcome_data()
{
    QTest::addColumn<QString>("before"); // the output file before the run, none when null
    QTest::addColumn<QString>("written"); // what the helper writes, nothing when null
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("success");
    QTest::newRow("new output, 0") << QString() << "video" << 0 << true;
    QTest::newRow("rewritten output, 0") << "old" << "new video" << 0 << true;
    QTest::newRow("old output untouched, 0") << "old" << QString() << 0 << false;
    QTest::newRow("no output, 0") << QString() << QString() << 0 << false;
    QTest::newRow("new output, 255") << QString() << "video" << 255 << false;
    QTest::newRow("new output, 1") << QString() << "video" << 1 << false;
}

void TestComposer::outcome()
{
    QFETCH(QString, before);
    QFETCH(QString, written);
    QFETCH(int, exitCode);
    QFETCH(bool, success);
    if (!before.isNull()) {
        QFile file(m_output);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before.toUtf8());
    }
    QJsonObject script{{"exitCode", exitCode}};
    if (!written.isNull()) {
        script.insert("output", m_output);
        script.insert("content", written);
    }
    setScript(script);

    Composer composer;
    QSignalSpy finished(&composer, &Composer::finished);
    QSignalSpy failed(&composer, &Composer::failed);
    QSignalSpy canceled(&composer, &Composer::canceled);
    composer.setOutputFile(m_output);
    composer.run(m_request);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count() + failed.count(), 1, kWaitMs);
    QCOMPARE(finished.count(), success ? 1 : 0);
    if (!success)
        QCOMPARE(failed.first().first().toString(), QString("ERR_GENERATOR"));
    QCOMPARE(canceled.count(), 0);
}

void TestComposer::helperThatCannotStart_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << false;
    QTest::newRow("not executable") << true;
}

void TestComposer::helperThatCannotStart()
{
    QFETCH(bool, exists);
    const QString program = m_dir->filePath("ty_helper");
    if (exists)
        QVERIFY(QFile(program).open(QIODevice::WriteOnly));
    ToolPaths::setHelper(program);
    Composer composer;
    QSignalSpy started(&composer, &Composer::started);
    QSignalSpy failed(&composer, &Composer::failed);
    composer.run(m_request);
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWaitMs);
    QCoreApplication::processEvents();
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), QString("ERR_GENERATOR"));
    QCOMPARE(started.count(), 0);
    QVERIFY(!composer.isRunning());
}

void TestComposer::secondRunStartsAfresh()
{
    setScript({});
    Composer composer;
    QSignalSpy failed(&composer, &Composer::failed);
    composer.run(m_request);
    QVERIFY(failed.count() == 1 || failed.wait(kWaitMs));
    const QString firstId = composer.sessionId();
    const QString firstFolder = composer.sessionCacheDir();
    RegistryKey firstSession(SessionKey::of(firstId));
    QVERIFY(firstSession.setIntValue(SessionKey::totalTask, 5));
    QVERIFY(QFileInfo::exists(firstFolder));

    composer.run(m_request);
    QVERIFY(composer.sessionId() != firstId);
    QVERIFY(!QFileInfo::exists(firstFolder));
    QVERIFY(!QFileInfo::exists(firstSession.filePath()));
    QVERIFY(failed.count() == 2 || failed.wait(kWaitMs));
}

void TestComposer::destructionEndsEverything()
{
    RegistryKey other(SessionKey::of("other"));
    QVERIFY(other.setIntValue(SessionKey::isPaused, 1));
    setScript({{"waitCancel", true}, {"ignoreCancel", true}, {"grandchild", true}});
    auto composer = std::make_unique<Composer>();
    start(*composer);
    QTRY_VERIFY_WITH_TIMEOUT(m_helper->recordedPid("grandchild") > 0, kWaitMs);
    const QString folder = composer->sessionCacheDir();
    QVERIFY(QFileInfo::exists(folder));

    composer.reset();
    QVERIFY(Processes::isGone(m_helper->recordedPid("pid")));
    QTRY_VERIFY_WITH_TIMEOUT(Processes::isGone(m_helper->recordedPid("grandchild")), kWaitMs);
    QVERIFY(!QFileInfo::exists(folder));
    const QString sessions = RegistryKey(SessionKey::sessions()).filePath();
    QVERIFY(!QFileInfo::exists(sessions));
    QVERIFY(!QFileInfo::exists(sessions.chopped(5)));
    QVERIFY(!QFileInfo::exists(other.filePath()));
}

void TestComposer::realHelperMakesAVideo()
{
    const QString helper = QStringLiteral(TY_BIN_DIR "/ty_helper");
    QVERIFY2(QFileInfo(helper).isExecutable(), "ty_helper is needed");
    ToolPaths::setHelper(helper);
    const QString video = m_dir->filePath("show.webm");
    const QJsonObject request{{"resolution", "160x120"}, {"fps", 5}, {"format", "webm"},
                              {"file_name", video}, {"transition_time_ms", 500},
                              {"images", QJsonArray{colourSlide(1000), colourSlide(1000)}}};
    QFile file(m_request);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(request).toJson());
    file.close();

    Composer composer;
    QSignalSpy started(&composer, &Composer::started);
    QSignalSpy progress(&composer, &Composer::progress);
    QSignalSpy finished(&composer, &Composer::finished);
    QSignalSpy failed(&composer, &Composer::failed);
    composer.setOutputFile(video);
    composer.run(m_request);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count() + failed.count(), 1, 120000);
    QCOMPARE(started.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toString(), video);
    QVERIFY(QFileInfo(video).size() > 0);
    // Lines that come together count as their last, so there may be a single signal.
    const Signals seen = progressOf(progress);
    QVERIFY(!seen.isEmpty());
    for (int i = 1; i < seen.size(); ++i)
        QVERIFY(seen[i].first >= seen[i - 1].first);
    QCOMPARE(seen.last().first, 100);
}

QTEST_GUILESS_MAIN(TestComposer)
#include "tst_composer.moc"
