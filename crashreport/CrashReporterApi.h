#pragma once

#include <cstdint>
#include <sys/types.h>

// The crash reporter's interface: free functions on the one crash handler of the process.
// Every function records a last-error text for the calling thread.

using LegacyCrashCallback = int (*)(void* context);

struct CrashInstallInfo {
    uint16_t size; // sizeof(CrashInstallInfo)
    const char16_t* applicationName;
    const char16_t* applicationVersion;
    const char16_t* emailTo;
    const char16_t* emailSubject;
    const char16_t* url;
    const char16_t* senderFolder;
    LegacyCrashCallback legacyCallback;
    int32_t priorities[5];
    uint32_t flags;
    const char16_t* privacyPolicyUrl;
    const char16_t* debugHelpFolder;
    uint32_t minidumpType;
    const char16_t* reportFolder;
    const char16_t* restartCommand;
    const char16_t* languageFile;
    const char16_t* emailText;
    const char16_t* smtpProxy;
    const char16_t* customIcon;
    const char16_t* smtpLogin;
    const char16_t* smtpPassword;
    int32_t restartTimeout;
    int32_t maxReportsPerDay;
};

struct CrashExceptionInfo {
    uint16_t size; // sizeof(CrashExceptionInfo)
    void* exceptionPointers;
    uint32_t exceptionType;
    uint32_t exceptionCode;
    uint32_t fpeSubcode;
    const char16_t* expression;
    const char16_t* function;
    const char16_t* file;
    uint32_t line;
    int32_t manual;
    pid_t senderProcess;
};

enum CrashCallbackStage { CrashStageBeforeSender = 10, CrashStageAfterSender = 20 };

struct CrashCallbackInfo {
    uint16_t size; // sizeof(CrashCallbackInfo)
    int32_t stage;
    CrashExceptionInfo* exceptionInfo;
    void* userData;
    const char16_t* errorReportFolder;
    int32_t continueExecution;
};

// 0 cancels the report, 2 asks to be called at the next stage, anything else goes on without further calls.
using CrashCallback = int (*)(CrashCallbackInfo* info);

enum CrashFileFlags : uint32_t { CrashFileMakeCopy = 1, CrashFileAllowMissing = 2, CrashFileAllowDelete = 4 };

int installCrashReporter(const CrashInstallInfo* info);
int uninstallCrashReporter();
int setCrashCallback(CrashCallback callback, void* userData);
int addReportFile(const char16_t* path, const char16_t* destination, const char16_t* description, uint32_t flags);
int addReportProperty(const char16_t* name, const char16_t* value);
int addReportScreenshot(uint32_t flags, int jpegQuality);
int lastCrashReporterError(char16_t* buffer, int size);
int setLastCrashReporterError(const char16_t* text);
