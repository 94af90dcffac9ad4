#pragma once

#include <QProcess>

// A child process that leads a process group of its own, so that it can be ended together
// with every process it started.
class GroupProcess : public QProcess
{
public:
    using QProcess::QProcess;

    // Sends SIGKILL to the whole group, only while the process runs; true when sent.
    bool killGroup();

protected:
    void setupChildProcess() override;
};
