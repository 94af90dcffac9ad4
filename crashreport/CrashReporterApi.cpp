#include "CrashReporterApi.h"

#include "crashreport/CCrashHandler.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <unistd.h>

namespace {

std::mutex& errorLock()
{
    static std::mutex lock;
    return lock;
}

std::map<pid_t, std::u16string>& errorTexts()
{
    static std::map<pid_t, std::u16string> texts;
    return texts;
}

void clearErrorTexts()
{
    std::lock_guard<std::mutex> lock(errorLock());
    errorTexts().clear();
}

// The initialised handler of the process, or null with the calling thread's text set.
CCrashHandler* installedHandler()
{
    CCrashHandler* handler = CCrashHandler::instance();
    if (handler && handler->isInitialized())
        return handler;
    setLastCrashReporterError(u"Crash handler wasn't previously installed for current process.");
    return nullptr;
}

int finish(int result)
{
    if (result == 0)
        setLastCrashReporterError(u"Success.");
    return result;
}

int fail(int result, const char16_t* text)
{
    setLastCrashReporterError(text);
    return result;
}

} // namespace

int installCrashReporter(const CrashInstallInfo* info)
{
    setLastCrashReporterError(u"Unspecified error.");
    if (!info || info->size != sizeof(CrashInstallInfo))
        return fail(1, u"pInfo is NULL or pInfo->cb member is not valid.");
    const CCrashHandler* existing = CCrashHandler::instance();
    if (existing && existing->isInitialized())
        return fail(2, u"Can't install crash handler to the same process twice.");
    CCrashHandler* handler = new (std::nothrow) CCrashHandler;
    if (!handler)
        return fail(3, u"Error allocating memory for crash handler.");
    if (handler->init(*info) != 0) {
        delete handler;
        return 4;
    }
    return finish(0);
}

int uninstallCrashReporter()
{
    setLastCrashReporterError(u"Unspecified error.");
    CCrashHandler* handler = CCrashHandler::instance();
    if (!handler)
        return fail(1, u"Crash handler wasn't preiviously installed for this process.");
    if (handler->unsetThreadHandlers() != 0)
        return 2;
    if (handler->destroy() != 0)
        return 3;
    delete handler;
    clearErrorTexts();
    return 0;
}

int setCrashCallback(CrashCallback callback, void* userData)
{
    setLastCrashReporterError(u"Unspecified error.");
    CCrashHandler* handler = installedHandler();
    if (!handler)
        return 1;
    handler->setCrashCallback(callback, userData);
    return finish(0);
}

int addReportFile(const char16_t* path, const char16_t* destination, const char16_t* description, uint32_t flags)
{
    setLastCrashReporterError(u"Unspecified error.");
    CCrashHandler* handler = installedHandler();
    return handler ? finish(handler->addFile(path, destination, description, flags)) : 1;
}

int addReportProperty(const char16_t* name, const char16_t* value)
{
    setLastCrashReporterError(u"Unspecified error.");
    CCrashHandler* handler = installedHandler();
    return handler ? finish(handler->addProperty(name, value)) : 1;
}

int addReportScreenshot(uint32_t flags, int jpegQuality)
{
    setLastCrashReporterError(u"Unspecified error.");
    CCrashHandler* handler = installedHandler();
    return handler ? finish(handler->addScreenshot(flags, jpegQuality)) : 1;
}

int lastCrashReporterError(char16_t* buffer, int size)
{
    if (!buffer || size <= 0)
        return -1;
    std::u16string text = u"No error.";
    {
        std::lock_guard<std::mutex> lock(errorLock());
        const auto it = errorTexts().find(::gettid());
        if (it != errorTexts().end())
            text = it->second;
    }
    const size_t count = std::min(text.size(), size_t(size - 1));
    text.copy(buffer, count);
    buffer[count] = 0;
    return int(count);
}

int setLastCrashReporterError(const char16_t* text)
{
    // A thread whose failure is being reported takes no lock and allocates nothing.
    if (CCrashHandler::isReportingOnThisThread())
        return 0;
    std::lock_guard<std::mutex> lock(errorLock());
    errorTexts()[::gettid()] = text ? text : u"";
    return 0;
}
