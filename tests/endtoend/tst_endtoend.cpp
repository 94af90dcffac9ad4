// ty_slideshow from its start to its end, twice in one new profile, each run played by the
// scripted user of ty_endtoend_driver: the first adds photos, a transition and music, composes
// with the real ty_helper and reopens the video's project from the history; the second finds
// the same project and window again. Here: the files they start from, and what each run must
// leave behind (the video, no helper process, no per-run folder).

#include "support/AppTestSupport.h"
#include "support/ScratchProfile.h"

#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <memory>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kDriver = QStringLiteral(TY_BIN_DIR "/ty_endtoend_driver");
const QString kSize = QStringLiteral("640x480");
constexpr int kFps = 15;
constexpr int kPhotos = 3;
constexpr int kRunLimitMs = 180000;

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString commandOf(pid_t pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll().trimmed()) : QString();
}

// The running processes below this one. Orphans of its children come back to it (it is their
// subreaper), so a helper left by a run that has ended is found here too.
QList<pid_t> liveDescendants()
{
    QList<pid_t> found;
    QList<pid_t> parents{::getpid()};
    while (!parents.isEmpty()) {
        const QList<pid_t> children = Processes::childrenOf(parents.takeFirst());
        found += children;
        parents += children;
    }
    return found;
}

// Each with its command, for a failure message.
QStringList describe(const QList<pid_t>& processes)
{
    QStringList lines;
    for (pid_t pid : processes)
        lines << QStringLiteral("%1 %2").arg(pid).arg(commandOf(pid));
    return lines;
}

// The streams of the video as ffprobe reads them.
QJsonArray probeStreams(const QString& file)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("stream=codec_type,width,height"), QStringLiteral("-of"), QStringLiteral("json"),
                 file});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return QJsonArray();
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object().value(QStringLiteral("streams")).toArray();
}

bool hasStream(const QJsonArray& streams, const QString& type, const QSize& size = QSize())
{
    for (const QJsonValue& value : streams) {
        const QJsonObject stream = value.toObject();
        if (stream.value(QStringLiteral("codec_type")).toString() != type)
            continue;
        const QSize streamSize(stream.value(QStringLiteral("width")).toInt(),
                               stream.value(QStringLiteral("height")).toInt());
        if (size.isEmpty() || streamSize == size)
            return true;
    }
    return false;
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstRunComposesAndKeepsTheProject();
    void secondRunFindsTheProjectAndWindow();
    void cleanupTestCase();

private:
    // Runs the driver to its end; its report, or an empty object when the run failed.
    QJsonObject runDriver(int run, const QStringList& arguments);
    void verifyLeftNothing(const QJsonObject& report);

    std::unique_ptr<ScratchProfile> m_profile;
    QString m_photos;
    QString m_music;
    QJsonObject m_first;
};

void EndToEndTest::initTestCase()
{
    // Helpers orphaned by a run are re-parented here, where liveDescendants() finds them.
    QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    m_profile.reset(new ScratchProfile);
    QVERIFY(m_profile->isValid());
    const QDir home(m_profile->root() + QStringLiteral("/HOME"));

    m_photos = home.filePath(QStringLiteral("Pictures/trip"));
    QVERIFY(QDir().mkpath(m_photos));
    const QColor colours[kPhotos] = {Qt::darkCyan, Qt::darkMagenta, Qt::darkYellow};
    for (int i = 0; i < kPhotos; ++i) {
        const QString photo = QDir(m_photos).filePath(QStringLiteral("photo-%1.jpg").arg(i + 1));
        QVERIFY(!writeImage(photo, QSize(96, 72), colours[i], "JPG").isEmpty());
    }

    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("Music"))));
    m_music = home.filePath(QStringLiteral("Music/tune.mp3"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-f"),
                  QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=frequency=440:duration=4"),
                  QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("libmp3lame"),
                  QStringLiteral("-b:a"), QStringLiteral("64k"), m_music});
    QVERIFY(ffmpeg.waitForFinished(30000));
    QCOMPARE(ffmpeg.exitCode(), 0);

    const QString videos = home.filePath(QStringLiteral("Videos"));
    QVERIFY(QDir().mkpath(videos));
    // No update check over the network; small and slow, so that composing takes seconds.
    QVERIFY(m_profile->turnOffUpdateCheck());
    QVERIFY(m_profile->writeSettings({{QStringLiteral("resolution"), kSize},
                                      {QStringLiteral("fps"), kFps},
                                      {QStringLiteral("defaultTime_ms"), 1000},
                                      {QStringLiteral("transitionTime_ms"), 500},
                                      {QStringLiteral("outFileFormat"), QStringLiteral("mp4")},
                                      {QStringLiteral("folder"), videos}}));
}

QJsonObject EndToEndTest::runDriver(int run, const QStringList& arguments)
{
    const QString report = m_profile->root() + QStringLiteral("/run-%1.json").arg(run);
    QProcess driver;
    driver.setProcessChannelMode(QProcess::MergedChannels);
    driver.start(kDriver, QStringList{QStringLiteral("--run"), QString::number(run)} + arguments
                              + QStringList{QStringLiteral("--report"), report});
    const bool ended = driver.waitForFinished(kRunLimitMs);
    if (!ended) {
        driver.kill();
        driver.waitForFinished(10000);
    }
    const QByteArray output = driver.readAll();
    if (!ended || driver.exitStatus() != QProcess::NormalExit || driver.exitCode() != 0) {
        qWarning("run %d ended with status %d:\n%s", run, driver.exitCode(), output.constData());
        return QJsonObject();
    }
    return readJson(report);
}

void EndToEndTest::verifyLeftNothing(const QJsonObject& report)
{
    QTRY_COMPARE_WITH_TIMEOUT(describe(liveDescendants()), QStringList(), 2000);
    const QString tempFolder = report.value(QStringLiteral("tempFolder")).toString();
    QVERIFY(!tempFolder.isEmpty());
    QVERIFY2(!QFileInfo::exists(tempFolder), qPrintable(tempFolder));
    // The composer's session folders are gone, or the whole root with them.
    const QDir cacheRoot(report.value(QStringLiteral("cacheRoot")).toString());
    QCOMPARE(cacheRoot.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void EndToEndTest::firstRunComposesAndKeepsTheProject()
{
    m_first = runDriver(1, {QStringLiteral("--photos"), m_photos, QStringLiteral("--music"), m_music});
    QVERIFY(!m_first.isEmpty());
    QCOMPARE(m_first.value(QStringLiteral("messages")).toArray(), QJsonArray());
    QCOMPARE(m_first.value(QStringLiteral("slides")).toArray().size(), kPhotos);
    QCOMPARE(m_first.value(QStringLiteral("music")).toArray(), QJsonArray{m_music});
    QCOMPARE(m_first.value(QStringLiteral("resolution")).toString(), kSize);
    QCOMPARE(m_first.value(QStringLiteral("fps")).toInt(), kFps);

    const QString video = m_first.value(QStringLiteral("composedFile")).toString();
    QVERIFY2(QFileInfo(video).size() > 0, qPrintable(video));
    QCOMPARE(m_first.value(QStringLiteral("history")).toArray(), QJsonArray{video});
    const QJsonArray streams = probeStreams(video);
    const QByteArray found = QJsonDocument(streams).toJson();
    QVERIFY2(hasStream(streams, QStringLiteral("video"), QSize(640, 480)), found.constData());
    QVERIFY2(hasStream(streams, QStringLiteral("audio")), found.constData());

    verifyLeftNothing(m_first);
    // The project opened from the history is what the next run reopens.
    const QDir latest(m_first.value(QStringLiteral("latestFolder")).toString());
    QCOMPARE(latest.entryList({QStringLiteral("*.json")}, QDir::Files).size(), 1);
}

void EndToEndTest::secondRunFindsTheProjectAndWindow()
{
    if (m_first.isEmpty())
        QSKIP("the first run failed");
    const QJsonObject second = runDriver(2, {});
    QVERIFY(!second.isEmpty());
    QCOMPARE(second.value(QStringLiteral("messages")).toArray(), QJsonArray());
    for (const char* fact :
         {"page", "slides", "slideRows", "transitions", "music", "projectMusic", "resolution", "fps", "geometry",
          "history"})
        QVERIFY2(second.value(QLatin1String(fact)) == m_first.value(QLatin1String(fact)), fact);
    verifyLeftNothing(second);
}

void EndToEndTest::cleanupTestCase()
{
    // What a failed run left behind ends with the test.
    for (pid_t pid : liveDescendants())
        ::kill(pid, SIGKILL);
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
