#include "support/SystoolsTestSupport.h"

#include "uilib/controls/CDialogMessage.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTcpSocket>
#include <QTest>

LoopbackHttpServer::LoopbackHttpServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool LoopbackHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost);
}

QString LoopbackHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LoopbackHttpServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    socket->setProperty("head", head);
    if (!head.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    m_requests.append(QUrl(QString::fromLatin1(requestLine.value(1))));
    emit requested();
    if (m_silent)
        return;
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                  + QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
    socket->disconnectFromHost();
}

namespace {
const char* const kSchemes[] = {"file", "http", "https"};
} // namespace

UrlCatcher::UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

CDialogMessage* shownMessageBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* message = qobject_cast<CDialogMessage*>(widget);
        if (message && message->isVisible())
            return message;
    }
    return nullptr;
}

DialogAnswerer::DialogAnswerer(std::function<void(CDialogMessage*)> action)
    : m_action(std::move(action))
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    m_timer.start();
}

void DialogAnswerer::poll()
{
    CDialogMessage* message = shownMessageBox();
    if (!message)
        return;
    m_timer.stop();
    m_answered = true;
    m_action(message);
}

void sendKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

void touchFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}
