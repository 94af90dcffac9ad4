// The main window's long jobs with a stand-in helper and a stand-in converter: composing through
// the progress box, the ready dialog, and a close while a job runs.

#include "support/AppTestSupport.h"
#include "support/AudioFixture.h"
#include "support/MainWindowFixture.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/Application.h"
#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/Composer.h"
#include "app/SettingsProvider.h"
#include "app/audio/AudioFilesController.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "pages/AudioBox.h"
#include "pages/PageShell.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageOutFileName.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/TextPage.h"
#include "pages/VideoPlayerWidget.h"
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"
#include "platform/ToolPaths.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/COverlay.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CTextEdit.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QMimeData>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

const QString kFakeHelper = QStringLiteral(TY_BIN_DIR "/ty_fake_helper");
constexpr int kWaitMs = 20000;
// Long enough for any fade of the palette.
constexpr int kPastAnimationMs = 5000;

QStringList latestFiles()
{
    return QDir(AppPaths::latestDir()).entryList(QDir::Files);
}

} // namespace

class TestMainWindowJobs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void composingShowsProgressPausesAndCancels();
    void composerOutcome_data();
    void composerOutcome();
    void closeMidCompositionEndsTheHelperGroup();
    void closeMidImportEndsTheConverter();
    void closeWithCaptionEditorOpenKeepsTheCaption();
    void closeDuringSlideDragKeepsTheSlides();

private:
    void setScript(const QJsonObject& script);
    // The window's project holds the title slide and two photos, written to the temporary folder.
    void addTwoPhotos(MainWindow* window);
    // Where the next composition writes its video.
    QString outputOf(MainWindow* window) const;
    // Presses the compose button and waits for the stand-in to start.
    void compose(MainWindow* window);
    // Closes the window, tells how long it took and returns the milliseconds.
    qint64 timedClose(MainWindow* window, const char* what);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeHelper> m_helper;
};

void TestMainWindowJobs::initTestCase()
{
    QVERIFY2(QFileInfo(kFakeHelper).isExecutable(), "the stand-in helper is needed");
    // No file manager answers: "show in folder" opens the folder's URL.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qRegisterMetaType<QProcess::ExitStatus>();
    // The first showing of a run reopens the latest project, on a later pass of the loop: it
    // is made to come now, not in the middle of a test.
    WindowFixture f;
    QCoreApplication::sendPostedEvents();
}

void TestMainWindowJobs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_helper = std::make_unique<FakeHelper>(m_dir->path());
    ToolPaths::setHelper(kFakeHelper);
    testSettings()->setFolder(m_dir->filePath(QStringLiteral("videos")));
    AppPaths::clearDir(AppPaths::latestDir());
    pageMessages().reset();
}

void TestMainWindowJobs::cleanup()
{
    ToolPaths::setHelper(QString());
    CSystemTools::setFileDialogFunction({});
    AppPaths::clearDir(AppPaths::latestDir());
    m_dir.reset();
}

void TestMainWindowJobs::setScript(const QJsonObject& script)
{
    QVERIFY(m_helper->setScript(script));
}

void TestMainWindowJobs::addTwoPhotos(MainWindow* window)
{
    DialogFiles answer({writeImage(m_dir->filePath(QStringLiteral("a.jpg"))),
                        writeImage(m_dir->filePath(QStringLiteral("b.jpg")))});
    window->addPhotos();
    QCOMPARE(window->project()->itemCount(), 3);
}

QString TestMainWindowJobs::outputOf(MainWindow* window) const
{
    ProjectPage::OutFileName* name = window->projectPage()->outFileName();
    return QDir::toNativeSeparators(QStringLiteral("%1/%2.%3").arg(testSettings()->folder(), name->nameEdit()->text(),
                                                                  name->formatCombo()->currentData().toString()));
}

void TestMainWindowJobs::compose(MainWindow* window)
{
    QSignalSpy started(window->projectPage()->composer(), &Composer::started);
    QVERIFY(clickInPlace(window->projectPage()->composeButton()));
    QVERIFY(started.count() == 1 || started.wait(kWaitMs));
}

qint64 TestMainWindowJobs::timedClose(MainWindow* window, const char* what)
{
    HangWatchdog watchdog(kWaitMs, what);
    QElapsedTimer closing;
    closing.start();
    window->close();
    const qint64 ms = closing.elapsed();
    qInfo("%s: the close took %lld ms", what, ms);
    return ms;
}

void TestMainWindowJobs::composingShowsProgressPausesAndCancels()
{
    ManualAnimationClock clock;
    WindowFixture f;
    MainWindow* window = f.window();
    addTwoPhotos(window);
    setScript({{"chunks", QJsonArray{"value: 1, total: 4, remtime:3000\n"}}, {"waitCancel", true}});
    Composer* composer = window->projectPage()->composer();
    compose(window);
    ProgressBox* box = window->progressBox();
    clock.advance(kPastAnimationMs);
    QVERIFY(box->isVisible());
    QVERIFY(window->overlay()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(box->findChild<CProgressBar*>()->value(), 25, kWaitMs);

    const RegistryKey session(SessionKey::of(composer->sessionId()));
    QVERIFY(clickInPlace(box->pauseButton()));
    QCOMPARE(session.intValue(SessionKey::isPaused), 1);
    QVERIFY(clickInPlace(box->pauseButton()));
    QCOMPARE(session.intValue(SessionKey::isPaused), 0);

    QSignalSpy finished(window->projectPage(), &ProjectPage::composerFinished);
    int dialogs = 0;
    DialogRunnerScope runner([&dialogs](CDialog*) { return ++dialogs, 0; });
    QVERIFY(clickInPlace(box->cancelButton()));
    QCOMPARE(session.intValue(SessionKey::isCanceled), 1);
    QVERIFY(finished.count() == 1 || finished.wait(kWaitMs));
    QCOMPARE(finished.first().first().toString(), QString());
    QCOMPARE(m_helper->recorded("canceled").size(), 1);
    clock.advance(kPastAnimationMs);
    clock.advance(kPastAnimationMs);
    QVERIFY(!box->isVisible());
    QVERIFY(!window->overlay()->isVisible());
    QCOMPARE(dialogs, 0);
    QVERIFY(pageMessages().errors.isEmpty());
}

void TestMainWindowJobs::composerOutcome_data()
{
    QTest::addColumn<bool>("written"); // the stand-in writes the video
    QTest::addColumn<bool>("vanishes"); // it is gone once the history has taken the project
    QTest::addColumn<int>("answer");   // the ready dialog's answer
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<bool>("folderOpened");
    QTest::addColumn<bool>("error");
    QTest::newRow("video, open folder") << true << false << 1 << 1 << true << false;
    QTest::newRow("video, dialog closed") << true << false << 0 << 1 << false << false;
    QTest::newRow("video gone before the dialog") << true << true << 1 << 0 << false << false;
    QTest::newRow("no video") << false << false << 1 << 0 << false << true;
}

void TestMainWindowJobs::composerOutcome()
{
    QFETCH(bool, written);
    QFETCH(bool, vanishes);
    QFETCH(int, answer);
    QFETCH(int, dialogs);
    QFETCH(bool, folderOpened);
    QFETCH(bool, error);
    WindowFixture f;
    MainWindow* window = f.window();
    addTwoPhotos(window);
    const QString output = outputOf(window);
    QJsonObject script;
    if (written)
        script = {{"output", output}, {"content", "video"}};
    setScript(script);

    int shown = 0;
    DialogRunnerScope runner([&](CDialog* dialog) {
        ++shown;
        auto* message = qobject_cast<CDialogMessage*>(dialog);
        CButton* open = message ? message->button(1) : nullptr;
        if (!open)
            return -1;
        if (answer == 1)
            emit open->clicked();
        return dialog->result();
    });
    UrlCatcher urls;
    QSignalSpy finished(window->projectPage(), &ProjectPage::composerFinished);
    QMetaObject::Connection removal;
    if (vanishes)
        removal = connect(testApp()->historyModel(), &QAbstractItemModel::rowsInserted, this,
                          [output] { QFile::remove(output); });
    compose(window);
    QVERIFY(finished.count() == 1 || finished.wait(kWaitMs));
    disconnect(removal);
    QCOMPARE(finished.first().first().toString(), written ? output : QString());
    QCOMPARE(shown, dialogs);
    QCOMPARE(urls.urls.size(), folderOpened ? 1 : 0);
    if (folderOpened)
        QCOMPARE(urls.urls.first(), QUrl::fromLocalFile(QFileInfo(output).absolutePath()));
    QCOMPARE(pageMessages().errors, error ? QStringList{QStringLiteral("ERR_GENERATOR")} : QStringList());
}

void TestMainWindowJobs::closeMidCompositionEndsTheHelperGroup()
{
    WindowFixture f;
    MainWindow* window = f.window();
    addTwoPhotos(window);
    setScript({{"waitCancel", true}, {"ignoreCancel", true}, {"grandchild", true}});
    compose(window);
    QTRY_VERIFY_WITH_TIMEOUT(m_helper->recordedPid("grandchild") > 0, kWaitMs);
    const pid_t helper = m_helper->recordedPid("pid");
    const QString sessionFolder = window->projectPage()->composer()->sessionCacheDir();
    const QString hash = window->project()->contentHash();
    QSignalSpy finished(window->projectPage(), &ProjectPage::composerFinished);
    int dialogs = 0;
    DialogRunnerScope runner([&dialogs](CDialog*) { return ++dialogs, 0; });

    timedClose(window, "mid-composition");

    QVERIFY(Processes::isGone(helper));
    // Killed with the helper; only the kernel's reaping may be pending.
    QTRY_VERIFY_WITH_TIMEOUT(Processes::inGroup(helper).isEmpty(), kWaitMs);
    QVERIFY(Processes::childrenOf(getpid()).isEmpty());
    QVERIFY(!QFileInfo::exists(sessionFolder));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toString(), QString());
    QCOMPARE(dialogs, 0);
    QVERIFY(pageMessages().errors.isEmpty());
    QVERIFY(testSettings()->contains(QStringLiteral("MainWindow_Geometry")));
    QCOMPARE(latestFiles(), QStringList{hash + QStringLiteral(".json")});
}

void TestMainWindowJobs::closeMidImportEndsTheConverter()
{
    const QString song = m_dir->filePath(QStringLiteral("song.wav"));
    QVERIFY(AudioFixture::makeTone(song, 0.5));
    // The stand-in takes the place of ffmpeg and waits until it is killed.
    const QString programs = m_dir->filePath(QStringLiteral("programs"));
    QVERIFY(QDir().mkpath(programs));
    QVERIFY(QFile::link(kFakeHelper, programs + QStringLiteral("/ffmpeg")));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(programs) + ':' + path);
    setScript({{"waitCancel", true}});
    PageShell::functions().chooseAudioFiles = [song] { return QStringList{song}; };
    // The canceled import added nothing: the message runs no modal loop here.
    PageShell::functions().showAudioNotAddedMessage = [] {};

    WindowFixture f;
    MainWindow* window = f.window();
    addTwoPhotos(window);
    AudioFilesController* tracks = window->projectPage()->previewPanel()->audioFiles();
    QString hash;
    pid_t converter = 0;
    // The close comes while the import waits for its converter.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        converter = m_helper->recordedPid("pid");
        if (converter <= 0 || !window->isVisible())
            return;
        poll.stop();
        QVERIFY(window->progressBox()->isVisible());
        hash = window->project()->contentHash();
        timedClose(window, "mid-import");
        QVERIFY(Processes::isGone(converter));
        QVERIFY(Processes::childrenOf(getpid()).isEmpty());
    });
    poll.start(20);
    QSignalSpy importFinished(tracks, &AudioFilesController::importFinished);
    {
        NestedLoopWatchdog watchdog(kWaitMs);
        QVERIFY(clickInPlace(window->projectPage()->audioBox()->addButton()));
        QVERIFY(importFinished.count() == 1 || importFinished.wait(kWaitMs));
        QVERIFY(!watchdog.fired());
    }
    qputenv("PATH", path);
    PageShell::functions() = {};

    QVERIFY(converter > 0);
    QVERIFY(!window->isVisible());
    QCOMPARE(tracks->rowCount(), 0);
    QCOMPARE(latestFiles(), QStringList{hash + QStringLiteral(".json")});
    std::unique_ptr<ProjectFile> saved(ProjectFile::load(AppPaths::latestDir() + '/' + latestFiles().first()));
    QVERIFY(saved);
    QCOMPARE(saved->itemCount(), 3);
    QVERIFY(saved->audio_files.isEmpty());
}

void TestMainWindowJobs::closeWithCaptionEditorOpenKeepsTheCaption()
{
    {
        WindowFixture f;
        MainWindow* window = f.window();
        addTwoPhotos(window);
        ProjectPage* page = window->projectPage();
        ProjectItem* slide = window->project()->item(1);
        page->editCaption(slide);
        QVERIFY(page->captionPage()->isVisible());
        auto* editor = page->captionPage()->findChild<CTextEdit*>();
        QVERIFY(editor);
        editor->setPlainText(QStringLiteral("У моря"));
        QCOMPARE(slide->text().text, QStringLiteral("У моря"));
        const QString hash = window->project()->contentHash();
        window->close();
        QCOMPARE(latestFiles(), QStringList{hash + QStringLiteral(".json")});
    }
    MainWindow next;
    emit CSystemTools::instance()->mainWindowShowedFirstTimeInCurrentSession();
    QCOMPARE(next.project()->itemCount(), 3);
    QCOMPARE(next.project()->item(1)->text().text, QStringLiteral("У моря"));
}

void TestMainWindowJobs::closeDuringSlideDragKeepsTheSlides()
{
    WindowFixture f;
    MainWindow* window = f.window();
    addTwoPhotos(window);
    ProjectPage* page = window->projectPage();
    ProjectPage::SlidesView* view = page->slidesView();
    const QList<ProjectItem*> before = window->project()->items();
    const QString hash = window->project()->contentHash();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QPoint start = view->visualRect(view->model()->index(1, 0)).center();
    const QPoint over = view->visualRect(view->model()->index(2, 0)).bottomLeft() + QPoint(8, -2);
    bool closedInDrag = false;
    ProjectPage::SlidesView::setDragRunner([&](ProjectPage::SlidesView*, QMimeData* data, Qt::DropActions actions) {
        // The pointer is over the last slide when the window closes.
        QDragEnterEvent enter(over, actions, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(over, actions, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
        closedInDrag = !view->draggedRows().isEmpty() && view->dropRow() > 0 && window->close();
        delete data;
    });
    page->selectSlides({before.at(1)});
    // A press on the slide, then two moves: the second one past the start distance starts the drag.
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::NoModifier, start);
    for (const QPoint& at : {start + QPoint(0, 10), over}) {
        QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
    }
    ProjectPage::SlidesView::setDragRunner({});

    QVERIFY(closedInDrag);
    QCOMPARE(window->project()->items(), before);
    QVERIFY(view->draggedRows().isEmpty());
    QCOMPARE(latestFiles(), QStringList{hash + QStringLiteral(".json")});
}

TY_MAINWINDOW_TEST_MAIN(TestMainWindowJobs)
#include "tst_mainwindowjobs.moc"
