#include <QtTest>

#include "crashreport/CCrashHandler.h"
#include "crashreport/CrashHooks.h"
#include "crashreport/CrashReporterApi.h"
#include "support/CrashTestSupport.h"

#include <csignal>
#include <exception>
#include <new>

using namespace CrashHooks;

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGTERM};
// The C library adds its return trampoline to every action it sets, also to a default one it puts back.
constexpr int kRestorerFlag = 0x04000000;

void earlierHandler(int, siginfo_t*, void*) {}
void earlierTerminate() { std::abort(); }
void earlierNewHandler() {}

// Everything the hooks may replace.
struct Handlers {
    struct sigaction actions[NSIG];
    std::terminate_handler terminate;
    std::new_handler newHandler;
    stack_t alternateStack;

    static Handlers current()
    {
        Handlers handlers{};
        for (const int signal : kSignals)
            sigaction(signal, nullptr, &handlers.actions[signal]);
        handlers.terminate = std::get_terminate();
        handlers.newHandler = std::get_new_handler();
        sigaltstack(nullptr, &handlers.alternateStack);
        return handlers;
    }
};

bool sameAction(const struct sigaction& a, const struct sigaction& b)
{
    if (a.sa_handler != b.sa_handler || (a.sa_flags | kRestorerFlag) != (b.sa_flags | kRestorerFlag))
        return false;
    for (int signal = 1; signal < NSIG; ++signal) {
        if (sigismember(&a.sa_mask, signal) != sigismember(&b.sa_mask, signal))
            return false;
    }
    return true;
}

QList<int> changedSignals(const Handlers& before, const Handlers& after)
{
    QList<int> changed;
    for (const int signal : kSignals) {
        if (!sameAction(before.actions[signal], after.actions[signal]))
            changed << signal;
    }
    return changed;
}

} // namespace

class TestCrashHooks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void installsAndRestores_data();
    void installsAndRestores();
    void otherThreadsHaveNoThreadHooks();

private:
    QTemporaryDir m_data;
};

void TestCrashHooks::initTestCase()
{
    QVERIFY(m_data.isValid());
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    // Handlers of the process's own, with flags and a mask, that uninstalling must give back as they were.
    struct sigaction action {};
    action.sa_sigaction = &earlierHandler;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGUSR2);
    QCOMPARE(sigaction(SIGINT, &action, nullptr), 0);
    QCOMPARE(sigaction(SIGTERM, &action, nullptr), 0);
    std::set_terminate(&earlierTerminate);
    std::set_new_handler(&earlierNewHandler);
}

void TestCrashHooks::cleanup()
{
    if (CCrashHandler::instance())
        QCOMPARE(uninstallCrashReporter(), 0);
}

void TestCrashHooks::installsAndRestores_data()
{
    QTest::addColumn<uint>("flags");
    QTest::addColumn<bool>("senderThere");
    QTest::addColumn<QList<int>>("hookedSignals");
    QTest::addColumn<bool>("terminate");
    QTest::addColumn<bool>("newHandler");
    QTest::addColumn<uint>("processHooks");
    QTest::addColumn<uint>("threadHooks");
    QTest::addColumn<bool>("alternateStack");

    const QList<int> all{SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGTERM};
    // Seven for the process (two of them recorded only) and five for the thread (one recorded only).
    QTest::newRow("no selection: all") << 0u << true << all << true << true << 0x4DBu << 0xB06u << true;
    QTest::newRow("other bits only: all") << 0x604000u << true << all << true << true << 0x4DBu << 0xB06u << true;
    QTest::newRow("0x2: terminate and SIGTERM") << 0x2u << true << QList<int>{SIGTERM} << true << false << 0x2u
                                                << 0x2u << false;
    QTest::newRow("0x800: segmentation") << 0x800u << true << QList<int>{SIGSEGV, SIGBUS} << false << false << 0u
                                         << 0x800u << true;
    QTest::newRow("0x1: faults of any thread") << 0x1u << true << QList<int>{SIGSEGV, SIGBUS, SIGILL, SIGFPE}
                                               << false << false << 0x1u << 0u << true;
    QTest::newRow("0x20: none") << 0x20u << true << QList<int>{} << false << false << 0u << 0u << false;
    QTest::newRow("sender missing: none") << 0u << false << QList<int>{} << false << false << 0u << 0u << false;
}

void TestCrashHooks::installsAndRestores()
{
    QFETCH(uint, flags);
    QFETCH(bool, senderThere);
    QFETCH(QList<int>, hookedSignals);
    QFETCH(bool, terminate);
    QFETCH(bool, newHandler);
    QFETCH(uint, processHooks);
    QFETCH(uint, threadHooks);
    QFETCH(bool, alternateStack);

    const Handlers before = Handlers::current();
    TestInstall record;
    record.info.flags = flags;
    const std::u16string emptyFolder = u16(m_data.path());
    if (!senderThere)
        record.info.senderFolder = emptyFolder.c_str();
    QCOMPARE(installCrashReporter(&record.info), senderThere ? 0 : 4);

    const Handlers installed = Handlers::current();
    QCOMPARE(changedSignals(before, installed), hookedSignals);
    for (const int signal : hookedSignals) {
        QVERIFY(installed.actions[signal].sa_flags & SA_ONSTACK);
        QVERIFY(installed.actions[signal].sa_flags & SA_SIGINFO);
    }
    QCOMPARE(installed.terminate != before.terminate, terminate);
    QCOMPARE(installed.newHandler != before.newHandler, newHandler);
    QCOMPARE(CrashHooks::processHooks(), processHooks);
    QCOMPARE(CrashHooks::threadHooks(), threadHooks);
    QCOMPARE(installed.alternateStack.ss_sp != before.alternateStack.ss_sp, alternateStack);
    if (alternateStack)
        QCOMPARE(installed.alternateStack.ss_size, size_t(256 * 1024));

    if (senderThere)
        QCOMPARE(uninstallCrashReporter(), 0);
    const Handlers after = Handlers::current();
    QCOMPARE(changedSignals(before, after), QList<int>());
    QVERIFY(after.terminate == before.terminate);
    QVERIFY(after.newHandler == before.newHandler);
    QCOMPARE(after.alternateStack.ss_sp, before.alternateStack.ss_sp);
    QCOMPARE(after.alternateStack.ss_flags, before.alternateStack.ss_flags);
    QCOMPARE(CrashHooks::processHooks(), 0u);
    QCOMPARE(CrashHooks::threadHooks(), 0u);
}

void TestCrashHooks::otherThreadsHaveNoThreadHooks()
{
    TestInstall record;
    record.info.flags = 0;
    QCOMPARE(installCrashReporter(&record.info), 0);
    uint worker = 1;
    uint workerAfterItsOwn = 0;
    std::thread([&] {
        worker = CrashHooks::threadHooks();
        CCrashHandler::instance()->setThreadHandlers(0x100);
        workerAfterItsOwn = CrashHooks::threadHooks();
        CCrashHandler::instance()->unsetThreadHandlers();
    }).join();
    QCOMPARE(worker, 0u);
    QCOMPARE(workerAfterItsOwn, 0x100u);
    QCOMPARE(CrashHooks::threadHooks(), 0xB06u);
}

QTEST_GUILESS_MAIN(TestCrashHooks)
#include "tst_crashhooks.moc"
