#include <QtConcurrent>
#include <QtTest>

#include "app/audio/AudioProbe.h"
#include "app/audio/WavConversion.h"
#include "platform/ToolPaths.h"
#include "support/AudioFixture.h"

#include <cerrno>
#include <csignal>

namespace {

// A stand-in converter: notes its working folder and arguments, one to a line, then
// runs the rest of its body.
QString recordingBody(const QString& log, const QString& rest)
{
    return QStringLiteral("pwd > '%1'\nfor a in \"$@\"; do echo \"$a\" >> '%1'; done\n%2").arg(log, rest);
}

bool processRuns(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

// Conversion of music files into the run's WAV folder with stand-in and real converters.
class TestWavConversion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void converterByCodec_data();
    void converterByCodec();
    void realConverters_data();
    void realConverters();
    void nextFreeName();
    void firstConversionRemovesOldWavFiles();
    void unopenableSourceComesBack();
    void failedConverter_data();
    void failedConverter();
    void missingConverter();
    void cleanupKeepsTheFolder();
    void endOfRunEndsHungConverter();

private:
    QString wavFolder() const { return m_temp + "/WavTempDir"; }
    QString tone(const QString& name, double seconds = 0.5);
    // Stand-ins for both converters in the program folder that note their runs, then run
    // rest with %1 standing for their WAV argument.
    bool writeRecordingConverters(const QString& rest = QStringLiteral("echo RIFF > \"%1\""));
    QStringList logOf(const QString& program) const;

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_temp;
    QString m_programs;
};

void TestWavConversion::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_temp = m_dir->filePath("run 'temp'");
    m_programs = m_dir->filePath("programs");
    QVERIFY(QDir().mkpath(m_temp) && QDir().mkpath(m_programs));
}

void TestWavConversion::cleanup()
{
    cleanupWavTempDir();
    m_dir.reset();
}

QString TestWavConversion::tone(const QString& name, double seconds)
{
    const QString path = m_dir->filePath(name);
    return AudioFixture::makeTone(path, seconds) ? path : QString();
}

bool TestWavConversion::writeRecordingConverters(const QString& rest)
{
    return AudioFixture::writeProgram(m_programs + "/ty_convert",
                                      recordingBody(m_dir->filePath("ty_convert.log"), rest.arg("$2")))
        && AudioFixture::writeProgram(m_programs + "/ffmpeg",
                                      recordingBody(m_dir->filePath("ffmpeg.log"), rest.arg("$3")));
}

QStringList TestWavConversion::logOf(const QString& program) const
{
    QFile log(m_dir->filePath(program + ".log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TestWavConversion::converterByCodec_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("program");

    QTest::newRow("mp3") << "mp3" << "ty_convert";
    QTest::newRow("m4a") << "m4a" << "ty_convert";
    QTest::newRow("ogg") << "ogg" << "ffmpeg";
    QTest::newRow("flac") << "flac" << "ffmpeg";
    QTest::newRow("wav") << "wav" << "ffmpeg";
}

void TestWavConversion::converterByCodec()
{
    QFETCH(QString, suffix);
    QFETCH(QString, program);
    const QString source = tone("song 'one'." + suffix);
    QVERIFY(!source.isEmpty() && writeRecordingConverters());

    const QString wav = transcodeToWav(source, m_temp, m_programs);

    QCOMPARE(wav, wavFolder() + "/file_0.wav");
    QVERIFY(QFileInfo::exists(wav));
    const QStringList expected = program == "ffmpeg" ? QStringList {"-i", source, wav} : QStringList {source, wav};
    QCOMPARE(logOf(program), QStringList {m_programs} + expected);
    QVERIFY(logOf(program == "ffmpeg" ? "ty_convert" : "ffmpeg").isEmpty());
}

void TestWavConversion::realConverters_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("programs"); // where the converters are looked for

    QTest::newRow("ogg by ffmpeg") << "ogg" << "";
    QTest::newRow("mp3 by ty_convert") << "mp3" << TY_BIN_DIR;
}

void TestWavConversion::realConverters()
{
    QFETCH(QString, suffix);
    QFETCH(QString, programs);
    const QString source = tone("song 'one'." + suffix, 1.5);
    QVERIFY(!source.isEmpty());

    const QString wav = transcodeToWav(source, m_temp, programs.isEmpty() ? m_programs : programs);

    QCOMPARE(wav, wavFolder() + "/file_0.wav");
    const AudioProbe probe(wav);
    QVERIFY(probe.isValid());
    QVERIFY(!probe.isMediaFoundationCodec());
    QVERIFY2(qAbs(probe.durationMs() - 1500) <= 100, qPrintable(QString::number(probe.durationMs())));
}

void TestWavConversion::nextFreeName()
{
    const QString source = tone("song.ogg");
    QVERIFY(!source.isEmpty() && writeRecordingConverters());

    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_0.wav");
    QFile taken(wavFolder() + "/file_1.wav");
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_2.wav");
}

void TestWavConversion::firstConversionRemovesOldWavFiles()
{
    const QString source = tone("song.ogg");
    QVERIFY(!source.isEmpty() && writeRecordingConverters());
    QVERIFY(QDir().mkpath(wavFolder()));
    for (const char* name : {"file_0.wav", "old.wav", "notes.txt"}) {
        QFile file(wavFolder() + '/' + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_0.wav");
    QCOMPARE(QDir(wavFolder()).entryList(QDir::Files, QDir::Name), QStringList({"file_0.wav", "notes.txt"}));

    // Later conversions of the run keep what is there.
    QFile later(wavFolder() + "/later.wav");
    QVERIFY(later.open(QIODevice::WriteOnly));
    later.close();
    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_1.wav");
    QVERIFY(later.exists());
}

void TestWavConversion::unopenableSourceComesBack()
{
    QVERIFY(writeRecordingConverters());
    const QString missing = m_dir->filePath("missing.mp3");
    QFile text(m_dir->filePath("text.mp3"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("no music\n") > 0);
    text.close();

    QCOMPARE(transcodeToWav(missing, m_temp, m_programs), missing);
    QCOMPARE(transcodeToWav(text.fileName(), m_temp, m_programs), text.fileName());
    QVERIFY(logOf("ty_convert").isEmpty() && logOf("ffmpeg").isEmpty());
}

void TestWavConversion::failedConverter_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("rest"); // after noting the run; %1 the WAV argument

    QTest::newRow("ty_convert exits 3") << "mp3" << "echo RIFF > \"%1\"; exit 3";
    QTest::newRow("ty_convert crashes") << "mp3" << "echo RIFF > \"%1\"; kill -SEGV $$";
    QTest::newRow("ffmpeg exits 1") << "flac" << "echo RIFF > \"%1\"; exit 1";
    QTest::newRow("ffmpeg crashes") << "flac" << "echo RIFF > \"%1\"; kill -ABRT $$";
}

void TestWavConversion::failedConverter()
{
    QFETCH(QString, suffix);
    QFETCH(QString, rest);
    const QString source = tone("song." + suffix);
    QVERIFY(!source.isEmpty() && writeRecordingConverters(rest));

    QCOMPARE(transcodeToWav(source, m_temp, m_programs), QString());
    QVERIFY(!logOf(suffix == "mp3" ? "ty_convert" : "ffmpeg").isEmpty());
    // The broken file is not left to take a name.
    QVERIFY(QDir(wavFolder()).entryList(QDir::Files).isEmpty());
}

void TestWavConversion::missingConverter()
{
    if (!ToolPaths::find("ty_convert", m_programs).isEmpty())
        QSKIP("a ty_convert program is on the PATH");
    const QString source = tone("song.mp3");
    QVERIFY(!source.isEmpty());

    QCOMPARE(transcodeToWav(source, m_temp, m_programs), QString());
    QVERIFY(!runConverterProgram(source, m_dir->filePath("out.wav"), m_programs));
}

void TestWavConversion::cleanupKeepsTheFolder()
{
    const QString source = tone("song.ogg");
    QVERIFY(!source.isEmpty() && writeRecordingConverters());
    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_0.wav");
    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_1.wav");
    QFile notes(wavFolder() + "/notes.txt");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();

    cleanupWavTempDir();

    QVERIFY(QFileInfo(wavFolder()).isDir());
    QCOMPARE(QDir(wavFolder()).entryList(QDir::Files), QStringList {"notes.txt"});
    // The next conversion starts a run of its own.
    QCOMPARE(transcodeToWav(source, m_temp, m_programs), wavFolder() + "/file_0.wav");
}

void TestWavConversion::endOfRunEndsHungConverter()
{
    const QString source = tone("song.mp3");
    QVERIFY(!source.isEmpty());
    const QString pidFile = m_dir->filePath("hung.pid");
    QVERIFY(AudioFixture::writeProgram(m_programs + "/ty_convert",
                                       QStringLiteral("echo $$ > '%1'\nexec sleep 300").arg(pidFile)));

    QFuture<QString> conversion = QtConcurrent::run(transcodeToWav, source, m_temp, m_programs);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 30000);
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().trimmed().toInt();
    QVERIFY(pid > 0 && processRuns(pid));

    cleanupWavTempDir();

    QTRY_VERIFY_WITH_TIMEOUT(conversion.isFinished(), 30000);
    QCOMPARE(conversion.result(), QString());
    QVERIFY(!processRuns(pid));
    QVERIFY(QDir(wavFolder()).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestWavConversion)
#include "tst_wavconversion.moc"
