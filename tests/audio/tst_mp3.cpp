#include <QtTest>

#include "app/audio/Mp3.h"
#include "app/audio/QtAudioPlayer.h"
#include "support/AudioFixture.h"
#include "support/FakeAudioPlayer.h"

#include <QAudioDeviceInfo>

// The music player's position arithmetic over its tracks, on a fake player, and a short
// play through Qt Multimedia where there is a sound device.
class TestMp3 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void playAt_data();
    void playAt();
    void playZeroStartsTheFirstTrack();
    void negativePositionOnlyStops();
    void nothingToPlay_data();
    void nothingToPlay();
    void refusedMediaFailsTheLoad();
    void seekDroppedBeforeLoadingIsApplied();
    void seekKeptByThePlayerIsNotRepeated();
    void relaysPlayerSignals();
    void playsThroughQtMultimedia();

private:
    // Tracks of the given lengths; a negative length stands for a track whose WAV is missing.
    QList<AudioTrack> tracks(const QList<qint64>& lengths);

    QTemporaryDir m_dir;
};

void TestMp3::initTestCase()
{
    qRegisterMetaType<QMediaPlayer::State>();
    QVERIFY(m_dir.isValid());
}

QList<AudioTrack> TestMp3::tracks(const QList<qint64>& lengths)
{
    QList<AudioTrack> list;
    for (int i = 0; i < lengths.size(); ++i) {
        AudioTrack track;
        track.fileName = m_dir.filePath(QStringLiteral("song %1.mp3").arg(i));
        track.wavFileName = m_dir.filePath(QStringLiteral("file_%1.wav").arg(i));
        track.duration_ms = qAbs(lengths.at(i));
        QFile wav(track.wavFileName);
        if (lengths.at(i) >= 0 && !wav.open(QIODevice::WriteOnly))
            return {};
        if (lengths.at(i) < 0)
            wav.remove();
        list << track;
    }
    return list;
}

void TestMp3::playAt_data()
{
    QTest::addColumn<QList<qint64>>("lengths");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<int>("wavIndex"); // of the track playing; -1 for none
    QTest::addColumn<qint64>("within");

    using L = QList<qint64>;
    QTest::newRow("in the first") << L {10000, 5000} << false << qint64(3000) << 0 << qint64(3000);
    QTest::newRow("in the second") << L {10000, 5000} << false << qint64(12000) << 1 << qint64(2000);
    QTest::newRow("on the boundary") << L {10000, 5000} << false << qint64(10000) << 1 << qint64(0);
    QTest::newRow("at the end") << L {10000, 5000} << false << qint64(15000) << -1 << qint64(0);
    QTest::newRow("past the end") << L {10000, 5000} << false << qint64(40000) << -1 << qint64(0);
    QTest::newRow("looped") << L {10000, 5000} << true << qint64(27000) << 1 << qint64(2000);
    QTest::newRow("looped to the start") << L {10000, 5000} << true << qint64(15000) << 0 << qint64(0);
    // The missing track is not in the playlist and takes no time.
    QTest::newRow("missing middle WAV") << L {10000, -5000, 5000} << false << qint64(12000) << 2 << qint64(2000);
    QTest::newRow("missing middle WAV, end") << L {10000, -5000, 5000} << false << qint64(15000) << -1 << qint64(0);
    QTest::newRow("no lengths known") << L {0, 0} << true << qint64(500) << -1 << qint64(0);
}

void TestMp3::playAt()
{
    QFETCH(QList<qint64>, lengths);
    QFETCH(bool, loop);
    QFETCH(qint64, position);
    QFETCH(int, wavIndex);
    QFETCH(qint64, within);
    const QList<AudioTrack> list = tracks(lengths);
    QVERIFY(!list.isEmpty());
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);

    QVERIFY(mp3.load(list, loop));
    QVERIFY(mp3.isLoaded());
    QCOMPARE(player->isLoop(), loop);
    QVERIFY(mp3.play(position));

    QCOMPARE(mp3.isPlaying(), wavIndex >= 0);
    if (wavIndex < 0)
        return;
    player->finishLoading();
    QCOMPARE(player->media.value(player->currentIndex()), QUrl::fromLocalFile(list.at(wavIndex).wavFileName));
    QCOMPARE(mp3.position(), within);
}

void TestMp3::playZeroStartsTheFirstTrack()
{
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);
    QVERIFY(mp3.load(tracks({10000, 5000}), false));
    QVERIFY(mp3.play(12000));
    player->finishLoading();
    player->advance(700);

    QVERIFY(mp3.play(0));

    QVERIFY(mp3.isPlaying());
    QCOMPARE(player->currentIndex(), 0);
    QCOMPARE(mp3.position(), qint64(0));
}

void TestMp3::negativePositionOnlyStops()
{
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);
    QVERIFY(mp3.load(tracks({10000}), false));
    QVERIFY(mp3.play(3000));
    const int plays = player->plays;

    QVERIFY(mp3.play(-1));

    QCOMPARE(player->state(), QMediaPlayer::StoppedState);
    QCOMPARE(player->plays, plays);
    QVERIFY(mp3.isLoaded());
}

void TestMp3::nothingToPlay_data()
{
    QTest::addColumn<QList<qint64>>("lengths");

    QTest::newRow("no tracks") << QList<qint64> {};
    QTest::newRow("no WAV file") << QList<qint64> {-10000, -5000};
}

void TestMp3::nothingToPlay()
{
    QFETCH(QList<qint64>, lengths);
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);

    QVERIFY(!mp3.load(tracks(lengths), false));

    QVERIFY(!mp3.isLoaded());
    QVERIFY(!mp3.play(0));
    QVERIFY(!mp3.play(3000));
    QVERIFY(!mp3.pause());
    QVERIFY(!mp3.stop());
    QCOMPARE(mp3.position(), qint64(-1));
    mp3.setVolume(30);
    QCOMPARE(player->volume(), 100);
    QCOMPARE(player->plays, 0);
}

void TestMp3::refusedMediaFailsTheLoad()
{
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);
    QVERIFY(mp3.load(tracks({10000}), false));
    player->refusesMedia = true;

    QVERIFY(!mp3.load(tracks({10000, 5000}), false));

    QVERIFY(!mp3.isLoaded());
    QVERIFY(player->media.isEmpty());
}

void TestMp3::seekDroppedBeforeLoadingIsApplied()
{
    auto* player = new FakeAudioPlayer;
    player->dropsEarlySeeks = true;
    Mp3 mp3(player);
    QVERIFY(mp3.load(tracks({10000, 5000}), false));

    QVERIFY(mp3.play(12000));
    QCOMPARE(mp3.position(), qint64(0));
    player->finishLoading();

    QCOMPARE(player->currentIndex(), 1);
    QCOMPARE(mp3.position(), qint64(2000));
    // Only once: a later load (the next track) starts where it starts.
    player->setCurrentIndex(0);
    player->finishLoading();
    QCOMPARE(mp3.position(), qint64(0));
}

void TestMp3::seekKeptByThePlayerIsNotRepeated()
{
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);
    QVERIFY(mp3.load(tracks({10000, 5000}), false));
    QVERIFY(mp3.play(12000));
    player->advance(300);
    const int seeks = player->seeks;

    player->finishLoading();

    QCOMPARE(player->seeks, seeks);
    QCOMPARE(mp3.position(), qint64(2300));
}

void TestMp3::relaysPlayerSignals()
{
    auto* player = new FakeAudioPlayer;
    Mp3 mp3(player);
    QSignalSpy states(&mp3, &Mp3::playStateChanged);
    QSignalSpy positions(&mp3, &Mp3::positionChanged);
    QVERIFY(mp3.load(tracks({10000}), false));

    QVERIFY(mp3.play(0));
    player->advance(250);
    QVERIFY(mp3.pause());
    mp3.setVolume(40);

    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(0).at(0).value<QMediaPlayer::State>(), QMediaPlayer::PlayingState);
    QCOMPARE(states.at(1).at(0).value<QMediaPlayer::State>(), QMediaPlayer::PausedState);
    QCOMPARE(positions.size(), 1);
    QCOMPARE(positions.at(0).at(0).toLongLong(), 250LL);
    QCOMPARE(player->volume(), 40);
}

void TestMp3::playsThroughQtMultimedia()
{
    if (QAudioDeviceInfo::availableDevices(QAudio::AudioOutput).isEmpty())
        QSKIP("no sound device");
    const QString wav = m_dir.filePath("tone.wav");
    QVERIFY(AudioFixture::makeTone(wav, 3));
    AudioTrack track;
    track.wavFileName = wav;
    track.duration_ms = 3000;
    Mp3 mp3;

    QVERIFY(mp3.load({track}, false));
    QVERIFY(mp3.play(1000));

    QTRY_VERIFY_WITH_TIMEOUT(mp3.isPlaying(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(mp3.position() > 1000, 10000);
    QVERIFY(mp3.stop());
}

QTEST_GUILESS_MAIN(TestMp3)
#include "tst_mp3.moc"
