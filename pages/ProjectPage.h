#pragma once

#include "uilib/controls/CWidgetBase.h"

#include <QDateTime>
#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AudioBox;
class CAnimationShow2;
class CButton;
class CPanel;
class Composer;
class HistoryModel;
class ProjectFile;
class ProjectItem;
class SlideRowWidget;
class TextPage;
class VideoPlayerWidget;

// The page on which a project is edited and composed: the slide list with its header and action
// bars, the output name, the preview panel, the music, the video settings and, laid over the
// left half while a caption is edited, the caption page. The project is bound, not owned.
class ProjectPage : public CWidgetBase
{
    Q_OBJECT

public:
    class SlidesHeader;
    class SlidesView;
    class ForAllActions;
    class SelectionActions;
    class OutFileName;
    class VideoSettingsBox;

    // The program's questions and messages; a member left empty asks the running Ui, so tests
    // replace them to run no modal loop.
    struct Messages
    {
        std::function<bool()> confirmClearProject;
        std::function<void()> showNoImagesInFolder;
        std::function<void(const QStringList& files)> showMissingFiles;
        std::function<void(const QString& error)> showCreationError;
    };
    static void setMessages(const Messages& messages);
    // The time default names are made from; an empty function puts back the local clock.
    using Clock = std::function<QDateTime()>;
    static void setClock(Clock clock);

    // Over the running application's history and per-run folder.
    explicit ProjectPage(QWidget* parent = nullptr);
    // Request files go into requestFolder.
    ProjectPage(HistoryModel* history, const QString& requestFolder, QWidget* parent);
    ~ProjectPage() override;

    bool hasHeightForWidth() const override { return false; }

    void setProject(ProjectFile* project, bool isNew);
    ProjectFile* project() const;

    void compose();
    void cancelComposer();
    void pauseComposer(bool paused);
    void cancelAudioImport();
    // Keeps the open project, unless unchanged since composed, as the only file of "latest".
    void saveToLatest();
    void assignDefaultName();
    void updateTexts();

    // Opens the caption page on the slide; null edits the caption style of all slides.
    void editCaption(ProjectItem* item);

    // List operations; each does nothing while no project is bound.
    void addImageFiles(const QStringList& paths, int row);
    void addColorSlide(int backgroundIndex);
    void insertSlides(const QList<ProjectItem*>& items, int row);
    void rebuildSlideList();
    void refreshSlideRows();
    QList<ProjectItem*> selectedSlides(bool descending, bool withoutTitle) const;
    void selectSlides(const QList<ProjectItem*>& items);
    // Null removes the selected slides.
    void removeSlides(ProjectItem* item);
    void moveSelectedUp();
    void moveSelectedDown();
    void duplicateSelected();
    void rotateSelected();
    void shuffleSlides();
    void sortSlidesByName(bool checked);
    void sortSlidesByDate(bool checked);
    void clearSlideList();
    void applyDurationToAll(int msec);
    void applyTransitionToAll(int transition);
    void applyMotionToAll(int motion);
    void showSlidePreview(ProjectItem* item);
    void onSlideDurationChanged(ProjectItem* item);
    // Draws the first selected slide again, after a change of the video settings.
    void refreshSelectedPreview();
    void updateActionStates();
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    SlidesHeader* slidesHeader() const { return m_header; }
    SlidesView* slidesView() const { return m_view; }
    ForAllActions* forAllActions() const { return m_forAll; }
    OutFileName* outFileName() const { return m_outFileName; }
    SelectionActions* selectionActions() const { return m_selectionActions; }
    VideoPlayerWidget* previewPanel() const { return m_preview; }
    AudioBox* audioBox() const { return m_audioBox; }
    VideoSettingsBox* videoSettingsBox() const { return m_videoSettings; }
    CPanel* listPanel() const { return m_listPanel; }
    CButton* previewButton() const { return m_previewButton; }
    CButton* composeButton() const { return m_composeButton; }
    TextPage* captionPage() const { return m_captionPage; }
    Composer* composer() const { return m_composer; }

signals:
    void composerStarted();
    void composerProgressChanged(int val, qlonglong remaining);
    // Empty when the composition failed or was canceled.
    void composerFinished(QString fileName);
    void importAudioStarted();
    void importAudioProgressChanged(int val, qlonglong remaining);
    void importAudioFinished();
    void editTextVisibilityChanged(bool isVisible);

private:
    // Through the replaced messages, else the running Ui.
    static bool confirmClearProject();
    static void showNoImagesInFolder();
    static void showMissingFiles(const QStringList& files);
    static void showCreationError(const QString& error);

    void buildLayout();
    void connectParts();
    void placeCaptionPage();
    void onCaptionPageVisibilityChanged(bool visible);
    void playFullPreview();
    void onComposerFinished(const QString& file);
    void onComposerFailed(const QString& error);
    void onComposerCanceled();
    // Starts the waiting request, if any.
    bool startPendingRun();
    void updateComposeButton();
    QString outputPath(const QString& name, const QString& format) const;
    QString requestFolder() const;
    int rowCount() const;
    SlideRowWidget* rowWidget(int row) const;
    SlideRowWidget* createRow(ProjectItem* item, int row);
    // The selected slide in the topmost row; null without one.
    ProjectItem* firstSelectedSlide() const;
    // Rebinds the rows after a move and selects and shows the moved slides.
    void showMovedSlides(const QList<ProjectItem*>& slides);
    // Row widgets are made for the rows in view and a screen ahead, as they come into view.
    void createVisibleRows();
    void scrollToSlide(ProjectItem* item);

    QPointer<ProjectFile> m_project;
    QPointer<ProjectItem> m_previewItem;
    QPointer<HistoryModel> m_history;
    QString m_requestFolder;
    Composer* m_composer = nullptr;
    QString m_lastComposedHash;
    // The next run, waiting for a canceled one's helper to end.
    QString m_pendingRequest;
    QString m_pendingOutput;
    SlidesHeader* m_header = nullptr;
    SlidesView* m_view = nullptr;
    ForAllActions* m_forAll = nullptr;
    OutFileName* m_outFileName = nullptr;
    SelectionActions* m_selectionActions = nullptr;
    VideoPlayerWidget* m_preview = nullptr;
    AudioBox* m_audioBox = nullptr;
    VideoSettingsBox* m_videoSettings = nullptr;
    CPanel* m_listPanel = nullptr;
    CButton* m_previewButton = nullptr;
    CButton* m_composeButton = nullptr;
    TextPage* m_captionPage = nullptr;
    std::unique_ptr<CAnimationShow2> m_captionShow;
};
