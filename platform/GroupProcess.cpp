#include "platform/GroupProcess.h"

#include <csignal>
#include <unistd.h>

bool GroupProcess::killGroup()
{
    // A process that has ended may have handed its id on: only a running one is signalled.
    if (state() != QProcess::Running)
        return false;
    const pid_t group = pid_t(processId());
    return group > 0 && ::kill(-group, SIGKILL) == 0;
}

void GroupProcess::setupChildProcess()
{
    ::setpgid(0, 0);
}
