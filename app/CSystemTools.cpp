#include "app/CSystemTools.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "platform/SessionBus.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/WindowRegion.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QRegExpValidator>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <private/qapplication_p.h>
#include <private/qguiapplication_p.h>

namespace {

const QString kOpenFailed = QStringLiteral("При открытии файла «%1» произошла ошибка");
constexpr int kErrorIcon = 6;

CApplicaiton* application()
{
    return dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
}

CSettingsStorage* appSettings()
{
    CApplicaiton* app = application();
    return app ? app->settings() : nullptr;
}

QStringList realFileDialog(const FileDialogRequest& request)
{
    switch (request.kind) {
    case FileDialogRequest::ExistingDirectory: {
        const QString folder =
            QFileDialog::getExistingDirectory(request.parent, request.title, request.startPath, request.options);
        return folder.isEmpty() ? QStringList() : QStringList{folder};
    }
    case FileDialogRequest::OpenFile: {
        const QString file = QFileDialog::getOpenFileName(request.parent, request.title, request.startPath,
                                                          request.filter, nullptr, request.options);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    case FileDialogRequest::OpenFiles:
        return QFileDialog::getOpenFileNames(request.parent, request.title, request.startPath, request.filter,
                                             nullptr, request.options);
    case FileDialogRequest::SaveFile: {
        const QString file = QFileDialog::getSaveFileName(request.parent, request.title, request.startPath,
                                                          request.filter, nullptr, request.options);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    }
    return {};
}

CSystemTools::FileDialogFunction& fileDialogFunction()
{
    static CSystemTools::FileDialogFunction function;
    return function;
}

int launchFileManager(const QString& absolutePath)
{
    if (showItemInFileManager(absolutePath))
        return 1;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(absolutePath).absolutePath())) ? 1 : 0;
}

CSystemTools::ShellLauncher& shellLauncher()
{
    static CSystemTools::ShellLauncher launcher;
    return launcher;
}

CSystemTools::DialogRunner& dialogRunner()
{
    static CSystemTools::DialogRunner runner;
    return runner;
}

// Filters written with fullwidth parentheses work as ASCII ones.
QString withAsciiParentheses(QString filter)
{
    return filter.replace(QChar(0xFF08), QLatin1Char('(')).replace(QChar(0xFF09), QLatin1Char(')'));
}

// The extension without its dot, upper-cased, in the question.
QString defaultAppQuestion(const QString& extension, const QString& programName)
{
    return QStringLiteral("Программа %1 не используется по умолчанию для открытия файлов \"%2\".  "
                          "Вы хотите выбрать его по умолчанию?")
        .arg(programName, extension.mid(1).toUpper());
}

bool isPasswordInput(CSystemTools::TextInputType type)
{
    return type == CSystemTools::PasswordTextInput || type == CSystemTools::NotEmptyPasswordTextInput;
}

bool needsText(CSystemTools::TextInputType type)
{
    return type == CSystemTools::NotEmptyTextInput || type == CSystemTools::NotEmptyPasswordTextInput
        || type == CSystemTools::ReadOnlyTextInput;
}

} // namespace

// Gives a widget back its hover when a Leave came while the cursor is still over it (a popup
// or a window that opened and closed under the cursor), and keeps the last position seen.
class HoverLeaveWorkaround : public QObject
{
public:
    explicit HoverLeaveWorkaround(QObject* parent)
        : QObject(parent)
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] { reenterPending(); });
    }

    void track(QWindow* window, const QPoint& global, QWidget* candidate)
    {
        m_positionKnown = true;
        m_positionWindow = window;
        m_position = global;
        const bool enter = candidate && !candidate->testAttribute(Qt::WA_UnderMouse) && candidate->isVisible();
        QWidget* watched = m_watched;
        const bool leave = watched && watched != candidate && watched->testAttribute(Qt::WA_UnderMouse)
            && !watched->isAncestorOf(candidate);
        if (watched != candidate)
            watch(candidate);
        if (!enter && !leave)
            return;
        QWidget* entering = enter ? candidate : nullptr;
        QWidget* leaving = leave ? watched : nullptr;
        if (leaving)
            leaving->setAttribute(Qt::WA_UnderMouse, false);
        if (entering)
            entering->setAttribute(Qt::WA_UnderMouse, true);
        QApplicationPrivate::dispatchEnterLeave(entering, leaving, QGuiApplicationPrivate::lastCursorPosition);
    }

    void forgetPosition() { m_positionKnown = false; }

    QWidget* widgetUnderCursor() const
    {
        // A position seen in a window that is gone or hidden since is stale.
        const bool known = m_positionKnown && m_positionWindow && m_positionWindow->isVisible();
        return regionAwareWidgetAt(known ? m_position : QCursor::pos());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_watched || watched != m_watched)
            return false;
        if (event->type() == QEvent::Leave) {
            m_pending = m_watched;
            m_timer.start();
        } else if (event->type() == QEvent::Hide) {
            m_watched->setAttribute(Qt::WA_UnderMouse, false);
            watch(nullptr);
        }
        return false;
    }

private:
    void watch(QWidget* widget)
    {
        if (m_watched)
            m_watched->removeEventFilter(this);
        m_watched = widget;
        if (widget)
            widget->installEventFilter(this);
    }

    void reenterPending()
    {
        QWidget* widget = m_pending;
        m_pending = nullptr;
        if (!widget || widget != m_watched || widget->testAttribute(Qt::WA_UnderMouse))
            return;
        if (!widget->rect().contains(widget->mapFromGlobal(QCursor::pos())))
            return;
        widget->setAttribute(Qt::WA_UnderMouse, true);
        QApplicationPrivate::dispatchEnterLeave(widget, nullptr, QGuiApplicationPrivate::lastCursorPosition);
    }

    bool m_positionKnown = false;
    QPointer<QWindow> m_positionWindow;
    QPoint m_position{-1, -1};
    QPointer<QWidget> m_watched;
    QPointer<QWidget> m_pending;
    QTimer m_timer;
};

namespace {

// Runs its message once the user is not busy, then goes.
class NotAnnoyingMessageTimer : public QObject
{
public:
    NotAnnoyingMessageTimer(CSystemTools* tools, const QString& name, int intervalMs, std::function<void()> show)
        : QObject(tools), m_tools(tools), m_show(std::move(show))
    {
        setObjectName(name);
        m_timer.setSingleShot(true);
        m_timer.setInterval(intervalMs);
        connect(&m_timer, &QTimer::timeout, this, [this] { onTimeout(); });
        m_timer.start();
    }

private:
    bool isUserFree() const
    {
        CWindow* main = m_tools->mainWindow();
        return main && !main->isInSizeMove() && QApplication::activeWindow() == main
            && !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
    }

    void onTimeout()
    {
        if (!isUserFree()) {
            m_timer.start();
            return;
        }
        deleteLater();
        const std::function<void()> show = std::move(m_show);
        if (show)
            show();
    }

    CSystemTools* m_tools;
    std::function<void()> m_show;
    QTimer m_timer;
};

} // namespace

CSystemTools::CSystemTools(QObject* parent)
    : QObject(parent), m_style(new CStyle(this)), m_hover(new HoverLeaveWorkaround(this))
{
    armDayChange();
}

CSystemTools::~CSystemTools()
{
    delete m_mainWindow.data();
}

CSystemTools* CSystemTools::instance()
{
    CApplicaiton* app = application();
    return app ? app->systemTools() : nullptr;
}

CStyle* CSystemTools::style() const
{
    return m_style;
}

CResourceCache* CSystemTools::resourceCache()
{
    if (!m_resourceCache) {
        m_resourceCache = new CResourceCache(this);
        m_resourceCache->setCacheLimit(50);
    }
    return m_resourceCache;
}

QWidget* CSystemTools::widgetUnderCursor() const
{
    return m_hover->widgetUnderCursor();
}

void CSystemTools::setupStyle()
{
    CAnimationIcon::registerStandardIcons();
}

CWindow* CSystemTools::mainWindow() const
{
    return m_mainWindow;
}

void CSystemTools::setMainWindow(CWindow* window)
{
    m_mainWindow = window;
}

void CSystemTools::createMainWindowOnce()
{
    if (m_mainWindow)
        return;
    CWindow* window = createMainWindow();
    m_mainWindow = window;
    CApplicaiton* app = application();
    if (window) {
        if (app) {
            // A second start of the program asks this one to come forward.
            connect(app, &CSingleApplication::messageReceived, window,
                    [window] {
                        window->showWindow(CWindow::NoChange);
                        // Asked for even when the window counts as active: the focus may have
                        // left it without the toolkit having noticed yet.
                        window->activateWindow();
                    });
        }
        m_firstShown = connect(window, &CWidgetBase::showed, this, &CSystemTools::onMainWindowFirstShown,
                               Qt::QueuedConnection);
        auto* startScreen = app ? qobject_cast<CStartScreen*>(app->startScreen()) : nullptr;
        if (startScreen)
            startScreen->finishWith(window);
        else
            window->showWindow(CWindow::NoChange);
    }
    emit mainWindowCreated(window);
}

CWindow* CSystemTools::createMainWindow()
{
    return nullptr;
}

void CSystemTools::onMainWindowFirstShown()
{
    // A second showing may have been queued before the first one disconnected.
    if (!disconnect(m_firstShown))
        return;
    CApplicaiton* app = application();
    if (app && app->isStartScreenVisible())
        app->startScreen()->hide();
    CSettingsStorage* settings = app ? app->settings() : nullptr;
    if (settings && settings->showFirstStartWizard()) {
        settings->setShowFirstStartWizard(false);
        emit mainWindowShowedFirstTimeEver();
    }
    emit mainWindowShowedFirstTimeInCurrentSession();
}

CWindow::ShadowType CSystemTools::defaultShadowType() const
{
    return CWindow::DWM_API;
}

void CSystemTools::showUpdateAvailable(const QString&, const QString&, const QString&)
{
}

void CSystemTools::openLink(const QString& url)
{
    openUrl(url);
}

bool CSystemTools::askSetAsDefaultApp(const QString& extension, const QString& programName, bool* checkEveryStart)
{
    return messageBox(defaultAppQuestion(extension, programName), QString(), 8, QStringLiteral("Нет"),
                      QStringLiteral("Да"), QString(), checkEveryStart, QStringLiteral("Проверять при каждом запуске."))
        == 2;
}

bool CSystemTools::askSetAsDefaultAppWithInfo(const QString& extension, const QString& programName,
                                              const QString& infoUrl, bool* checkEveryStart)
{
    const int answer =
        messageBox(defaultAppQuestion(extension, programName), QString(), 7, QStringLiteral("Узнать больше"),
                   QStringLiteral("Да"), QString(), checkEveryStart, QStringLiteral("Проверять при каждом запуске."));
    if (answer == 1)
        openUrl(infoUrl);
    return answer == 2;
}

bool CSystemTools::isGuiThread() const
{
    if (CApplicaiton* app = application())
        return app->isGuiThread();
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

void CSystemTools::setFileDialogFunction(FileDialogFunction function)
{
    fileDialogFunction() = std::move(function);
}

QStringList CSystemTools::showFileDialog(const FileDialogRequest& request)
{
    const FileDialogFunction& function = fileDialogFunction();
    return function ? function(request) : realFileDialog(request);
}

QStringList CSystemTools::runFileDialog(FileDialogRequest::Kind kind, const QString& title, const QString& filter,
                                        const QString& candidateName, const QString& initialFolderPath)
{
    CSettingsStorage* settings = appSettings();
    QString folder = initialFolderPath;
    if (folder.isEmpty() && settings)
        folder = settings->lastOpenFilePath();
    FileDialogRequest request;
    request.kind = kind;
    request.parent = QApplication::activeWindow();
    request.title = title;
    request.startPath = folder;
    if (kind == FileDialogRequest::SaveFile && !candidateName.isEmpty())
        request.startPath = folder + QDir::separator() + candidateName;
    request.filter = withAsciiParentheses(filter);
    if (kind == FileDialogRequest::ExistingDirectory)
        request.options = QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks;
    const QStringList chosen = showFileDialog(request);
    if (!chosen.isEmpty() && !chosen.first().isEmpty() && initialFolderPath.isEmpty() && settings)
        settings->setLastOpenFilePath(QFileInfo(chosen.first()).absolutePath());
    return chosen;
}

QString CSystemTools::getExistingDirectory(const QString& title, const QString& initialFolderPath)
{
    if (!isGuiThread()) {
        QString result;
        QMetaObject::invokeMethod(this, "getExistingDirectory", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(QString, result), Q_ARG(QString, title),
                                  Q_ARG(QString, initialFolderPath));
        return result;
    }
    return runFileDialog(FileDialogRequest::ExistingDirectory, title, QString(), QString(), initialFolderPath).value(0);
}

QString CSystemTools::getSaveFileName(const QString& title, const QString& filter, const QString& candidateName,
                                      const QString& initialFolderPath)
{
    if (!isGuiThread()) {
        QString result;
        QMetaObject::invokeMethod(this, "getSaveFileName", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(QString, result), Q_ARG(QString, title), Q_ARG(QString, filter),
                                  Q_ARG(QString, candidateName), Q_ARG(QString, initialFolderPath));
        return result;
    }
    return runFileDialog(FileDialogRequest::SaveFile, title, filter, candidateName, initialFolderPath).value(0);
}

QString CSystemTools::getOpenFileName(const QString& title, const QString& filter, const QString& initialFolderPath)
{
    if (!isGuiThread()) {
        QString result;
        QMetaObject::invokeMethod(this, "getOpenFileName", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(QString, result), Q_ARG(QString, title), Q_ARG(QString, filter),
                                  Q_ARG(QString, initialFolderPath));
        return result;
    }
    return runFileDialog(FileDialogRequest::OpenFile, title, filter, QString(), initialFolderPath).value(0);
}

QStringList CSystemTools::getOpenFileNames(const QString& title, const QString& filter,
                                           const QString& initialFolderPath)
{
    if (!isGuiThread()) {
        QStringList result;
        QMetaObject::invokeMethod(this, "getOpenFileNames", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(QStringList, result), Q_ARG(QString, title), Q_ARG(QString, filter),
                                  Q_ARG(QString, initialFolderPath));
        return result;
    }
    return runFileDialog(FileDialogRequest::OpenFiles, title, filter, QString(), initialFolderPath);
}

QWidget* CSystemTools::messageParent(QWidget* parent) const
{
    if (parent && parent->window())
        return parent->window();
    QWidget* active = QApplication::activeWindow();
    if ((m_parentPolicy & 1) && active && !qobject_cast<CStartScreen*>(active))
        return active;
    if (!m_mainWindow)
        return nullptr;
    if (m_parentPolicy & 4)
        return m_mainWindow;
    if ((m_parentPolicy & 2) && m_mainWindow->isVisible())
        return m_mainWindow;
    return nullptr;
}

CDialogMessage* CSystemTools::makeMessageDialog(const QString& message, const QString& title, int icnType,
                                                const QString& b1text, const QString& b2text,
                                                const QString& b3text, QWidget* parent)
{
    auto* dialog = new CDialogMessage(messageParent(parent));
    dialog->setTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    dialog->setText(message);
    dialog->setIcon(currentPalette()->titleBarIcon(icnType));
    QStringList texts{b1text, b2text, b3text};
    if (b1text.isEmpty() && b2text.isEmpty() && b3text.isEmpty())
        texts[0] = QStringLiteral("ОК");
    int defaultIndex = 1;
    for (int index = 3; index > 1; --index) {
        if (!texts.at(index - 1).isEmpty()) {
            defaultIndex = index;
            break;
        }
    }
    for (int index = 1; index <= 3; ++index) {
        if (texts.at(index - 1).isEmpty())
            continue;
        auto* button = new CButton(index == defaultIndex ? 21 : 20);
        button->setText(texts.at(index - 1));
        dialog->addButton(index, button, index == defaultIndex);
    }
    connect(dialog->textLabel(), &QLabel::linkActivated, this, [this](const QString& url) { openLink(url); });
    return dialog;
}

int CSystemTools::messageBox(const QString& message, const QString& title, int icnType, const QString& b1text,
                             const QString& b2text, const QString& b3text, bool* remember,
                             const QString& rememberText, QWidget* parent)
{
    if (!isGuiThread()) {
        int result = 0;
        QMetaObject::invokeMethod(this, "messageBox", Qt::BlockingQueuedConnection, Q_RETURN_ARG(int, result),
                                  Q_ARG(QString, message), Q_ARG(QString, title), Q_ARG(int, icnType),
                                  Q_ARG(QString, b1text), Q_ARG(QString, b2text), Q_ARG(QString, b3text),
                                  Q_ARG(bool*, remember), Q_ARG(QString, rememberText), Q_ARG(QWidget*, parent));
        return result;
    }
    QPointer<CDialogMessage> dialog = makeMessageDialog(message, title, icnType, b1text, b2text, b3text, parent);
    QPointer<CButton> rememberBox;
    if (remember) {
        rememberBox = new CButton(15);
        rememberBox->setCheckable(true);
        rememberBox->setChecked(*remember);
        rememberBox->setText(rememberText);
        dialog->addExtraWidget(rememberBox);
    }
    const int result = runDialog(dialog);
    if (remember && rememberBox)
        *remember = rememberBox->isChecked();
    delete dialog.data();
    return result;
}

int CSystemTools::textInputBox(const QString& message, const QString& title, QString& resultText,
                               TextInputType textInputType, int icnType, const QString& b1text,
                               const QString& b2text, const QString& b3text, const QString& regexp,
                               QWidget* parent)
{
    if (!isGuiThread()) {
        int result = 0;
        QMetaObject::invokeMethod(this, "textInputBox", Qt::BlockingQueuedConnection, Q_RETURN_ARG(int, result),
                                  Q_ARG(QString, message), Q_ARG(QString, title), Q_ARG(QString&, resultText),
                                  Q_ARG(TextInputType, textInputType), Q_ARG(int, icnType), Q_ARG(QString, b1text),
                                  Q_ARG(QString, b2text), Q_ARG(QString, b3text), Q_ARG(QString, regexp),
                                  Q_ARG(QWidget*, parent));
        return result;
    }
    QPointer<CDialogMessage> dialog = makeMessageDialog(message, title, icnType, b1text, b2text, b3text, parent);
    QPointer<CLinEdit> edit = new CLinEdit(isPasswordInput(textInputType) ? 32 : 29);
    edit->setMaxLength(32767);
    edit->setText(resultText);
    edit->setReadOnly(textInputType == ReadOnlyTextInput);
    if (!regexp.isEmpty())
        edit->setValidator(new QRegExpValidator(QRegExp(regexp, Qt::CaseSensitive, QRegExp::RegExp), edit));
    dialog->addExtraWidget(edit, !needsText(textInputType));
    const int result = runDialog(dialog);
    if (edit)
        resultText = edit->text();
    delete dialog.data();
    return result;
}

void CSystemTools::setShellLauncher(ShellLauncher launcher)
{
    shellLauncher() = std::move(launcher);
}

void CSystemTools::setDialogRunner(DialogRunner runner)
{
    dialogRunner() = std::move(runner);
}

int CSystemTools::runDialog(CDialog* dialog)
{
    const DialogRunner& runner = dialogRunner();
    return runner ? runner(dialog) : dialog->exec(CWindow::CenteredOnParent);
}

void CSystemTools::showOpenError(const QString& path)
{
    messageBox(kOpenFailed.arg(path), QString(), kErrorIcon);
}

bool CSystemTools::showInFolder(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return false;
    if (info.isDir())
        return openUrl(path);
    const QString nativePath = QDir::toNativeSeparators(info.absoluteFilePath());
    const ShellLauncher& launcher = shellLauncher();
    const int result = launcher ? launcher(nativePath) : launchFileManager(nativePath);
    if (result > 0) {
        emit linkOpened(path);
        return true;
    }
    emit shellExecuteFailed(path, result);
    showOpenError(path);
    return false;
}

bool CSystemTools::openUrl(const QString& target)
{
    const QFileInfo info(target);
    const QUrl url = !target.isEmpty() && info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath())
                                                        : QUrl(target, QUrl::TolerantMode);
    const bool opened = QDesktopServices::openUrl(url);
    if (!opened)
        showOpenError(target);
    emit linkOpened(target);
    return opened;
}

QString CSystemTools::linkHtml(const QString& url, const QString& text, int flags, const QColor& color)
{
    const QColor shown = color.isValid() ? color : currentPalette()->color(18);
    const QString decoration = (flags & 1) ? QStringLiteral("text-decoration: none;") : QString();
    QString html = QStringLiteral("<a href='%1' style='color: %2; %3'>%4</a>")
                       .arg(url, shown.name(), decoration, text);
    if (flags & 2)
        html = QStringLiteral("<b>%1</b>").arg(html);
    if (flags & 4)
        html = QStringLiteral("<i>%1</i>").arg(html);
    return html;
}

void CSystemTools::startNotAnnoyingMessageTimer(const QString& name, int intervalMs, std::function<void()> show)
{
    new NotAnnoyingMessageTimer(this, name, intervalMs, std::move(show));
}

void CSystemTools::onMouseMove(QObject* receiver, QMouseEvent* event)
{
    auto* window = qobject_cast<QWindow*>(receiver);
    if (!window || !event)
        return;
    const QPoint global = window->mapToGlobal(event->pos());
    QWidget* candidate = event->type() == QEvent::NonClientAreaMouseMove ? nullptr : regionAwareWidgetAt(global);
    m_hover->track(window, global, candidate);
}

void CSystemTools::onCursorLeftWindow()
{
    m_hover->forgetPosition();
}

qint64 CSystemTools::msecsToNextDayChange(const QDateTime& now)
{
    QDateTime next = now;
    next.setDate(now.date().addDays(1));
    next.setTime(QTime(0, 1));
    return now.msecsTo(next);
}

void CSystemTools::armDayChange()
{
    const qint64 delay = msecsToNextDayChange(QDateTime::currentDateTime());
    QTimer::singleShot(int(qMax<qint64>(delay, 0)), this, [this] {
        emit currentDayChanged();
        armDayChange();
    });
}
