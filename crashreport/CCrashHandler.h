#pragma once

#include "crashreport/CrashHooks.h"
#include "crashreport/CrashReporterApi.h"
#include "crashreport/CrashSettings.h"
#include "crashreport/HandOverBlock.h"
#include "crashreport/NamedEvent.h"
#include "crashreport/SenderLaunch.h"
#include "crashreport/SharedMemoryBlock.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <sys/types.h>

// The one crash handler of the process: its settings, the report contents and the prepared report.
class CCrashHandler
{
public:
    CCrashHandler() = default;
    virtual ~CCrashHandler();
    CCrashHandler(const CCrashHandler&) = delete;
    CCrashHandler& operator=(const CCrashHandler&) = delete;

    static CCrashHandler* instance();

    int init(const CrashInstallInfo& info);
    int destroy();
    bool isInitialized() const { return m_initialized; }

    int setThreadHandlers(uint32_t flags);
    int unsetThreadHandlers();

    int addFile(const char16_t* path, const char16_t* destination, const char16_t* description, uint32_t flags);
    int addProperty(const char16_t* name, const char16_t* value);
    int addScreenshot(uint32_t flags, int jpegQuality);
    void setCrashCallback(CrashCallback callback, void* userData);

    int generateErrorReport(CrashExceptionInfo* info);
    int launchSender(const char* parameter, bool wait, pid_t* process);

    // Reports a failure that a hook caught. False when no handler is installed; otherwise returns only
    // when the process goes on.
    static bool handleFatalError(const FatalError& error);
    // True on the thread whose failure is being reported.
    static bool isReportingOnThisThread();

    const CrashSettings& settings() const { return m_settings; }
    const std::u16string& crashId() const { return m_crashId; }
    const unsigned char* header() const { return m_header; }

private:
    // The handlers of one thread, saved when its hooks are set.
    struct ThreadHandlers {
        uint32_t flags;
    };
    class CrashLock;

    bool takeIdentity(const CrashInstallInfo& info);
    bool takeOptions(const CrashInstallInfo& info);
    bool findSender(const CrashInstallInfo& info);
    bool createReportFolders(const CrashInstallInfo& info);
    bool prepareForNextCrash();
    unsigned char* buildHandOverBlock(SharedMemoryBlock& memory, bool recentReportsMode);
    void publish(CCrashHandler* handler);

    void report(const FatalError& error);
    void describeCrash(const CrashExceptionInfo& info);
    bool callClient(CrashCallbackStage stage, CrashExceptionInfo& info);
    static void writeLine(const std::string& line);

    static std::atomic<CCrashHandler*> s_instance;
    // The crash lock: the id of the thread that holds it, 0 when free.
    static std::atomic<pid_t> s_crashOwner;
    static std::atomic<pid_t> s_reportingThread;

    bool m_initialized = false;
    CrashSettings m_settings;
    LegacyCrashCallback m_legacyCallback = nullptr;
    ReportContents m_contents;

    std::mutex m_tableLock;
    std::map<pid_t, ThreadHandlers> m_threadHandlers;

    std::u16string m_crashId;
    std::string m_crashId8;
    NamedEvent m_crashEvent;
    std::u16string m_crashFolder;
    std::string m_crashFolder8;
    SharedMemoryBlock m_memory;
    HandOverBlock m_handOver;
    unsigned char* m_header = nullptr;
    SenderLaunch m_sender;
    std::string m_launchFailureLine;
    std::string m_nestedFaultLine;

    CrashCallback m_callback = nullptr;
    void* m_callbackUserData = nullptr;
    int m_callbackState = 2;
    bool m_continue = true;
};
