// The whole program closed by its window while a job runs: a child process runs ty_slideshow's
// main over the autosaved project with the stand-in helper, starts a composition or an audio
// import, and closes the main window once the stand-in runs; the program must end at once and
// leave no process behind.

#include "support/AppTestSupport.h"
#include "support/AudioFixture.h"
#include "support/MainWindowFixture.h"
#include "support/MainWindowWatch.h"
#include "support/ScratchProfile.h"

#include "app/Application.h"
#include "app/CSystemTools.h"
#include "app/SlideshowMain.h"
#include "app/audio/AudioFilesController.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "pages/ProjectPage.h"
#include "pages/VideoPlayerWidget.h"
#include "platform/ToolPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <memory>

namespace {

const char kChildVariable[] = "TY_CLOSE_PROGRAM_CHILD";
const char kSongVariable[] = "TY_CLOSE_PROGRAM_SONG";
const char kFolderVariable[] = "TY_CLOSE_PROGRAM_FOLDER";
const QString kFakeHelper = QStringLiteral(TY_BIN_DIR "/ty_fake_helper");
constexpr int kWaitMs = 30000;

// "compose", "import" or "none".
void startJob(const QString& job, ProjectPage* page)
{
    if (job == QLatin1String("compose"))
        page->compose();
    else if (job == QLatin1String("import"))
        page->previewPanel()->audioFiles()->importFiles({qEnvironmentVariable(kSongVariable)}, -1);
}

// In the child, once the autosaved project is open and the start screen is gone: starts the job,
// then closes the window as soon as the stand-in has noted its process (at once without a job),
// and tells how long the close took.
void startJobThenClose(Application* app, const QString& job, const FakeHelper& helper)
{
    MainWindow* window = MainWindowWatch::mainWindow();
    auto* poll = new QTimer(window);
    bool started = false;
    QObject::connect(poll, &QTimer::timeout, window, [=]() mutable {
        // The start screen hands over to the window in a loop of its own until it goes.
        if (app->startScreen())
            return;
        if (!started) {
            started = true;
            // The import waits for its converter in a loop of its own, from which this timer goes on.
            QTimer::singleShot(0, window, [job, window] { startJob(job, window->projectPage()); });
            return;
        }
        if (job != QLatin1String("none") && helper.recordedPid(QStringLiteral("pid")) <= 0)
            return;
        poll->stop();
        QElapsedTimer closing;
        closing.start();
        window->close();
        std::printf("closed in %lld ms\n", closing.elapsed());
        std::fflush(stdout);
    });
    poll->start(20);
}

int runChild(int argc, char** argv)
{
    const QString job = qEnvironmentVariable(kChildVariable);
    const FakeHelper helper(qEnvironmentVariable(kFolderVariable));
    return runSlideshow(argc, argv, [job, helper](Application& app) {
        ToolPaths::setHelper(kFakeHelper);
        // After the window has opened the autosaved project.
        QObject::connect(app.systemTools(), &CSystemTools::mainWindowShowedFirstTimeInCurrentSession, &app,
                         [&app, job, helper] { startJobThenClose(&app, job, helper); });
    });
}

} // namespace

class TestCloseProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void closeMidJobEndsAtOnce_data();
    void closeMidJobEndsAtOnce();

private:
    std::unique_ptr<ScratchProfile> m_profile;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCloseProgram::init()
{
    QVERIFY2(QFileInfo(kFakeHelper).isExecutable(), "the stand-in helper is needed");
    // The program's own folders, as it names them; no update check from a test.
    m_profile = std::make_unique<ScratchProfile>();
    QVERIFY(m_profile->isValid());
    QVERIFY(m_profile->turnOffUpdateCheck());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCloseProgram::cleanup()
{
    m_dir.reset();
    m_profile.reset();
}

void TestCloseProgram::closeMidJobEndsAtOnce_data()
{
    QTest::addColumn<QString>("job");
    QTest::addColumn<QJsonObject>("script");
    QTest::newRow("composition") << "compose"
                                 << QJsonObject{{"waitCancel", true}, {"ignoreCancel", true}, {"grandchild", true}};
    QTest::newRow("audio import") << "import" << QJsonObject{{"waitCancel", true}};
    QTest::newRow("nothing running") << "none" << QJsonObject{};
}

void TestCloseProgram::closeMidJobEndsAtOnce()
{
    QFETCH(QString, job);
    QFETCH(QJsonObject, script);
    QVERIFY(photoProject({writeImage(m_dir->filePath(QStringLiteral("a.jpg"))),
                          writeImage(m_dir->filePath(QStringLiteral("b.jpg")))})
                ->saveAsLatest());
    const QStringList latest = QDir(AppPaths::latestDir()).entryList(QDir::Files);
    const FakeHelper helper(m_dir->path());
    QVERIFY(helper.setScript(script));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(kChildVariable, job);
    environment.insert(kFolderVariable, m_dir->path());
    if (job == QLatin1String("import")) {
        const QString song = m_dir->filePath(QStringLiteral("song.wav"));
        QVERIFY(AudioFixture::makeTone(song, 0.5));
        environment.insert(kSongVariable, song);
        // The stand-in takes the place of ffmpeg.
        const QString programs = m_dir->filePath(QStringLiteral("programs"));
        QVERIFY(QDir().mkpath(programs) && QFile::link(kFakeHelper, programs + QStringLiteral("/ffmpeg")));
        environment.insert(QStringLiteral("PATH"), programs + ':' + environment.value(QStringLiteral("PATH")));
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(program.waitForStarted(kWaitMs));
    QByteArray output;
    while (!output.contains("closed in") && program.waitForReadyRead(kWaitMs))
        output += program.readAllStandardOutput();
    QElapsedTimer sinceClose;
    sinceClose.start();
    const bool ended = program.waitForFinished(kWaitMs);
    const qint64 endMs = sinceClose.elapsed();
    output += program.readAllStandardOutput();
    if (!ended)
        program.kill();
    QVERIFY2(ended, output.constData());
    qInfo("%s: %s; the program ended %lld ms after", qPrintable(job), output.trimmed().constData(), endMs);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    // The stand-in and, for the helper, every process of its group are gone.
    const pid_t started = helper.recordedPid(QStringLiteral("pid"));
    QCOMPARE(started > 0, job != QLatin1String("none"));
    if (started > 0) {
        QVERIFY(Processes::isGone(started));
        QTRY_VERIFY_WITH_TIMEOUT(Processes::inGroup(started).isEmpty(), kWaitMs);
    }
    // The project as it stood; a composition gave it its output file.
    const QStringList saved = QDir(AppPaths::latestDir()).entryList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    if (job != QLatin1String("compose"))
        QCOMPARE(saved, latest);
    std::unique_ptr<ProjectFile> reopened(ProjectFile::load(QDir(AppPaths::latestDir()).filePath(saved.first())));
    QVERIFY(reopened);
    QCOMPARE(reopened->itemCount(), 3);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestCloseProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_closeprogram.moc"
