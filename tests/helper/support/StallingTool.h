#pragma once

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <sys/types.h>

// A stand-in for the ffmpeg program, put first on the PATH of a child (or of the test
// itself): a run whose arguments contain `stallOn` notes its process id and waits for
// minutes, any other run is passed to the real program. Runs still waiting are killed
// when the fixture goes.
class StallingTool
{
public:
    explicit StallingTool(const QString& stallOn);
    ~StallingTool();

    bool isValid() const { return m_valid; }
    // The folder to put first on the PATH.
    QString folder() const { return m_dir.path(); }
    // A PATH value with the stand-in first.
    QByteArray path() const;
    // The stalled runs so far.
    QList<pid_t> stalled() const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};

namespace Processes {

// The running children of a process, from /proc.
QList<pid_t> childrenOf(pid_t parent);
// True when no such process runs (gone, or a zombie waiting to be reaped).
bool isGone(pid_t pid);

} // namespace Processes
