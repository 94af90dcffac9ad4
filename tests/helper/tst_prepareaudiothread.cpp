#include <QtTest>

#include "helper/PrepareAudioThread.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "support/SoundFixture.h"
#include "support/StallingTool.h"

using namespace SoundFixture;

// A project's whole sound track, built on its own thread with the real ffmpeg.
class TestPrepareAudioThread : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void soundTrack_data();
    void soundTrack();
    void stopEndsTheRunningProgram_data();
    void stopEndsTheRunningProgram();

private:
    QScopedPointer<WorkFolders> m_dirs;
};

void TestPrepareAudioThread::init()
{
    QVERIFY2(!ffmpeg().isEmpty(), "ffmpeg is needed");
    m_dirs.reset(new WorkFolders);
    QVERIFY(m_dirs->valid);
}

void TestPrepareAudioThread::cleanup()
{
    m_dirs.reset();
}

void TestPrepareAudioThread::soundTrack_data()
{
    QTest::addColumn<QList<double>>("tracks"); // seconds; 0 for a track that failed
    QTest::addColumn<int>("slideMs");
    QTest::addColumn<int>("loops");
    QTest::addColumn<bool>("audioLoop");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("fade");
    QTest::addColumn<double>("duration"); // 0: no sound track
    QTest::addColumn<double>("silentUntil");

    QTest::addColumn<double>("loudFrom");
    QTest::addColumn<double>("loudTo");

    using L = QList<double>;
    QTest::newRow("no music") << L{} << 2000 << 1 << false << 0 << 0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("every track failed")
        << L{0, 0} << 2000 << 1 << false << 0 << 0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("one track cut") << L{3} << 1500 << 1 << false << 0 << 0 << 1.5 << 0.0 << 0.1 << 1.4;
    QTest::newRow("two tracks over two loops")
        << L{1, 1} << 1500 << 2 << false << 0 << 0 << 2.0 << 0.0 << 0.1 << 1.9;
    QTest::newRow("failed track left out")
        << L{1, 0} << 3000 << 1 << false << 0 << 0 << 1.0 << 0.0 << 0.1 << 0.9;
    QTest::newRow("looped to the length")
        << L{1} << 3000 << 1 << true << 0 << 0 << 3.0 << 0.0 << 0.1 << 2.9;
    QTest::newRow("skipped into") << L{3} << 2000 << 1 << false << -1 << 0 << 2.0 << 0.0 << 0.1 << 1.9;
    // Faded in from 1 s to 2 s, out from 3 s to the show's end at 4 s.
    QTest::newRow("delayed and faded")
        << L{5} << 4000 << 1 << false << 1 << 1 << 4.0 << 1.0 << 2.1 << 2.9;
}

void TestPrepareAudioThread::soundTrack()
{
    QFETCH(QList<double>, tracks);
    QFETCH(int, slideMs);
    QFETCH(int, loops);
    QFETCH(bool, audioLoop);
    QFETCH(int, offset);
    QFETCH(int, fade);
    QFETCH(double, duration);
    QFETCH(double, silentUntil);
    QFETCH(double, loudFrom);
    QFETCH(double, loudTo);

    ProjectFile project;
    project.insertItems({ProjectFile::createColorItem(0, slideMs, 0)}, -1);
    project.project_loop = loops;
    project.audio_loop = audioLoop;
    project.audio_offset = offset;
    project.audio_fade = fade;
    QCOMPARE(project.totalDuration(), qint64(slideMs));

    QList<AudioTrack> audio;
    for (int i = 0; i < tracks.size(); ++i) {
        AudioTrack track;
        if (tracks[i] > 0) {
            track.wavFileName = QString("%1/file_%2.wav").arg(m_dirs->cache).arg(i);
            QVERIFY(makeTone(track.wavFileName, tracks[i]));
        }
        audio << track;
    }

    PrepareAudioThread thread(&project, audio, m_dirs->job, EncodeUtil(m_dirs->cache));
    thread.start();
    QVERIFY(thread.wait(60000));
    const QString result = thread.resultPath();
    QVERIFY(result.startsWith(m_dirs->job + "/video/"));
    if (duration == 0) {
        QVERIFY(!QFileInfo::exists(result));
        return;
    }
    const AudioStream sound = probe(result);
    QCOMPARE(sound.channels, 2);
    QVERIFY2(qAbs(sound.duration - duration) < 0.05, qPrintable(QString::number(sound.duration)));
    if (silentUntil > 0)
        QVERIFY(level(result, 0.1, silentUntil - 0.1) < 0.01);
    QVERIFY(level(result, loudFrom, loudTo) > 0.3);
}

void TestPrepareAudioThread::stopEndsTheRunningProgram_data()
{
    QTest::addColumn<QString>("stallOn");
    QTest::newRow("joining") << "merge-files";
    QTest::newRow("cutting") << "audio_no_fade";
    QTest::newRow("looping") << "merge-loop-audio";
    QTest::newRow("fading") << "afade";
}

// A stop ends the program that runs at once and leaves no sound track, whichever step
// it came in.
void TestPrepareAudioThread::stopEndsTheRunningProgram()
{
    QFETCH(QString, stallOn);
    StallingTool tool(stallOn);
    QVERIFY(tool.isValid());
    ProjectFile project;
    project.insertItems({ProjectFile::createColorItem(0, 3000, 0)}, -1);
    project.audio_loop = true;
    project.audio_fade = 1;
    QList<AudioTrack> audio;
    for (const QString name : {"a.wav", "b.wav"}) {
        AudioTrack track;
        track.wavFileName = m_dirs->cache + "/WavTempDir/" + name;
        QVERIFY(makeTone(track.wavFileName, 0.5));
        audio << track;
    }

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tool.path());
    const EncodeUtil util(m_dirs->cache);
    qputenv("PATH", path);
    PrepareAudioThread thread(&project, audio, m_dirs->job, util);
    thread.start();
    QTRY_VERIFY_WITH_TIMEOUT(!tool.stalled().isEmpty(), 60000);
    thread.requestStop();
    QVERIFY(thread.wait(60000));
    QVERIFY(Processes::isGone(tool.stalled().first()));
    QVERIFY(thread.resultPath().isEmpty());
}

QTEST_GUILESS_MAIN(TestPrepareAudioThread)
#include "tst_prepareaudiothread.moc"
