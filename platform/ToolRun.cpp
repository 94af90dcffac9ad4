#include "platform/ToolRun.h"

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// A child that is killed when the thread that started it ends, so no program of a run
// outlives it, whatever ends the run.
class ToolProcess : public QProcess
{
public:
    ToolProcess() : m_parent(getpid()) {}

protected:
    void setupChildProcess() override
    {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died before the line above.
        if (getppid() != m_parent)
            _exit(127);
    }

private:
    const pid_t m_parent;
};

} // namespace

int ToolRun::run(const QString& program, const QStringList& arguments, const QString& folder,
                 int limitMs, QByteArray* errors, const StopCheck& stop)
{
    ToolProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!errors)
        process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted())
        return -1;
    QElapsedTimer timer;
    timer.start();
    bool ended = true;
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(PollMs)) {
        if ((stop && stop()) || (limitMs != NoLimit && timer.elapsed() > limitMs)) {
            ended = false;
            break;
        }
    }
    if (errors)
        *errors = process.readAllStandardError();
    if (!ended) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
