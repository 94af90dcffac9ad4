#include "CCrashHandler.h"

#include "crashreport/CrashNames.h"
#include "crashreport/CrashUtils.h"
#include "crashreport/HandOverFormat.h"

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kStoreZipArchives = 0x80000;
constexpr uint32_t kDontSendReport = 0x8000;
constexpr char16_t kNoRoom[] = u"The crash report has no room for this item.";

std::u16string textOf(const char16_t* text)
{
    return text ? std::u16string(text) : std::u16string();
}

std::u16string orDefault(const char16_t* text, std::u16string fallback)
{
    return text && *text ? std::u16string(text) : fallback;
}

std::u16string withSlash(std::u16string folder)
{
    if (folder.empty() || folder.back() != u'/')
        folder += u'/';
    return folder;
}

long numberOf(std::u16string_view text)
{
    return std::strtol(toUtf8(text).c_str(), nullptr, 10);
}

// "host:port" into its host and port; the port is 25 without a colon.
void splitPort(const char16_t* text, std::u16string& host, uint32_t& port)
{
    host = textOf(text);
    port = 25;
    const size_t colon = host.find(u':');
    if (colon == std::u16string::npos)
        return;
    port = uint32_t(numberOf(host.substr(colon + 1)));
    host.resize(colon);
}

bool isBlank(std::u16string_view text)
{
    return text.find_first_not_of(u" \t\r\n\v\f") == std::u16string_view::npos;
}

bool isRegularFile(std::u16string_view path)
{
    struct stat st;
    return ::stat(toUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isExecutableFile(std::u16string_view path)
{
    return isRegularFile(path) && ::access(toUtf8(path).c_str(), X_OK) == 0;
}

bool failWith(const char16_t* text)
{
    setLastCrashReporterError(text);
    return false;
}

int refuse(const char16_t* text)
{
    setLastCrashReporterError(text);
    return 2;
}

} // namespace

// Re-entered by its holder: the crash callback adds items while the report holds the lock.
class CCrashHandler::CrashLock
{
public:
    CrashLock()
        : m_owned(s_crashOwner.load() != ::gettid())
    {
        if (m_owned)
            acquire();
    }
    ~CrashLock()
    {
        if (m_owned)
            s_crashOwner.store(0);
    }
    CrashLock(const CrashLock&) = delete;
    CrashLock& operator=(const CrashLock&) = delete;

    // Async-signal-safe: a failing thread waits here while another reports.
    static void acquire()
    {
        const pid_t self = ::gettid();
        for (pid_t free = 0; !s_crashOwner.compare_exchange_weak(free, self); free = 0) {
            const timespec pause{0, 1000000};
            ::nanosleep(&pause, nullptr);
        }
    }

private:
    bool m_owned;
};

std::atomic<CCrashHandler*> CCrashHandler::s_instance{nullptr};
std::atomic<pid_t> CCrashHandler::s_crashOwner{0};
std::atomic<pid_t> CCrashHandler::s_reportingThread{0};

CCrashHandler::~CCrashHandler()
{
    CCrashHandler* self = this;
    s_instance.compare_exchange_strong(self, nullptr);
}

CCrashHandler* CCrashHandler::instance()
{
    return s_instance.load();
}

int CCrashHandler::init(const CrashInstallInfo& info)
{
    if (!takeIdentity(info) || !takeOptions(info) || !findSender(info) || !createReportFolders(info)
        || !prepareForNextCrash())
        return 1;
    publish(this);
    CrashHooks::installProcessHooks(m_settings.flags);
    setLastCrashReporterError(u"Success.");
    if (setThreadHandlers(m_settings.flags) != 0) {
        publish(nullptr);
        CrashHooks::restoreAll();
        setLastCrashReporterError(u"Couldn't set C++ exception handlers for main execution thread.");
        return 1;
    }
    // The installing thread reports its own stack overflow on a stack of its own.
    if (CrashHooks::selected(m_settings.flags) & (CrashHooks::Faults | CrashHooks::Segmentation))
        CrashHooks::setAlternateStack();
    m_initialized = true;
    setLastCrashReporterError(u"Success.");
    return 0;
}

int CCrashHandler::destroy()
{
    if (!m_initialized) {
        setLastCrashReporterError(u"Can't destroy not initialized crash handler.");
        return 1;
    }
    CrashLock lock;
    publish(nullptr);
    CrashHooks::restoreAll();
    m_crashEvent.close();
    m_sender.close();
    m_handOver.detach();
    m_header = nullptr;
    m_memory.destroy();
    m_initialized = false;
    return 0;
}

int CCrashHandler::setThreadHandlers(uint32_t flags)
{
    std::lock_guard<std::mutex> lock(m_tableLock);
    if (!m_threadHandlers.emplace(::gettid(), ThreadHandlers{flags}).second) {
        setLastCrashReporterError(u"Can't install handlers for current thread twice.");
        return 1;
    }
    CrashHooks::setThreadHooks(flags);
    return 0;
}

int CCrashHandler::unsetThreadHandlers()
{
    std::lock_guard<std::mutex> lock(m_tableLock);
    if (m_threadHandlers.erase(::gettid()) == 0) {
        setLastCrashReporterError(u"Crash handler wasn't previously installed for current thread.");
        return 1;
    }
    // The signal hooks serve every thread: destroy puts the previous ones back.
    CrashHooks::clearThreadHooks();
    return 0;
}

int CCrashHandler::addFile(const char16_t* path, const char16_t* destination, const char16_t* description,
                           uint32_t flags)
{
    if (!path || !*path)
        return refuse(u"Invalid file name specified.");
    if (destination && isBlank(destination))
        return refuse(u"Invalid destination file name specified.");
    CrashLock lock;
    const std::u16string source(path);
    std::u16string target = destination ? std::u16string(destination) : fileNameOf(source);
    if (isSearchPattern(source)) {
        target = fileNameOf(source);
    } else {
        if (!(flags & CrashFileAllowMissing) && !isRegularFile(source))
            return refuse(u"The file does not exists or not a regular file.");
        if (m_contents.files.count(target))
            return refuse(u"A file with such a destination name already exists.");
    }
    const ReportFile file{source, textOf(description), (flags & CrashFileMakeCopy) != 0,
                          (flags & CrashFileAllowDelete) != 0};
    if (m_header && !m_handOver.appendFile(target, file))
        return refuse(kNoRoom);
    // During a report the item goes into the block only: the next report gets it from the callback again.
    if (!isReportingOnThisThread())
        m_contents.files[target] = file;
    return 0;
}

int CCrashHandler::addProperty(const char16_t* name, const char16_t* value)
{
    if (!name || !*name)
        return refuse(u"Invalid property name specified.");
    CrashLock lock;
    const std::u16string_view text = value ? std::u16string_view(value) : std::u16string_view();
    if (m_header && !m_handOver.appendProperty(name, text))
        return refuse(kNoRoom);
    if (!isReportingOnThisThread())
        m_contents.properties[name] = std::u16string(text);
    return 0;
}

int CCrashHandler::addScreenshot(uint32_t flags, int jpegQuality)
{
    if (jpegQuality < 0 || jpegQuality > 100) {
        setLastCrashReporterError(u"Invalid Jpeg quality.");
        return 1;
    }
    CrashLock lock;
    m_contents.screenshot = ScreenshotRequest{true, flags, jpegQuality};
    if (m_header)
        m_handOver.setScreenshot(m_contents.screenshot);
    return 0;
}

void CCrashHandler::setCrashCallback(CrashCallback callback, void* userData)
{
    CrashLock lock;
    m_callback = callback;
    m_callbackUserData = userData;
}

bool CCrashHandler::takeIdentity(const CrashInstallInfo& info)
{
    m_settings.minidumpType = info.minidumpType;
    m_settings.flags = info.flags;
    m_legacyCallback = info.legacyCallback;
    m_settings.programPath = modulePath();
    const std::string baseName = toUtf8(moduleBaseName(m_settings.programPath));
    m_launchFailureLine = baseName + " has stopped working: Error launching " + kSenderFileName + "\n";
    m_nestedFaultLine = baseName + ": a fatal error happened while a crash was reported\n";
    m_settings.appName = orDefault(info.applicationName, moduleBaseName(m_settings.programPath));
    m_settings.appVersion = orDefault(info.applicationVersion, productVersion(m_settings.programPath));
    if (m_settings.appVersion.empty())
        return failWith(u"Application version is not specified.");
    m_settings.customIcon = textOf(info.customIcon);
    const size_t comma = m_settings.customIcon.find(u',');
    if (comma != std::u16string::npos && numberOf(m_settings.customIcon.substr(comma + 1)) == -1)
        return failWith(u"Invalid index of custom icon (it should not equal to -1).");
    if ((info.flags & kStoreZipArchives) && !(info.flags & kDontSendReport))
        return failWith(u"The flag CR_INST_STORE_ZIP_ARCHIVES should be used with CR_INST_DONT_SEND_REPORT flag.");
    return true;
}

bool CCrashHandler::takeOptions(const CrashInstallInfo& info)
{
    m_settings.restartCommand = textOf(info.restartCommand);
    m_settings.restartTimeout = info.restartTimeout > 0 ? info.restartTimeout : 60;
    m_settings.maxReportsPerDay = info.maxReportsPerDay;
    m_settings.url = textOf(info.url);
    splitPort(info.emailTo, m_settings.emailTo, m_settings.emailPort);
    splitPort(info.smtpProxy, m_settings.smtpProxy, m_settings.smtpProxyPort);
    m_settings.smtpLogin = textOf(info.smtpLogin);
    m_settings.smtpPassword = m_settings.smtpLogin.empty() ? std::u16string() : textOf(info.smtpPassword);
    m_settings.emailSubject = orDefault(info.emailSubject, m_settings.appName + u" " + m_settings.appVersion
                                                               + u" Error Report");
    m_settings.emailText = textOf(info.emailText);
    for (int i = 0; i < 3; ++i)
        m_settings.priorities[i] = info.priorities[i];
    m_settings.privacyPolicyUrl = textOf(info.privacyPolicyUrl);
    return true;
}

bool CCrashHandler::findSender(const CrashInstallInfo& info)
{
    const std::u16string senderFolder = withSlash(orDefault(info.senderFolder, moduleFolder()));
    m_settings.senderPath = senderFolder + toUtf16(kSenderFileName);
    if (!isExecutableFile(m_settings.senderPath))
        return failWith(u"Brindlet is not found in the specified path.");
    m_settings.languageFile = orDefault(info.languageFile, senderFolder + u"crashrpt_lang.ini");
    m_settings.debugHelpFolder = withSlash(orDefault(info.debugHelpFolder, moduleFolder()));
    return true;
}

bool CCrashHandler::createReportFolders(const CrashInstallInfo& info)
{
    std::u16string folder = textOf(info.reportFolder);
    if (folder.empty()) {
        std::u16string dataFolder;
        if (specialFolder(SpecialFolder::LocalAppData, dataFolder) != 0)
            return failWith(u"Couldn't create crash report directory.");
        folder = dataFolder + u"/CrashReport/UnsentCrashReports/" + m_settings.appName + u"_" + m_settings.appVersion;
    }
    if (!createFolder(folder))
        return failWith(u"Couldn't create crash report directory.");
    if (!createFolder(folder + u"/Logs"))
        return failWith(u"Couldn't create logs directory.");
    m_settings.reportFolder = folder;
    return true;
}

bool CCrashHandler::prepareForNextCrash()
{
    std::u16string crashId;
    if (newGuidText(crashId) != 0)
        return failWith(u"Couldn't create crash identifier.");
    if (!m_crashEvent.create(crashEventName(crashId)))
        return failWith(u"Couldn't create crash event.");
    m_crashId = crashId;
    m_crashId8 = toUtf8(crashId);
    m_crashFolder = m_settings.reportFolder + u"/" + crashId;
    m_crashFolder8 = toUtf8(m_crashFolder);
    m_callbackState = 2;
    m_continue = true;
    if (!m_sender.prepare(toUtf8(m_settings.senderPath)))
        return failWith(u"Couldn't prepare the sender's start.");
    m_handOver.detach();
    m_memory.close();
    m_header = buildHandOverBlock(m_memory, false);
    return m_header != nullptr;
}

unsigned char* CCrashHandler::buildHandOverBlock(SharedMemoryBlock& memory, bool recentReportsMode)
{
    return m_handOver.build(memory, m_settings, m_contents, m_crashId, recentReportsMode);
}

void CCrashHandler::publish(CCrashHandler* handler)
{
    s_instance.store(handler);
}

bool CCrashHandler::handleFatalError(const FatalError& error)
{
    CCrashHandler* handler = instance();
    if (!handler)
        return false;
    if (s_crashOwner.load() == ::gettid()) {
        handler->m_memory.unlink();
        handler->m_crashEvent.unlink();
        writeLine(handler->m_nestedFaultLine);
        ::_exit(1);
    }
    CrashLock::acquire();
    // Uninstalled while this thread waited.
    if (instance() != handler) {
        s_crashOwner.store(0);
        return false;
    }
    handler->report(error);
    s_crashOwner.store(0);
    return true;
}

bool CCrashHandler::isReportingOnThisThread()
{
    return s_reportingThread.load() == ::gettid();
}

// Under the crash lock. Returns only when the process goes on.
void CCrashHandler::report(const FatalError& error)
{
    s_reportingThread.store(::gettid());
    m_continue = false;
    CrashExceptionInfo info{uint16_t(sizeof(CrashExceptionInfo)), error.context, error.type, error.code, error.subcode,
                            nullptr, nullptr, nullptr, 0, 0, 0};
    generateErrorReport(&info);
    // The sender has the block by now, or never takes it.
    m_memory.unlink();
    m_crashEvent.unlink();
    if (!m_continue || !error.mayContinue)
        ::_exit(1);
    s_reportingThread.store(0);
    prepareForNextCrash();
}

int CCrashHandler::generateErrorReport(CrashExceptionInfo* info)
{
    if (!info) {
        setLastCrashReporterError(u"Exception info is NULL.");
        return 1;
    }
    describeCrash(*info);
    if (!callClient(CrashStageBeforeSender, *info)) {
        setLastCrashReporterError(u"The operation was cancelled by client.");
        return 2;
    }
    if (launchSender(m_crashId8.c_str(), true, &info->senderProcess) != 0) {
        setLastCrashReporterError(u"Error launching Brindlet");
        writeLine(m_launchFailureLine);
        return 3;
    }
    callClient(CrashStageAfterSender, *info);
    setLastCrashReporterError(u"Success.");
    return 0;
}

int CCrashHandler::launchSender(const char* parameter, bool wait, pid_t* process)
{
    const pid_t sender = m_sender.start(parameter);
    if (sender < 0) {
        setLastCrashReporterError(u"Error creating sender process.");
        return 1;
    }
    if (wait)
        SenderLaunch::waitForTakeOver(m_crashEvent, sender);
    if (process)
        *process = sender;
    return 0;
}

// The crash's own fields of the prepared header. A 64-bit address does not fit its 32-bit field, and
// no dump is taken that could use it: the exception pointers field stays 0.
void CCrashHandler::describeCrash(const CrashExceptionInfo& info)
{
    if (!m_header)
        return;
    using namespace HandOver;
    writeU32(m_header + CrashHappened, 1);
    writeU32(m_header + ProcessId, uint32_t(::getpid()));
    writeU32(m_header + ThreadId, uint32_t(::gettid()));
    writeU32(m_header + ExceptionType, info.exceptionType);
    writeU32(m_header + ExceptionCode, info.exceptionCode);
    writeU32(m_header + FpeSubcode, info.fpeSubcode);
}

// False when the client cancels the report.
bool CCrashHandler::callClient(CrashCallbackStage stage, CrashExceptionInfo& info)
{
    if (!m_callback || m_callbackState != 2)
        return true;
    CrashCallbackInfo callbackInfo{uint16_t(sizeof(CrashCallbackInfo)), stage, &info, m_callbackUserData,
                                   m_crashFolder.c_str(), m_continue ? 1 : 0};
    m_callbackState = m_callback(&callbackInfo);
    m_continue = callbackInfo.continueExecution != 0;
    return m_callbackState != 0;
}

void CCrashHandler::writeLine(const std::string& line)
{
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}
