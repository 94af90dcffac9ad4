#include "StallingTool.h"

#include "SoundFixture.h"

#include <QDir>
#include <QFile>

#include <csignal>

namespace {

// The fields after the command name of /proc/<pid>/stat: state, then parent id.
QList<QByteArray> statFields(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    const int nameEnd = text.lastIndexOf(')');
    return nameEnd < 0 ? QList<QByteArray>() : text.mid(nameEnd + 2).split(' ');
}

} // namespace

StallingTool::StallingTool(const QString& stallOn)
{
    const QString real = SoundFixture::ffmpeg();
    QFile script(m_dir.filePath("ffmpeg"));
    if (!m_dir.isValid() || real.isEmpty() || !script.open(QIODevice::WriteOnly))
        return;
    const QString text = QStringLiteral(
        "#!/bin/sh\n"
        "case \"$*\" in *'%1'*) echo $$ >> '%2/pids'; exec sleep 300;; esac\n"
        "exec '%3' \"$@\"\n")
                             .arg(stallOn, m_dir.path(), real);
    m_valid = script.write(text.toUtf8()) > 0
        && script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

StallingTool::~StallingTool()
{
    for (pid_t pid : stalled())
        kill(pid, SIGKILL);
}

QByteArray StallingTool::path() const
{
    return QFile::encodeName(folder()) + ':' + qgetenv("PATH");
}

QList<pid_t> StallingTool::stalled() const
{
    QFile file(m_dir.filePath("pids"));
    QList<pid_t> pids;
    if (!file.open(QIODevice::ReadOnly))
        return pids;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.trimmed().isEmpty())
            pids << pid_t(line.trimmed().toInt());
    }
    return pids;
}

namespace Processes {

QList<pid_t> childrenOf(pid_t parent)
{
    QList<pid_t> children;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        const QList<QByteArray> fields = number ? statFields(pid) : QList<QByteArray>();
        if (fields.size() > 1 && fields[0] != "Z" && fields[1].toInt() == parent)
            children << pid;
    }
    return children;
}

bool isGone(pid_t pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return fields.isEmpty() || fields[0] == "Z" || fields[0] == "X";
}

} // namespace Processes
