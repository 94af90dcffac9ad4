#include <QtTest>

#include "app/audio/AudioProbe.h"
#include "support/AudioFixture.h"

#include <sys/stat.h>

// What the probe reads of music files made by ffmpeg, and of files that are none.
class TestAudioProbe : public QObject
{
    Q_OBJECT

private slots:
    void formats_data();
    void formats();
    void wavLengthInSamples();
    void notAudio_data();
    void notAudio();
    void noStreams();

private:
    QTemporaryDir m_dir;
};

void TestAudioProbe::formats_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("mediaFoundation");

    QTest::newRow("mp3") << "mp3" << true;
    QTest::newRow("m4a") << "m4a" << true;
    QTest::newRow("wav") << "wav" << false;
    QTest::newRow("ogg") << "ogg" << false;
    QTest::newRow("flac") << "flac" << false;
}

void TestAudioProbe::formats()
{
    QFETCH(QString, suffix);
    QFETCH(bool, mediaFoundation);

    const QString path = m_dir.filePath("tone 'two' seconds." + suffix);
    QVERIFY(AudioFixture::makeTone(path, 2));

    const AudioProbe probe(path);
    QVERIFY(probe.isValid());
    QCOMPARE(probe.isMediaFoundationCodec(), mediaFoundation);
    // Encoders add a few frames of padding.
    QVERIFY2(qAbs(probe.durationMs() - 2000) <= 100, qPrintable(QString::number(probe.durationMs())));
}

void TestAudioProbe::wavLengthInSamples()
{
    const QString path = m_dir.filePath("ten.wav");
    QVERIFY(AudioFixture::makeTone(path, 10)); // 441,000 samples at 44.1 kHz

    QCOMPARE(AudioProbe(path).durationMs(), qint64(10000));
}

void TestAudioProbe::notAudio_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("missing") << "missing.mp3";
    QTest::newRow("text") << "notes.mp3";
    QTest::newRow("folder") << "folder.mp3";
    // Opening a pipe would wait for a writer for ever.
    QTest::newRow("pipe") << "pipe.mp3";
}

void TestAudioProbe::notAudio()
{
    QFETCH(QString, name);

    QFile text(m_dir.filePath("notes.mp3"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not music at all\n") > 0);
    text.close();
    QVERIFY(QDir(m_dir.path()).mkpath("folder.mp3"));
    const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe.mp3"));
    QVERIFY(QFileInfo::exists(m_dir.filePath("pipe.mp3")) || mkfifo(pipe.constData(), 0600) == 0);

    const AudioProbe probe(m_dir.filePath(name));
    QVERIFY(!probe.isValid());
    QCOMPARE(probe.durationMs(), qint64(0));
    QVERIFY(!probe.isMediaFoundationCodec());
}

void TestAudioProbe::noStreams()
{
    QFile file(m_dir.filePath("metadata.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(";FFMETADATA1\ntitle=nothing\n") > 0);
    file.close();

    const AudioProbe probe(file.fileName());
    QVERIFY(probe.isValid());
    QCOMPARE(probe.durationMs(), qint64(0));
    QVERIFY(!probe.isMediaFoundationCodec());
}

QTEST_GUILESS_MAIN(TestAudioProbe)
#include "tst_audioprobe.moc"
