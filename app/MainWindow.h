#pragma once

#include "uilib/controls/CWindow.h"

#include <QStringList>

class COverlay;
class Ui;
class HistoryPage;
class ProgressBox;
class ProjectFile;
class ProjectPage;
class QStackedWidget;
class SettingsBox;

// The program's one top-level window: the title bar's buttons, the header with the project
// actions, the welcome, project and history pages, the progress box and the settings page over
// a dimming overlay. It owns the project being edited and replaces it as a whole.
class MainWindow : public CWindow
{
    Q_OBJECT

public:
    class Titlebar;
    class Header;
    class WelcomePage;

    enum PageIndex { WelcomePageIndex = 0, ProjectPageIndex = 1, HistoryPageIndex = 2 };

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    void updateTexts() override;

    void showSettings();
    void newProject();
    void askNewProject();
    void addPhotos();
    void addFolder();
    void addColorSlide();
    void showHistory();
    void goBack();
    void openProject(const QString& fileName);
    void reopenLatest();
    void onComposerFinished(const QString& fileName);
    void placeSidePanels();
    void updateOverlay();

    // Null until the first project exists.
    ProjectFile* project() const { return m_project; }
    Titlebar* titlebar() const { return m_titlebar; }
    Header* header() const { return m_header; }
    QStackedWidget* pages() const { return m_pages; }
    WelcomePage* welcomePage() const { return m_welcomePage; }
    ProjectPage* projectPage() const { return m_projectPage; }
    HistoryPage* historyPage() const { return m_historyPage; }
    ProgressBox* progressBox() const { return m_progressBox; }
    SettingsBox* settingsBox() const { return m_settingsBox; }
    COverlay* overlay() const { return m_overlay; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The running program's service; null under any other application.
    static Ui* ui();
    void buildPages();
    void connectParts();
    // Photos and folders go after the last slide; the project page shows once the project holds
    // more than its title slide. Nothing happens before the first project exists.
    void addImageFiles(const QStringList& paths);
    // Binds the project to the page, then deletes the one it replaces.
    void replaceProject(ProjectFile* project, bool isNew);
    void showPage(int index);
    // A closing program waits for nothing: the audio import and its conversions end, and the
    // composer's helper ends with every process it started.
    void endRunningJobs();

    Titlebar* m_titlebar = nullptr;
    Header* m_header = nullptr;
    QStackedWidget* m_pages = nullptr;
    WelcomePage* m_welcomePage = nullptr;
    ProjectPage* m_projectPage = nullptr;
    HistoryPage* m_historyPage = nullptr;
    ProgressBox* m_progressBox = nullptr;
    SettingsBox* m_settingsBox = nullptr;
    COverlay* m_overlay = nullptr;
    ProjectFile* m_project = nullptr;
    bool m_projectPageShown = false;
};
