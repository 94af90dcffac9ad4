#include <QtTest>

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"

#include "support/PhotoFixtures.h"

#include <QTemporaryDir>
#include <QThread>

#include <memory>

namespace {

// "T" for the title slide, "C<index>" for colour slides, the file name of photos.
QString label(const ProjectItem* item)
{
    if (dynamic_cast<const IStarterItem*>(item))
        return QStringLiteral("T");
    if (auto* color = dynamic_cast<const ProjectItemColor*>(item))
        return QStringLiteral("C%1").arg(color->bgIndex());
    return QFileInfo(dynamic_cast<const IFileSourceItem*>(item)->fileName()).fileName();
}

QStringList labels(const ProjectFile& project)
{
    QStringList result;
    for (const ProjectItem* item : project.items())
        result.append(label(item));
    return result;
}

ProjectItem* photo(const QString& path, int time_ms = 1000, int transition = 0)
{
    return new ProjectItemSimple(path, time_ms, transition);
}

// A title slide followed by photos of those names (none exists on disk).
std::unique_ptr<ProjectFile> project(const QStringList& names, int starter_ms = 3000)
{
    auto result = std::make_unique<ProjectFile>(starter_ms);
    QList<ProjectItem*> items;
    for (const QString& name : names)
        items.append(name.startsWith('C') ? static_cast<ProjectItem*>(ProjectFile::createColorItem(
                                                name.mid(1).toInt(), 1000, 0))
                                          : photo(QStringLiteral("/nowhere/") + name));
    result->insertItems(items, -1);
    return result;
}

bool touch(const QString& path)
{
    return PhotoFixtures::writeFile(path, "x");
}

bool writePng(const QString& path)
{
    using namespace PhotoFixtures;
    return writeFile(path, encode(quadrants(4, 4), "PNG"));
}

} // namespace

class TestProjectSlides : public QObject
{
    Q_OBJECT

private slots:
    void lookup();
    void itemNumberText();
    void insertItems_data();
    void insertItems();
    void insertIgnoresNullAndHeld();
    void removeItem();
    void clearSlides();
    void moveUpDown();
    void moveItems_data();
    void moveItems();
    void shuffle();
    void sortByName_data();
    void sortByName();
    void sortByDate();
    void resetImageCaches();
    void durations();
    void durationFrom();
    void files();
    void containsSupportedImages();
    void collectImageItems();
    void collectLimit();
};

void TestProjectSlides::lookup()
{
    const auto p = project({"a.jpg", "b.jpg"});
    QCOMPARE(p->itemCount(), 3);
    QCOMPARE(label(p->item(2)), QStringLiteral("b.jpg"));
    QVERIFY(!p->item(3));
    QVERIFY(!p->item(-1));
    QCOMPARE(p->indexOf(p->item(1)), 1);
    ProjectItemSimple stranger;
    QCOMPARE(p->indexOf(&stranger), -1);
    QVERIFY(p->isFirstItem(p->item(0)));
    QVERIFY(!p->isFirstItem(p->item(1)));
    QVERIFY(!ProjectFile().isFirstItem(nullptr));
}

void TestProjectSlides::itemNumberText()
{
    const auto p = project({"a.jpg", "C3"});
    QCOMPARE(p->itemNumberText(p->item(0)), QString());
    QCOMPARE(p->itemNumberText(p->item(1)), QStringLiteral("1"));
    QCOMPARE(p->itemNumberText(p->item(2)), QStringLiteral("2"));
    QCOMPARE(p->itemNumberText(nullptr), QString());
    ProjectItemSimple stranger;
    QCOMPARE(p->itemNumberText(&stranger), QString());

    const auto untitled = project({"a.jpg"}, 0);
    QCOMPARE(untitled->itemNumberText(untitled->item(0)), QStringLiteral("0"));
}

void TestProjectSlides::insertItems_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("expected");
    const QStringList appended{"T", "a", "b", "x", "y"};
    QTest::newRow("middle") << 2 << QStringList{"T", "a", "x", "y", "b"};
    QTest::newRow("after title") << 1 << QStringList{"T", "x", "y", "a", "b"};
    QTest::newRow("end") << 3 << appended;
    QTest::newRow("negative") << -1 << appended;
    QTest::newRow("past end") << 9 << appended;
}

void TestProjectSlides::insertItems()
{
    QFETCH(int, position);
    const auto p = project({"a", "b"});
    p->insertItems({photo("/x"), photo("/y")}, position);
    QTEST(labels(*p), "expected");
}

void TestProjectSlides::insertIgnoresNullAndHeld()
{
    const auto p = project({"a"});
    p->insertItems({nullptr, p->item(1), photo("/x")}, 1);
    QCOMPARE(labels(*p), (QStringList{"T", "x", "a"}));
}

void TestProjectSlides::removeItem()
{
    const auto p = project({"a", "b"});
    QPointer<ProjectItem> a = p->item(1);
    p->removeItem(a);
    QVERIFY(!a);
    QCOMPARE(labels(*p), (QStringList{"T", "b"}));

    // A slide that is not in the list is still deleted: it was handed over.
    QPointer<ProjectItem> stranger = photo("/s");
    p->removeItem(stranger);
    QVERIFY(!stranger);
    p->removeItem(nullptr);
    QCOMPARE(p->itemCount(), 2);
}

void TestProjectSlides::clearSlides()
{
    const auto p = project({"a", "b", "c"});
    QPointer<ProjectItem> b = p->item(2);
    QCOMPARE(p->clearSlides(), 1);
    QVERIFY(!b);
    QCOMPARE(labels(*p), QStringList{"T"});
    QCOMPARE(p->clearSlides(), 1);
    QCOMPARE(ProjectFile().clearSlides(), 0);
}

void TestProjectSlides::moveUpDown()
{
    const auto p = project({"a", "b", "c"});
    p->moveItemUp(p->item(3));
    QCOMPARE(labels(*p), (QStringList{"T", "a", "c", "b"}));
    p->moveItemDown(p->item(1));
    QCOMPARE(labels(*p), (QStringList{"T", "c", "a", "b"}));
    p->moveItemDown(p->item(3)); // last
    p->moveItemUp(p->item(0));   // first
    ProjectItemSimple stranger;
    p->moveItemUp(&stranger);
    p->moveItemDown(&stranger);
    p->moveItemDown(nullptr);
    QCOMPARE(labels(*p), (QStringList{"T", "c", "a", "b"}));
}

void TestProjectSlides::moveItems_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("expected");
    // Rows 1..4 hold a..d after the title slide.
    QTest::newRow("before row 0") << QList<int>{3, 1} << 0
                                  << QStringList{"c", "a", "T", "b", "d"};
    QTest::newRow("up keeping row order") << QList<int>{4, 2} << 1
                                          << QStringList{"T", "d", "b", "a", "c"};
    QTest::newRow("down") << QList<int>{1, 2} << 4 << QStringList{"T", "c", "a", "b", "d"};
    QTest::newRow("to the end") << QList<int>{1} << 5 << QStringList{"T", "b", "c", "d", "a"};
    QTest::newRow("negative target") << QList<int>{2, 1} << -1
                                     << QStringList{"T", "c", "d", "b", "a"};
    QTest::newRow("target among rows") << QList<int>{2, 3, 4} << 3
                                       << QStringList{"T", "a", "b", "d", "c"};
    QTest::newRow("rows outside ignored") << QList<int>{-1, 9, 4, 5} << 1
                                          << QStringList{"T", "d", "a", "b", "c"};
    QTest::newRow("repeated rows ignored") << QList<int>{4, 4, 2, 4} << 1
                                           << QStringList{"T", "d", "b", "a", "c"};
    QTest::newRow("repeated target") << QList<int>{2, 2} << 2
                                     << QStringList{"T", "a", "b", "c", "d"};
    QTest::newRow("nothing") << QList<int>{} << 1 << QStringList{"T", "a", "b", "c", "d"};
}

void TestProjectSlides::moveItems()
{
    QFETCH(QList<int>, rows);
    QFETCH(int, target);
    const auto p = project({"a", "b", "c", "d"});
    QList<ProjectItem*> before = p->items();
    p->moveItems(rows, target);
    QTEST(labels(*p), "expected");
    // The same slides, each once.
    QList<ProjectItem*> after = p->items();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    QCOMPARE(after, before);
}

void TestProjectSlides::shuffle()
{
    const auto two = project({"a"});
    two->shuffleItems();
    QCOMPARE(labels(*two), (QStringList{"T", "a"}));

    const QStringList names{"a", "b", "c", "d", "e", "f", "g", "h"};
    const auto p = project(names);
    bool changed = false;
    for (int i = 0; i < 20 && !changed; ++i) {
        p->shuffleItems();
        QStringList shuffled = labels(*p);
        QCOMPARE(shuffled.takeFirst(), QStringLiteral("T"));
        changed = shuffled != names;
        shuffled.sort();
        QCOMPARE(shuffled, names);
    }
    QVERIFY(changed);

    // A photo in the first place stays there too.
    const auto untitled = project({"a", "b", "c", "d", "e"}, 0);
    for (int i = 0; i < 10; ++i) {
        untitled->shuffleItems();
        QCOMPARE(label(untitled->item(0)), QStringLiteral("a"));
    }
}

void TestProjectSlides::sortByName_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("de_DE") << "de_DE";
}

void TestProjectSlides::sortByName()
{
    QFETCH(QString, locale);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    const auto p = project({"b.jpg", "A10.jpg", "C4", "a2.jpg", "B.JPG"});
    p->sortByName(true);
    const QStringList ascending = labels(*p);
    p->sortByName(false);
    const QStringList descending = labels(*p);
    QLocale::setDefault(previous);

    // Slides without a file sort as an empty name; equal names keep their order.
    QCOMPARE(ascending, (QStringList{"T", "C4", "a2.jpg", "A10.jpg", "b.jpg", "B.JPG"}));
    QCOMPARE(descending, (QStringList{"T", "b.jpg", "B.JPG", "A10.jpg", "a2.jpg", "C4"}));
}

void TestProjectSlides::sortByDate()
{
    QTemporaryDir dir;
    // Created one after another: c, a, b.
    for (const char* name : {"c.jpg", "a.jpg", "b.jpg"}) {
        QVERIFY(touch(dir.filePath(name)));
        QThread::msleep(20);
    }
    ProjectFile p(1000);
    p.insertItems({photo(dir.filePath("a.jpg")), ProjectFile::createColorItem(5, 1000, 0),
                   photo(dir.filePath("b.jpg")), photo(dir.filePath("c.jpg"))},
                  -1);
    p.sortByDate(false);
    QCOMPARE(labels(p), (QStringList{"T", "C5", "c.jpg", "a.jpg", "b.jpg"}));
    p.sortByDate(true);
    QCOMPARE(labels(p), (QStringList{"T", "b.jpg", "a.jpg", "c.jpg", "C5"}));
}

void TestProjectSlides::resetImageCaches()
{
    // Runs over every kind of slide without touching anything but photo caches.
    const auto p = project({"a.jpg", "C2"});
    const QJsonObject before = p->toJson();
    p->resetImageCaches();
    QCOMPARE(p->toJson(), before);
}

void TestProjectSlides::durations()
{
    ProjectFile p(2000);
    p.transition_time_ms = 500;
    auto* a = photo("/a", 1000, 1);  // 1500
    auto* b = photo("/b", 3000, 0);  // 3000
    auto* c = ProjectFile::createColorItem(1, 4000, 27); // 4500
    p.insertItems({a, b, c}, -1);
    QCOMPARE(p.totalDuration(), qint64(2000 + 1500 + 3000 + 4500));
    QCOMPARE(p.startTimeOf(p.item(0)), qint64(0));
    QCOMPARE(p.startTimeOf(b), qint64(3500));
    QCOMPARE(p.startTimeOf(c), qint64(6500));
    ProjectItemSimple stranger;
    QCOMPARE(p.startTimeOf(&stranger), qint64(-1));
    QCOMPARE(ProjectFile().startTimeOf(&stranger), qint64(-1));
    QCOMPARE(ProjectFile().totalDuration(), qint64(0));

    // A hidden title slide takes no time.
    dynamic_cast<IStarterItem*>(p.item(0))->setVisible(false);
    QCOMPARE(p.startTimeOf(a), qint64(0));
    QCOMPARE(p.totalDuration(), qint64(9000));

    // Sums do not overflow.
    b->setTime_ms(std::numeric_limits<int>::max());
    c->setTime_ms(std::numeric_limits<int>::max());
    QCOMPARE(p.totalDuration(), 1500 + 2 * qint64(std::numeric_limits<int>::max()));
}

void TestProjectSlides::durationFrom()
{
    ProjectFile p(2000);
    p.transition_time_ms = 500;
    auto* a = photo("/a", 6000, 1);
    a->text().text = QStringLiteral("caption");
    auto* b = photo("/b", 1000, 0);
    p.insertItems({a, b}, -1);
    ProjectItemSimple stranger;

    QCOMPARE(p.durationFrom(a, true, false), qint64(6500));
    QCOMPARE(p.durationFrom(a, true, true), qint64(2000));
    QCOMPARE(p.durationFrom(b, true, true), qint64(0));
    QCOMPARE(p.durationFrom(nullptr, true, false), qint64(-1));
    QCOMPARE(p.durationFrom(&stranger, true, false), qint64(1500));
    QCOMPARE(p.durationFrom(a), qint64(7500));
    QCOMPARE(p.durationFrom(b), qint64(1000));
    QCOMPARE(p.durationFrom(nullptr), qint64(9500));
    QCOMPARE(p.durationFrom(&stranger), qint64(0));
}

void TestProjectSlides::files()
{
    QTemporaryDir dir;
    const QString there = dir.filePath("there.jpg");
    const QString song = dir.filePath("song.mp3");
    QVERIFY(touch(there));
    QVERIFY(touch(song));

    ProjectFile p(1000);
    p.audio_files = {{"/gone/1.mp3", QString(), 0}, {song, QString(), 0}, {"/gone/2.mp3", "", 0}};
    QVERIFY(p.allFilesExist());
    QCOMPARE(p.missingFiles(), (QStringList{"/gone/1.mp3", "/gone/2.mp3"}));

    p.insertItems({photo("/gone/b.jpg"), photo(there), ProjectFile::createColorItem(3, 1, 0),
                   photo("/gone/a.jpg")},
                  -1);
    QVERIFY(!p.allFilesExist());
    QCOMPARE(p.missingFiles(),
             (QStringList{"/gone/b.jpg", "/gone/a.jpg", "/gone/1.mp3", "/gone/2.mp3"}));
}

void TestProjectSlides::containsSupportedImages()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath("images") && root.mkpath("deep/inner") && root.mkpath("texts"));
    QVERIFY(writePng(root.filePath("images/one.PNG")));
    QVERIFY(writePng(root.filePath("deep/inner/two.png")));
    QVERIFY(touch(root.filePath("texts/notes.txt")));
    QVERIFY(touch(root.filePath("texts/icon.ico")));
    QVERIFY(QFile::link(root.filePath("images/one.PNG"), root.filePath("link")));
    QVERIFY(QFile::link(root.filePath("images"), root.filePath("folderlink")));

    QVERIFY(ProjectFile::containsSupportedImages({root.filePath("images/one.PNG")}));
    QVERIFY(ProjectFile::containsSupportedImages({root.filePath("images")}));
    QVERIFY(ProjectFile::containsSupportedImages({root.filePath("link")}));
    QVERIFY(ProjectFile::containsSupportedImages({root.filePath("folderlink")}));
    QVERIFY(ProjectFile::containsSupportedImages({root.filePath("texts"), root.filePath("images")}));
    // Sub-folders are not entered.
    QVERIFY(!ProjectFile::containsSupportedImages({root.filePath("deep")}));
    QVERIFY(!ProjectFile::containsSupportedImages({root.filePath("texts")}));
    QVERIFY(!ProjectFile::containsSupportedImages({root.filePath("texts/notes.txt")}));
    QVERIFY(!ProjectFile::containsSupportedImages({root.filePath("missing.png")}));
    QVERIFY(!ProjectFile::containsSupportedImages({}));
}

void TestProjectSlides::collectImageItems()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath("images/sub"));
    QVERIFY(writePng(root.filePath("images/a.png")));
    QVERIFY(writePng(root.filePath("images/b.JPG")));
    QVERIFY(writePng(root.filePath("images/sub/c.png")));
    QVERIFY(touch(root.filePath("images/d.txt")));
    QVERIFY(QFile::link(root.filePath("images/a.png"), root.filePath("link.png")));

    ProjectFile p(1000);
    SlideText style;
    style.font = QStringLiteral("Tahoma");
    style.position = TextInfo::TopLeft;
    p.setDefaultText(style);

    QList<ProjectItem*> items;
    p.collectImageItems(root.filePath("images"), 2500, 19, items);
    QStringList names;
    for (const ProjectItem* item : items)
        names.append(label(item));
    names.sort();
    QCOMPARE(names, (QStringList{"a.png", "b.JPG"}));
    for (const ProjectItem* item : items) {
        auto* photo = dynamic_cast<const ProjectItemSimple*>(item);
        QVERIFY(photo);
        QCOMPARE(photo->time_ms(), 2500);
        QCOMPARE(photo->transition, 19);
        QCOMPARE(photo->text().font, QStringLiteral("Tahoma"));
        QCOMPARE(int(photo->text().position), 0);
        QVERIFY(QFileInfo(photo->fileName()).isAbsolute());
    }

    // A link gives a slide of its target; an unsupported file none, appended to what is there.
    p.collectImageItems(root.filePath("link.png"), 1000, 0, items);
    p.collectImageItems(root.filePath("images/d.txt"), 1000, 0, items);
    QCOMPARE(items.size(), 3);
    QCOMPARE(dynamic_cast<IFileSourceItem*>(items.last())->fileName(), root.filePath("images/a.png"));
    qDeleteAll(items);
}

void TestProjectSlides::collectLimit()
{
    QTemporaryDir dir;
    for (const char* name : {"a.png", "b.png", "c.png"})
        QVERIFY(writePng(dir.filePath(name)));
    ProjectFile p;
    QList<ProjectItem*> items;
    bool stopped = false;
    p.collectImageItems(dir.path(), 1000, 0, items, 2, &stopped);
    QCOMPARE(items.size(), 2);
    QVERIFY(stopped);
    p.collectImageItems(dir.path(), 1000, 0, items, 10, &stopped);
    QCOMPARE(items.size(), 5);
    QVERIFY(!stopped);
    p.collectImageItems(dir.path(), 1000, 0, items, -1, &stopped);
    QCOMPARE(items.size(), 8);
    QVERIFY(!stopped);
    qDeleteAll(items);
}

QTEST_MAIN(TestProjectSlides)
#include "tst_projectslides.moc"
