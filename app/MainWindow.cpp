#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/Composer.h"
#include "app/HistoryModel.h"
#include "app/MainWindowParts.h"
#include "app/MainWindowWelcomePage.h"
#include "app/SettingsProvider.h"
#include "app/Ui.h"
#include "app/audio/WavConversion.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "model/SlideInterfaces.h"
#include "pages/FontsCombo.h"
#include "pages/HistoryPage.h"
#include "pages/InterfaceText.h"
#include "pages/ProgressBox.h"
#include "pages/ProjectPage.h"
#include "pages/SelectColorDialog.h"
#include "pages/SettingsBox.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/COverlay.h"
#include "uilib/style/WindowRegion.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLayout>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

Application* application()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

// Keeps the start screen painted between the long steps of construction.
void keepStartScreenAlive()
{
    if (Application* app = application())
        app->processStartScreenEvents();
}

// A clone without the photos whose files are gone; the title slide, colour slides and music stay.
ProjectFile* cloneWithoutMissingPhotos(const ProjectFile* entry)
{
    ProjectFile* project = entry->clone();
    const QList<ProjectItem*> items = project->items();
    for (ProjectItem* item : items) {
        const auto* file = dynamic_cast<const IFileSourceItem*>(item);
        if (file && !file->fileExists())
            project->removeItem(item);
    }
    return project;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : CWindow(Movable | Resizable | MinimiseButton | MaximiseButton | TitleBar, parent, CWindow::Default, false,
              QStringLiteral("MainWindow"))
{
    m_titlebar = new Titlebar(this);
    FontsCombo::preloadFamiliesMenu(this, 1000, 19, 1073, keepStartScreenAlive);

    auto* layout = new QVBoxLayout(contentWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new Header(this);
    m_pages = new QStackedWidget(contentWidget());
    layout->addWidget(m_header);
    layout->addWidget(m_pages);

    buildPages();
    connectParts();
    m_settingsBox->setMinimumWidth(820);
    updateTexts();

    if (!hasSavedGeometry())
        updateGeometryTree(this);
    restoreSavedGeometry();
    placeSidePanels();
}

MainWindow::~MainWindow()
{
    // The page lets go of the project before the project goes.
    if (m_projectPage)
        m_projectPage->setProject(nullptr, false);
    delete m_project;
}

Ui* MainWindow::ui()
{
    return dynamic_cast<Ui*>(CSystemTools::instance());
}

void MainWindow::buildPages()
{
    m_welcomePage = new WelcomePage(this);
    m_pages->insertWidget(WelcomePageIndex, m_welcomePage);
    keepStartScreenAlive();
    m_projectPage = new ProjectPage(this);
    m_pages->insertWidget(ProjectPageIndex, m_projectPage);
    keepStartScreenAlive();
    m_historyPage = new HistoryPage(this);
    m_pages->insertWidget(HistoryPageIndex, m_historyPage);
    keepStartScreenAlive();
    m_progressBox = new ProgressBox(this);
    m_settingsBox = new SettingsBox(this);
    m_overlay = new COverlay(this);
    m_overlay->installEventFilter(this);
    keepStartScreenAlive();
}

void MainWindow::connectParts()
{
    connect(m_pages, &QStackedWidget::currentChanged, m_header, &Header::updateButtons);
    connect(m_projectPage, &ProjectPage::composerStarted, m_progressBox, &ProgressBox::startComposing);
    connect(m_projectPage, &ProjectPage::composerProgressChanged, m_progressBox, &ProgressBox::setProgress);
    connect(m_projectPage, &ProjectPage::composerFinished, this, [this](const QString& fileName) {
        m_progressBox->stop();
        onComposerFinished(fileName);
    });
    connect(m_projectPage, &ProjectPage::editTextVisibilityChanged, m_header, &Header::setEditButtonsDisabled);
    connect(m_projectPage, &CWidgetBase::visibilityChanged, this, [this](bool visible) {
        if (visible)
            m_projectPageShown = true;
    });
    connect(m_projectPage, &ProjectPage::importAudioStarted, m_progressBox, &ProgressBox::startImport);
    connect(m_projectPage, &ProjectPage::importAudioProgressChanged, m_progressBox, &ProgressBox::setProgress);
    connect(m_projectPage, &ProjectPage::importAudioFinished, m_progressBox, &ProgressBox::stop);
    connect(m_progressBox, &ProgressBox::cancelClicked, this, [this] {
        m_projectPage->cancelAudioImport();
        m_projectPage->cancelComposer();
    });
    connect(m_historyPage, &HistoryPage::openProjectClicked, this, &MainWindow::openProject);
    connect(m_progressBox, &ProgressBox::pauseToggled, m_projectPage, &ProjectPage::pauseComposer);
    connect(m_progressBox, &CWidgetBase::visibilityChanged, this, &MainWindow::updateOverlay);
    connect(m_settingsBox, &CWidgetBase::visibilityChanged, this, &MainWindow::updateOverlay);
    connect(m_titlebar->settingsButton(), &CButton::clicked, this, &MainWindow::showSettings);
    if (CSystemTools* tools = CSystemTools::instance())
        connect(tools, &CSystemTools::mainWindowShowedFirstTimeInCurrentSession, this, &MainWindow::reopenLatest);
}

void MainWindow::updateTexts()
{
    m_titlebar->updateTexts();
    m_header->updateTexts();
    m_welcomePage->addButton()->setText(interfaceText(205));
    m_projectPage->updateTexts();
    m_historyPage->updateTexts();
    m_settingsBox->updateTexts();
    CWindow::updateTexts();
}

void MainWindow::showSettings()
{
    m_settingsBox->showAnimated();
}

void MainWindow::newProject()
{
    auto* settings = SettingsProvider::instance();
    const int slideTime = settings ? settings->defaultTime_ms() : ProjectSettings().defaultTime_ms;
    ProjectFile* project = ProjectFile::create(slideTime);
    if (settings) {
        project->format = settings->outFileFormat();
        project->resolution = Resolution(settings->resolution());
        project->transition_time_ms = settings->transitionTime_ms();
        project->audio_fade = settings->audioFade();
        project->blur_background = settings->blurBackground();
        project->scale_to_fit = settings->scaleToFit();
        project->fps = settings->fps();
        project->audio_offset = settings->audioOffset();
        project->defaultTime_ms = settings->defaultTime_ms();
        project->defaultTransition = settings->defaultTransition();
        project->defaultMotion = settings->defaultMotion();
    }
    replaceProject(project, true);
    m_projectPage->assignDefaultName();
}

void MainWindow::askNewProject()
{
    Ui* tools = ui();
    if (tools && tools->confirmNewProject())
        newProject();
}

void MainWindow::addPhotos()
{
    if (Ui* tools = ui())
        addImageFiles(tools->chooseImageFiles());
}

void MainWindow::addFolder()
{
    Ui* tools = ui();
    const QString folder = tools ? tools->chooseImageFolder() : QString();
    if (!folder.isEmpty())
        addImageFiles({folder});
}

void MainWindow::addImageFiles(const QStringList& paths)
{
    if (!m_project || paths.isEmpty())
        return;
    m_projectPage->addImageFiles(paths, m_project->itemCount());
    if (m_project && m_project->itemCount() > 1)
        showPage(ProjectPageIndex);
}

void MainWindow::addColorSlide()
{
    if (!m_project)
        return;
    QPointer<SelectColorDialog> dialog = new SelectColorDialog(0, this);
    const int result = dialog->exec(CWindow::CenteredOnParent);
    const int index = dialog ? dialog->selectedColorIndex() : -1;
    delete dialog.data();
    if (result != 1)
        return;
    m_projectPage->addColorSlide(index);
    showPage(ProjectPageIndex);
}

void MainWindow::showHistory()
{
    showPage(HistoryPageIndex);
}

void MainWindow::goBack()
{
    showPage(m_projectPageShown ? ProjectPageIndex : WelcomePageIndex);
}

void MainWindow::showPage(int index)
{
    m_pages->setCurrentIndex(index);
}

void MainWindow::openProject(const QString& fileName)
{
    Application* app = application();
    HistoryModel* history = app ? app->historyModel() : nullptr;
    const ProjectFile* entry = history ? history->project(fileName) : nullptr;
    if (!entry)
        return;
    ProjectFile* project = nullptr;
    if (entry->allFilesExist()) {
        project = entry->clone();
    } else {
        Ui* tools = ui();
        if (!tools || !tools->confirmOpenWithMissingFiles())
            return;
        // The entry may have gone while the question was open.
        entry = history->project(fileName);
        if (!entry)
            return;
        project = cloneWithoutMissingPhotos(entry);
    }
    showPage(ProjectPageIndex);
    replaceProject(project, false);
}

void MainWindow::reopenLatest()
{
    const QString path = AppPaths::latestProjectFile();
    ProjectFile* project = QFileInfo::exists(path) ? ProjectFile::load(path) : nullptr;
    if (!project) {
        newProject();
        return;
    }
    showPage(ProjectPageIndex);
    replaceProject(project, false);
}

void MainWindow::replaceProject(ProjectFile* project, bool isNew)
{
    ProjectFile* old = m_project;
    m_project = project;
    m_projectPage->setProject(project, isNew);
    delete old;
}

void MainWindow::onComposerFinished(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return;
    Ui* tools = ui();
    if (tools && tools->showSlideshowReady(false) == 1)
        tools->showInFolder(fileName);
}

void MainWindow::placeSidePanels()
{
    if (!m_progressBox || !m_settingsBox)
        return;
    const QRect inner = rect().marginsRemoved(layout() ? layout()->contentsMargins() : QMargins());
    const int h = m_progressBox->sizeHint().height();
    m_progressBox->setGeometry(inner.x(), inner.y() + inner.height() - h, inner.width(), h);
    const int w = qMax(m_settingsBox->sizeHint().width(), m_settingsBox->minimumWidth());
    m_settingsBox->setGeometry(inner.x() + inner.width() - w, inner.y(), w, inner.height());
}

void MainWindow::updateOverlay()
{
    if (!m_overlay)
        return;
    const bool progress = m_progressBox->isVisible();
    const bool settings = m_settingsBox->isVisible();
    const bool blocked = isBlocked();
    if (!progress && !settings && !blocked) {
        m_overlay->hide();
        return;
    }
    m_overlay->show();
    if (progress && !blocked)
        m_progressBox->raise();
    if (settings && !blocked)
        m_settingsBox->raise();
}

bool MainWindow::event(QEvent* event)
{
    const bool result = CWindow::event(event);
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
        updateOverlay();
        break;
    case QEvent::WindowStateChange:
        QTimer::singleShot(0, this, &MainWindow::placeSidePanels);
        break;
    default:
        break;
    }
    return result;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_overlay && event->type() == QEvent::MouseButtonPress && m_settingsBox->isVisible())
        m_settingsBox->hide();
    return false;
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    CWidgetBase::resizeEvent(event);
    placeSidePanels();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveGeometrySettings();
    m_projectPage->saveToLatest();
    endRunningJobs();
    QWidget::closeEvent(event);
}

void MainWindow::endRunningJobs()
{
    m_projectPage->cancelAudioImport();
    endWavConversions();
    m_projectPage->cancelComposer();
    m_projectPage->composer()->abort();
}
