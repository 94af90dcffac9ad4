#include "ScriptedUser.h"

#include "support/AppTestSupport.h"
#include "support/MainWindowWatch.h"
#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "app/Application.h"
#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/MainWindow.h"
#include "app/MainWindowParts.h"
#include "app/audio/AudioFilesController.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemTransition.h"
#include "model/transition/TransitionType.h"
#include "pages/AudioBox.h"
#include "pages/EffectNames.h"
#include "pages/EffectSelectors.h"
#include "pages/HistoryPage.h"
#include "pages/InterfaceText.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/ProjectPageVideoSettingsBox.h"
#include "pages/VideoFormatSelectors.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindowMenu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// The start screen stays up at least this long.
constexpr int kStartScreenMs = 2000;
constexpr int kStartLimitMs = 30000;
constexpr int kStepLimitMs = 15000;
constexpr int kImportLimitMs = 30000;
constexpr int kComposeLimitMs = 90000;
constexpr int kWatchdogMarginMs = 10000;
// The one transition the user gives every slide.
constexpr int kTransition = TransitionCrossfade;
// Where the user moves the window, from the screen's corner.
const QPoint kMove(37, 23);

QJsonArray toJson(const QStringList& texts)
{
    return QJsonArray::fromStringList(texts);
}

QJsonArray transitions(const ProjectFile& project)
{
    QJsonArray types;
    for (const ProjectItem* item : project.items()) {
        if (const auto* slide = dynamic_cast<const ProjectItemTransition*>(item))
            types << slide->transition;
    }
    return types;
}

QStringList trackFiles(const QList<AudioTrack>& tracks)
{
    QStringList files;
    for (const AudioTrack& track : tracks)
        files << track.fileName;
    return files;
}

// The output files of the history's entries, newest first.
QStringList historyFiles(const HistoryModel& history)
{
    QStringList files;
    for (int row = 0; row < history.rowCount(); ++row)
        files << history.data(history.index(row, 0), Qt::UserRole).value<ProjectFile*>()->file_name;
    return files;
}

QStringList imagesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
}

} // namespace

ScriptedUser::ScriptedUser(const DriverOptions& options)
    : m_options(options)
{
    m_sinceStart.start();
    begin("start-up", kStartLimitMs);
}

ScriptedUser::~ScriptedUser()
{
    CSystemTools::setFileDialogFunction({});
    CSystemTools::setDialogRunner({});
}

void ScriptedUser::installAnswers()
{
    CSystemTools::setFileDialogFunction([this](const FileDialogRequest& request) { return answerFileDialog(request); });
    CSystemTools::setDialogRunner([this](CDialog* dialog) { return answerDialog(dialog); });
}

QStringList ScriptedUser::answerFileDialog(const FileDialogRequest& request)
{
    switch (request.kind) {
    case FileDialogRequest::ExistingDirectory:
        return {m_options.photosFolder};
    case FileDialogRequest::OpenFiles:
        return {m_options.musicFile};
    default:
        m_messages << QStringLiteral("file dialog: ") + request.title;
        return {};
    }
}

int ScriptedUser::answerDialog(CDialog* dialog)
{
    auto* message = qobject_cast<CDialogMessage*>(dialog);
    const QString text =
        message ? message->textLabel()->text() : QString::fromLatin1(dialog->metaObject()->className());
    // The ready message is closed without opening the folder; any other is noted and closed.
    if (text.contains(interfaceText(51)))
        ++m_readyMessages;
    else
        m_messages << text;
    return 0;
}

bool ScriptedUser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    if (m_startScreenShownMs < 0 && qobject_cast<CStartScreen*>(watched))
        m_startScreenShownMs = m_sinceStart.elapsed();
    if (m_mainWindowShownMs < 0 && qobject_cast<MainWindow*>(watched)) {
        m_mainWindowShownMs = m_sinceStart.elapsed();
        m_startScreenUpAtWindowShow = m_app && m_app->isStartScreenVisible();
    }
    return false;
}

void ScriptedUser::start(Application& app)
{
    m_app = &app;
    QTimer::singleShot(0, this, &ScriptedUser::play);
}

void ScriptedUser::play()
{
    MainWindow* window = nullptr;
    bool played = startsAsProgramShould();
    if (played) {
        window = MainWindowWatch::mainWindow();
        played = m_options.run == 1 ? playFirstRun(window) : playSecondRun();
    }
    if (played) {
        noteFacts(window);
        played = writeReport() && closeWindow(window);
    }
    if (played)
        return;
    m_failed = true;
    writeReport();
    QCoreApplication::exit(1);
}

void ScriptedUser::begin(const char* step, int limitMs)
{
    m_step = step;
    // It catches what the step's own waits do not: a call that never returns.
    m_watchdog.reset();
    m_watchdog.reset(new HangWatchdog(limitMs + kWatchdogMarginMs, step));
}

bool ScriptedUser::expect(bool ok, const char* what)
{
    if (!ok)
        std::fprintf(stderr, "endtoend: run %d, step \"%s\": %s\n", m_options.run, m_step, what);
    return ok;
}

bool ScriptedUser::waitUntil(const std::function<bool()>& done, int timeoutMs, const char* what)
{
    return expect(QTest::qWaitFor(done, timeoutMs), what);
}

void ScriptedUser::deliverClick(CButton* button)
{
    // Laid out where it stands now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    sendEnter(button);
    const QPoint centre = globalCentre(button);
    const QScreen* screen = button->window()->screen();
    if (screen && screen->geometry().contains(centre))
        windowClick(button->window()->windowHandle(), centre);
    else // the pointer reaches no point beyond the screen: there the button gets the events itself
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

bool ScriptedUser::click(CButton* button)
{
    QSignalSpy clicked(button, &CButton::clicked);
    deliverClick(button);
    if (clicked.count() > 0 || clicked.wait(kStepLimitMs))
        return true;
    QString name = button->text().isEmpty() ? button->toolTip() : button->text();
    if (name.isEmpty())
        name = QString::fromLatin1(button->metaObject()->className());
    return expect(false, qPrintable(QStringLiteral("a click on \"%1\" did not come through").arg(name)));
}

bool ScriptedUser::waitForPage(int pageIndex)
{
    static const char* const kPageNotShown[] = {"the welcome page does not show", "the project page does not show",
                                                "the history does not show"};
    return waitUntil([pageIndex] { return MainWindowWatch::mainWindow()->pages()->currentIndex() == pageIndex; },
                     kStepLimitMs, kPageNotShown[pageIndex]);
}

bool ScriptedUser::waitForIdle()
{
    // The dimming fades out after the progress has gone, and takes the clicks until then.
    return waitUntil([] { return !MainWindowWatch::showsJob(); }, kStepLimitMs, "the progress or the dimming stays");
}

bool ScriptedUser::chooseItem(CComboBase* combo, const QString& text)
{
    // The popup opens on the press; the combo signals no click.
    deliverClick(combo);
    if (!waitUntil([combo] { return combo->popup()->isVisible(); }, kStepLimitMs, "the popup does not open"))
        return false;
    QBoxLayout* items = combo->popup()->itemLayout();
    for (int i = 0; i < items->count(); ++i) {
        auto* item = qobject_cast<CButton*>(items->itemAt(i)->widget());
        if (!item || item->text() != text)
            continue;
        sendEnter(item);
        popupClick(globalCentre(item));
        return waitUntil([combo] { return !combo->popup()->isVisible(); }, kStepLimitMs, "the popup stays open");
    }
    return expect(false, "the popup has no such item");
}

bool ScriptedUser::startsAsProgramShould()
{
    begin("start screen, then the main window", kStartLimitMs);
    const auto shown = [] {
        auto* app = qobject_cast<Application*>(QCoreApplication::instance());
        MainWindow* window = MainWindowWatch::mainWindow();
        return window && window->isVisible() && app && !app->isStartScreenVisible();
    };
    return waitUntil(shown, kStartLimitMs, "the main window does not show")
        && expect(m_startScreenShownMs >= 0, "no start screen showed")
        && expect(m_startScreenUpAtWindowShow, "the start screen did not hand over to the main window")
        && expect(m_mainWindowShownMs >= kStartScreenMs, "the main window showed before the start screen's time");
}

bool ScriptedUser::playFirstRun(MainWindow* window)
{
    begin("welcome page", kStepLimitMs);
    if (!waitForPage(MainWindow::WelcomePageIndex)
        || !expect(window->project() && window->project()->itemCount() == 1,
                   "the new project holds more than its title slide"))
        return false;

    begin("move the window", kStepLimitMs);
    // Its top left corner a little way into the screen, where it is found again even when the
    // window is larger than the screen.
    const QRect place(window->screen()->availableGeometry().topLeft() + kMove, window->size());
    window->setGeometry(place);
    if (!waitUntil([window, place] { return window->geometry() == place; }, kStepLimitMs, "the window does not move"))
        return false;

    return addPhotoFolder(window) && chooseTransitionForAll(window) && addMusic(window) && compose(window)
        && openFromHistory(window);
}

bool ScriptedUser::addPhotoFolder(MainWindow* window)
{
    begin("add a folder of photos", kStepLimitMs);
    const int photos = imagesIn(m_options.photosFolder).size();
    if (!click(window->header()->addFolderButton()) || !waitForPage(MainWindow::ProjectPageIndex))
        return false;
    ProjectPage* page = window->projectPage();
    const auto* settings = page->videoSettingsBox();
    return expect(photos > 0 && photoFiles(*window->project()).size() == photos, "not every photo became a slide")
        && expect(page->slidesView()->model()->rowCount() == window->project()->itemCount(),
                  "the list does not show every slide")
        && expect(settings->resolutionRow()->control()->resolution() == window->project()->resolution.toString(),
                  "the video settings do not show the project's size");
}

bool ScriptedUser::chooseTransitionForAll(MainWindow* window)
{
    begin("one transition for all", kStepLimitMs);
    TransitionSelector* selector = window->projectPage()->forAllActions()->transitionSelector();
    if (!chooseItem(selector, transitionName(kTransition) + selector->suffix()))
        return false;
    const QJsonArray chosen = transitions(*window->project());
    return expect(!chosen.isEmpty(), "no slide takes a transition")
        && expect(std::all_of(chosen.begin(), chosen.end(),
                              [](const QJsonValue& type) { return type.toInt() == kTransition; }),
                  "a slide kept another transition");
}

bool ScriptedUser::addMusic(MainWindow* window)
{
    begin("add music", kImportLimitMs);
    AudioBox* box = window->projectPage()->audioBox();
    // An empty list offers its own add button in place of the footer's.
    CButton* add = box->emptyLayout()->addButton();
    AudioFilesController* tracks = box->model();
    if (!click(add->isVisible() ? add : box->addButton())
        || !waitUntil([tracks] { return tracks->rowCount() == 1; }, kImportLimitMs, "the music is not in the list")
        || !waitForIdle())
        return false;
    const AudioTrack track = tracks->tracks().first();
    return expect(track.fileName == m_options.musicFile, "another file was added")
        && expect(track.duration_ms > 0 && QFileInfo::exists(track.wavFileName), "the music was not converted")
        && expect(m_messages.isEmpty(), "a message showed while the music was added");
}

bool ScriptedUser::compose(MainWindow* window)
{
    begin("compose", kComposeLimitMs);
    ProjectPage* page = window->projectPage();
    connect(page, &ProjectPage::composerFinished, this, [this](const QString& file) { m_composedFile = file; });
    m_slidesBeforeCompose = photoFiles(*window->project());
    if (!click(page->composeButton()) || !expect(window->progressBox()->isVisible(), "no progress shows")
        || !waitUntil([this] { return m_readyMessages > 0 || !m_messages.isEmpty(); }, kComposeLimitMs,
                      "the video is not ready"))
        return false;
    if (!expect(m_messages.isEmpty(), "a message instead of the video")
        || !expect(QFileInfo::exists(m_composedFile), "the composed video is not there"))
        return false;
    // What the close would do now: a composed, unchanged project leaves no autosave.
    page->saveToLatest();
    return expect(QDir(AppPaths::latestDir()).isEmpty(), "the composed project was autosaved")
        && waitForIdle();
}

bool ScriptedUser::openFromHistory(MainWindow* window)
{
    begin("the history lists the video", kStepLimitMs);
    if (!click(window->header()->historyButton()) || !waitForPage(MainWindow::HistoryPageIndex))
        return false;
    HistoryPage::RowWidget* row = nullptr;
    const QString composed = m_composedFile;
    if (!waitUntil(
            [&row, window, composed] {
                // Rows have no meta-object of their own.
                const QList<CButton*> buttons = window->historyPage()->findChildren<CButton*>();
                for (CButton* button : buttons) {
                    auto* candidate = dynamic_cast<HistoryPage::RowWidget*>(button);
                    if (candidate && candidate->isVisible() && candidate->fileName() == composed)
                        row = candidate;
                }
                return row != nullptr;
            },
            kStepLimitMs, "no row of the history names the video"))
        return false;
    if (!expect(row->nameLabel()->text() == QFileInfo(composed).fileName(), "the row shows another name")
        || !expect(row->resolutionLabel()->text() == window->project()->resolution.toString(),
                   "the row shows another size"))
        return false;

    begin("open the project from the history", kStepLimitMs);
    CButton* open = window->historyPage()->footer()->openButton;
    // A row is chosen, not clicked.
    deliverClick(row);
    if (!waitUntil([row, open] { return row->isChecked() && open->isEnabled(); }, kStepLimitMs,
                   "the row is not chosen")
        || !click(open))
        return false;
    return waitForPage(MainWindow::ProjectPageIndex) && waitForIdle()
        && expect(window->project()->file_name == composed, "another project opened")
        && expect(photoFiles(*window->project()) == m_slidesBeforeCompose, "the opened project has other slides");
}

bool ScriptedUser::playSecondRun()
{
    begin("the project of the first run", kStepLimitMs);
    // Reopened from the autosave, its music prepared again.
    return waitForPage(MainWindow::ProjectPageIndex) && waitForIdle();
}

void ScriptedUser::noteFacts(MainWindow* window)
{
    const ProjectFile& project = *window->projectPage()->project();
    ProjectPage* page = window->projectPage();
    const QRect geometry = window->geometry();
    m_report[QStringLiteral("page")] = window->pages()->currentIndex();
    m_report[QStringLiteral("slides")] = toJson(photoFiles(project));
    m_report[QStringLiteral("slideRows")] = page->slidesView()->model()->rowCount();
    m_report[QStringLiteral("transitions")] = transitions(project);
    m_report[QStringLiteral("music")] = toJson(trackFiles(page->audioBox()->model()->tracks()));
    m_report[QStringLiteral("projectMusic")] = toJson(trackFiles(project.audio_files));
    m_report[QStringLiteral("resolution")] = page->videoSettingsBox()->resolutionRow()->control()->resolution();
    m_report[QStringLiteral("fps")] = page->videoSettingsBox()->fpsRow()->control()->fps();
    m_report[QStringLiteral("geometry")] = QJsonArray{geometry.x(), geometry.y(), geometry.width(), geometry.height()};
    m_report[QStringLiteral("composedFile")] = m_composedFile;
    m_report[QStringLiteral("history")] = toJson(historyFiles(*m_app->historyModel()));
    m_report[QStringLiteral("tempFolder")] = m_app->tempFolder();
    m_report[QStringLiteral("cacheRoot")] = AppPaths::tempCacheDir();
    m_report[QStringLiteral("latestFolder")] = AppPaths::latestDir();
}

bool ScriptedUser::writeReport()
{
    m_report[QStringLiteral("run")] = m_options.run;
    m_report[QStringLiteral("failedStep")] = m_failed ? QString::fromUtf8(m_step) : QString();
    m_report[QStringLiteral("messages")] = toJson(m_messages);
    m_report[QStringLiteral("startScreenShownMs")] = m_startScreenShownMs;
    m_report[QStringLiteral("mainWindowShownMs")] = m_mainWindowShownMs;
    QFile file(m_options.reportFile);
    return expect(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                      && file.write(QJsonDocument(m_report).toJson()) > 0,
                  "the report cannot be written");
}

bool ScriptedUser::closeWindow(MainWindow* window)
{
    begin("close the window", kStepLimitMs);
    // The loop ends with the last window; the watchdog stays on until the program is over.
    return waitForIdle() && click(window->titleBar()->closeButton());
}
