#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// One running instance per user and identity: a lock file picks the primary (the lock of a
// dead process is taken over) and a local socket beside it carries length-prefixed UTF-8
// messages to the primary, which acknowledges each with one byte.
// Both live in $XDG_RUNTIME_DIR, else in "<temp>/ty-<uid>" (the user's only).
class SingleInstanceChannel : public QObject
{
    Q_OBJECT
public:
    // `id` names the lock and the socket; the user id is added to it.
    explicit SingleInstanceChannel(const QString& id, QObject* parent = nullptr);
    ~SingleInstanceChannel() override;

    // True when another instance holds the role. The first call decides: an instance that
    // finds the role free takes it and listens from then on.
    bool isRunning();
    // Delivers `message` to the primary, retrying the connection until timeoutMs has passed;
    // true only once the primary acknowledged it.
    bool sendMessage(const QString& message, int timeoutMs);

    // Where the lock and the socket live, chosen at construction, and the socket's full path.
    QString folder() const { return m_folder; }
    QString socketPath() const;

signals:
    void messageReceived(const QString& message);

private:
    void takeRole();
    void onNewConnection();
    void readMessage(QLocalSocket* socket);

    enum class Role { Undecided, Primary, Secondary };

    QString m_name;
    QString m_folder;
    Role m_role = Role::Undecided;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
