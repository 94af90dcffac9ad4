#include "CrashHooks.h"

#include "crashreport/CCrashHandler.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

using namespace CrashHooks;

namespace {

constexpr size_t kAlternateStackSize = 256 * 1024;

struct SignalHook {
    int signal;
    uint32_t bit;
    CrashExceptionType type;
    bool perThread;
};

constexpr SignalHook kSignalHooks[] = {
    {SIGSEGV, Segmentation, CrashSegmentation, true},
    {SIGBUS, Segmentation, CrashSegmentation, true},
    {SIGILL, IllegalInstruction, CrashIllegalInstruction, true},
    {SIGFPE, FloatingPoint, CrashFloatingPoint, true},
    {SIGABRT, Abort, CrashAbort, false},
    {SIGINT, Interrupt, CrashInterrupt, false},
    {SIGTERM, Terminate, CrashTermination, false},
};

struct SavedSignal {
    bool hooked;
    struct sigaction previous;
};

// Written under g_lock before a hook goes in, read by the hooks.
std::mutex g_lock;
SavedSignal g_signals[NSIG];
bool g_terminateHooked = false;
std::terminate_handler g_previousTerminate = nullptr;
bool g_newHooked = false;
std::new_handler g_previousNew = nullptr;
void* g_alternateStack = nullptr;
size_t g_alternateStackMapping = 0;
stack_t g_previousStack{};

std::atomic<uint32_t> g_processHooks{0};
// Thread hooks count only while their generation is the current one: restoreAll forgets them all.
std::atomic<uint32_t> g_generation{1};

struct ThreadState {
    uint32_t hooks;
    uint32_t generation;
};
thread_local ThreadState t_state{0, 0};

uint32_t currentThreadHooks()
{
    return t_state.generation == g_generation.load() ? t_state.hooks : 0;
}

const SignalHook* hookOf(int signal)
{
    for (const SignalHook& hook : kSignalHooks) {
        if (hook.signal == signal)
            return &hook;
    }
    return nullptr;
}

bool isFunction(const struct sigaction& action)
{
    return action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN;
}

void restoreSignal(int signal)
{
    SavedSignal& saved = g_signals[signal];
    if (!saved.hooked)
        return;
    ::sigaction(signal, &saved.previous, nullptr);
    saved.hooked = false;
}

// What would have happened without the hook: the previous handler runs, or the default action ends the
// process. A kernel fault comes back by itself when the handler returns; a sent signal is raised again.
void passOn(int signal, siginfo_t* info, void* context)
{
    const struct sigaction previous = g_signals[signal].previous;
    const bool kernelFault = info && info->si_code > 0;
    if (isFunction(previous)) {
        if (previous.sa_flags & SA_SIGINFO)
            previous.sa_sigaction(signal, info, context);
        else
            previous.sa_handler(signal);
        return;
    }
    if (previous.sa_handler == SIG_IGN && !kernelFault)
        return;
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    if (!kernelFault)
        ::raise(signal);
}

bool isHookedHere(const SignalHook& hook, bool kernelFault, CrashExceptionType& type)
{
    type = hook.type;
    if (!hook.perThread)
        return g_processHooks.load() & hook.bit;
    if (currentThreadHooks() & hook.bit)
        return true;
    type = CrashUnhandledFault;
    return kernelFault && (g_processHooks.load() & Faults);
}

void dispatch(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    const SignalHook* hook = hookOf(signal);
    const bool kernelFault = info && info->si_code > 0;
    CrashExceptionType type = CrashUnhandledFault;
    if (hook && isHookedHere(*hook, kernelFault, type)) {
        // abort() ends the process whatever its handler does.
        const bool mayContinue = signal == SIGINT || signal == SIGTERM || (!kernelFault && signal != SIGABRT);
        const FatalError error{type, uint32_t(signal), uint32_t(info ? info->si_code : 0), context, mayContinue};
        if (CCrashHandler::handleFatalError(error)) {
            errno = savedErrno;
            return;
        }
        restoreSignal(signal);
    } else if (!CCrashHandler::instance()) {
        restoreSignal(signal);
    }
    passOn(signal, info, context);
    errno = savedErrno;
}

void hookSignal(int signal)
{
    SavedSignal& saved = g_signals[signal];
    if (saved.hooked)
        return;
    struct sigaction action {};
    action.sa_sigaction = &dispatch;
    // A fault inside the report must reach the dispatcher again; stop requests wait for the report.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    saved.hooked = ::sigaction(signal, &action, &saved.previous) == 0;
}

[[noreturn]] void onTerminate()
{
    if (currentThreadHooks() & Terminate) {
        if (!CCrashHandler::handleFatalError(FatalError{CrashTerminate, 0, 0, nullptr, false}))
            std::set_terminate(g_previousTerminate);
    }
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

void onNewFailure()
{
    if (CCrashHandler::handleFatalError(FatalError{CrashNewFailure, 0, 0, nullptr, false}))
        return;
    // operator new now calls the previous handler, or throws.
    std::set_new_handler(g_previousNew);
}

void hookTerminate()
{
    if (g_terminateHooked)
        return;
    g_previousTerminate = std::set_terminate(&onTerminate);
    g_terminateHooked = true;
}

void restoreAlternateStack()
{
    if (!g_alternateStack)
        return;
    ::sigaltstack(&g_previousStack, nullptr);
    ::munmap(g_alternateStack, g_alternateStackMapping);
    g_alternateStack = nullptr;
}

} // namespace

// The runtime's own reports a pure call and terminates; with the hook the call is a crash of its own kind.
extern "C" [[noreturn]] void __cxa_pure_virtual()
{
    if (g_processHooks.load() & PureCall)
        CCrashHandler::handleFatalError(FatalError{CrashPureCall, 0, 0, nullptr, false});
    static const char message[] = "pure virtual method called\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    std::terminate();
}

namespace CrashHooks {

uint32_t selected(uint32_t flags)
{
    return (flags & kSelectionBits) ? flags & kSelectionBits : kSelectionBits;
}

void installProcessHooks(uint32_t flags)
{
    std::lock_guard<std::mutex> lock(g_lock);
    const uint32_t hooks = selected(flags) & kProcessBits;
    for (const SignalHook& hook : kSignalHooks) {
        if (hook.perThread ? (hooks & Faults) : (hooks & hook.bit))
            hookSignal(hook.signal);
    }
    if ((hooks & NewFailure) && !g_newHooked) {
        g_previousNew = std::set_new_handler(&onNewFailure);
        g_newHooked = true;
    }
    g_processHooks = hooks;
}

void setThreadHooks(uint32_t flags)
{
    std::lock_guard<std::mutex> lock(g_lock);
    const uint32_t hooks = selected(flags) & kThreadBits;
    for (const SignalHook& hook : kSignalHooks) {
        if (hook.perThread && (hooks & hook.bit))
            hookSignal(hook.signal);
    }
    if (hooks & Terminate)
        hookTerminate();
    t_state = ThreadState{hooks, g_generation.load()};
}

void clearThreadHooks()
{
    t_state = ThreadState{0, 0};
}

bool setAlternateStack()
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_alternateStack)
        return false;
    // One guard page below the stack.
    const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    const size_t mapping = kAlternateStackSize + page;
    void* memory = ::mmap(nullptr, mapping, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return false;
    ::mprotect(memory, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(memory) + page;
    stack.ss_size = kAlternateStackSize;
    if (::sigaltstack(&stack, &g_previousStack) != 0) {
        ::munmap(memory, mapping);
        return false;
    }
    g_alternateStack = memory;
    g_alternateStackMapping = mapping;
    return true;
}

void restoreAll()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_processHooks = 0;
    ++g_generation;
    for (const SignalHook& hook : kSignalHooks)
        restoreSignal(hook.signal);
    if (g_terminateHooked)
        std::set_terminate(g_previousTerminate);
    if (g_newHooked)
        std::set_new_handler(g_previousNew);
    g_terminateHooked = false;
    g_newHooked = false;
    restoreAlternateStack();
}

uint32_t processHooks()
{
    return g_processHooks.load();
}

uint32_t threadHooks()
{
    return currentThreadHooks();
}

} // namespace CrashHooks
