#include "support/AppTestSupport.h"
#include "support/MainWindowFixture.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/Application.h"
#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/MainWindowParts.h"
#include "app/SettingsProvider.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "pages/HistoryPage.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/SelectColorDialog.h"
#include "pages/SettingsBox.h"
#include "pages/TextPage.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/COverlay.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

const char kCrashChildVariable[] = "TY_MAINWINDOW_CRASH_CHILD";
const QString kDownloadPage = QStringLiteral("https://example.org/download");
// Long enough for any fade of the palette.
constexpr int kPastAnimationMs = 5000;

// Picks the background on the next colour dialog that opens.
class ColorDialogAnswer : public QObject
{
public:
    explicit ColorDialogAnswer(int index)
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, index, timer] {
            auto* dialog = qobject_cast<SelectColorDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            dialog->setSelectedColorIndex(index);
            dialog->done(1);
        });
        timer->start(20);
    }
};

// True when the child is stacked above the other one among the window's children.
bool isAbove(QWidget* child, QWidget* other)
{
    const QObjectList& children = child->parentWidget()->children();
    return children.indexOf(child) > children.indexOf(other);
}

void clearLatest()
{
    AppPaths::clearDir(AppPaths::latestDir());
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void texts();
    void headerButtonsPerPage_data();
    void headerButtonsPerPage();
    void editButtonsDisabledWhileCaptionIsEdited();
    void updateButtonShowsOnUpdateAndOpensDownloadPage();
    void crashButtonOnlyWithMarkerFile();
    void crashButtonEndsByFault();
    void crashButtonChild();
    void pageRules_data();
    void pageRules();
    void addActionsWithoutProjectDoNothing();
    void newProjectTakesTheSettings();
    void openProject_data();
    void openProject();
    void sidePanelsFollowTheWindow();
    void overlay_data();
    void overlay();
    void overlayPressHidesSettingsOnly();
    void composerFinishedShowsReadyDialog_data();
    void composerFinishedShowsReadyDialog();
    void closeSavesGeometryThenProject();

private:
    QString photo(const QString& name) const { return writeImage(m_dir->filePath(name)); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindow::initTestCase()
{
    // Far enough off that the update service is never asked.
    testApp()->setupUpdateChecker(QStringLiteral("machine"), QStringLiteral("95"), kDownloadPage, kDownloadPage,
                                  24 * 3600 * 1000);
}

void TestMainWindow::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    clearLatest();
    pageMessages().reset();
}

void TestMainWindow::cleanup()
{
    CSystemTools::setFileDialogFunction({});
    CSystemTools::setShellLauncher({});
    clearLatest();
}

void TestMainWindow::texts()
{
    WindowFixture f;
    MainWindow* window = f.window();
    QCOMPARE(window->titleBar()->titleLabel()->text(), QStringLiteral("Kestrova Слайд-Шоу 1.1.3"));
    MainWindow::Header* header = window->header();
    QCOMPARE(header->backButton()->text(), QStringLiteral("Назад"));
    QCOMPARE(header->addPhotoButton()->text(), QStringLiteral("Добавить фото"));
    QCOMPARE(header->addFolderButton()->text(), QStringLiteral("Добавить папку"));
    QCOMPARE(header->addColorButton()->text(), QStringLiteral("Добавить цвет"));
    QCOMPARE(header->historyButton()->text(), QStringLiteral("История"));
    QCOMPARE(header->newProjectButton()->text(), QStringLiteral("Новый проект  "));
    MainWindow::Titlebar* titlebar = window->titlebar();
    QCOMPARE(titlebar->updateButton()->text(), QStringLiteral("Доступно обновление!"));
    QCOMPARE(titlebar->settingsButton()->toolTip(), QStringLiteral("Настройки"));
    QCOMPARE(titlebar->aboutButton()->toolTip(), QStringLiteral("О программе"));
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->options(), 31);
}

void TestMainWindow::headerButtonsPerPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("adds");
    QTest::addColumn<bool>("newProject");
    QTest::newRow("welcome") << 0 << false << true << false;
    QTest::newRow("project") << 1 << false << true << true;
    QTest::newRow("history") << 2 << true << false << false;
}

void TestMainWindow::headerButtonsPerPage()
{
    QFETCH(int, page);
    QFETCH(bool, back);
    QFETCH(bool, adds);
    QFETCH(bool, newProject);
    WindowFixture f;
    MainWindow::Header* header = f.window()->header();
    // From another page, so the switch is a change.
    f.window()->pages()->setCurrentIndex((page + 1) % 3);
    f.window()->pages()->setCurrentIndex(page);
    QCOMPARE(header->backButton()->isVisible(), back);
    for (CButton* button : {header->addPhotoButton(), header->addFolderButton(), header->addColorButton(),
                            header->historyButton()})
        QCOMPARE(button->isVisible(), adds);
    QCOMPARE(header->newProjectButton()->isVisible(), newProject);
}

void TestMainWindow::editButtonsDisabledWhileCaptionIsEdited()
{
    WindowFixture f;
    MainWindow::Header* header = f.window()->header();
    const QList<CButton*> buttons = {header->addPhotoButton(), header->addFolderButton(), header->addColorButton(),
                                     header->historyButton()};
    f.window()->pages()->setCurrentIndex(MainWindow::ProjectPageIndex);
    f.window()->projectPage()->editCaption(nullptr);
    QTRY_VERIFY(f.window()->projectPage()->captionPage()->isVisible());
    for (CButton* button : buttons)
        QVERIFY(!button->isEnabled());
    f.window()->projectPage()->captionPage()->hide();
    for (CButton* button : buttons)
        QVERIFY(button->isEnabled());
}

void TestMainWindow::updateButtonShowsOnUpdateAndOpensDownloadPage()
{
    UrlCatcher catcher;
    WindowFixture f;
    CButton* update = f.window()->titlebar()->updateButton();
    QVERIFY(!update->isVisible());
    emit testApp()->updateAvailable();
    QVERIFY(update->isVisible());
    QVERIFY(clickInPlace(update));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(kDownloadPage)});
}

void TestMainWindow::crashButtonOnlyWithMarkerFile()
{
    QVERIFY(!QFile::exists(QStringLiteral("crashme.txt")));
    WindowFixture f;
    QVERIFY(!f.window()->titlebar()->crashButton());
}

void TestMainWindow::crashButtonEndsByFault()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer ends the process on a fault in its own way");
#endif
    QFile marker(m_dir->filePath(QStringLiteral("crashme.txt")));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kCrashChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(m_dir->path());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-nocrashhandler"), QStringLiteral("crashButtonChild")});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(child.exitCode(), SIGSEGV);
}

// Run by crashButtonEndsByFault in a child process of its own.
void TestMainWindow::crashButtonChild()
{
    if (qEnvironmentVariableIsEmpty(kCrashChildVariable))
        QSKIP("runs as the child of crashButtonEndsByFault");
    WindowFixture f;
    CButton* crash = f.window()->titlebar()->crashButton();
    QVERIFY(crash);
    QCOMPARE(crash->text(), QStringLiteral("Crash me!"));
    QCOMPARE(crash->height(), 24);
    clickInPlace(crash);
    QFAIL("still running after the crash button");
}

void TestMainWindow::pageRules_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("slides");
    QTest::newRow("readable autosave at first showing") << "autosave" << 1 << 3;
    QTest::newRow("no autosave") << "no autosave" << 0 << 1;
    QTest::newRow("unreadable autosave") << "unreadable autosave" << 0 << 1;
    QTest::newRow("photos chosen") << "photos" << 1 << 3;
    QTest::newRow("folder chosen") << "folder" << 1 << 3;
    QTest::newRow("empty choice") << "nothing chosen" << 0 << 1;
    QTest::newRow("non-image choice") << "text chosen" << 0 << 1;
    QTest::newRow("colour slide") << "colour" << 1 << 2;
    QTest::newRow("back before the project page") << "back early" << 0 << 1;
    QTest::newRow("back after the project page") << "back later" << 1 << 2;
    QTest::newRow("opened from the history") << "history" << 1 << 2;
}

void TestMainWindow::pageRules()
{
    QFETCH(QString, action);
    QFETCH(int, page);
    QFETCH(int, slides);
    const QStringList photos = {photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.png"))};
    const bool atStart = action.contains(QLatin1String("autosave"));
    WindowFixture f(!atStart);
    MainWindow* window = f.window();
    if (action == QLatin1String("autosave")) {
        QVERIFY(photoProject(photos, QString())->save(AppPaths::latestDir() + QStringLiteral("/saved.json")));
    } else if (action == QLatin1String("unreadable autosave")) {
        QFile file(AppPaths::latestDir() + QStringLiteral("/broken.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{ not a project");
    }
    if (atStart) {
        emit CSystemTools::instance()->mainWindowShowedFirstTimeInCurrentSession();
    } else if (action == QLatin1String("photos")) {
        DialogFiles answer(photos);
        window->addPhotos();
    } else if (action == QLatin1String("folder")) {
        DialogFiles answer({m_dir->path()});
        window->addFolder();
    } else if (action == QLatin1String("nothing chosen")) {
        DialogFiles answer({});
        window->addPhotos();
        window->addFolder();
    } else if (action == QLatin1String("text chosen")) {
        QFile text(m_dir->filePath(QStringLiteral("notes.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        DialogFiles answer({text.fileName()});
        window->addPhotos();
    } else if (action == QLatin1String("colour")) {
        ColorDialogAnswer answer(4);
        NestedLoopWatchdog watchdog(10000);
        window->addColorSlide();
    } else if (action == QLatin1String("back early")) {
        window->showHistory();
        QCOMPARE(f.currentPage(), int(MainWindow::HistoryPageIndex));
        window->goBack();
    } else if (action == QLatin1String("back later")) {
        DialogFiles answer({photos.first()});
        window->addPhotos();
        QCOMPARE(f.currentPage(), int(MainWindow::ProjectPageIndex));
        window->showHistory();
        window->goBack();
    } else if (action == QLatin1String("history")) {
        const QString output = m_dir->filePath(QStringLiteral("from history.mp4"));
        testApp()->historyModel()->addProject(photoProject({photos.first()}, output).get());
        window->showHistory();
        emit window->historyPage()->openProjectClicked(output);
        testApp()->historyModel()->removeProject(output);
    }
    QCOMPARE(f.currentPage(), page);
    QVERIFY(window->project());
    QCOMPARE(window->project()->itemCount(), slides);
    QCOMPARE(window->projectPage()->project(), window->project());
    QVERIFY(pageMessages().errors.isEmpty());
}

void TestMainWindow::addActionsWithoutProjectDoNothing()
{
    DialogFiles answer({photo(QStringLiteral("a.jpg")), m_dir->path()});
    WindowFixture f(false);
    f.window()->addPhotos();
    f.window()->addFolder();
    f.window()->addColorSlide();
    QVERIFY(!f.window()->project());
    QCOMPARE(f.currentPage(), int(MainWindow::WelcomePageIndex));
}

void TestMainWindow::newProjectTakesTheSettings()
{
    SettingsProvider* settings = testSettings();
    settings->setOutFileFormat(QStringLiteral("mkv"));
    settings->setResolution(QStringLiteral("1920x1080"));
    settings->setTransitionTime_ms(1000);
    settings->setAudioFade(7);
    settings->setBlurBackground(true);
    settings->setScaleToFit(true);
    settings->setFps(25);
    settings->setAudioOffset(-4);
    settings->setDefaultTime_ms(4500);
    settings->setDefaultTransition(TransitionType(5));
    settings->setDefaultMotion(MotionType(3));
    WindowFixture f;
    QPointer<ProjectFile> old = f.window()->project();
    old->project_loop = 4;
    f.window()->newProject();
    ProjectFile* project = f.window()->project();
    QVERIFY(!old);
    QCOMPARE(f.window()->projectPage()->project(), project);
    QCOMPARE(project->format, QStringLiteral("mkv"));
    QCOMPARE(project->resolution, Resolution(1920, 1080));
    QCOMPARE(project->transition_time_ms, 1000);
    QCOMPARE(project->audio_fade, 7);
    QVERIFY(project->blur_background);
    QVERIFY(project->scale_to_fit);
    QCOMPARE(project->fps, 25);
    QCOMPARE(project->audio_offset, -4);
    QCOMPARE(project->defaultTime_ms, 4500);
    QCOMPARE(project->defaultTransition, 5);
    QCOMPARE(project->defaultMotion, 3);
    QCOMPARE(project->itemCount(), 1);
    QCOMPARE(project->project_loop, ProjectSettings().project_loop);
    QCOMPARE(project->audio_loop, ProjectSettings().audio_loop);
    QVERIFY(!project->name.isEmpty());
    QVERIFY(!project->file_name.isEmpty());
    settings->remove(QString());
    settings->load();
}

void TestMainWindow::openProject_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("slides");
    QTest::addColumn<int>("questions");
    QTest::newRow("unknown name") << "unknown" << 0 << 0 << 1 << 0;
    QTest::newRow("files present") << "present" << 0 << 1 << 3 << 0;
    QTest::newRow("photo missing, no") << "missing" << 1 << 0 << 1 << 1;
    QTest::newRow("photo missing, yes") << "missing" << 2 << 1 << 2 << 1;
}

void TestMainWindow::openProject()
{
    QFETCH(QString, entry);
    QFETCH(int, answer);
    QFETCH(int, page);
    QFETCH(int, slides);
    QFETCH(int, questions);
    const QStringList photos = {photo(QStringLiteral("a.jpg")), photo(QStringLiteral("b.jpg"))};
    const QString output = m_dir->filePath(QStringLiteral("entry.mp4"));
    HistoryModel* history = testApp()->historyModel();
    history->addProject(photoProject(photos, output).get());
    if (entry == QLatin1String("missing"))
        QVERIFY(QFile::remove(photos.last()));
    int asked = 0;
    DialogAnswerer answerer([&](CDialogMessage* message) {
        ++asked;
        message->done(answer);
    });
    NestedLoopWatchdog watchdog(10000);
    WindowFixture f;
    QPointer<ProjectFile> before = f.window()->project();
    f.window()->openProject(entry == QLatin1String("unknown") ? m_dir->filePath(QStringLiteral("other.mp4")) : output);
    QCOMPARE(asked, questions);
    QCOMPARE(f.currentPage(), page);
    ProjectFile* project = f.window()->project();
    QCOMPARE(project->itemCount(), slides);
    QCOMPARE(bool(before), page == 0);
    if (page == 1) {
        QVERIFY(project != history->project(output));
        QCOMPARE(project->file_name, output);
        project->removeItem(project->item(1));
        QCOMPARE(history->project(output)->itemCount(), 3);
    }
    history->removeProject(output);
}

void TestMainWindow::sidePanelsFollowTheWindow()
{
    WindowFixture f;
    MainWindow* window = f.window();
    const auto check = [window] {
        const QRect inner = window->rect().marginsRemoved(window->layout()->contentsMargins());
        ProgressBox* progress = window->progressBox();
        SettingsBox* settings = window->settingsBox();
        return progress->geometry()
                   == QRect(inner.x(), inner.bottom() + 1 - progress->sizeHint().height(), inner.width(),
                            progress->sizeHint().height())
               && settings->geometry().right() == inner.right() && settings->geometry().top() == inner.top()
               && settings->height() == inner.height() && settings->width() >= 820;
    };
    QVERIFY(check());
    window->resize(1400, 900);
    QVERIFY(check());
    window->showMaximized();
    QTRY_VERIFY(check());
    window->showNormal();
    QTRY_VERIFY(check());
}

void TestMainWindow::overlay_data()
{
    QTest::addColumn<bool>("progress");
    QTest::addColumn<bool>("settings");
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<bool>("shown");
    QTest::newRow("nothing") << false << false << false << false;
    QTest::newRow("progress") << true << false << false << true;
    QTest::newRow("settings") << false << true << false << true;
    QTest::newRow("both") << true << true << false << true;
    QTest::newRow("blocked") << false << false << true << true;
    QTest::newRow("progress, blocked") << true << false << true << true;
}

void TestMainWindow::overlay()
{
    QFETCH(bool, progress);
    QFETCH(bool, settings);
    QFETCH(bool, blocked);
    QFETCH(bool, shown);
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow* window = f.window();
    COverlay* overlay = window->overlay();
    QVERIFY(!overlay->isVisible());
    if (blocked) {
        QEvent event(QEvent::WindowBlocked);
        QCoreApplication::sendEvent(window, &event);
    }
    if (progress)
        window->progressBox()->startComposing();
    if (settings)
        window->settingsBox()->show();
    clock.advance(kPastAnimationMs);
    QCOMPARE(overlay->isVisible(), shown);
    if (progress && !blocked)
        QVERIFY(isAbove(window->progressBox(), overlay));
    if (settings)
        QVERIFY(isAbove(window->settingsBox(), overlay));
    if (progress && settings)
        QVERIFY(isAbove(window->settingsBox(), window->progressBox()));
    window->progressBox()->stop();
    window->settingsBox()->hide();
    // The progress box fades out, then the overlay.
    clock.advance(kPastAnimationMs);
    clock.advance(kPastAnimationMs);
    if (blocked) {
        QCOMPARE(overlay->isVisible(), true);
        QEvent event(QEvent::WindowUnblocked);
        QCoreApplication::sendEvent(window, &event);
        clock.advance(kPastAnimationMs);
    }
    QVERIFY(!overlay->isVisible());
}

void TestMainWindow::overlayPressHidesSettingsOnly()
{
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow* window = f.window();
    window->settingsBox()->show();
    clock.advance(kPastAnimationMs);
    QVERIFY(window->overlay()->isVisible());
    CButton* history = window->header()->historyButton();
    QSignalSpy clicked(history, &CButton::clicked);
    WindowPointer pointer(*window);
    const QPoint at = history->mapToGlobal(history->rect().center());
    pointer.move(at);
    pointer.press(at);
    pointer.release();
    QTRY_VERIFY(!window->settingsBox()->isVisible());
    clock.advance(kPastAnimationMs);
    QVERIFY(!window->overlay()->isVisible());
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(f.currentPage(), int(MainWindow::WelcomePageIndex));
}

void TestMainWindow::composerFinishedShowsReadyDialog_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("shownInFolder");
    QTest::newRow("open folder") << "video.mp4" << 1 << 1 << true;
    QTest::newRow("closed") << "video.mp4" << 0 << 1 << false;
    QTest::newRow("missing file") << "missing.mp4" << 1 << 0 << false;
    QTest::newRow("empty name") << "" << 1 << 0 << false;
}

void TestMainWindow::composerFinishedShowsReadyDialog()
{
    QFETCH(QString, file);
    QFETCH(int, answer);
    QFETCH(int, dialogs);
    QFETCH(bool, shownInFolder);
    QFile video(m_dir->filePath(QStringLiteral("video.mp4")));
    QVERIFY(video.open(QIODevice::WriteOnly));
    video.close();
    QStringList shown;
    CSystemTools::setShellLauncher([&](const QString& path) {
        shown.append(path);
        return 1;
    });
    int asked = 0;
    DialogAnswerer answerer([&](CDialogMessage* message) {
        ++asked;
        if (answer)
            emit message->button(1)->clicked();
        else
            message->close();
    });
    NestedLoopWatchdog watchdog(10000);
    WindowFixture f;
    f.window()->progressBox()->startComposing();
    const QString path = file.isEmpty() ? QString() : m_dir->filePath(file);
    emit f.window()->projectPage()->composerFinished(path);
    QVERIFY(!f.window()->progressBox()->isVisible());
    QCOMPARE(asked, dialogs);
    QCOMPARE(shown.size(), shownInFolder ? 1 : 0);
    if (shownInFolder)
        QCOMPARE(QFileInfo(shown.first()), QFileInfo(video.fileName()));
}

void TestMainWindow::closeSavesGeometryThenProject()
{
    const QString photoFile = photo(QStringLiteral("a.jpg"));
    QRect geometry;
    {
        DialogFiles answer({photoFile});
        WindowFixture f;
        f.window()->setGeometry(30, 40, 1500, 900);
        f.window()->addPhotos();
        geometry = f.window()->geometry();
        QVERIFY(f.window()->close());
        const QString hash = f.window()->project()->contentHash();
        QVERIFY(testSettings()->contains(QStringLiteral("MainWindow_Geometry")));
        QCOMPARE(QDir(AppPaths::latestDir()).entryList(QDir::Files), QStringList{hash + QStringLiteral(".json")});
    }
    MainWindow next;
    QCOMPARE(next.geometry(), geometry);
    emit CSystemTools::instance()->mainWindowShowedFirstTimeInCurrentSession();
    QCOMPARE(next.pages()->currentIndex(), int(MainWindow::ProjectPageIndex));
    QCOMPARE(next.project()->itemCount(), 2);
}

TY_MAINWINDOW_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
