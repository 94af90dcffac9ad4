#include <QtTest>

#include "app/DroppedFiles.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include <QMimeData>

class TestDroppedFiles : public QObject
{
    Q_OBJECT

private slots:
    void folderInNameOrder_data();
    void folderInNameOrder();
    void filesAndOtherItems();
    void linksWalkEachFolderOnce();
};

void TestDroppedFiles::folderInNameOrder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("suffixes");
    QTest::addColumn<QStringList>("expected");

    const QStringList images{QStringLiteral("jpg"), QStringLiteral("png")};
    QTest::newRow("suffix case") << QStringList{"a.JPG", "b.txt"} << images << QStringList{"a.JPG"};
    QTest::newRow("subfolder where it stands")
        << QStringList{"b.jpg", "A.jpg", "sub/c.jpg"} << images << QStringList{"A.jpg", "b.jpg", "sub/c.jpg"};
    QTest::newRow("subfolder between files")
        << QStringList{"z.png", "M/x.jpg", "a.png", "m.jpg"} << images
        << QStringList{"a.png", "M/x.jpg", "m.jpg", "z.png"};
    QTest::newRow("nothing fits") << QStringList{"a.txt", "sub/b.doc"} << images << QStringList{};
    QTest::newRow("audio") << QStringList{"2.MP3", "1.flac", "cover.jpg"}
                           << QStringList{"mp3", "m4a", "wav", "wma", "ogg", "flac"}
                           << QStringList{"1.flac", "2.MP3"};
}

void TestDroppedFiles::folderInNameOrder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, suffixes);
    QFETCH(QStringList, expected);

    QTemporaryDir root;
    for (const QString& file : files)
        touchFile(root.filePath(file));
    QStringList expectedPaths;
    for (const QString& file : expected)
        expectedPaths.append(root.filePath(file));
    std::unique_ptr<QMimeData> mime(fileUrlsMime({root.path()}));
    QCOMPARE(filesFromMimeData(mime.get(), suffixes), expectedPaths);
    QCOMPARE(filesFromUrl(QUrl::fromLocalFile(root.path()), suffixes), expectedPaths);
}

void TestDroppedFiles::filesAndOtherItems()
{
    QTemporaryDir root;
    touchFile(root.filePath(QStringLiteral("one.PNG")));
    touchFile(root.filePath(QStringLiteral("two.txt")));
    touchFile(root.filePath(QStringLiteral("folder/three.png")));
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls({QUrl::fromLocalFile(root.filePath(QStringLiteral("one.PNG"))),
                   QUrl::fromLocalFile(root.filePath(QStringLiteral("two.txt"))),
                   QUrl(QStringLiteral("https://example.org/x.png")),
                   QUrl::fromLocalFile(root.filePath(QStringLiteral("missing.png"))),
                   QUrl::fromLocalFile(root.filePath(QStringLiteral("folder")))});
    QCOMPARE(filesFromMimeData(mime.get(), {QStringLiteral("png")}),
             (QStringList{root.filePath(QStringLiteral("one.PNG")), root.filePath(QStringLiteral("folder/three.png"))}));
    QVERIFY(filesFromMimeData(nullptr, {QStringLiteral("png")}).isEmpty());
    QVERIFY(filesFromUrl(QUrl(QStringLiteral("https://example.org/x.png")), {QStringLiteral("png")}).isEmpty());
}

void TestDroppedFiles::linksWalkEachFolderOnce()
{
    QTemporaryDir root;
    touchFile(root.filePath(QStringLiteral("photos/a.jpg")));
    touchFile(root.filePath(QStringLiteral("photos/inner/b.jpg")));
    // A link back to a parent, and a second name of a folder already walked.
    QVERIFY(QFile::link(root.filePath(QStringLiteral("photos")), root.filePath(QStringLiteral("photos/inner/up"))));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("photos/inner")), root.filePath(QStringLiteral("photos/same"))));
    const QStringList expected{root.filePath(QStringLiteral("photos/a.jpg")),
                               root.filePath(QStringLiteral("photos/inner/b.jpg"))};
    std::unique_ptr<QMimeData> mime(fileUrlsMime({root.filePath(QStringLiteral("photos"))}));
    QCOMPARE(filesFromMimeData(mime.get(), {QStringLiteral("jpg")}), expected);
    // The same folder dropped twice, once through a link, gives its files once.
    std::unique_ptr<QMimeData> twice(
        fileUrlsMime({root.filePath(QStringLiteral("photos")), root.filePath(QStringLiteral("photos/same"))}));
    QCOMPARE(filesFromMimeData(twice.get(), {QStringLiteral("jpg")}), expected);
}

QTEST_GUILESS_MAIN(TestDroppedFiles)
#include "tst_droppedfiles.moc"
