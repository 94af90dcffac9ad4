#include <QtTest>

#include "app/HistoryModel.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "support/AppTestSupport.h"
#include "support/PhotoFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

std::unique_ptr<ProjectFile> projectOf(const QString& fileName, const QString& name = "Show")
{
    auto project = std::make_unique<ProjectFile>(2000);
    project->file_name = fileName;
    project->name = name;
    project->insertItems({new ProjectItemColor(1500, 0)}, -1);
    return project;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesOf(const HistoryModel& model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row, 0), Qt::UserRole).value<ProjectFile*>()->file_name;
    return names;
}

QPair<int, int> rangeOf(const QSignalSpy& spy, int call = 0)
{
    return {spy.at(call).at(1).toInt(), spy.at(call).at(2).toInt()};
}

} // namespace

// The list of composed projects and its file in the user's configuration folder.
class TestHistoryModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void fileAndRoundTrip();
    void sameNameReplacesInPlace();
    void refusedProjects();
    void removeAndClear();
    void fileThatGivesNothing_data();
    void fileThatGivesNothing();
    void badEntryIsSkipped();
    void rolesAndColumns();
    void failedWriteKeepsTheOldFile();

private:
    std::unique_ptr<PrivateFolders> m_folders;
    QString m_file;
    QString m_videos;
};

void TestHistoryModel::initTestCase()
{
    m_folders = std::make_unique<PrivateFolders>();
    QVERIFY(m_folders->isValid());
    QCoreApplication::setApplicationName("Slide App");
    m_file = m_folders->folder("XDG_CONFIG_HOME") + "/Slide App/project_history.json";
    m_videos = m_folders->folder("HOME");
}

void TestHistoryModel::init()
{
    QFile::remove(m_file);
}

void TestHistoryModel::fileAndRoundTrip()
{
    QCOMPARE(HistoryModel::historyFile(), m_file);
    QVERIFY(QFileInfo(m_file).dir().exists());
    {
        HistoryModel model;
        QCOMPARE(model.rowCount(), 0);
        model.addProject(projectOf("/videos/a.mp4", "First").get());
        model.addProject(projectOf("/videos/b.mp4", "Second").get());
        QCOMPARE(namesOf(model), (QStringList{"/videos/b.mp4", "/videos/a.mp4"}));
    }
    const QByteArray text = contentOf(m_file);
    QVERIFY(text.contains("\n    \"")); // indented
    const QJsonObject root = QJsonDocument::fromJson(text).object();
    QCOMPARE(root.value("version").toString(), QString("first"));
    const QJsonArray projects = root.value("projects").toArray();
    QCOMPARE(projects.size(), 2);
    QCOMPARE(projects[0].toObject().value("file_name").toString(), QString("/videos/b.mp4"));

    HistoryModel reloaded;
    QCOMPARE(namesOf(reloaded), (QStringList{"/videos/b.mp4", "/videos/a.mp4"}));
    ProjectFile* first = reloaded.project("/videos/a.mp4");
    QVERIFY(first);
    QCOMPARE(first->toJson(), projectOf("/videos/a.mp4", "First")->toJson());
    QCOMPARE(reloaded.project("/videos/c.mp4"), nullptr);
}

void TestHistoryModel::sameNameReplacesInPlace()
{
    HistoryModel model;
    for (const char* name : {"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"})
        model.addProject(projectOf(name).get());
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    auto changed = projectOf("/V/B.MP4", "Changed");
    model.addProject(changed.get());
    QCOMPARE(removed.count(), 1);
    QCOMPARE(rangeOf(removed), qMakePair(1, 1));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(rangeOf(inserted), qMakePair(1, 1));
    QCOMPARE(namesOf(model), (QStringList{"/v/c.mp4", "/V/B.MP4", "/v/a.mp4"}));
    // The model keeps a copy of its own.
    ProjectFile* kept = model.project("/v/b.mp4");
    QVERIFY(kept && kept != changed.get());
    QCOMPARE(kept->name, QString("Changed"));
    QCOMPARE(HistoryModel().project("/v/b.mp4")->name, QString("Changed"));

    model.addProject(projectOf("/v/d.mp4").get());
    QCOMPARE(rangeOf(inserted, 1), qMakePair(0, 0));
    QCOMPARE(model.rowCount(), 4);
}

void TestHistoryModel::refusedProjects()
{
    HistoryModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.addProject(nullptr);
    model.addProject(projectOf(QString()).get());
    QCOMPARE(inserted.count(), 0);
    QVERIFY(!QFileInfo::exists(m_file));
}

void TestHistoryModel::removeAndClear()
{
    HistoryModel model;
    for (const char* name : {"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"})
        model.addProject(projectOf(name).get());
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    model.removeProject("/v/none.mp4");
    QCOMPARE(removed.count(), 0);
    model.removeProject("/V/C.mp4");
    QCOMPARE(rangeOf(removed), qMakePair(0, 0));
    QCOMPARE(namesOf(HistoryModel()), (QStringList{"/v/b.mp4", "/v/a.mp4"}));

    model.clear();
    QCOMPARE(removed.count(), 2);
    QCOMPARE(rangeOf(removed, 1), qMakePair(0, 1));
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!QFileInfo::exists(m_file));

    // Removing the last entry deletes the file.
    model.addProject(projectOf("/v/a.mp4").get());
    QVERIFY(QFileInfo::exists(m_file));
    model.removeProject("/v/a.mp4");
    QVERIFY(!QFileInfo::exists(m_file));
}

void TestHistoryModel::fileThatGivesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    const QJsonArray projects{projectOf("/v/a.mp4")->toJson()};
    QTest::newRow("other version")
        << QJsonDocument(QJsonObject{{"version", "second"}, {"projects", projects}}).toJson();
    QTest::newRow("no version") << QJsonDocument(QJsonObject{{"projects", projects}}).toJson();
    QTest::newRow("not JSON") << QByteArray("{\"version\": \"first\", \"projects\": [");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("an array") << QByteArray("[1, 2]");
}

void TestHistoryModel::fileThatGivesNothing()
{
    QFETCH(QByteArray, content);
    QVERIFY(PhotoFixtures::writeFile(m_file, content));
    HistoryModel model;
    QCOMPARE(model.rowCount(), 0);
    // The next addition writes the file anew.
    model.addProject(projectOf("/v/new.mp4").get());
    const QJsonObject root = QJsonDocument::fromJson(contentOf(m_file)).object();
    QCOMPARE(root.value("version").toString(), QString("first"));
    QCOMPARE(root.value("projects").toArray().size(), 1);
    QCOMPARE(namesOf(HistoryModel()), QStringList{"/v/new.mp4"});
}

void TestHistoryModel::badEntryIsSkipped()
{
    const QJsonArray projects{projectOf("/v/a.mp4")->toJson(), QJsonObject{{"resolution", "wide"}}, 5,
                              QJsonObject{{"resolution", "640x480"}, {"images", QJsonArray{QJsonObject{{"type", "video"}}}}},
                              projectOf("/v/b.mp4")->toJson()};
    QVERIFY(PhotoFixtures::writeFile(m_file, QJsonDocument(QJsonObject{{"version", "first"}, {"projects", projects}}).toJson()));
    QCOMPARE(namesOf(HistoryModel()), (QStringList{"/v/a.mp4", "/v/b.mp4"}));
}

void TestHistoryModel::rolesAndColumns()
{
    const QString video = m_videos + "/made.webm";
    QVERIFY(PhotoFixtures::writeFile(video, "video"));
    HistoryModel model;
    model.addProject(projectOf(m_videos + "/gone.mp4").get());
    model.addProject(projectOf(video).get());
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);

    const QVariant entry = model.data(model.index(0, 1), Qt::UserRole);
    QCOMPARE(entry.typeName(), "ProjectFile*");
    QCOMPARE(entry.value<ProjectFile*>(), model.project(video));

    const QDateTime made = model.data(model.index(0, 0)).toDateTime();
    QVERIFY(made.isValid());
    QVERIFY(qAbs(made.secsTo(QDateTime::currentDateTime())) < 600);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QString("made.webm"));
    QVERIFY(!model.data(model.index(1, 0)).toDateTime().isValid());
    QCOMPARE(model.data(model.index(1, 1)).toString(), QString("gone.mp4"));

    QVERIFY(!model.data(model.index(0, 1), Qt::DecorationRole).isValid());
    QVERIFY(!model.data(model.index(2, 0)).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::UserRole).isValid());
}

// The file is replaced only once the new one is whole: a write that fails half-way (here
// a file size limit, as a full disk) leaves the old history.
void TestHistoryModel::failedWriteKeepsTheOldFile()
{
    HistoryModel model;
    model.addProject(projectOf("/v/a.mp4").get());
    const QByteArray before = contentOf(m_file);
    QVERIFY(!before.isEmpty());

    {
        const PhotoFixtures::FileSizeLimit limit(64);
        QVERIFY(limit.isSet());
        model.addProject(projectOf("/v/b.mp4").get());
    }

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(contentOf(m_file), before);
    QCOMPARE(namesOf(HistoryModel()), QStringList{"/v/a.mp4"});
    QCOMPARE(QDir(QFileInfo(m_file).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"project_history.json"});
}

QTEST_GUILESS_MAIN(TestHistoryModel)
#include "tst_historymodel.moc"
