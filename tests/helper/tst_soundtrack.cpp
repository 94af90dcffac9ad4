#include <QtTest>

#include "helper/AudioFileInfo.h"
#include "helper/EncodeUtil.h"
#include "platform/ToolPaths.h"
#include "support/SoundFixture.h"

using namespace SoundFixture;

// The sound-track runs against the real ffmpeg program, in folders whose names
// hold a space and an apostrophe.
class TestSoundTrack : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneTrackCutToLength();
    void twoTracksJoined();
    void failedTrackLeftOut_data();
    void failedTrackLeftOut();
    void noTrackLeftMakesNoSound();
    void shortTrackLooped_data();
    void shortTrackLooped();
    void negativeOffsetSkipsIntoTheMusic();
    void positiveOffsetStartsWithSilence();
    void fadeLowersBothEnds();
    void mux_data();
    void mux();
    void muxLoopsVideoWithoutSound();
    void failedRunLeavingEmptyFileFails();
    void transcodeMakesStereo();
    void convertedFormats_data();
    void convertedFormats();
    void probeRealFiles_data();
    void probeRealFiles();

private:
    QString track(const QString& name, double seconds, double silentUntil = 0);
    EncodeUtil util() const;

    QScopedPointer<WorkFolders> m_dirs;
};

void TestSoundTrack::initTestCase()
{
    // The converter is found beside the programs.
    qputenv("PATH", QByteArray(TY_BIN_DIR) + ":" + qgetenv("PATH"));
}

void TestSoundTrack::init()
{
    QVERIFY2(!ffmpeg().isEmpty(), "ffmpeg is needed");
    m_dirs.reset(new WorkFolders);
    QVERIFY(m_dirs->valid);
}

void TestSoundTrack::cleanup()
{
    m_dirs.reset();
}

QString TestSoundTrack::track(const QString& name, double seconds, double silentUntil)
{
    const QString path = m_dirs->cache + "/WavTempDir/" + name;
    return makeTone(path, seconds, 2, silentUntil) ? path : QString();
}

EncodeUtil TestSoundTrack::util() const
{
    return EncodeUtil(m_dirs->cache);
}

void TestSoundTrack::oneTrackCutToLength()
{
    const QString result = util().buildAudioStream({track("a.wav", 3)}, m_dirs->job, 0, 1250);
    QCOMPARE(result, m_dirs->job + "/video/audio_stream.wav");
    const AudioStream sound = probe(result);
    QCOMPARE(sound.channels, 2);
    QVERIFY2(qAbs(sound.duration - 1.25) < 0.02, qPrintable(QString::number(sound.duration)));
    // One track is cut directly, never joined.
    QVERIFY(!QFileInfo::exists(m_dirs->cache + "/merge-files.txt"));
    QVERIFY(!QFileInfo::exists(m_dirs->job + "/audio.wav"));
}

void TestSoundTrack::twoTracksJoined()
{
    // One track below the work folder, one outside it.
    const QString outside = m_dirs->file("music it's/b.wav");
    QVERIFY(QDir().mkpath(QFileInfo(outside).path()));
    QVERIFY(makeTone(outside, 2));
    const QString result = util().buildAudioStream({track("a.wav", 1), outside}, m_dirs->job, 0, 10000);
    const AudioStream sound = probe(result);
    QCOMPARE(sound.channels, 2);
    QVERIFY2(qAbs(sound.duration - 3) < 0.02, qPrintable(QString::number(sound.duration)));
    QVERIFY(level(result, 0.2, 0.8) > 0.3);
    QVERIFY(level(result, 1.2, 2.8) > 0.3);

    QFile list(m_dirs->cache + "/merge-files.txt");
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(list.readAll()),
             "file 'WavTempDir/a.wav'\nfile '" + m_dirs->root + "/music it'\\''s/b.wav'\n");
}

void TestSoundTrack::failedTrackLeftOut_data()
{
    QTest::addColumn<QString>("failed");
    QTest::newRow("empty path") << "";
    QTest::newRow("missing file") << "WavTempDir/missing.wav";
    QTest::newRow("empty file") << "WavTempDir/empty.wav";
}

void TestSoundTrack::failedTrackLeftOut()
{
    QFETCH(QString, failed);
    QFile(m_dirs->cache + "/WavTempDir/empty.wav").open(QIODevice::WriteOnly);
    const QString second = failed.isEmpty() ? failed : m_dirs->cache + "/" + failed;
    const QStringList tracks{track("a.wav", 1), second, track("c.wav", 1)};
    const AudioStream sound = probe(util().buildAudioStream(tracks, m_dirs->job, 0, 10000));
    QVERIFY2(qAbs(sound.duration - 2) < 0.02, qPrintable(QString::number(sound.duration)));

    // The failed track alone after a good one still leaves the good one's music.
    const AudioStream first = probe(util().buildAudioStream({tracks[0], second}, m_dirs->job, 0, 10000));
    QVERIFY2(qAbs(first.duration - 1) < 0.02, qPrintable(QString::number(first.duration)));
}

void TestSoundTrack::noTrackLeftMakesNoSound()
{
    const QString result =
        util().buildAudioStream({QString(), m_dirs->cache + "/missing.wav"}, m_dirs->job, 0, 10000);
    QVERIFY(!QFileInfo::exists(result));
}

void TestSoundTrack::shortTrackLooped_data()
{
    QTest::addColumn<double>("trackSeconds");
    QTest::addColumn<int>("showSeconds");
    QTest::addColumn<double>("expected");
    QTest::newRow("1 s over 3 s: 3 times") << 1.0 << 3 << 3.0;
    QTest::newRow("0.6 s over 5 s: 9 times, cut to 5 s") << 0.6 << 5 << 5.0;
    QTest::newRow("2 s over 5 s: 3 times, cut to 5 s") << 2.0 << 5 << 5.0;
    QTest::newRow("as long as the show: once") << 3.0 << 3 << 3.0;
}

void TestSoundTrack::shortTrackLooped()
{
    QFETCH(double, trackSeconds);
    QFETCH(int, showSeconds);
    QFETCH(double, expected);
    const QString looped = m_dirs->job + "/video/audio_stream_looped.wav";
    const QString source = track("a.wav", trackSeconds);
    const QString result = util().loopToLength(source, showSeconds * 1000, looped);
    QCOMPARE(result, expected > trackSeconds ? looped : source);
    const AudioStream sound = probe(result);
    // The copied packets end at or just after the cut.
    QVERIFY2(sound.duration > expected - 0.02 && sound.duration < expected + 0.05,
             qPrintable(QString::number(sound.duration)));
    QCOMPARE(sound.channels, 2);
}

void TestSoundTrack::negativeOffsetSkipsIntoTheMusic()
{
    // One second of silence, then the tone: skipping 1 s starts with the tone.
    const QString source = track("a.wav", 3, 1);
    const QString result = util().buildAudioStream({source}, m_dirs->job, -1, 1500);
    QVERIFY(level(source, 0.1, 0.9) < 0.01);
    QVERIFY(level(result, 0.1, 0.9) > 0.3);
    const AudioStream sound = probe(result);
    QVERIFY2(qAbs(sound.duration - 1.5) < 0.02, qPrintable(QString::number(sound.duration)));
}

void TestSoundTrack::positiveOffsetStartsWithSilence()
{
    const QString result = util().applyDelayAndFades(track("a.wav", 2), 3000, 0, 1, m_dirs->job);
    QVERIFY(result.startsWith(m_dirs->job + "/video/"));
    QVERIFY(level(result, 0.1, 0.9) < 0.01);
    QVERIFY(level(result, 1.1, 2.9) > 0.3);
    QVERIFY2(qAbs(probe(result).duration - 3) < 0.02, qPrintable(QString::number(probe(result).duration)));
}

void TestSoundTrack::fadeLowersBothEnds()
{
    const QString source = track("a.wav", 4);
    const QString result = util().applyDelayAndFades(source, 4000, 1, 0, m_dirs->job);
    QVERIFY(result != source);
    const double middle = level(result, 1.5, 2.5);
    QVERIFY(middle > 0.3);
    QVERIFY(level(result, 0, 0.3) < middle / 2);
    QVERIFY(level(result, 3.7, 4) < middle / 2);
}

void TestSoundTrack::mux_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("codec");
    QTest::newRow("mp4") << "mp4" << "mp3";
    QTest::newRow("webm") << "webm" << "vorbis";
    QTest::newRow("wmv") << "wmv" << "wmav2";
}

void TestSoundTrack::mux()
{
    QFETCH(QString, extension);
    QFETCH(QString, codec);
    const QString video = m_dirs->job + "/videostream." + extension;
    QVERIFY(makeVideo(video, 2));
    const QString output = m_dirs->file("out it's." + extension);
    QVERIFY(util().muxVideoAndAudio(output, video, track("a.wav", 3), 2000, 1));
    const AudioStream sound = probe(output);
    QCOMPARE(sound.codec, codec);
    QVERIFY2(qAbs(sound.duration - 2) < 0.1, qPrintable(QString::number(sound.duration)));
}

void TestSoundTrack::muxLoopsVideoWithoutSound()
{
    const QString video = m_dirs->job + "/videostream.mp4";
    QVERIFY(makeVideo(video, 1));
    const QString output = m_dirs->file("out it's.mp4");
    QVERIFY(util().muxVideoAndAudio(output, video, QString(), 3000, 3));
    const AudioStream result = probe(output);
    QCOMPARE(result.channels, 0);
    QVERIFY2(qAbs(result.duration - 3) < 0.15, qPrintable(QString::number(result.duration)));
}

void TestSoundTrack::failedRunLeavingEmptyFileFails()
{
    // The experimental encoder is refused after the output file was created.
    const QString output = m_dirs->job + "/out.mkv";
    QVERIFY(!util().executeUtility({"-i", track("a.wav", 1), "-c:a", "vorbis", "-y", output}, output));
    QVERIFY(QFileInfo::exists(output));
}

void TestSoundTrack::transcodeMakesStereo()
{
    const QString source = m_dirs->file("music it's/mono.wav");
    QVERIFY(QDir().mkpath(QFileInfo(source).path()));
    QVERIFY(makeTone(source, 1, 1));
    const QString wav = m_dirs->cache + "/WavTempDir/file_0.wav";
    QVERIFY(util().convertToWav(source, wav));
    const AudioStream sound = probe(wav);
    QCOMPARE(sound.channels, 2);
    QVERIFY2(qAbs(sound.duration - 1) < 0.02, qPrintable(QString::number(sound.duration)));
    // The target is never overwritten.
    QVERIFY(!util().ffmpegTranscode(source, wav));
}

void TestSoundTrack::convertedFormats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::newRow("stereo m4a") << "a it's.m4a" << 2 << 44100;
    QTest::newRow("stereo m4a at 48 kHz") << "a it's.m4a" << 2 << 48000;
    QTest::newRow("mono M4A") << "a it's.M4A" << 1 << 44100;
    QTest::newRow("mono wma") << "a it's.wma" << 1 << 22050;
}

void TestSoundTrack::convertedFormats()
{
    QFETCH(QString, name);
    QFETCH(int, channels);
    QFETCH(int, rate);
    if (ToolPaths::convert().isEmpty())
        QSKIP("ty_convert is not built");
    const QString wav = m_dirs->file("tone.wav");
    const QString source = m_dirs->file(name);
    QVERIFY(makeTone(wav, 1, channels));
    const QString codec = name.endsWith("wma") ? "wmav2" : "aac";
    QVERIFY(QProcess::execute(ffmpeg(), {"-v", "error", "-i", wav, "-c:a", codec, "-ar",
                                         QString::number(rate), source}) == 0);

    const QString converted = m_dirs->cache + "/WavTempDir/file_0.wav";
    QVERIFY(util().convertToWav(source, converted));
    const AudioStream sound = SoundFixture::probe(converted);
    // Every copy has one format, so tracks can be joined.
    QCOMPARE(sound.channels, 2);
    QCOMPARE(sound.sampleRate, 44100);
    QVERIFY2(qAbs(sound.duration - 1) < 0.1, qPrintable(QString::number(sound.duration)));
}

void TestSoundTrack::probeRealFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("channels");
    QTest::addColumn<qint64>("duration");
    QTest::newRow("stereo") << "a.wav" << 2 << qint64(2500);
    QTest::newRow("mono") << "b.wav" << 1 << qint64(600);
    QTest::newRow("shell characters") << "$(x) \"q\" it's `y`.wav" << 2 << qint64(2000);
    QTest::newRow("missing") << "" << 0 << qint64(0);
}

void TestSoundTrack::probeRealFiles()
{
    QFETCH(QString, name);
    QFETCH(int, channels);
    QFETCH(qint64, duration);
    const QString path = m_dirs->file(name.isEmpty() ? "missing.wav" : name);
    if (channels > 0)
        QVERIFY(makeTone(path, duration / 1000.0, channels));
    const AudioFileInfo info(path);
    QCOMPARE(info.durationMs(), duration);
    QCOMPARE(info.isStereo(), channels == 2);
}

QTEST_GUILESS_MAIN(TestSoundTrack)
#include "tst_soundtrack.moc"
