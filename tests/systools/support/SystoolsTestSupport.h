#pragma once

// Support for the system-tools tests:
//
//   LoopbackHttpServer server;   answers GETs on 127.0.0.1 with a fixed body, or never
//   DialogAnswerer answer(fn);   runs fn on the next message box that shows (polled on the GUI thread)
//   shownMessageBox()            the message box shown now, or null
//   UrlCatcher catcher;          the URLs the desktop was asked to open
//   touchFile(path)              an empty file, its folders made as needed
//   DialogRunnerScope scope(fn); the service's dialogs go to fn instead of their modal loop
//   FileDialogRecorder rec(paths); file dialogs answer the paths and are recorded while it lives

#include "app/CSystemTools.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <functional>

class CDialogMessage;
class QTcpSocket;

class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    explicit LoopbackHttpServer(QObject* parent = nullptr);
    bool listen();
    // The address of that path on this server.
    QString url(const QString& path) const;
    void setBody(const QByteArray& body) { m_body = body; }
    // Takes requests without ever answering them.
    void setSilent(bool silent) { m_silent = silent; }
    // The target of every request so far ("/path?query").
    QList<QUrl> requests() const { return m_requests; }

signals:
    void requested();

private:
    void onReadyRead(QTcpSocket* socket);

    QTcpServer m_server;
    QByteArray m_body;
    bool m_silent = false;
    QList<QUrl> m_requests;
};

// Catches the URLs the desktop would open (file, http and https) while it lives.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.append(url); }
};

CDialogMessage* shownMessageBox();

class DialogAnswerer : public QObject
{
public:
    explicit DialogAnswerer(std::function<void(CDialogMessage*)> action);
    bool answered() const { return m_answered; }

private:
    void poll();

    std::function<void(CDialogMessage*)> m_action;
    QTimer m_timer;
    bool m_answered = false;
};

// A key press sent straight to the widget.
void sendKey(QWidget* widget, int key);

// An empty file at path; missing folders are made.
void touchFile(const QString& path);

class DialogRunnerScope
{
public:
    explicit DialogRunnerScope(CSystemTools::DialogRunner runner) { CSystemTools::setDialogRunner(std::move(runner)); }
    ~DialogRunnerScope() { CSystemTools::setDialogRunner({}); }
    DialogRunnerScope(const DialogRunnerScope&) = delete;
    DialogRunnerScope& operator=(const DialogRunnerScope&) = delete;
};

// Records every file dialog the service asks for and answers with the given paths.
struct FileDialogRecorder
{
    explicit FileDialogRecorder(const QStringList& answer)
    {
        CSystemTools::setFileDialogFunction([this, answer](const FileDialogRequest& request) {
            requests.append(request);
            onGuiThread.append(QThread::currentThread() == qApp->thread());
            return answer;
        });
    }
    ~FileDialogRecorder() { CSystemTools::setFileDialogFunction({}); }
    QList<FileDialogRequest> requests;
    QList<bool> onGuiThread;
};
