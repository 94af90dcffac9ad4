#include "platform/SingleInstanceChannel.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace {

// sockaddr_un holds 108 bytes, the terminating zero included.
constexpr int kLongestSocketPath = 107;
constexpr char kAck = 1;
constexpr int kRetryMs = 50;

const QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool isOwnFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid();
}

QString chooseFolder(const QString& name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const int socketBytes = QStringLiteral("/%1.socket").arg(name).toLocal8Bit().size();
    if (!runtime.isEmpty() && isOwnFolder(runtime)
        && runtime.toLocal8Bit().size() + socketBytes <= kLongestSocketPath)
        return runtime;
    const QString path = QDir::tempPath() + QStringLiteral("/ty-") + QString::number(::getuid());
    QDir().mkpath(path);
    QFile::setPermissions(path, kOwnerOnly);
    return path;
}

QByteArray frame(const QString& message)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << message.toUtf8();
    return bytes;
}

} // namespace

SingleInstanceChannel::SingleInstanceChannel(const QString& id, QObject* parent)
    : QObject(parent),
      m_name(id + QLatin1Char('-') + QString::number(::getuid())),
      m_folder(chooseFolder(m_name))
{
}

SingleInstanceChannel::~SingleInstanceChannel()
{
    if (m_server)
        m_server->close();
}

QString SingleInstanceChannel::socketPath() const
{
    return m_folder + QLatin1Char('/') + m_name + QStringLiteral(".socket");
}

bool SingleInstanceChannel::isRunning()
{
    if (m_role == Role::Undecided)
        takeRole();
    return m_role == Role::Secondary;
}

void SingleInstanceChannel::takeRole()
{
    m_lock.reset(new QLockFile(m_folder + QLatin1Char('/') + m_name + QStringLiteral(".lock")));
    // Only the lock of a process that is gone is stale, however old.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_role = m_lock->error() == QLockFile::LockFailedError ? Role::Secondary : Role::Primary;
        m_lock.reset();
        return;
    }
    m_role = Role::Primary;
    const QString path = socketPath();
    if (!isOwnFolder(m_folder) || path.toLocal8Bit().size() > kLongestSocketPath)
        return;
    // A socket left by a primary that died.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstanceChannel::onNewConnection);
    if (!m_server->listen(path)) {
        delete m_server;
        m_server = nullptr;
    }
}

void SingleInstanceChannel::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        readMessage(socket);
    }
}

void SingleInstanceChannel::readMessage(QLocalSocket* socket)
{
    QDataStream stream(socket);
    stream.startTransaction();
    QByteArray message;
    stream >> message;
    if (!stream.commitTransaction())
        return; // more to come
    socket->write(&kAck, 1);
    socket->flush();
    emit messageReceived(QString::fromUtf8(message));
}

bool SingleInstanceChannel::sendMessage(const QString& message, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        // The primary may not listen yet.
        QThread::msleep(qMin<qint64>(kRetryMs, deadline.remainingTime()));
    }
    socket.write(frame(message));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char ack = 0;
    return socket.getChar(&ack) && ack == kAck;
}
