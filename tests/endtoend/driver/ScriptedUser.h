#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <memory>

class Application;
class CButton;
class CComboBase;
class CDialog;
class HangWatchdog;
class MainWindow;
class QWidget;
struct FileDialogRequest;

// What one run of the driver is asked to do.
struct DriverOptions
{
    // 1: the first run in a new profile; 2: the run after it.
    int run = 1;
    // First run: the folder of photos and the music file the user adds.
    QString photosFolder;
    QString musicFile;
    // Where the run's facts are written as JSON.
    QString reportFile;
};

// A user playing ty_slideshow through its real widgets. The first run adds a folder of photos,
// gives every slide one transition, adds music, composes, opens the video's project from the
// history and closes; the second run finds the project again. Every step runs under the
// watchdog; a check that fails ends the run at once with exit status 1.
class ScriptedUser : public QObject
{
public:
    // Ends the process with the name of the step that outlives its time limit, from the
    // program's start-up on.
    explicit ScriptedUser(const DriverOptions& options);
    ~ScriptedUser() override;

    // Answers the file dialogs and messages; before the program starts.
    void installAnswers();
    // From the program's last step before its event loop: plays once the loop runs.
    void start(Application& app);
    bool failed() const { return m_failed; }

protected:
    // Notes when the start screen and the main window first show.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void play();
    bool playFirstRun(MainWindow* window);
    bool playSecondRun();
    bool startsAsProgramShould();
    bool addPhotoFolder(MainWindow* window);
    bool chooseTransitionForAll(MainWindow* window);
    bool addMusic(MainWindow* window);
    bool compose(MainWindow* window);
    bool openFromHistory(MainWindow* window);
    bool closeWindow(MainWindow* window);

    void begin(const char* step, int limitMs);
    // False, with the step and what went wrong on standard error, when ok is false.
    bool expect(bool ok, const char* what);
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, const char* what);
    // A user's click: through the window where the pointer reaches the button, else to the
    // button itself.
    void deliverClick(CButton* button);
    // The same, false (told on standard error) when the button signals no click.
    bool click(CButton* button);
    // Until that page of the main window is in front.
    bool waitForPage(int pageIndex);
    // Until the progress box and the dimming under it are gone.
    bool waitForIdle();
    // Opens the combo's popup with a click and clicks the item of that text.
    bool chooseItem(CComboBase* combo, const QString& text);

    QStringList answerFileDialog(const FileDialogRequest& request);
    int answerDialog(CDialog* dialog);
    void noteFacts(MainWindow* window);
    bool writeReport();

    DriverOptions m_options;
    const char* m_step = "";
    std::unique_ptr<HangWatchdog> m_watchdog;
    QPointer<Application> m_app;
    QElapsedTimer m_sinceStart;
    qint64 m_startScreenShownMs = -1;
    qint64 m_mainWindowShownMs = -1;
    bool m_startScreenUpAtWindowShow = false;
    QStringList m_messages;
    int m_readyMessages = 0;
    QString m_composedFile;
    QStringList m_slidesBeforeCompose;
    QJsonObject m_report;
    bool m_failed = false;
};
