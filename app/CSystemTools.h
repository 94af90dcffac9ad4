#pragma once

#include "uilib/controls/CWindow.h"

#include <QDateTime>
#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QColor>
#include <QStringList>

#include <functional>

class CDialog;
class CDialogMessage;
class CResourceCache;
class CStyle;
class HoverLeaveWorkaround;
class QMouseEvent;
class QWidget;

// A file or folder dialog as the service asks for it.
struct FileDialogRequest
{
    enum Kind { ExistingDirectory, OpenFile, OpenFiles, SaveFile };
    Kind kind = OpenFile;
    QWidget* parent = nullptr;
    QString title;
    // The folder, or for a save dialog the folder and the proposed name.
    QString startPath;
    QString filter;
    QFileDialog::Options options;
};

// The application-wide service: message boxes, text input and file dialogs callable from any
// thread, links and files opened in the desktop, deferred messages, the change of day and the
// repair of lost hover state. It owns the style holder, the shared pixmap cache and the main
// window.
class CSystemTools : public QObject
{
    Q_OBJECT
public:
    enum TextInputType {
        AnyTextInput = 0,
        NotEmptyTextInput = 1,
        PasswordTextInput = 2,
        NotEmptyPasswordTextInput = 3,
        ReadOnlyTextInput = 4
    };
    Q_ENUM(TextInputType)

    // Shows the dialog; the chosen paths, none when it was cancelled.
    using FileDialogFunction = std::function<QStringList(const FileDialogRequest& request)>;
    // Runs a dialog the service shows to its end and gives its result, as CDialog::exec does.
    using DialogRunner = std::function<int(CDialog* dialog)>;
    // Selects the file in the file manager: above 0 when it did, else a failure code.
    using ShellLauncher = std::function<int(const QString& absolutePath)>;

    explicit CSystemTools(QObject* parent);
    // Deletes the main window when it still exists.
    ~CSystemTools() override;

    // The service of the running CApplicaiton; null under any other application.
    static CSystemTools* instance();

    CStyle* style() const;
    // Made again when the previous one is gone; limited to 50 MB.
    CResourceCache* resourceCache();
    // The top-most widget under the last position hover tracking saw, else under the cursor,
    // passing over windows that let the mouse through.
    virtual QWidget* widgetUnderCursor() const;
    virtual void setupStyle();
    // The main window; null before it exists and after it is gone.
    CWindow* mainWindow() const;
    void setMainWindow(CWindow* window);
    // The shadow a window created with CWindow::Default asks for.
    virtual CWindow::ShadowType defaultShadowType() const;

    // Nothing here; the program's service shows its notice.
    virtual void showUpdateAvailable(const QString& newVersion, const QString& newFeaturesUrl,
                                     const QString& downloadUrl);
    virtual void openLink(const QString& url);
    virtual bool askSetAsDefaultApp(const QString& extension, const QString& programName, bool* checkEveryStart);
    // A press on "Узнать больше" opens infoUrl.
    virtual bool askSetAsDefaultAppWithInfo(const QString& extension, const QString& programName,
                                            const QString& infoUrl, bool* checkEveryStart);

    // The dialogs below may be called from any thread; the caller waits for the GUI thread's answer.
    // Without a start folder they start at, and remember, the settings' "lastOpenFilePath".
    Q_INVOKABLE QString getExistingDirectory(const QString& title, const QString& initialFolderPath = QString());
    Q_INVOKABLE QString getSaveFileName(const QString& title, const QString& filter,
                                        const QString& candidateName = QString(),
                                        const QString& initialFolderPath = QString());
    Q_INVOKABLE QString getOpenFileName(const QString& title, const QString& filter,
                                        const QString& initialFolderPath = QString());
    Q_INVOKABLE QStringList getOpenFileNames(const QString& title, const QString& filter,
                                             const QString& initialFolderPath = QString());
    // Buttons 1 to 3 by their position among the texts ("ОК" alone when all are empty); the last
    // one given is the default. Returns the pressed index, 0 for Escape or closing.
    Q_INVOKABLE int messageBox(const QString& message, const QString& title = QString(), int icnType = 0,
                               const QString& b1text = QString(), const QString& b2text = QString(),
                               const QString& b3text = QString(), bool* remember = nullptr,
                               const QString& rememberText = QString(), QWidget* parent = nullptr);
    // resultText gets the edit's text whatever button ended the dialog.
    Q_INVOKABLE int textInputBox(const QString& message, const QString& title, QString& resultText,
                                 TextInputType textInputType = AnyTextInput, int icnType = 0,
                                 const QString& b1text = QString(), const QString& b2text = QString(),
                                 const QString& b3text = QString(), const QString& regexp = QString(),
                                 QWidget* parent = nullptr);

    // A folder is opened; a file is selected in the file manager. False for a missing path.
    bool showInFolder(const QString& path);
    // An existing local path or an address, opened by the desktop.
    bool openUrl(const QString& target);
    // flags: 1 no underline, 2 bold, 4 italic. An invalid colour takes the palette's link colour.
    static QString linkHtml(const QString& url, const QString& text, int flags, const QColor& color = QColor());
    // Calls show once, at the first interval's end when the user is not busy in another window,
    // a modal dialog, a popup or a move or resize of the main window.
    void startNotAnnoyingMessageTimer(const QString& name, int intervalMs, std::function<void()> show);
    // After each mouse move delivered to a native window.
    void onMouseMove(QObject* receiver, QMouseEvent* event);
    // The pointer left a native window: no moves may come while it is outside the program's
    // windows, so the cursor's own position counts until the next one.
    void onCursorLeftWindow();

    // An empty function brings back the real dialogs and launcher.
    static void setFileDialogFunction(FileDialogFunction function);
    // Through the function set above, else the real dialog.
    static QStringList showFileDialog(const FileDialogRequest& request);
    static void setShellLauncher(ShellLauncher launcher);
    // An empty function brings back the modal loop centred on the parent.
    static void setDialogRunner(DialogRunner runner);
    // Through the function set above, else the modal loop.
    static int runDialog(CDialog* dialog);
    // From now to the next day's 00:01:00 in now's time zone.
    static qint64 msecsToNextDayChange(const QDateTime& now);

    // Makes the main window once: a running instance's message brings it forward, and the start
    // screen hands over to it (it is shown at once when the start screen is gone already).
    void createMainWindowOnce();
    // The program's main window; none here.
    virtual CWindow* createMainWindow();

signals:
    void linkOpened(const QString& url);
    void shellExecuteFailed(const QString& url, int resultCode);
    void mainWindowCreated(CWindow* mainWindow);
    void mainWindowShowedFirstTimeEver();
    void mainWindowShowedFirstTimeInCurrentSession();
    void currentDayChanged();

private:
    void onMainWindowFirstShown();
    bool isGuiThread() const;
    QStringList runFileDialog(FileDialogRequest::Kind kind, const QString& title, const QString& filter,
                              const QString& candidateName, const QString& initialFolderPath);
    QWidget* messageParent(QWidget* parent) const;
    CDialogMessage* makeMessageDialog(const QString& message, const QString& title, int icnType,
                                      const QString& b1text, const QString& b2text, const QString& b3text,
                                      QWidget* parent);
    void showOpenError(const QString& path);
    void armDayChange();

    QMetaObject::Connection m_firstShown;
    QPointer<CStyle> m_style;
    QPointer<CResourceCache> m_resourceCache;
    QPointer<CWindow> m_mainWindow;
    HoverLeaveWorkaround* m_hover = nullptr;
    // 1: the active window; 4: the main window; 2: the main window while it is visible.
    int m_parentPolicy = 7;
};
