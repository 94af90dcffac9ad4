#include "pages/ProjectPage.h"

#include "app/Application.h"
#include "app/Composer.h"
#include "app/HistoryModel.h"
#include "app/SettingsProvider.h"
#include "app/Ui.h"
#include "app/audio/AudioFilesController.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "pages/AbstractRow.h"
#include "pages/AudioBox.h"
#include "pages/ElasticSpacer.h"
#include "pages/InterfaceText.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageOutFileName.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/ProjectPageVideoSettingsBox.h"
#include "pages/SlideRowWidget.h"
#include "pages/TextPage.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CAnimationShow2.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QScrollBar>
#include <QUuid>
#include <QVBoxLayout>

#include <utility>

namespace {

ProjectPage::Messages& messages()
{
    static ProjectPage::Messages messages;
    return messages;
}

ProjectPage::Clock& nameClock()
{
    static ProjectPage::Clock clock;
    return clock;
}

Ui* programUi()
{
    return dynamic_cast<Ui*>(CSystemTools::instance());
}

Application* application()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

HistoryModel* applicationHistory()
{
    Application* app = application();
    return app ? app->historyModel() : nullptr;
}

} // namespace

void ProjectPage::setMessages(const Messages& replacement)
{
    messages() = replacement;
}

void ProjectPage::setClock(Clock replacement)
{
    nameClock() = std::move(replacement);
}

bool ProjectPage::confirmClearProject()
{
    if (messages().confirmClearProject)
        return messages().confirmClearProject();
    Ui* ui = programUi();
    return ui && ui->confirmClearProject();
}

void ProjectPage::showNoImagesInFolder()
{
    if (messages().showNoImagesInFolder)
        return messages().showNoImagesInFolder();
    if (Ui* ui = programUi())
        ui->showNoImagesInFolderMessage();
}

void ProjectPage::showMissingFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    if (messages().showMissingFiles)
        return messages().showMissingFiles(files);
    if (Ui* ui = programUi())
        ui->showMissingFilesMessage(files);
}

void ProjectPage::showCreationError(const QString& error)
{
    if (messages().showCreationError)
        return messages().showCreationError(error);
    if (Ui* ui = programUi())
        ui->showSlideshowCreationError(error);
}

ProjectPage::ProjectPage(QWidget* parent)
    : ProjectPage(applicationHistory(), QString(), parent)
{
}

ProjectPage::ProjectPage(HistoryModel* history, const QString& requestFolder, QWidget* parent)
    : CWidgetBase(parent)
    , m_history(history)
    , m_requestFolder(requestFolder)
{
    buildLayout();
    m_captionPage = new TextPage(this);
    m_captionPage->hide();
    m_captionShow = std::make_unique<CAnimationShow2>(m_captionPage);
    m_composer = new Composer(this);
    connectParts();
    rebuildSlideList();
}

ProjectPage::~ProjectPage() = default;

void ProjectPage::buildLayout()
{
    QHBoxLayout* page = ensureHBoxLayout(this, QMargins(16, 0, 16, 16), 0);

    // The preview panel first: the other parts reach it through the page.
    m_preview = new VideoPlayerWidget(this);

    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    left->addSpacing(16);
    m_listPanel = new CPanel(1052, this);
    const int radius = currentPalette()->metric(23);
    m_listPanel->setRadius({radius, radius, radius, radius});
    m_listPanel->setBorderWidths(QMargins(1, 1, 1, 1));
    QVBoxLayout* list = ensureVBoxLayout(m_listPanel);
    m_header = new SlidesHeader(m_listPanel);
    m_view = new SlidesView(this);
    list->addWidget(m_header);
    list->addWidget(m_view, 1);
    left->addWidget(m_listPanel, 1);
    m_forAll = new ForAllActions(this);
    left->addWidget(m_forAll);
    auto* buttonsGap = new ElasticSpacer(4, 24, Qt::Vertical);
    left->addItem(buttonsGap->createSlave(left));
    m_outFileName = new OutFileName();
    left->addLayout(m_outFileName);

    m_selectionActions = new SelectionActions(this);
    m_videoSettings = new VideoSettingsBox(this);
    m_previewButton = new CButton(1011, QStringLiteral(":/start-preview.svg"), this);
    m_composeButton = new CButton(1015, QStringLiteral(":/compose.svg"), this);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(m_preview, 1);
    right->addSpacing(8);
    m_audioBox = new AudioBox(m_preview, this);
    right->addWidget(m_audioBox, 1);
    right->addItem(new ElasticSpacer(4, 16, Qt::Vertical));
    right->addWidget(m_videoSettings);
    right->addItem(buttonsGap);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    buttons->addWidget(m_previewButton);
    buttons->addWidget(m_composeButton);
    right->addLayout(buttons);

    page->addLayout(left, 10);
    page->addLayout(m_selectionActions);
    page->addItem(new ElasticSpacer(0, 16, Qt::Horizontal));
    page->addLayout(right, 6);
}

void ProjectPage::connectParts()
{
    connect(this, &CWidgetBase::resized, this, &ProjectPage::placeCaptionPage);
    connect(m_captionPage, &CWidgetBase::visibilityChanged, this, &ProjectPage::onCaptionPageVisibilityChanged);
    connect(m_captionPage, &TextPage::previewChanged, m_preview, &VideoPlayerWidget::showImage);
    connect(m_captionPage, &TextPage::transitionChanged, m_preview, &VideoPlayerWidget::playPreview);
    connect(m_preview, &VideoPlayerWidget::durationChanged, m_videoSettings, &VideoSettingsBox::setTotalDuration);
    connect(m_composer, &Composer::finished, this, &ProjectPage::onComposerFinished);
    connect(m_composer, &Composer::canceled, this, &ProjectPage::onComposerCanceled);
    connect(m_composer, &Composer::failed, this, &ProjectPage::onComposerFailed);
    connect(m_composer, &Composer::progress, this, &ProjectPage::composerProgressChanged);
    connect(m_previewButton, &CButton::clicked, this, &ProjectPage::playFullPreview);
    connect(m_composeButton, &CButton::clicked, this, &ProjectPage::compose);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &ProjectPage::createVisibleRows);
}

void ProjectPage::placeCaptionPage()
{
    const QRect bar = m_selectionActions->geometry();
    m_captionPage->setGeometry(0, 0, bar.x() + bar.width(), height());
}

ProjectFile* ProjectPage::project() const
{
    return m_project;
}

void ProjectPage::setProject(ProjectFile* project, bool isNew)
{
    AudioFilesController* audio = m_preview->audioFiles();
    disconnect(audio, nullptr, this, nullptr);
    m_project = project;
    if (isNew)
        audio->setTracks({});
    if (project) {
        // The whole name before the extension: "trip.2024.mp4" is "trip.2024".
        m_outFileName->setName(QFileInfo(project->file_name).completeBaseName());
        m_outFileName->formatCombo()->setCurrentDataSilently(project->format);
    }
    connect(audio, &AudioFilesController::importStarted, this, &ProjectPage::importAudioStarted);
    connect(audio, &AudioFilesController::importProgressChanged, this, &ProjectPage::importAudioProgressChanged);
    connect(audio, &AudioFilesController::importFinished, this, &ProjectPage::importAudioFinished);
    m_captionPage->setProject(project);
    m_videoSettings->setProject(project);
    m_audioBox->setProject(project);
    m_forAll->setProject(project);
    m_preview->setProject(project);
    rebuildSlideList();
    if (project)
        showMissingFiles(project->missingFiles());
}

void ProjectPage::compose()
{
    if (!m_project || m_project->itemCount() <= 1)
        return;
    m_preview->stop();
    showMissingFiles(m_project->missingFiles());
    emit composerStarted();

    QString name = m_outFileName->nameEdit()->text();
    if (name.isEmpty())
        name = m_outFileName->nameEdit()->placeholderText();
    if (name.isEmpty()) {
        assignDefaultName();
        name = m_outFileName->nameEdit()->text();
    }
    const QString format = m_outFileName->formatCombo()->currentData().toString();
    const QString output = outputPath(name, format);
    m_project->file_name = output;
    m_project->format = format;
    // A new account may have no output folder yet.
    QDir().mkpath(QFileInfo(output).absolutePath());

    const QString request =
        QStringLiteral("%1/%2.json").arg(requestFolder(), QUuid::createUuid().toString());
    m_project->save(request);

    m_pendingOutput = output;
    m_pendingRequest = request;
    // A running composition ends first; its end starts this one.
    if (m_composer->isRunning()) {
        m_composer->cancel();
        return;
    }
    startPendingRun();
}

bool ProjectPage::startPendingRun()
{
    if (m_pendingRequest.isEmpty())
        return false;
    // Taken first: a helper that cannot start reports it from within run().
    const QString request = std::exchange(m_pendingRequest, QString());
    m_composer->setOutputFile(std::exchange(m_pendingOutput, QString()));
    m_composer->run(request);
    return true;
}

void ProjectPage::onComposerFinished(const QString& file)
{
    // The end of a run replaced by a newer one.
    if (startPendingRun())
        return;
    if (m_history && m_project)
        m_history->addProject(m_project);
    assignDefaultName();
    if (m_project)
        m_lastComposedHash = m_project->contentHash();
    emit composerFinished(file);
}

void ProjectPage::onComposerFailed(const QString& error)
{
    if (startPendingRun())
        return;
    emit composerFinished(QString());
    showCreationError(error);
}

void ProjectPage::onComposerCanceled()
{
    if (startPendingRun())
        return;
    emit composerFinished(QString());
}

void ProjectPage::cancelComposer()
{
    m_pendingRequest.clear();
    m_pendingOutput.clear();
    if (m_composer->isRunning())
        m_composer->cancel();
}

void ProjectPage::pauseComposer(bool paused)
{
    if (!m_composer->isRunning())
        return;
    if (paused)
        m_composer->pause();
    else
        m_composer->resume();
}

void ProjectPage::cancelAudioImport()
{
    m_preview->audioFiles()->cancelImport();
}

QString ProjectPage::outputPath(const QString& name, const QString& format) const
{
    const SettingsProvider* settings = SettingsProvider::instance();
    const QString folder = settings ? settings->folder() : QDir::homePath();
    return QDir::toNativeSeparators(QStringLiteral("%1/%2.%3").arg(folder, name, format));
}

QString ProjectPage::requestFolder() const
{
    if (!m_requestFolder.isEmpty())
        return m_requestFolder;
    Application* app = application();
    return app ? app->tempFolder() : QDir::tempPath();
}

void ProjectPage::assignDefaultName()
{
    if (!m_project)
        return;
    const QDateTime now = nameClock() ? nameClock()() : QDateTime::currentDateTime();
    const QString name = interfaceText(136) + QLocale::c().toString(now, QStringLiteral("yyyy-MM-dd_HHmmss"));
    m_project->name = name;
    m_outFileName->setName(name);
    m_project->file_name = outputPath(name, m_project->format);
}

void ProjectPage::saveToLatest()
{
    const bool composed = m_project && !m_lastComposedHash.isEmpty() && m_project->contentHash() == m_lastComposedHash;
    if (!m_project || m_project->itemCount() <= 1 || composed) {
        AppPaths::clearDir(AppPaths::latestDir());
        return;
    }
    m_project->saveAsLatest();
}

void ProjectPage::playFullPreview()
{
    m_preview->audioFiles()->stop();
    m_preview->playPreview(-1, QString(), false);
}

void ProjectPage::editCaption(ProjectItem* item)
{
    m_preview->audioFiles()->stop();
    m_captionPage->setItem(item);
    placeCaptionPage();
    m_captionShow->showAnimated();
    if (!item || !m_project)
        return;
    const int index = m_project->indexOf(item);
    const QString number = m_project->itemNumberText(item);
    if (!item->text().text.isEmpty() && item->text().transition != 0)
        m_preview->playPreview(index, number, true);
    m_preview->showSlide(index, number, true, false);
}

void ProjectPage::onCaptionPageVisibilityChanged(bool visible)
{
    const bool enabled = !visible;
    m_audioBox->setEnabled(enabled);
    m_videoSettings->setEnabled(enabled);
    m_previewButton->setEnabled(enabled);
    updateComposeButton();
    m_preview->setActionsEnabled(enabled);
    m_preview->setMusicEnabled(enabled);
    m_preview->setEnabled(enabled || !m_captionPage->isEditingAllSlides());
    emit editTextVisibilityChanged(visible);
}

void ProjectPage::updateComposeButton()
{
    const int count = m_project ? m_project->itemCount() : 0;
    m_composeButton->setEnabled(count > 1 && !m_captionPage->isVisible());
}

void ProjectPage::updateTexts()
{
    m_selectionActions->updateTexts();
    m_forAll->updateTexts();
    m_outFileName->updateTexts();
    m_captionPage->updateTexts();
    m_preview->updateTexts();
    m_audioBox->updateTexts();
    m_videoSettings->updateTexts();
    m_previewButton->setText(interfaceText(115));
    m_composeButton->setText(interfaceText(116));
    m_header->updateTexts();
    const AbstractRow::ColumnWidths widths = m_header->columnWidths();
    m_forAll->setColumnWidths(widths);
    for (int row = 0; row < rowCount(); ++row) {
        if (SlideRowWidget* widget = rowWidget(row)) {
            widget->setColumnWidths(widths);
            widget->updateTexts();
        }
    }
    updateActionStates();
}
