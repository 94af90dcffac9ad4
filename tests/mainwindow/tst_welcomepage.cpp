#include "support/MainWindowFixture.h"
#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "app/MainWindowWelcomePage.h"
#include "model/ProjectFile.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CAnimationProgress.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A drag over the page's middle, from enter to leave or drop.
class Drag
{
public:
    Drag(MainWindow::WelcomePage* page, const QStringList& paths)
        : m_page(page)
        , m_mime(fileUrlsMime(paths))
    {
    }

    bool enter()
    {
        QDragEnterEvent event(center(), Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QCoreApplication::sendEvent(m_page, &event);
        return event.isAccepted();
    }
    bool move()
    {
        QDragMoveEvent event(center(), Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QCoreApplication::sendEvent(m_page, &event);
        return event.isAccepted();
    }
    void leave()
    {
        QDragLeaveEvent event;
        QCoreApplication::sendEvent(m_page, &event);
    }
    bool drop()
    {
        QDropEvent event(center(), Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        event.ignore();
        QCoreApplication::sendEvent(m_page, &event);
        return event.isAccepted();
    }

private:
    QPoint center() const { return m_page->rect().center(); }

    MainWindow::WelcomePage* m_page;
    std::unique_ptr<QMimeData> m_mime;
};

// Long enough for any highlight animation of the palette.
constexpr int kPastAnimationMs = 5000;

} // namespace

class TestWelcomePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusedDragsStayUnlit_data();
    void refusedDragsStayUnlit();
    void folderDropAddsPhotosInWalkOrder();
    void leaveTurnsTheLightOff();
    void refusedImagesKeepTheWelcomePage_data();
    void refusedImagesKeepTheWelcomePage();
    void buttonAddsPhotos();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestWelcomePage::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TestWelcomePage::refusedDragsStayUnlit_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::newRow("text file") << QStringList{QStringLiteral("notes.txt")};
    QTest::newRow("unsupported pictures") << QStringList{QStringLiteral("icon.ico"), QStringLiteral("old.tga")};
    QTest::newRow("folder of text") << QStringList{QStringLiteral("texts/a.txt")};
}

void TestWelcomePage::refusedDragsStayUnlit()
{
    QFETCH(QStringList, files);
    QStringList paths;
    for (const QString& file : files) {
        const QString path = m_dir->filePath(file);
        QVERIFY(!writeImage(path).isEmpty() || QFile(path).open(QIODevice::WriteOnly));
        paths.append(file.contains(QLatin1Char('/')) ? m_dir->filePath(file.section(QLatin1Char('/'), 0, 0)) : path);
    }
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow::WelcomePage* page = f.window()->welcomePage();
    Drag drag(page, paths);
    QVERIFY(!drag.enter());
    QVERIFY(!drag.move());
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 0.0);
    QVERIFY(page->pendingFiles().isEmpty());
    QVERIFY(!drag.drop());
    QCOMPARE(f.window()->project()->itemCount(), 1);
    QCOMPARE(f.currentPage(), int(MainWindow::WelcomePageIndex));
}

void TestWelcomePage::folderDropAddsPhotosInWalkOrder()
{
    const QString root = m_dir->filePath(QStringLiteral("trip"));
    const QStringList expected = {
        writeImage(root + QStringLiteral("/a.png")),
        writeImage(root + QStringLiteral("/B/c.jpg")),
        writeImage(root + QStringLiteral("/B/deep/d.png")),
        writeImage(root + QStringLiteral("/e.PNG")),
    };
    QVERIFY(!expected.contains(QString()));
    QFile(root + QStringLiteral("/B/readme.txt")).open(QIODevice::WriteOnly);
    // A link back to the dropped folder neither hangs the walk nor repeats a photo.
    QVERIFY(QFile::link(root, root + QStringLiteral("/B/deep/up")));
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow::WelcomePage* page = f.window()->welcomePage();
    Drag drag(page, {root});
    QVERIFY(drag.enter());
    QVERIFY(drag.move());
    QCOMPARE(page->pendingFiles(), expected);
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 1.0);

    QVERIFY(drag.drop());
    QCOMPARE(photoFiles(*f.window()->project()), expected);
    QCOMPARE(f.currentPage(), int(MainWindow::ProjectPageIndex));
    QVERIFY(page->pendingFiles().isEmpty());
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 0.0);
}

void TestWelcomePage::leaveTurnsTheLightOff()
{
    const QString photo = writeImage(m_dir->filePath(QStringLiteral("one.jpg")));
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow::WelcomePage* page = f.window()->welcomePage();
    Drag drag(page, {photo});
    QVERIFY(drag.enter());
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 1.0);
    drag.leave();
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 0.0);
    QVERIFY(page->pendingFiles().isEmpty());
    QVERIFY(!drag.drop());
    QCOMPARE(f.window()->project()->itemCount(), 1);
}

void TestWelcomePage::refusedImagesKeepTheWelcomePage_data()
{
    QTest::addColumn<bool>("withProject");
    QTest::addColumn<int>("noImageMessages");
    // The files vanish between the drag's start and the drop: the project page finds none.
    QTest::newRow("gone before the drop") << true << 1;
    // Before the first project exists the drop has nowhere to go.
    QTest::newRow("no project yet") << false << 0;
}

void TestWelcomePage::refusedImagesKeepTheWelcomePage()
{
    QFETCH(bool, withProject);
    QFETCH(int, noImageMessages);
    const QString photo = writeImage(m_dir->filePath(QStringLiteral("gone.jpg")));
    ManualAnimationClock clock;
    WindowFixture f(withProject);
    MainWindow::WelcomePage* page = f.window()->welcomePage();
    Drag drag(page, {photo});
    QVERIFY(drag.enter());
    if (withProject)
        QVERIFY(QFile::remove(photo));
    drag.drop();
    QCOMPARE(f.currentPage(), int(MainWindow::WelcomePageIndex));
    QCOMPARE(pageMessages().noImages, noImageMessages);
    if (withProject)
        QCOMPARE(f.window()->project()->itemCount(), 1);
    else
        QVERIFY(!f.window()->project());
    clock.advance(kPastAnimationMs);
    QCOMPARE(page->highlight(), 0.0);
}

void TestWelcomePage::buttonAddsPhotos()
{
    const QStringList photos = {writeImage(m_dir->filePath(QStringLiteral("1.jpg"))),
                                writeImage(m_dir->filePath(QStringLiteral("2.png")))};
    int dialogs = 0;
    CSystemTools::setFileDialogFunction([&](const FileDialogRequest&) {
        ++dialogs;
        return photos;
    });
    WindowFixture f;
    CButton* button = f.window()->welcomePage()->addButton();
    QVERIFY(button->isVisible());
    QVERIFY(clickAsUser(button));
    CSystemTools::setFileDialogFunction({});
    QCOMPARE(dialogs, 1);
    QCOMPARE(photoFiles(*f.window()->project()), photos);
    QCOMPARE(f.currentPage(), int(MainWindow::ProjectPageIndex));
}

TY_MAINWINDOW_TEST_MAIN(TestWelcomePage)
#include "tst_welcomepage.moc"
