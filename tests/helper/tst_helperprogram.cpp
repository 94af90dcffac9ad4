#include <QtTest>

#include "helper/Application.h"
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"
#include "support/HelperProcess.h"
#include "support/PhotoFixtures.h"
#include "support/SoundFixture.h"
#include "support/StallingTool.h"
#include "support/VideoProbe.h"

#include <QJsonArray>
#include <QPainter>
#include <QRandomGenerator>

#include <csignal>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace {

constexpr int kFps = 10;
// Of the default request (2 s): 10 colour frames, 5 transition frames, 5 caption frames
// and the motion frame that always follows a caption animation.
constexpr int kFrames = 21;

QJsonObject colourSlide(int time_ms, int transition = 0)
{
    return {{"type", "colored"}, {"bg_index", 3}, {"time_ms", time_ms}, {"transition", transition}};
}

QJsonObject photoSlide(const QString& file, int time_ms, int transition)
{
    const QJsonObject caption{{"text", "Hello"}, {"font", "Segoe UI"}, {"text_color", "#ffffff"},
                              {"position", 8}, {"transition", 27}};
    return {{"type", "image"}, {"file_name", file}, {"time_ms", time_ms},
            {"transition", transition}, {"motion", 6}, {"text", caption}};
}

// A picture of noise: it does not compress, so its video grows quickly.
bool makePhoto(const QString& path)
{
    QImage image(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = QRandomGenerator::global()->generate() | 0xff000000;
    }
    QPainter(&image).drawEllipse(40, 30, 120, 90);
    return image.save(path);
}

int lineCount(const QByteArrayList& lines)
{
    return int(std::count_if(lines.begin(), lines.end(), &HelperProcess::isProgressLine));
}

bool onlyProgressLines(const QByteArrayList& lines)
{
    return lineCount(lines) == lines.size();
}

// Seconds of the file's first stream of that kind ("a" or "v"), from ffprobe.
double streamDuration(const QString& path, const QString& kind)
{
    QProcess probe;
    probe.start(QStandardPaths::findExecutable("ffprobe"),
                {"-v", "error", "-select_streams", kind + ":0", "-show_entries", "stream=duration",
                 "-of", "default=nw=1:nk=1", path});
    probe.waitForFinished();
    return probe.readAllStandardOutput().trimmed().toDouble();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The ty_helper program, end to end: a request file in, exit status, progress lines and
// the video out. Small sizes and a low frame rate keep the runs short.
class TestHelperProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void requestRefused_data();
    void requestRefused();
    void videoWithoutMusic();
    void videoWithMusic_data();
    void videoWithMusic();
    void captionLongerThanItsSlide();
    void musicThatIsNoFile_data();
    void musicThatIsNoFile();
    void projectLoop();
    void emptyShow_data();
    void emptyShow();
    void runsUseFoldersOfTheirOwn();
    void cacheOfTheUser();
    void noVideo_data();
    void noVideo();
    void fullDiskInTheFinalStep();
    void badNumbers_data();
    void badNumbers();
    void frameTotalPastInt();
    void largePhotosInLittleMemory();
    void pause_data();
    void pause();
    void stopWhileProgramsRun_data();
    void stopWhileProgramsRun();

private:
    QStringList arguments(const QString& request, const QString& session = QString()) const;
    // A request of a colour slide and a photo slide (with its transition), fps 10.
    QJsonObject project(int colourMs = 1000, int photoMs = 500) const;
    QString request(const QJsonObject& document, const QString& name = "request.json") const;
    void setSessionValue(const QString& session, const QString& name, int value) const;
    // Nothing of any run is left in the cache root.
    void verifyNoWorkFilesLeft() const;
    // No unfinished output file stays beside the output.
    void verifyNoPartialOutput() const;

    QTemporaryDir m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_cache;
    QString m_output;
    QString m_photo;
};

void TestHelperProgram::initTestCase()
{
    QVERIFY(m_env.isValid());
    QVERIFY2(!SoundFixture::ffmpeg().isEmpty(), "ffmpeg is needed");
    QVERIFY2(QFileInfo(HelperProcess::program()).isExecutable(), "ty_helper is needed");
    // This process and every child share a private configuration and temporary folder.
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        const QString folder = m_env.filePath(name);
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(name, folder.toUtf8());
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The session values live under the program's name.
    Application::setIdentity();
}

void TestHelperProgram::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_cache = m_dir->filePath("cache");
    m_output = m_dir->filePath("out.mp4");
    m_photo = m_dir->filePath("photo.png");
    QVERIFY(makePhoto(m_photo));
}

void TestHelperProgram::cleanup()
{
    m_dir.reset();
}

QStringList TestHelperProgram::arguments(const QString& request, const QString& session) const
{
    QStringList list{"--request", request, "--cache", m_cache};
    if (!session.isEmpty())
        list << "--session_id" << session;
    return list;
}

QJsonObject TestHelperProgram::project(int colourMs, int photoMs) const
{
    return {{"resolution", "160x120"}, {"fps", kFps}, {"format", "mp4"}, {"file_name", m_output},
            {"transition_time_ms", 500},
            {"images", QJsonArray{colourSlide(colourMs), photoSlide(m_photo, photoMs, 25)}}};
}

QString TestHelperProgram::request(const QJsonObject& document, const QString& name) const
{
    const QString path = m_dir->filePath(name);
    return writeRequest(path, document) ? path : QString();
}

void TestHelperProgram::setSessionValue(const QString& session, const QString& name, int value) const
{
    QVERIFY(RegistryKey(SessionKey::of(session)).setIntValue(name, value));
}

void TestHelperProgram::verifyNoWorkFilesLeft() const
{
    const QStringList left = QDir(m_cache).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void TestHelperProgram::requestRefused_data()
{
    QTest::addColumn<QByteArray>("content"); // none: no such file
    QTest::addColumn<int>("status");
    QTest::newRow("missing file") << QByteArray() << 255;
    QTest::newRow("not JSON") << QByteArray("{ \"resolution\": ") << 254;
    QTest::newRow("empty object") << QByteArray("{}") << 253;
    QTest::newRow("empty file") << QByteArray("") << 254;
    QTest::newRow("array, no resolution") << QByteArray("[1, 2]") << 253;
    QTest::newRow("no resolution") << QByteArray("{\"fps\": 10}") << 253;
    QTest::newRow("unknown slide")
        << QByteArray("{\"resolution\": \"160x120\", \"images\": [{\"type\": \"video\"}]}") << 253;
}

void TestHelperProgram::requestRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    const QString path = m_dir->filePath("request.json");
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(path), &lines), status);
    QVERIFY(lines.isEmpty());
    QVERIFY(!QFileInfo::exists(m_cache));
    if (content.isNull()) // no --request at all reads the empty path
        QCOMPARE(HelperProcess::run({"--cache", m_cache}), 255);
}

// The video stream becomes the output by a rename: one frame per progress line.
void TestHelperProgram::videoWithoutMusic()
{
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(request(project())), &lines), 0);
    QVERIFY(onlyProgressLines(lines));
    QCOMPARE(HelperProcess::totalOf(lines.first()), qint64(kFrames));
    QCOMPARE(lines.size(), kFrames);
    QVERIFY(lines.last().startsWith("value: 21, total: 21, remtime:"));

    const VideoProbe video = VideoProbe::read(m_output);
    QVERIFY(video.ok);
    QCOMPARE(video.codecId, int(AV_CODEC_ID_H264));
    QCOMPARE(video.size, QSize(160, 120));
    QCOMPARE(video.rateNum, kFps * video.rateDen);
    QCOMPARE(video.frames.size(), lines.size());
    QCOMPARE(SoundFixture::probe(m_output).channels, 0);
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::videoWithMusic_data()
{
    QTest::addColumn<QJsonObject>("document");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("lastSlideFrames"); // of one colour; 0: a moving photo
    QTest::addColumn<double>("seconds");
    QTest::newRow("2.5 s at 10 fps") << project(1000, 1000) << 25 << 0 << 2.5;
    // Seven slides of 45 frames; the last one in another colour.
    QJsonArray slides;
    for (int i = 0; i < 7; ++i) {
        QJsonObject slide = colourSlide(1500);
        slide["bg_index"] = i < 6 ? 3 : 5;
        slides.append(slide);
    }
    const QJsonObject seven{{"resolution", "160x120"}, {"fps", 30}, {"format", "mp4"},
                            {"file_name", m_output}, {"images", slides}};
    QTest::newRow("7 x 1500 ms at 30 fps") << seven << 7 * 45 << 45 << 10.5;
}

// Music longer than the show is cut, and the file to the show's length: every frame stays.
void TestHelperProgram::videoWithMusic()
{
    QFETCH(QJsonObject, document);
    QFETCH(int, frames);
    QFETCH(int, lastSlideFrames);
    QFETCH(double, seconds);
    const QString tone = m_dir->filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 12));
    document["file_name"] = m_output;
    document["audio"] = QJsonObject{{"fade", 1},
                                    {"files", QJsonArray{QJsonObject{{"file_name", tone}, {"duration", "12000"}}}}};
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(request(document)), &lines), 0);
    QVERIFY(onlyProgressLines(lines));
    QCOMPARE(lines.size(), frames);

    QCOMPARE(SoundFixture::probe(m_output).codec, QString("mp3"));
    const double sound = streamDuration(m_output, "a");
    QVERIFY2(qAbs(sound - seconds) < 0.05, qPrintable(QString::number(sound)));
    const VideoProbe video = VideoProbe::read(m_output);
    QCOMPARE(video.codecId, int(AV_CODEC_ID_H264));
    QCOMPARE(video.frames.size(), frames);
    verifyNoWorkFilesLeft();
    if (lastSlideFrames == 0)
        return;
    const QRgb last = video.frames.last().pixel(80, 60);
    int shown = 0;
    while (shown < frames && colorsClose(video.frames[frames - 1 - shown].pixel(80, 60), last, 8))
        ++shown;
    QCOMPARE(shown, lastSlideFrames);
}

// A slide of 300 ms whose caption animation takes 500 ms lasts 500 ms: the music is as long
// as the show, and the progress total counts every frame the video gets.
void TestHelperProgram::captionLongerThanItsSlide()
{
    QJsonObject shortSlide = colourSlide(300);
    shortSlide["text"] = QJsonObject{{"text", "Hello"}, {"text_color", "#ffffff"}, {"position", 4},
                                     {"transition", 27}};
    const QString tone = m_dir->filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 12));
    const QJsonObject document{
        {"resolution", "160x120"}, {"fps", kFps}, {"format", "mp4"}, {"file_name", m_output},
        {"images", QJsonArray{colourSlide(1000), shortSlide}},
        {"audio", QJsonObject{{"files", QJsonArray{QJsonObject{{"file_name", tone}}}}}}};
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(request(document)), &lines), 0);
    QVERIFY(onlyProgressLines(lines));
    // 10 frames, 5 caption frames and the motion frame after them.
    QCOMPARE(HelperProcess::totalOf(lines.first()), qint64(16));
    QCOMPARE(lines.size(), 16);
    const double sound = streamDuration(m_output, "a");
    QVERIFY2(qAbs(sound - 1.5) < 0.05, qPrintable(QString::number(sound)));
    QCOMPARE(VideoProbe::read(m_output).frames.size(), lines.size());
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::musicThatIsNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("pipe") << "pipe.mp3";
    QTest::newRow("pipe named as converted") << "pipe.m4a";
    QTest::newRow("folder") << "folder.mp3";
}

// A track that is no regular file is left out before any program reads it: a pipe
// would block the reader for ever.
void TestHelperProgram::musicThatIsNoFile()
{
    QFETCH(QString, name);
    const QString track = m_dir->filePath(name);
    if (name.startsWith("pipe"))
        QCOMPARE(mkfifo(QFile::encodeName(track).constData(), 0600), 0);
    else
        QVERIFY(QDir().mkpath(track));
    QJsonObject document = project(1000, 1000);
    document["audio"] = QJsonObject{{"loop", true},
                                    {"files", QJsonArray{QJsonObject{{"file_name", track}}}}};
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(request(document)), &lines), 0);
    QVERIFY(onlyProgressLines(lines));
    QVERIFY(VideoProbe::read(m_output).ok);
    QCOMPARE(SoundFixture::probe(m_output).channels, 0);
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::projectLoop()
{
    QJsonObject document = project();
    document["project_loop"] = 3;
    QByteArrayList lines;
    QCOMPARE(HelperProcess::run(arguments(request(document)), &lines), 0);
    QCOMPARE(lines.size(), kFrames);
    const VideoProbe video = VideoProbe::read(m_output);
    QVERIFY2(video.frames.size() >= 60 && video.frames.size() <= 63, qPrintable(QString::number(video.frames.size())));
    // Cut to 6 s; the copied video ends on the packet that reaches it.
    QVERIFY2(video.durationSeconds >= 5.95 && video.durationSeconds <= 6.3,
             qPrintable(QString::number(video.durationSeconds)));
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::emptyShow_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<QJsonValue>("images");
    QTest::newRow("no slides") << false << QJsonValue(QJsonArray());
    QTest::newRow("no slides, music") << true << QJsonValue(QJsonArray());
    QTest::newRow("images not a list") << false << QJsonValue(QJsonObject{{"type", "colored"}});
    QTest::newRow("images a number") << true << QJsonValue(7);
    QTest::newRow("slides of 0 ms") << true << QJsonValue(QJsonArray{colourSlide(0), colourSlide(0)});
}

// Nothing to show: no frame, no progress line and no file, with or without music; an
// older file stays and the reason is one line on standard error.
void TestHelperProgram::emptyShow()
{
    QFETCH(bool, music);
    QJsonObject document = project();
    if (music) {
        const QString tone = m_dir->filePath("tone.wav");
        QVERIFY(SoundFixture::makeTone(tone, 2));
        document["audio"] = QJsonObject{{"files", QJsonArray{QJsonObject{{"file_name", tone}}}}};
    }
    QFETCH(QJsonValue, images);
    document["images"] = images;
    const QByteArray older("an older video");
    QFile old(m_output);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(older) == older.size());
    old.close();
    QByteArrayList lines;
    QByteArrayList errors;
    QCOMPARE(HelperProcess::run(arguments(request(document)), &lines, -1, &errors), 0);
    QVERIFY(lines.isEmpty());
    QCOMPARE(contentOf(m_output), older);
    QCOMPARE(errors, QByteArrayList{"No video made: the project has nothing to show."});
    verifyNoWorkFilesLeft();
}

// Two runs at once, both held by a pause at their first frame, each in a folder of its
// own; both folders go with their runs.
void TestHelperProgram::runsUseFoldersOfTheirOwn()
{
    const QString path = request(project(500, 500));
    HelperProcess first;
    HelperProcess second;
    for (HelperProcess* process : {&first, &second}) {
        const QString session = process == &first ? "first" : "second";
        setSessionValue(session, SessionKey::isPaused, 1);
        process->start(arguments(path, session));
        QVERIFY(process->waitForLines(1));
    }
    const QStringList runs = QDir(m_cache).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(runs.size(), 2);
    for (const QString& run : runs)
        QVERIFY2(!QUuid::fromString(run).isNull() && run.startsWith('{'), qPrintable(run));
    for (const char* session : {"first", "second"})
        setSessionValue(session, SessionKey::isPaused, 0);
    QCOMPARE(first.finish(), 0);
    QCOMPARE(second.finish(), 0);
    verifyNoWorkFilesLeft();
}

// Without --cache the run works in the user's cache, not in the program's folder, which
// may be read-only; nothing stays in either.
void TestHelperProgram::cacheOfTheUser()
{
    const QString folder = m_dir->filePath("bin");
    QVERIFY(QDir().mkpath(folder));
    const QString copy = folder + "/ty_helper";
    QVERIFY(QFile::copy(HelperProcess::program(), copy));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(copy, {"--request", request(project(500, 500))});
    QVERIFY(process.waitForFinished(60000));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QFileInfo::exists(m_output));
    QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"ty_helper"});
    const QString userCache = m_env.filePath("XDG_CONFIG_HOME") + "/Kestrova Slideshow Maker/cache";
    QVERIFY(QFileInfo(userCache).isDir());
    QVERIFY(QDir(userCache).isEmpty());
}

void TestHelperProgram::noVideo_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("canceled before the start") << "cancel";
    QTest::newRow("fps 0") << "fps 0";
    QTest::newRow("output folder unwritable") << "output under a file";
    QTest::newRow("cache folder not creatable") << "cache under a file";
    QTest::newRow("disk full") << "file size limit";
    QTest::newRow("unknown extension") << "extension xyz";
    QTest::newRow("output folder missing") << "missing folder";
}

// Each ends with status 0 and no new output: an older file there stays byte for byte.
void TestHelperProgram::noVideo()
{
    QFETCH(QString, change);
    const QString blocker = m_dir->filePath("a file");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    if (change == "extension xyz")
        m_output = m_dir->filePath("out.xyz");
    const QByteArray older("an older video");
    QFile old(m_output);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(older);
    old.close();

    QJsonObject document = project();
    QString session = "job-" + QString(QTest::currentDataTag()).replace(' ', '-');
    qint64 sizeLimit = -1;
    if (change == "cancel")
        setSessionValue(session, SessionKey::isCanceled, 1);
    else if (change == "fps 0")
        document["fps"] = 0;
    else if (change == "output under a file")
        document["file_name"] = blocker + "/out.mp4";
    else if (change == "cache under a file")
        m_cache = blocker + "/cache";
    else if (change == "file size limit")
        sizeLimit = 1024;
    else if (change == "extension xyz")
        document["file_name"] = m_output;
    else if (change == "missing folder")
        document["file_name"] = m_dir->filePath("missing/out.mp4");

    QByteArrayList lines;
    QByteArrayList errors;
    QCOMPARE(HelperProcess::run(arguments(request(document), session), &lines, sizeLimit, &errors), 0);
    QVERIFY(onlyProgressLines(lines));
    QCOMPARE(contentOf(m_output), older);
    QVERIFY2(errors.size() == 1, errors.join('|').constData());
    if (change != "cache under a file")
        verifyNoWorkFilesLeft();
    // Only a full disk is found once frames were drawn.
    QCOMPARE(lines.isEmpty(), change != "file size limit");
    verifyNoPartialOutput();
}

// The final file is larger than the video stream: a full disk stops only the final step.
// The older output stays, and no partial file is left beside it.
void TestHelperProgram::fullDiskInTheFinalStep()
{
    const QString path = request(project());
    QCOMPARE(HelperProcess::run(arguments(path)), 0);
    const qint64 streamSize = QFileInfo(m_output).size();
    QVERIFY(streamSize > 0);
    const QByteArray older("an older video");
    QFile old(m_output);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate) && old.write(older) == older.size());
    old.close();

    QJsonObject document = project();
    document["project_loop"] = 3;
    QByteArrayList errors;
    QCOMPARE(HelperProcess::run(arguments(request(document)), nullptr, 2 * streamSize, &errors), 0);
    QCOMPARE(contentOf(m_output), older);
    QVERIFY2(errors.size() == 1, errors.join('|').constData());
    verifyNoWorkFilesLeft();
    verifyNoPartialOutput();
}

void TestHelperProgram::badNumbers_data()
{
    QTest::addColumn<QJsonObject>("changes");
    QTest::addColumn<bool>("video");
    const auto slides = [](int first, int second) {
        return QJsonObject{{"images", QJsonArray{colourSlide(first), colourSlide(second)}}};
    };
    QTest::newRow("fps 1e9") << QJsonObject{{"fps", 1e9}} << false;
    QTest::newRow("fps 121") << QJsonObject{{"fps", 121}} << false;
    QTest::newRow("fps -1") << QJsonObject{{"fps", -1}} << false;
    QTest::newRow("fps lowest int") << QJsonObject{{"fps", INT_MIN}} << false;
    QTest::newRow("slide times below 0") << slides(-5000, INT_MIN) << false;
    QTest::newRow("a slide time below 0") << slides(-5000, 1000) << true;
    QTest::newRow("lowest int beside a slide") << slides(INT_MIN, 1000) << true;
    QTest::newRow("transition time below 0")
        << QJsonObject{{"transition_time_ms", INT_MIN},
                       {"images", QJsonArray{colourSlide(500, 25), colourSlide(500, 25)}}}
        << true;
    QTest::newRow("highest slide times, canceled") << slides(INT_MAX, INT_MAX) << true;
    QTest::newRow("music offset lowest int")
        << QJsonObject{{"audio", QJsonObject{{"offset", INT_MIN}, {"fade", INT_MIN}}}} << true;
    QTest::newRow("music offset and fade highest int")
        << QJsonObject{{"audio", QJsonObject{{"offset", INT_MAX}, {"fade", INT_MAX}, {"loop", true}}}} << true;
}

// Numbers no user would give: no overflow, no endless sound track. What cannot make a
// video makes no file and says why in one line; the rest makes the video it can.
void TestHelperProgram::badNumbers()
{
    QFETCH(QJsonObject, changes);
    QFETCH(bool, video);
    const QString tone = m_dir->filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 1));
    QJsonObject document = project(1000, 500);
    document["audio"] = QJsonObject{{"files", QJsonArray{QJsonObject{{"file_name", tone}}}}};
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        QJsonValue value = it.value();
        if (it.key() == "audio") {
            QJsonObject audio = value.toObject();
            audio["files"] = document["audio"].toObject()["files"];
            value = audio;
        }
        document[it.key()] = value;
    }
    const bool cancel = QByteArray(QTest::currentDataTag()).endsWith("canceled");
    const QString session = cancel ? "bad-numbers-canceled" : "bad-numbers";
    HelperProcess process;
    process.start(arguments(request(document), session));
    if (cancel) {
        QVERIFY(process.waitForLines(1));
        setSessionValue(session, SessionKey::isCanceled, 1);
    }
    QCOMPARE(process.finish(), 0);
    QVERIFY(onlyProgressLines(process.lines()));
    const QByteArrayList errors = process.errorLines();
    QCOMPARE(QFileInfo::exists(m_output), video && !cancel);
    if (video && !cancel) {
        QVERIFY2(errors.isEmpty(), errors.join('|').constData());
        QVERIFY(VideoProbe::read(m_output).ok);
    } else {
        QVERIFY2(errors.size() == 1, errors.join('|').constData());
    }
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::verifyNoPartialOutput() const
{
    const QStringList hidden = QDir(m_dir->path()).entryList({".*"}, QDir::Files | QDir::Hidden);
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(' ')));
}

// A show of a day and more at 30 fps: the frame count overflows 32 bits unless it is
// computed in 64. The run is canceled after its first frame.
void TestHelperProgram::frameTotalPastInt()
{
    const QJsonObject document{{"resolution", "32x24"}, {"fps", 30}, {"format", "mp4"},
                               {"file_name", m_output},
                               {"images", QJsonArray{colourSlide(100000000)}}};
    const QString session = "long";
    HelperProcess process;
    process.start(arguments(request(document), session));
    QVERIFY(process.waitForLines(1));
    setSessionValue(session, SessionKey::isCanceled, 1);
    QCOMPARE(process.finish(), 0);
    const QByteArrayList lines = process.lines();
    QVERIFY(onlyProgressLines(lines));
    QCOMPARE(HelperProcess::totalOf(lines.first()), qint64(3000000));
    QCOMPARE(RegistryKey(SessionKey::of(session)).intValue(SessionKey::totalTask), qint64(3000000));
    QVERIFY(!QFileInfo::exists(m_output));
    verifyNoWorkFilesLeft();
}

// Photos whose headers declare pictures of gigabytes, and one as large as is read at all, in
// a show run within 1 GB of address space: the refused ones are black slides, the large one
// is decoded no larger than it is shown.
void TestHelperProgram::largePhotosInLittleMemory()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("The sanitizer's shadow memory does not fit in 1 GB.");
#endif
    using namespace PhotoFixtures;
    const QByteArray turned = orientedJpeg(solid(64, 64, Qt::white), QDataStream::LittleEndian, 6);
    const QByteArray png = encode(solid(64, 64, Qt::white), "png");
    const QList<QPair<QString, QByteArray>> refused{
        {"turned.jpg", declaringSize(turned, {24000, 24000})},
        {"wide.png", declaringSize(png, {40000, 40000})},
        {"widest.jpg", declaringSize(turned, {65500, 65500})}};
    QJsonArray slides;
    const auto addSlide = [&slides](const QString& file) {
        slides << QJsonObject{{"type", "image"}, {"file_name", file}, {"time_ms", 1000},
                              {"transition", 0}, {"motion", 6}};
    };
    for (const auto& photo : refused) {
        const QString path = m_dir->filePath(photo.first);
        QVERIFY(writeFile(path, photo.second));
        addSlide(path);
    }
    {
        // 256 megapixels: 1 GB once drawn over black at full size.
        QImage large(16000, 16000, QImage::Format_Grayscale8);
        QVERIFY(!large.isNull());
        large.fill(160);
        QVERIFY(large.save(m_dir->filePath("large.jpg"), "jpg", 50));
    }
    addSlide(m_dir->filePath("large.jpg"));
    const QJsonObject document{{"resolution", "160x120"}, {"fps", kFps}, {"format", "mp4"},
                               {"file_name", m_output}, {"images", slides}};

    HelperProcess process;
    process.setAddressSpaceLimit(qint64(1) << 30);
    process.start(arguments(request(document)));
    QCOMPARE(process.finish(), 0);
    const QByteArrayList errors = process.errorLines();
    QVERIFY2(errors.isEmpty(), errors.join('|').constData());
    const VideoProbe video = VideoProbe::read(m_output);
    QVERIFY(video.ok);
    QCOMPARE(video.frames.size(), 4 * kFps);
    for (int i = 0; i < video.frames.size(); ++i) {
        const QRgb centre = video.frames[i].pixel(80, 60);
        const QRgb expected = i < 3 * kFps ? qRgb(0, 0, 0) : qRgb(160, 160, 160);
        QVERIFY2(colorsClose(centre, expected, 12), qPrintable(QStringLiteral("frame %1: %2").arg(i).arg(centre, 0, 16)));
    }
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::pause_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("resumed") << false;
    QTest::newRow("canceled while paused") << true;
}

// A pause written after a few frames holds the job: no line, no output until cleared.
// The long colour slide leaves the job time to see the pause on a busy machine.
void TestHelperProgram::pause()
{
    QFETCH(bool, cancel);
    constexpr int colourMs = 30000;
    constexpr int frames = kFrames + (colourMs - 1000) * kFps / 1000;
    const QString session = cancel ? "paused-canceled" : "paused-resumed";
    HelperProcess process;
    process.start(arguments(request(project(colourMs)), session));
    QVERIFY(process.waitForLines(3));
    setSessionValue(session, SessionKey::isPaused, 1);
    // The job sees the pause at its next frame; then the lines stop.
    int held = -1;
    for (int look = 0; look < 20 && held != process.lines().size(); ++look) {
        held = process.lines().size();
        QThread::msleep(300);
    }
    QVERIFY2(held < frames, qPrintable(QString::number(held)));
    QVERIFY(!process.waitForLines(held + 1, 700));
    QCOMPARE(process.state(), QProcess::Running);
    QVERIFY(!QFileInfo::exists(m_output));

    if (cancel)
        setSessionValue(session, SessionKey::isCanceled, 1);
    else
        setSessionValue(session, SessionKey::isPaused, 0);
    QCOMPARE(process.finish(), 0);
    const QByteArrayList lines = process.lines();
    QVERIFY(onlyProgressLines(lines));
    QCOMPARE(lines.size(), cancel ? held : frames);
    QCOMPARE(QFileInfo::exists(m_output), !cancel);
    verifyNoWorkFilesLeft();
}

void TestHelperProgram::stopWhileProgramsRun_data()
{
    QTest::addColumn<QString>("stallOn"); // the ffmpeg run that is going on
    QTest::addColumn<int>("stop");        // the signal, 0 for a cancel
    const QList<QPair<const char*, QString>> runs{{"converting music", "-ar"},
                                                  {"looping the sound track", "merge-loop-audio"},
                                                  {"joining video and sound", "-c:v"}};
    for (const auto& run : runs) {
        QTest::addRow("%s, canceled", run.first) << run.second << 0;
        QTest::addRow("%s, SIGTERM", run.first) << run.second << int(SIGTERM);
        QTest::addRow("%s, SIGINT", run.first) << run.second << int(SIGINT);
        QTest::addRow("%s, SIGKILL", run.first) << run.second << int(SIGKILL);
    }
}

// However the run is stopped, no program it started outlives it and the older output
// stays; a cancel, SIGTERM or SIGINT also ends the run as usual and removes its work files.
void TestHelperProgram::stopWhileProgramsRun()
{
    QFETCH(QString, stallOn);
    QFETCH(int, stop);
    StallingTool tool(stallOn);
    QVERIFY(tool.isValid());
    const QByteArray older("an older video");
    QFile old(m_output);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(older) == older.size());
    old.close();
    const QString tone = m_dir->filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 1));
    QJsonObject document = project(30000, 1000);
    document["audio"] = QJsonObject{{"loop", true},
                                    {"files", QJsonArray{QJsonObject{{"file_name", tone}}}}};

    const QString session = "stopped-" + QString::number(QRandomGenerator::global()->generate());
    HelperProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", QString::fromLocal8Bit(tool.path()));
    process.setProcessEnvironment(environment);
    process.start(arguments(request(document), session));
    QTRY_VERIFY_WITH_TIMEOUT(!tool.stalled().isEmpty(), 60000);
    const pid_t helper = pid_t(process.processId());
    const QList<pid_t> children = Processes::childrenOf(helper);
    QVERIFY(children.contains(tool.stalled().first()));

    if (stop == 0)
        setSessionValue(session, SessionKey::isCanceled, 1);
    else
        QCOMPARE(kill(helper, stop), 0);
    const int status = process.finish();
    QCOMPARE(status, stop == SIGKILL ? -1 : 0);
    for (pid_t child : children)
        QTRY_VERIFY_WITH_TIMEOUT(Processes::isGone(child), 30000);
    QCOMPARE(contentOf(m_output), older);
    if (stop != SIGKILL) {
        verifyNoWorkFilesLeft();
        verifyNoPartialOutput();
    }
}

QTEST_GUILESS_MAIN(TestHelperProgram)
#include "tst_helperprogram.moc"
