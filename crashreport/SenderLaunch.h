#pragma once

#include <string>
#include <sys/types.h>

class NamedEvent;

// Starts the sender program from a failing process: everything it needs is made beforehand, and
// starting it takes only async-signal-safe calls.
class SenderLaunch
{
public:
    SenderLaunch() = default;
    ~SenderLaunch();
    SenderLaunch(const SenderLaunch&) = delete;
    SenderLaunch& operator=(const SenderLaunch&) = delete;

    // Readies one start of the program.
    bool prepare(const std::string& program);
    // Starts the program with its one parameter: the process id, or -1 when it could not be started.
    pid_t start(const char* parameter);
    void close();

    // Waits until the sender sets the event or ends; true when the event was set.
    static bool waitForTakeOver(NamedEvent& event, pid_t sender);

private:
    [[noreturn]] void runChild(const char* parameter);

    std::string m_program;
    // Close-on-exec: the child writes errno into it when exec fails, a successful exec closes it.
    int m_errorPipe[2] = {-1, -1};
};
