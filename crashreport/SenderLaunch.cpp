#include "SenderLaunch.h"

#include "crashreport/NamedEvent.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kWaitSliceMs = 100;

// Every descriptor from 3 on closes at exec, the error pipe among them.
void closeOnExecFrom3()
{
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    struct rlimit limit;
    const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        ? limit.rlim_cur : 65536;
    for (rlim_t fd = 3; fd < last; ++fd)
        ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
}

void closeDescriptor(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SenderLaunch::~SenderLaunch()
{
    close();
}

bool SenderLaunch::prepare(const std::string& program)
{
    close();
    m_program = program;
    return ::pipe2(m_errorPipe, O_CLOEXEC) == 0;
}

pid_t SenderLaunch::start(const char* parameter)
{
    if (m_errorPipe[0] < 0)
        return -1;
    const pid_t pid = ::_Fork();
    if (pid == 0)
        runChild(parameter);
    closeDescriptor(m_errorPipe[1]);
    int error = 0;
    ssize_t got = 0;
    if (pid > 0) {
        do
            got = ::read(m_errorPipe[0], &error, sizeof error);
        while (got < 0 && errno == EINTR);
    }
    closeDescriptor(m_errorPipe[0]);
    if (pid < 0)
        return -1;
    if (got != 0) {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return -1;
    }
    return pid;
}

void SenderLaunch::close()
{
    closeDescriptor(m_errorPipe[0]);
    closeDescriptor(m_errorPipe[1]);
}

// The child of a failing process: async-signal-safe calls only. Its standard streams go nowhere (the
// parent's standard output may be a pipe that someone reads).
void SenderLaunch::runChild(const char* parameter)
{
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; null >= 0 && fd < 3; ++fd)
        ::dup2(null, fd);
    closeOnExecFrom3();
    char* const argv[] = {const_cast<char*>(m_program.c_str()), const_cast<char*>(parameter), nullptr};
    ::execve(argv[0], argv, environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(m_errorPipe[1], &error, sizeof error);
    ::_exit(127);
}

bool SenderLaunch::waitForTakeOver(NamedEvent& event, pid_t sender)
{
    for (;;) {
        if (event.wait(kWaitSliceMs))
            return true;
        int status;
        const pid_t ended = ::waitpid(sender, &status, WNOHANG);
        // It may have set the event just before it ended.
        if (ended == sender || (ended < 0 && errno == ECHILD))
            return event.wait(0);
    }
}
