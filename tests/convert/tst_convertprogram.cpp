#include <QtTest>

#include "support/MediaTools.h"

#include <cstdlib>
#include <unistd.h>

using MediaTools::makeMedia;
using MediaTools::probeAudio;

namespace {

constexpr int Seconds = 2;
constexpr int HeaderSize = 46;
constexpr int Failure = 1;
constexpr int BadArguments = 255;

QString program()
{
    return QStringLiteral(TY_BIN_DIR "/ty_convert");
}

QStringList tone(int rate, int channels)
{
    return {"-f", "lavfi", "-i",
            QString("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(Seconds),
            "-ac", QString::number(channels)};
}

int maxDifference(const QByteArray& a, const QByteArray& b)
{
    const auto* x = reinterpret_cast<const qint16*>(a.constData());
    const auto* y = reinterpret_cast<const qint16*>(b.constData());
    int most = 0;
    for (int i = 0; i < qMin(a.size(), b.size()) / 2; ++i)
        most = qMax(most, std::abs(x[i] - y[i]));
    return most;
}

} // namespace

class TestConvertProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void convert_data();
    void convert();
    void failures_data();
    void failures();
    void argumentCount_data();
    void argumentCount();
    void existingOutputReplaced();
    void failureKeepsExistingOutput();
    void sourceIsOutput_data();
    void sourceIsOutput();
    void namesAreLocalPaths();

private:
    int convertIn(const QStringList& arguments) const;
    QString input(const QString& name) const { return m_inputs.filePath(name); }
    QStringList entries(const QString& folder) const;

    QTemporaryDir m_inputs;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestConvertProgram::initTestCase()
{
    QVERIFY(QFileInfo(program()).isExecutable());
    QVERIFY(m_inputs.isValid());
    struct Fixture
    {
        const char* name;
        QStringList arguments;
    };
    const QVector<Fixture> fixtures = {
        {"tone.mp3", tone(44100, 2) + QStringList {"-c:a", "libmp3lame"}},
        {"tone.m4a", tone(44100, 2) + QStringList {"-c:a", "aac"}},
        {"tone.wma", tone(44100, 2) + QStringList {"-c:a", "wmav2"}},
        {"tone.ogg", tone(44100, 2) + QStringList {"-c:a", "libvorbis"}},
        {"tone.flac", tone(44100, 2) + QStringList {"-c:a", "flac"}},
        {"mono32k.mp3", tone(32000, 1) + QStringList {"-c:a", "libmp3lame"}},
        {"mono44k.m4a", tone(44100, 1) + QStringList {"-c:a", "aac"}},
        {"surround.m4a", tone(48000, 6) + QStringList {"-c:a", "aac"}},
        {"hires.flac", tone(96000, 2) + QStringList {"-c:a", "flac"}},
        {"u8.wav", tone(22050, 2) + QStringList {"-c:a", "pcm_u8"}},
        {"movie.mp4",
         QStringList {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=2"} + tone(44100, 2)
             + QStringList {"-map", "0:v", "-map", "1:a", "-c:v", "mpeg4", "-c:a", "aac"}},
        {"silent.mp4",
         {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10:duration=2", "-c:v", "mpeg4"}},
    };
    for (const Fixture& fixture : fixtures)
        QVERIFY2(makeMedia(fixture.arguments, input(fixture.name)), fixture.name);

    QFile junk(input("junk.mp3"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    QRandomGenerator random(42);
    for (int i = 0; i < 20000; ++i)
        junk.putChar(static_cast<char>(random.bounded(256)));
    QFile empty(input("empty.m4a"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    QVERIFY(QDir(m_inputs.path()).mkdir("folder.mp3"));
}

// Every test starts in an empty folder of its own.
void TestConvertProgram::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

void TestConvertProgram::cleanup()
{
    m_work.reset();
}

int TestConvertProgram::convertIn(const QStringList& arguments) const
{
    return MediaTools::run(program(), arguments, m_work->path());
}

QStringList TestConvertProgram::entries(const QString& folder) const
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

void TestConvertProgram::convert_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("frame"); // decoder frame, in output samples
    // The first 16-bit type with at most two channels at the source rate, else at 48 kHz.
    QTest::newRow("mp3") << "tone.mp3" << 2 << 44100 << 1152;
    QTest::newRow("m4a AAC") << "tone.m4a" << 2 << 44100 << 1024;
    QTest::newRow("wma") << "tone.wma" << 2 << 44100 << 2048;
    QTest::newRow("ogg") << "tone.ogg" << 2 << 44100 << 2048;
    QTest::newRow("flac") << "tone.flac" << 2 << 44100 << 4608;
    QTest::newRow("mono 32 kHz") << "mono32k.mp3" << 1 << 48000 << 1728;
    QTest::newRow("mono 44.1 kHz") << "mono44k.m4a" << 1 << 44100 << 1024;
    QTest::newRow("5.1 AAC") << "surround.m4a" << 2 << 48000 << 1024;
    QTest::newRow("96 kHz") << "hires.flac" << 2 << 48000 << 2304;
    QTest::newRow("8-bit 22 kHz") << "u8.wav" << 2 << 22050 << 0;
    QTest::newRow("video with audio") << "movie.mp4" << 2 << 44100 << 1024;
}

void TestConvertProgram::convert()
{
    QFETCH(QString, source);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, frame);

    const QString output = m_work->filePath(source + ".wav");
    QCOMPARE(convertIn({input(source), output}), 0);
    QCOMPARE(entries(m_work->path()), QStringList {source + ".wav"});

    const MediaTools::AudioInfo info = probeAudio(output);
    QCOMPARE(info.codec, QString("pcm_s16le"));
    QCOMPARE(info.bitsPerSample, 16);
    QCOMPARE(info.channels, channels);
    QCOMPARE(info.sampleRate, rate);
    QVERIFY2(qAbs(info.samples - qint64(Seconds) * rate) <= frame, qPrintable(QString::number(info.samples)));

    // Everything ffmpeg decodes is there, tail included, in the same order.
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll().mid(HeaderSize);
    const QByteArray reference = MediaTools::decodePcm(input(source), channels, rate);
    QVERIFY(!reference.isEmpty());
    QCOMPARE(data.size(), reference.size());
    QCOMPARE(info.samples * channels * 2, qint64(data.size()));
    QVERIFY(maxDifference(data, reference) <= 2);
}

void TestConvertProgram::failures_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("output");
    QTest::newRow("missing input") << input("missing.mp3") << "out.wav";
    QTest::newRow("folder as input") << input("folder.mp3") << "out.wav";
    QTest::newRow("no audio stream") << input("silent.mp4") << "out.wav";
    QTest::newRow("undecodable data") << input("junk.mp3") << "out.wav";
    QTest::newRow("empty input") << input("empty.m4a") << "out.wav";
    QTest::newRow("network address") << "http://127.0.0.1:9/tone.mp3" << "out.wav";
    QTest::newRow("other protocol") << "concat:" + input("tone.mp3") + "|" + input("tone.mp3") << "out.wav";
    QTest::newRow("output folder missing") << input("tone.mp3") << "missing/out.wav";
    QTest::newRow("output is a folder") << input("tone.mp3") << "out";
}

void TestConvertProgram::failures()
{
    QFETCH(QString, source);
    QFETCH(QString, output);

    QDir work(m_work->path());
    const bool outputIsFolder = output == "out";
    if (outputIsFolder)
        QVERIFY(work.mkdir(output));
    QCOMPARE(convertIn({source, output}), Failure);
    // Nothing left behind, not even a temporary file.
    QCOMPARE(entries(work.path()), outputIsFolder ? QStringList {"out"} : QStringList {});
    if (outputIsFolder)
        QVERIFY(entries(work.filePath(output)).isEmpty());
}

void TestConvertProgram::argumentCount_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList {};
    QTest::newRow("one") << QStringList {input("tone.mp3")};
    QTest::newRow("three") << QStringList {input("tone.mp3"), "out.wav", "extra.wav"};
}

void TestConvertProgram::argumentCount()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(convertIn(arguments), BadArguments);
    QVERIFY(entries(m_work->path()).isEmpty());
}

void TestConvertProgram::existingOutputReplaced()
{
    const QString output = m_work->filePath("out.wav");
    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    QCOMPARE(convertIn({input("tone.flac"), output}), 0);
    QCOMPARE(probeAudio(output).samples, qint64(Seconds) * 44100);
    QCOMPARE(QFileInfo(output).size(), qint64(HeaderSize + Seconds * 44100 * 4));
    QCOMPARE(entries(m_work->path()), QStringList {"out.wav"});
}

// A failed run never destroys what is there, even when it names its own input.
void TestConvertProgram::failureKeepsExistingOutput()
{
    const QString output = m_work->filePath("out.wav");
    QVERIFY(QFile::copy(input("junk.mp3"), output));
    QCOMPARE(convertIn({output, output}), Failure);
    QFile kept(output);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QFile junk(input("junk.mp3"));
    QVERIFY(junk.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), junk.readAll());
    QCOMPARE(entries(m_work->path()), QStringList {"out.wav"});
}

void TestConvertProgram::sourceIsOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("same name") << "song.mp3";
    QTest::newRow("another spelling") << "./sub/../song.mp3";
    QTest::newRow("a link to it") << "link.mp3";
    QTest::newRow("a hard link") << "hard.mp3";
}

// Naming the source as the output is refused; the source stays as it was.
void TestConvertProgram::sourceIsOutput()
{
    QFETCH(QString, output);
    QDir work(m_work->path());
    const QString song = work.filePath("song.mp3");
    QVERIFY(QFile::copy(input("tone.mp3"), song));
    QVERIFY(work.mkdir("sub"));
    QVERIFY(QFile::link(song, work.filePath("link.mp3")));
    QCOMPARE(::link(QFile::encodeName(song).constData(),
                    QFile::encodeName(work.filePath("hard.mp3")).constData()), 0);
    QCOMPARE(convertIn({"song.mp3", output}), Failure);
    QFile kept(song);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QFile original(input("tone.mp3"));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), original.readAll());
    QCOMPARE(entries(work.path()), (QStringList {"hard.mp3", "link.mp3", "song.mp3", "sub"}));
}

// A name that looks like an address is a file name here.
void TestConvertProgram::namesAreLocalPaths()
{
    QVERIFY(QFile::copy(input("tone.mp3"), m_work->filePath("http:tone.mp3")));
    QCOMPARE(convertIn({"http:tone.mp3", "pipe:1"}), 0);
    QCOMPARE(probeAudio(m_work->filePath("pipe:1")).channels, 2);
}

QTEST_GUILESS_MAIN(TestConvertProgram)
#include "tst_convertprogram.moc"
