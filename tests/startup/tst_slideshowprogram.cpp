#include <QtTest>

#include "app/StartupEnvironment.h"
#include "support/AppTestSupport.h"

#include <QProcess>

#include <memory>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral(TY_BIN_DIR "/ty_slideshow");
constexpr int kStartMs = 30000;

} // namespace

// ty_slideshow as a user starts it, on the offscreen platform, with folders of its own.
class TestSlideshowProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void waylandChoosesXcb_data();
    void waylandChoosesXcb();
    void secondStartWakesTheFirst();
    void killedPrimaryIsReplaced();
    void stoppedPrimaryMakesSecondFail();
    void otherRuntimeFolderIsIndependent();
    void waylandAloneStartsOnXcb();

private:
    // The test's environment on the offscreen platform, with that runtime folder when given.
    static QProcessEnvironment environment(const QString& runtime = QString());
    QProcess* start(const QProcessEnvironment& environment = TestSlideshowProgram::environment(),
                    QProcess::ProcessChannelMode mode = QProcess::ForwardedChannels);
    // The exit code of a start that must end by itself.
    int runToEnd(const QString& runtime = QString());
    bool waitUntilListening(const QString& runtime) const;
    // Until the lock names that process: a socket file may be left by a killed primary.
    bool waitUntilPrimary(const QString& runtime, const QProcess* process) const;
    QString socketIn(const QString& runtime) const;

    std::unique_ptr<PrivateFolders> m_folders;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void TestSlideshowProgram::init()
{
    m_folders.reset(new PrivateFolders);
    QVERIFY(m_folders->isValid());
    // No update check from a test.
    const QString config = m_folders->folder("XDG_CONFIG_HOME") + QStringLiteral("/Kestrova Slideshow Maker");
    QVERIFY(QDir().mkpath(config));
    QSettings settings(config + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("updateCheckerEnabled"), false);
}

void TestSlideshowProgram::cleanup()
{
    for (const auto& process : m_processes) {
        if (process->state() == QProcess::NotRunning)
            continue;
        ::kill(pid_t(process->processId()), SIGCONT);
        process->kill();
        process->waitForFinished(10000);
    }
    m_processes.clear();
    m_folders.reset();
}

QProcessEnvironment TestSlideshowProgram::environment(const QString& runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!runtime.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return environment;
}

QProcess* TestSlideshowProgram::start(const QProcessEnvironment& environment, QProcess::ProcessChannelMode mode)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(mode);
    process->start(kProgram, QStringList());
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

int TestSlideshowProgram::runToEnd(const QString& runtime)
{
    QProcess* process = start(environment(runtime));
    if (!process->waitForFinished(kStartMs) || process->exitStatus() != QProcess::NormalExit)
        return -1;
    return process->exitCode();
}

QString TestSlideshowProgram::socketIn(const QString& runtime) const
{
    return runtime + QStringLiteral("/ty_slideshow-%1.socket").arg(::getuid());
}

bool TestSlideshowProgram::waitUntilListening(const QString& runtime) const
{
    return QTest::qWaitFor([&] { return QFileInfo::exists(socketIn(runtime)); }, kStartMs);
}

bool TestSlideshowProgram::waitUntilPrimary(const QString& runtime, const QProcess* process) const
{
    const QString lock = runtime + QStringLiteral("/ty_slideshow-%1.lock").arg(::getuid());
    return QTest::qWaitFor([&] {
        QFile file(lock);
        return file.open(QIODevice::ReadOnly) && file.readLine().trimmed().toLongLong() == process->processId();
    }, kStartMs);
}

void TestSlideshowProgram::waylandChoosesXcb_data()
{
    QTest::addColumn<QByteArray>("wayland"); // "-" leaves a variable unset
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("wayland alone") << QByteArray("wayland-0") << QByteArray("-") << QByteArray("xcb");
    QTest::newRow("wayland and a platform") << QByteArray("wayland-0") << QByteArray("offscreen") << QByteArray("offscreen");
    QTest::newRow("wayland and an empty platform") << QByteArray("wayland-0") << QByteArray("") << QByteArray("");
    QTest::newRow("no wayland") << QByteArray("-") << QByteArray("-") << QByteArray("-");
    QTest::newRow("no wayland, a platform") << QByteArray("-") << QByteArray("minimal") << QByteArray("minimal");
}

void TestSlideshowProgram::waylandChoosesXcb()
{
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, expected);
    const QByteArray savedWayland = qgetenv("WAYLAND_DISPLAY");
    const QByteArray savedPlatform = qgetenv("QT_QPA_PLATFORM");
    const auto set = [](const char* name, const QByteArray& value) {
        if (value == "-")
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    set("WAYLAND_DISPLAY", wayland);
    set("QT_QPA_PLATFORM", platform);
    StartupEnvironment::chooseQtPlatform();
    const bool isSet = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    set("WAYLAND_DISPLAY", savedWayland.isNull() ? QByteArray("-") : savedWayland);
    set("QT_QPA_PLATFORM", savedPlatform.isNull() ? QByteArray("-") : savedPlatform);
    QCOMPARE(isSet ? chosen : QByteArray("-"), expected);
}

void TestSlideshowProgram::secondStartWakesTheFirst()
{
    const QString runtime = m_folders->folder("XDG_RUNTIME_DIR");
    QProcess* first = start();
    QVERIFY(waitUntilListening(runtime));
    QCOMPARE(runToEnd(), 0);
    QCOMPARE(runToEnd(), 0);
    QCOMPARE(first->state(), QProcess::Running);
}

void TestSlideshowProgram::killedPrimaryIsReplaced()
{
    const QString runtime = m_folders->folder("XDG_RUNTIME_DIR");
    QProcess* first = start();
    QVERIFY(waitUntilListening(runtime));
    QCOMPARE(runToEnd(), 0);
    ::kill(pid_t(first->processId()), SIGKILL);
    QVERIFY(first->waitForFinished(kStartMs));

    QProcess* next = start();
    QVERIFY(waitUntilPrimary(runtime, next));
    // The new one answers: a later start reaches it.
    QCOMPARE(runToEnd(), 0);
    QCOMPARE(next->state(), QProcess::Running);
}

void TestSlideshowProgram::stoppedPrimaryMakesSecondFail()
{
    const QString runtime = m_folders->folder("XDG_RUNTIME_DIR");
    QProcess* first = start();
    QVERIFY(waitUntilListening(runtime));
    QCOMPARE(runToEnd(), 0);
    ::kill(pid_t(first->processId()), SIGSTOP);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(runToEnd(), 1);
    // It waited out its five seconds for an answer.
    QVERIFY2(timer.elapsed() >= 4500, qPrintable(QString::number(timer.elapsed())));
    ::kill(pid_t(first->processId()), SIGCONT);
}

void TestSlideshowProgram::otherRuntimeFolderIsIndependent()
{
    const QString runtime = m_folders->folder("XDG_RUNTIME_DIR");
    const QString other = m_folders->folder("TMPDIR") + QStringLiteral("/other-runtime");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(QFile::setPermissions(other, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcess* first = start();
    QVERIFY(waitUntilListening(runtime));
    QProcess* elsewhere = start(environment(other));
    QVERIFY(waitUntilListening(other));
    QCOMPARE(runToEnd(other), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(elsewhere->state(), QProcess::Running);
}

void TestSlideshowProgram::waylandAloneStartsOnXcb()
{
    // No X server here: a program that picked xcb cannot start, and says so.
    QProcessEnvironment alone = environment();
    alone.remove(QStringLiteral("QT_QPA_PLATFORM"));
    alone.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-ty-test"));
    alone.insert(QStringLiteral("DISPLAY"), QStringLiteral(":ty-none"));
    QProcess* process = start(alone, QProcess::SeparateChannels);
    QVERIFY(process->waitForFinished(kStartMs));
    QVERIFY(process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0);
    QVERIFY2(process->readAllStandardError().contains("xcb"), "the xcb platform was not tried");
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestSlideshowProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_slideshowprogram.moc"
