// Installs the crash reporter, then fails in the way its last argument names. It tells the tests what
// they need on standard output: the report folder, the failing thread, the callback's stages.
//
// CrashProbe [--flags <hex>] [--sender <folder>] [--callback log|cancel|again|continue|fault]
//            [--delete-sender] [--uninstall] <failure>
// CrashProbe --reporter [--property <name>=<value>]... <failure>
// CrashProbe --wiring <local date and time> <failure>

#include "crashreport/CCrashHandler.h"
#include "crashreport/CrashReporterApi.h"
#include "crashreport/CrashUtils.h"
#include "crashreport/reporter/CrashReportGate.h"
#include "crashreport/reporter/CrashReporter.h"

#include <QCoreApplication>
#include <QDateTime>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

// Outside the anonymous namespace, so that the compiler cannot see every class derived from it.
struct PureBase {
    PureBase() { callRun(); }
    virtual ~PureBase() = default;
    virtual void run() = 0;
    __attribute__((noinline)) void callRun()
    {
        PureBase* volatile self = this;
        self->run();
    }
};

struct PureDerived : PureBase {
    void run() override {}
};

namespace {

enum ExitCode { Survived = 0, BadArguments = 2, NotInstalled = 3 };

volatile int g_zero = 0;
volatile int g_hundred = 100;
volatile int g_depthLimit = INT_MAX;
int* volatile g_null = nullptr;
volatile size_t g_hugeSize = size_t(1) << 62;
std::string g_callbackMode;

void say(const std::string& line)
{
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
}

void sayThread()
{
    say("thread " + std::to_string(::gettid()));
}

void sayReportFolder()
{
    const CCrashHandler* handler = CCrashHandler::instance();
    if (handler)
        say("report " + toUtf8(handler->settings().reportFolder + u"/" + handler->crashId()));
}

void nullWrite()
{
    sayThread();
    *g_null = 1;
}

__attribute__((noinline)) int recurse(int depth)
{
    volatile char pad[1024];
    pad[0] = char(depth);
    if (depth >= g_depthLimit)
        return pad[0];
    return recurse(depth + 1) + pad[0];
}

int callback(CrashCallbackInfo* info)
{
    say("stage " + std::to_string(info->stage));
    if (g_callbackMode == "cancel")
        return 0;
    if (g_callbackMode == "again")
        return 2;
    if (g_callbackMode == "continue")
        info->continueExecution = 1;
    if (g_callbackMode == "fault")
        *g_null = 2;
    return 1;
}

int fail(const std::string& failure)
{
    if (failure == "null-write") {
        nullWrite();
    } else if (failure == "worker-null-write") {
        std::thread(nullWrite).join();
    } else if (failure == "divide") {
        sayThread();
        say("quotient " + std::to_string(g_hundred / g_zero));
    } else if (failure == "trap") {
        sayThread();
        __builtin_trap();
    } else if (failure == "abort") {
        sayThread();
        std::abort();
    } else if (failure == "throw") {
        sayThread();
        throw std::runtime_error("probe");
    } else if (failure == "sigterm" || failure == "sigint") {
        sayThread();
        ::raise(failure == "sigterm" ? SIGTERM : SIGINT);
    } else if (failure == "new") {
        sayThread();
        ::operator delete(::operator new(g_hugeSize));
    } else if (failure == "pure") {
        sayThread();
        PureDerived derived;
    } else if (failure == "recursion") {
        sayThread();
        say("depth " + std::to_string(recurse(0)));
    } else if (failure == "sigterm-then-null-write") {
        sayThread();
        ::raise(SIGTERM);
        say("alive");
        sayReportFolder();
        nullWrite();
    } else if (failure != "none") {
        return BadArguments;
    }
    return Survived;
}

struct Options {
    std::map<std::string, std::string> values;
    std::vector<std::pair<QString, QString>> properties;
    std::string failure;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool switchOnly = argument == "--reporter" || argument == "--delete-sender" || argument == "--uninstall";
        if (switchOnly) {
            options.values[argument] = "1";
        } else if (argument.rfind("--", 0) == 0 && i + 1 < argc) {
            const QString value = QString::fromUtf8(argv[++i]);
            if (argument == "--property")
                options.properties.emplace_back(value.section('=', 0, 0), value.section('=', 1));
            else
                options.values[argument] = argv[i];
        } else if (i == argc - 1) {
            options.failure = argument;
        } else {
            return false;
        }
    }
    return !options.failure.empty();
}

bool installDirectly(const Options& options)
{
    CrashInstallInfo info{};
    info.size = sizeof(CrashInstallInfo);
    info.applicationName = u"Probe";
    info.applicationVersion = u"1.0";
    const auto flags = options.values.find("--flags");
    info.flags = flags == options.values.end() ? 0 : uint32_t(std::stoul(flags->second, nullptr, 16));
    const auto sender = options.values.find("--sender");
    const std::u16string senderFolder = sender == options.values.end() ? u"" : toUtf16(sender->second);
    info.senderFolder = senderFolder.c_str();
    if (installCrashReporter(&info) != 0)
        return false;
    const auto mode = options.values.find("--callback");
    if (mode != options.values.end()) {
        g_callbackMode = mode->second;
        setCrashCallback(&callback, nullptr);
    }
    if (options.values.count("--delete-sender"))
        ::unlink(toUtf8(CCrashHandler::instance()->settings().senderPath).c_str());
    return true;
}

// The programs' own set-up, then the application object goes.
void wire(int argc, char** argv, const std::string& now)
{
    auto* application = new QCoreApplication(argc, argv);
    const QDateTime time = QDateTime::fromString(QString::fromStdString(now), Qt::ISODate);
    const CrashReporter* reporter = CrashReportGate::setUp(application, time, "1.0", false, "machine");
    say(std::string("reporter ") + (reporter ? "1" : "0"));
    say(std::string("installed ") + (CCrashHandler::instance() ? "1" : "0"));
    sayReportFolder();
    delete application;
    say(std::string("installed ") + (CCrashHandler::instance() ? "1" : "0"));
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options))
        return BadArguments;
    std::unique_ptr<CrashReporter> reporter;
    const auto wiring = options.values.find("--wiring");
    if (wiring != options.values.end()) {
        wire(argc, argv, wiring->second);
    } else if (options.values.count("--reporter")) {
        reporter = std::make_unique<CrashReporter>("K Slideshow Maker", "1.1.3", true);
        for (const auto& property : options.properties)
            reporter->setProperty(property.first, property.second);
        if (!reporter->isInstalled())
            return NotInstalled;
    } else if (!installDirectly(options)) {
        return NotInstalled;
    }
    sayReportFolder();
    if (options.values.count("--uninstall") && uninstallCrashReporter() != 0)
        return NotInstalled;
    return fail(options.failure);
}
