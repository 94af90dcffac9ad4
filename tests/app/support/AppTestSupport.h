#pragma once

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/types.h>

// Points HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and TMPDIR of this process, and so of
// every child, at folders of their own for the fixture's life.
class PrivateFolders
{
public:
    // Inside a temporary folder removed with the fixture, or inside that folder (made when
    // missing, kept).
    explicit PrivateFolders(const QString& root = QString());
    ~PrivateFolders();

    bool isValid() const { return m_valid; }
    QString root() const { return m_root; }
    // The folder standing for that variable.
    QString folder(const char* variable) const { return m_root + QLatin1Char('/') + QLatin1String(variable); }

private:
    std::unique_ptr<QTemporaryDir> m_temporary;
    QString m_root;
    QList<QPair<const char*, QByteArray>> m_saved;
    bool m_valid = false;
};

// Ends the test program with a message when it is still alive timeoutMs after it was made:
// a call that blocks for good fails the test instead of hanging it.
class HangWatchdog
{
public:
    HangWatchdog(int timeoutMs, const char* what);
    ~HangWatchdog();

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_disarmed = false;
    std::thread m_thread;
};

namespace Processes {

// True when no such process runs (gone, or a zombie).
bool isGone(pid_t pid);

} // namespace Processes
