#pragma once

#include <cstdint>

// A failure as a hook saw it.
struct FatalError {
    uint32_t type;      // CrashExceptionType
    uint32_t code;      // the signal number; 0 for the other hooks
    uint32_t subcode;   // the signal's si_code
    void* context;      // the signal's ucontext; null for the other hooks
    bool mayContinue;   // a stop request or a signal sent on purpose, not a fault
};

enum CrashExceptionType : uint32_t {
    CrashUnhandledFault = 0,
    CrashTerminate = 1,
    CrashUnexpected = 2,
    CrashPureCall = 3,
    CrashNewFailure = 4,
    CrashInvalidParameter = 6,
    CrashAbort = 7,
    CrashFloatingPoint = 8,
    CrashIllegalInstruction = 9,
    CrashInterrupt = 10,
    CrashSegmentation = 11,
    CrashTermination = 12,
};

// The fatal-error hooks of the process: one signal dispatcher, the terminate, new-failure and
// pure-call handlers. Each hook hands a failure to CCrashHandler::handleFatalError; what was
// there before is saved and put back exactly by restoreAll.
namespace CrashHooks {

enum Bit : uint32_t {
    Faults = 0x1,             // kernel faults of threads without their own bit
    Terminate = 0x2,          // std::terminate on the thread, SIGTERM for the process
    Unexpected = 0x4,         // recorded only
    PureCall = 0x8,
    NewFailure = 0x10,
    InvalidParameter = 0x40,  // recorded only
    Abort = 0x80,
    FloatingPoint = 0x100,
    IllegalInstruction = 0x200,
    Interrupt = 0x400,
    Segmentation = 0x800,     // SIGSEGV and SIGBUS
};

constexpr uint32_t kSelectionBits = 0x1FFF;
constexpr uint32_t kProcessBits = Faults | Terminate | PureCall | NewFailure | InvalidParameter | Abort | Interrupt;
constexpr uint32_t kThreadBits = Terminate | Unexpected | FloatingPoint | IllegalInstruction | Segmentation;

// The hooks the install flags select: every one when no selection bit is set.
uint32_t selected(uint32_t flags);

void installProcessHooks(uint32_t flags);
void setThreadHooks(uint32_t flags);
void clearThreadHooks();
// A stack of its own for the calling thread's signal handling, so that its stack overflow is reported.
bool setAlternateStack();
// Puts back every saved handler and the alternate stack, and forgets every thread's hooks.
void restoreAll();

uint32_t processHooks();
// The calling thread's hooks.
uint32_t threadHooks();

} // namespace CrashHooks
