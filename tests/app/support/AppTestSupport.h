#pragma once

#include <QByteArray>
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <sys/types.h>

class ProjectFile;

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

// A picture of one colour at path, its folders made as needed, in the format its suffix names
// unless one is given; the path, or empty when it could not be written.
QString writeImage(const QString& path, const QSize& size = QSize(16, 12), const QColor& colour = Qt::darkCyan,
                   const char* format = nullptr);

// The picture files of the project's photo slides, in order.
QStringList photoFiles(const ProjectFile& project);

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

// The stand-in helper program ty_fake_helper: the script of its next run and the record it keeps,
// both in a folder of the test's.
class FakeHelper
{
public:
    explicit FakeHelper(const QString& folder);

    // Writes the script with the running application's name and the record file added, points
    // TY_FAKE_SCRIPT at it and removes the previous record.
    bool setScript(QJsonObject script) const;
    // The values of the record's lines with that key, in order.
    QStringList recorded(const QString& key) const;
    // The first one as a process id; 0 without one.
    pid_t recordedPid(const QString& key) const;

private:
    QString m_folder;
};

namespace Processes {

// True when no such process runs (gone, or a zombie).
bool isGone(pid_t pid);
// The running (not zombie) processes whose parent is that process, from /proc.
QList<pid_t> childrenOf(pid_t parent);
// The running processes of that process group.
QList<pid_t> inGroup(pid_t group);

} // namespace Processes
