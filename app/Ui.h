#pragma once

#include "app/CSystemTools.h"

#include <memory>

class Application;

// The program's system-tools service: its fixed questions and messages, its file and folder
// dialogs with remembered folders, the about box, the update notice, the application style and
// the main window.
class Ui : public CSystemTools
{
public:
    explicit Ui(Application* app);
    ~Ui() override;

    // The title large and bold in the palette's text colour, a gap, then the body; a title of
    // " " counts as none, and a body alone is shown as a title. Line breaks become "<br>".
    static QString richMessage(const QString& body, const QString& title);
    // One path bare, else the first ten numbered and "..." for the rest; paths are escaped.
    static QString missingFilesText(const QStringList& files);

    // Each is true exactly when the second button was pressed.
    bool confirmClearHistory();
    bool confirmClearProject();
    bool confirmNewProject();
    bool confirmOpenWithMissingFiles();
    bool confirmOverwriteAllSlidesText();

    void showSlideshowCreationError(const QString& text);
    void showAudioNotAddedMessage();
    void showNoImagesInFolderMessage();
    void showMissingFilesMessage(const QStringList& files);
    // 1 for the open-folder button, 0 when closed otherwise.
    int showSlideshowReady(bool withoutOpenButton);
    // The second button opens downloadUrl.
    void showUpdateAvailable(const QString& newVersion, const QString& newFeaturesUrl,
                             const QString& downloadUrl) override;

    // Start at and remember "lastOpenAudioPath".
    QStringList chooseAudioFiles();
    // Start at and remember "lastOpenFilePath".
    QStringList chooseImageFiles();
    QString chooseImageFolder();

    // Makes the application palette current, then the base set-up.
    void setupStyle() override;
    // On the next pass of the event loop.
    void showAbout();
    void openUpdatePage();

    // The program's main window, without parent.
    CWindow* createMainWindow() override;

private:
    struct Private;
    bool ask(int title, int body, int noButton, int yesButton);
    void tell(int title, const QString& body, int button);

    std::unique_ptr<Private> d;
};
