#include <QtTest>

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"

#include "support/PhotoFixtures.h"

#include <QJsonDocument>
#include <QTemporaryDir>

#include <memory>

namespace {

using ProjectPtr = std::unique_ptr<ProjectFile>;

const char kNewProject[] = R"({
    "audio": {
        "fade": 0,
        "files": [
        ],
        "loop": false,
        "offset": 0
    },
    "blur_background": false,
    "defaultMotion": 1,
    "defaultTime_ms": 3000,
    "defaultTransition": 1,
    "file_name": "",
    "format": "",
    "fps": 30,
    "images": [
    ],
    "name": "Новый проект",
    "project_loop": 1,
    "resolution": "1024x768",
    "scale_to_fit": false,
    "transition_time_ms": 3000
}
)";

QJsonObject parse(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

ProjectPtr fromJson(const QByteArray& json)
{
    return ProjectPtr(ProjectFile::fromJson(parse(json)));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A project with every slide kind, captions and music.
ProjectPtr fullProject()
{
    ProjectPtr project(ProjectFile::create(2500));
    project->name = QStringLiteral("Отпуск");
    project->file_name = QStringLiteral("/out/video.mp4");
    project->format = QStringLiteral("mp4");
    project->resolution = Resolution(1280, 720);
    project->transition_time_ms = 1500;
    project->audio_fade = 3;
    project->blur_background = true;
    project->scale_to_fit = true;
    project->project_loop = 2;
    project->fps = 25;
    project->audio_loop = true;
    project->audio_offset = -4;
    project->defaultTime_ms = 4000;
    project->defaultTransition = 27;
    project->defaultMotion = 0;
    project->audio_files = {{QStringLiteral("/m/a.mp3"), QStringLiteral("/tmp/a.wav"), 123456},
                            {QStringLiteral("/m/b.ogg"), QString(), 9000000000LL}};

    auto* photo = new ProjectItemSimple(QStringLiteral("/p/1.jpg"), 3000, 13);
    photo->setMotion(7);
    photo->rotate();
    SlideText caption = photo->text();
    caption.text = QStringLiteral("Море\nи солнце");
    caption.font = QStringLiteral("Tahoma");
    caption.font_size = TextInfo::Larger;
    caption.changed = true;
    photo->setText(caption);
    auto* color = ProjectFile::createColorItem(20, 2000, 0);
    color->text().text = QStringLiteral("Конец");
    project->insertItems({photo, color, new ProjectItemSimple(QStringLiteral("/p/2.png"), 1000, 1)},
                         -1);
    SlideText style;
    style.text = QStringLiteral("kept nowhere");
    style.font = QStringLiteral("Tahoma");
    project->setDefaultText(style);
    return project;
}

} // namespace

class TestProjectFile : public QObject
{
    Q_OBJECT

private slots:
    void newProjectText();
    void constructorDefaults();
    void readingDefaults();
    void readingValues_data();
    void readingValues();
    void trackDuration_data();
    void trackDuration();
    void loadFailures_data();
    void loadFailures();
    void roundTrip();
    void contentHash();
    void saveReplacesWhole();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void clones();
    void createColorItem_data();
    void createColorItem();
    void setDefaultText();
    void ownsSlides();
};

void TestProjectFile::newProjectText()
{
    const ProjectPtr project(ProjectFile::create(0));
    QCOMPARE(QString::fromUtf8(QJsonDocument(project->toJson()).toJson()),
             QString::fromUtf8(kNewProject));
}

void TestProjectFile::constructorDefaults()
{
    QObject owner;
    ProjectFile* project = ProjectFile::create(3000, &owner);
    QCOMPARE(project->parent(), &owner);
    QVERIFY(project->format.isNull());
    QCOMPARE(project->itemCount(), 1);
    auto* title = dynamic_cast<ProjectItemFirst*>(project->item(0));
    QVERIFY(title);
    QCOMPARE(title->time_ms(), 3000);

    const SlideText& style = project->defaultText;
    QVERIFY(style.text.isEmpty());
    QCOMPARE(style.font, QStringLiteral("Segoe UI"));
    QCOMPARE(style.text_color, QColor(Qt::white));
    QCOMPARE(style.bg_color, QColor(Qt::black));
    QCOMPARE(int(style.position), 8);
    QCOMPARE(style.transition, 27);
    QVERIFY(!style.changed);
    QCOMPARE(int(style.font_size), 0);

    QCOMPARE(ProjectPtr(ProjectFile::create(-5))->itemCount(), 0);
}

void TestProjectFile::readingDefaults()
{
    const ProjectPtr project = fromJson(R"({"resolution":"640x480"})");
    QVERIFY(project);
    QCOMPARE(project->resolution, Resolution(640, 480));
    QVERIFY(project->name.isEmpty());
    QVERIFY(project->file_name.isEmpty());
    QVERIFY(project->format.isEmpty());
    QVERIFY(!project->blur_background);
    QVERIFY(!project->scale_to_fit);
    QCOMPARE(project->project_loop, 1);
    QCOMPARE(project->fps, 15);
    QCOMPARE(project->defaultTime_ms, 3000);
    QCOMPARE(project->defaultMotion, 1);
    QCOMPARE(project->defaultTransition, 1);
    QCOMPARE(project->audio_offset, 0);
    QVERIFY(!project->audio_loop);
    QCOMPARE(project->audio_fade, 0);
    QVERIFY(project->audio_files.isEmpty());
    QCOMPARE(project->itemCount(), 0);
    QCOMPARE(project->transition_time_ms, 3000);
    QVERIFY(!project->parent());
}

void TestProjectFile::readingValues_data()
{
    QTest::addColumn<QByteArray>("members");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");

    QTest::newRow("fps") << QByteArray(R"("fps":24)") << "fps" << 24;
    QTest::newRow("fps as text") << QByteArray(R"("fps":"25")") << "fps" << 0;
    QTest::newRow("fps huge") << QByteArray(R"("fps":1e12)") << "fps" << 0;
    QTest::newRow("fps null") << QByteArray(R"("fps":null)") << "fps" << 0;
    QTest::newRow("transition time") << QByteArray(R"("transition_time_ms":1500)")
                                     << "transition_time_ms" << 1500;
    QTest::newRow("transition time 0") << QByteArray(R"("transition_time_ms":0)")
                                       << "transition_time_ms" << 3000;
    QTest::newRow("transition time text") << QByteArray(R"("transition_time_ms":"9")")
                                          << "transition_time_ms" << 3000;
    QTest::newRow("loop fraction") << QByteArray(R"("project_loop":2.5)") << "project_loop" << 0;
    QTest::newRow("loop") << QByteArray(R"("project_loop":4)") << "project_loop" << 4;
    QTest::newRow("time text") << QByteArray(R"("defaultTime_ms":"x")") << "defaultTime_ms" << 0;
    QTest::newRow("motion") << QByteArray(R"("defaultMotion":0)") << "defaultMotion" << 0;
    QTest::newRow("transition") << QByteArray(R"("defaultTransition":26)")
                                << "defaultTransition" << 26;
    QTest::newRow("audio") << QByteArray(R"("audio":{"offset":-3,"fade":"2"})")
                           << "audio_offset" << -3;
    QTest::newRow("audio fade text") << QByteArray(R"("audio":{"fade":"2"})") << "audio_fade" << 0;
    QTest::newRow("audio not object") << QByteArray(R"("audio":[1,2])") << "audio_offset" << 0;
}

void TestProjectFile::readingValues()
{
    QFETCH(QByteArray, members);
    QFETCH(QString, field);
    const ProjectPtr project = fromJson(R"({"resolution":"640x480",)" + members + "}");
    QVERIFY(project);
    const std::map<QString, int> fields = {
        {"fps", project->fps},
        {"transition_time_ms", project->transition_time_ms},
        {"project_loop", project->project_loop},
        {"defaultTime_ms", project->defaultTime_ms},
        {"defaultMotion", project->defaultMotion},
        {"defaultTransition", project->defaultTransition},
        {"audio_offset", project->audio_offset},
        {"audio_fade", project->audio_fade},
    };
    QTEST(fields.at(field), "value");
}

void TestProjectFile::trackDuration_data()
{
    QTest::addColumn<QByteArray>("track");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("text") << QByteArray(R"({"file_name":"/a.mp3","duration":"123456"})")
                          << qint64(123456) << "/a.mp3";
    QTest::newRow("64-bit") << QByteArray(R"({"file_name":"/a.mp3","duration":"9000000000"})")
                            << qint64(9000000000LL) << "/a.mp3";
    QTest::newRow("number") << QByteArray(R"({"file_name":"/a.mp3","duration":5000})")
                            << qint64(0) << "/a.mp3";
    QTest::newRow("fraction text") << QByteArray(R"({"duration":"12.5"})") << qint64(0) << "";
    QTest::newRow("too large") << QByteArray(R"({"duration":"99999999999999999999"})")
                               << qint64(0) << "";
    QTest::newRow("absent") << QByteArray("{}") << qint64(0) << "";
    QTest::newRow("not an object") << QByteArray("7") << qint64(0) << "";
}

void TestProjectFile::trackDuration()
{
    QFETCH(QByteArray, track);
    const ProjectPtr project =
        fromJson(R"({"resolution":"640x480","audio":{"files":[)" + track + "]}}");
    QVERIFY(project);
    QCOMPARE(project->audio_files.size(), 1);
    QTEST(project->audio_files.first().duration_ms, "duration");
    QTEST(project->audio_files.first().fileName, "fileName");
    QVERIFY(project->audio_files.first().wavFileName.isEmpty());
}

void TestProjectFile::loadFailures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("loads");
    QTest::newRow("full hd") << QByteArray(R"({"resolution":"1920x1080"})") << true;
    QTest::newRow("capital X") << QByteArray(R"({"resolution":"1920X1080"})") << false;
    QTest::newRow("no height") << QByteArray(R"({"resolution":"1920x"})") << false;
    QTest::newRow("empty resolution") << QByteArray(R"({"resolution":""})") << false;
    QTest::newRow("zero width") << QByteArray(R"({"resolution":"0x720"})") << false;
    QTest::newRow("blank in resolution") << QByteArray(R"({"resolution":"1920x 1080"})") << false;
    QTest::newRow("resolution number") << QByteArray(R"({"resolution":1920})") << false;
    QTest::newRow("no resolution") << QByteArray(R"({"fps":30})") << false;
    QTest::newRow("not json") << QByteArray("resolution=640x480") << false;
    QTest::newRow("truncated") << QByteArray(R"({"resolution":"640x480")") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("array") << QByteArray(R"([{"resolution":"640x480"}])") << false;
    QTest::newRow("unknown slide")
        << QByteArray(R"({"resolution":"640x480","images":[{"type":"image"},{"type":"video"},
                         {"type":"colored"}]})")
        << false;
    QTest::newRow("slide not an object")
        << QByteArray(R"({"resolution":"640x480","images":[{"type":"image"},3]})") << false;
    QTest::newRow("slides") << QByteArray(R"({"resolution":"640x480","images":[{"type":"image"},
                                             {"type":"starter"},{"type":"colored"}]})")
                            << true;
}

void TestProjectFile::loadFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    QVERIFY(PhotoFixtures::writeFile(path, content));
    const ProjectPtr project(ProjectFile::load(path));
    QCOMPARE(bool(project), loads);
}

void TestProjectFile::roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    const ProjectPtr project = fullProject();
    QVERIFY(project->save(path));
    QVERIFY(!ProjectFile::load(dir.filePath(QStringLiteral("missing.json"))));

    const ProjectPtr loaded(ProjectFile::load(path));
    QVERIFY(loaded);
    QCOMPARE(loaded->toJson(), project->toJson());
    QCOMPARE(loaded->itemCount(), 4);
    QVERIFY(dynamic_cast<ProjectItemFirst*>(loaded->item(0)));
    QVERIFY(dynamic_cast<ProjectItemColor*>(loaded->item(2)));
    auto* photo = dynamic_cast<ProjectItemSimple*>(loaded->item(1));
    QVERIFY(photo);
    QCOMPARE(photo->motion(), 7);
    QCOMPARE(photo->angle(), 90);
    QCOMPARE(photo->text().text, QStringLiteral("Море\nи солнце"));
    QVERIFY(photo->text().changed);
    QCOMPARE(loaded->audio_files.size(), 2);
    QCOMPARE(loaded->audio_files.at(1).duration_ms, 9000000000LL);
    QCOMPARE(loaded->audio_files.at(0).fileName, QStringLiteral("/m/a.mp3"));
    // Neither the WAV paths nor the default caption style are kept.
    QVERIFY(loaded->audio_files.at(0).wavFileName.isEmpty());
    QCOMPARE(loaded->defaultText.font, QStringLiteral("Segoe UI"));
    QCOMPARE(project->defaultText.font, QStringLiteral("Tahoma"));
}

void TestProjectFile::contentHash()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    const ProjectPtr project = fullProject();
    const QString hash = project->contentHash();
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(hash).hasMatch());
    QCOMPARE(project->contentHash(), hash);
    QVERIFY(project->save(path));
    QCOMPARE(ProjectPtr(ProjectFile::load(path))->contentHash(), hash);
    QCOMPARE(QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Md5)
                                     .toHex()),
             hash);

    // The default caption style is not part of the document.
    project->defaultText.font = QStringLiteral("Other");
    QCOMPARE(project->contentHash(), hash);
    project->item(1)->setTime_ms(3001);
    QVERIFY(project->contentHash() != hash);
}

void TestProjectFile::saveReplacesWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    QVERIFY(PhotoFixtures::writeFile(path, QByteArray(100000, 'x')));
    const ProjectPtr project(ProjectFile::create(0));
    QVERIFY(project->save(path));
    QCOMPARE(readFile(path), QByteArray(kNewProject));
    QVERIFY(!project->save(dir.filePath(QStringLiteral("no/such/folder/p.json"))));
    QVERIFY(!project->save(dir.path()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"project.json"});
}

void TestProjectFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<int>("extraSlides");
    QTest::newRow("buffered") << 0;
    QTest::newRow("beyond the write buffer") << 400;
}

void TestProjectFile::failedSaveKeepsOldFile()
{
    QFETCH(int, extraSlides);
    const ProjectPtr project = fullProject();
    for (int i = 0; i < extraSlides; ++i)
        project->insertItems({new ProjectItemColor(1000, 1)}, -1);
    QVERIFY(extraSlides == 0 || QJsonDocument(project->toJson()).toJson().size() > 65536);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.json"));
    const QByteArray old = "{\"resolution\":\"640x480\"}";
    QVERIFY(PhotoFixtures::writeFile(path, old));

    // Writing stops at 64 bytes, so the document cannot be written whole.
    bool saved_ok = true;
    {
        const PhotoFixtures::FileSizeLimit limit(64);
        QVERIFY(limit.isSet());
        saved_ok = project->save(path);
    }

    QVERIFY(!saved_ok);
    QCOMPARE(readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"project.json"});
}

void TestProjectFile::clones()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("there.jpg"));
    QVERIFY(PhotoFixtures::writeFile(existing, "x"));
    ProjectPtr project = fullProject();
    project->insertItems({new ProjectItemSimple(existing, 1200, 2)}, 2);

    const ProjectPtr copy(project->clone());
    QVERIFY(!copy->parent());
    QCOMPARE(copy->toJson(), project->toJson());
    QCOMPARE(copy->itemCount(), project->itemCount());
    for (int i = 0; i < copy->itemCount(); ++i)
        QVERIFY(copy->item(i) != project->item(i));
    QCOMPARE(copy->defaultText.font, QStringLiteral("Segoe UI"));
    QCOMPARE(copy->audio_files.at(0).wavFileName, QStringLiteral("/tmp/a.wav"));

    const ProjectPtr existingOnly(project->cloneExisting());
    QCOMPARE(existingOnly->itemCount(), 1);
    auto* photo = dynamic_cast<ProjectItemSimple*>(existingOnly->item(0));
    QVERIFY(photo);
    QCOMPARE(photo->fileName(), existing);
    QVERIFY(photo != project->item(2));
    QCOMPARE(existingOnly->fps, 25);
    QCOMPARE(existingOnly->audio_files.size(), 2);
}

void TestProjectFile::createColorItem_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("textColor");
    QTest::newRow("white") << 0 << QColor("#000000");
    QTest::newRow("brown") << 1 << QColor("#ffe7d9");
    QTest::newRow("gradient") << 20 << QColor("#41819d");
    QTest::newRow("outside") << 99 << QColor("#000000");
}

void TestProjectFile::createColorItem()
{
    QFETCH(int, index);
    const std::unique_ptr<ProjectItemColor> item(ProjectFile::createColorItem(index, 2500, 11));
    QCOMPARE(item->bgIndex(), index);
    QCOMPARE(item->time_ms(), 2500);
    QCOMPARE(item->transition, 11);
    const SlideText& c = item->text();
    QVERIFY(c.text.isEmpty());
    QCOMPARE(c.font, QStringLiteral("Segoe UI"));
    QTEST(c.text_color, "textColor");
    QVERIFY(!c.bg_color.isValid());
    QCOMPARE(int(c.position), 4);
    QCOMPARE(c.transition, 27);
    QVERIFY(!c.changed);
    QCOMPARE(int(c.font_size), 0);
}

void TestProjectFile::setDefaultText()
{
    ProjectFile project;
    SlideText style;
    style.text = QStringLiteral("text");
    style.changed = true;
    style.font = QStringLiteral("Tahoma");
    style.position = TextInfo::TopRight;
    project.setDefaultText(style);
    QVERIFY(project.defaultText.text.isEmpty());
    QVERIFY(!project.defaultText.changed);
    QCOMPARE(project.defaultText.font, QStringLiteral("Tahoma"));
    QCOMPARE(int(project.defaultText.position), 2);
}

void TestProjectFile::ownsSlides()
{
    QPointer<ProjectItem> first;
    QPointer<ProjectItem> second;
    {
        ProjectFile project(1000);
        first = project.item(0);
        second = new ProjectItemColor(1000, 1);
        project.insertItems({second}, -1);
    }
    QVERIFY(!first);
    QVERIFY(!second);
}

QTEST_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
