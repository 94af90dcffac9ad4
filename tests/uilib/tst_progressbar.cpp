#include "support/UiTestSupport.h"

#include "platform/DBusTaskbarProgress.h"
#include "platform/RecordingTaskbarProgress.h"
#include "uilib/controls/CProgressBar.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>

#include <climits>

Q_DECLARE_METATYPE(CProgressBar::State)

namespace {

// Keeps the launcher updates that reach the session bus.
class LauncherListener : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> updates;
    QStringList uris;

public slots:
    void update(const QString& uri, const QVariantMap& properties)
    {
        uris << uri;
        updates << properties;
    }
};

} // namespace

class TestProgressBar : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void percentage_data();
    void percentage();
    void mirrorFollowsState_data();
    void mirrorFollowsState();
    void mirrorWaitsForNativeWindow();
    void mirrorOnceAndOffClears();
    void mirrorFollowsValue();
    void dbusUpdateProperties_data();
    void dbusUpdateProperties();
    void launcherSignalReachesSessionBus();
};

void TestProgressBar::init()
{
    RecordingTaskbarProgress::install();
}

void TestProgressBar::cleanup()
{
    RecordingTaskbarProgress::uninstall();
}

void TestProgressBar::percentage_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("percent");
    QTest::newRow("a quarter") << 0 << 200 << 50 << 25;
    QTest::newRow("a third") << 0 << 3 << 1 << 33;
    QTest::newRow("two thirds round up") << 0 << 3 << 2 << 67;
    QTest::newRow("offset range") << -100 << 100 << 0 << 50;
    QTest::newRow("empty range") << 5 << 5 << 5 << 0;
    QTest::newRow("reversed range") << 10 << 0 << 5 << 0;
    QTest::newRow("reset value below the minimum") << 0 << 100 << -1 << 0;
    QTest::newRow("above the maximum") << 0 << 100 << 150 << 100;
    QTest::newRow("whole int range") << INT_MIN << INT_MAX << 0 << 50;
}

void TestProgressBar::percentage()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, percent);
    QCOMPARE(CProgressBar::percentage(minimum, maximum, value), percent);
}

void TestProgressBar::mirrorFollowsState_data()
{
    QTest::addColumn<CProgressBar::State>("state");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("paused");
    QTest::newRow("normal") << CProgressBar::Normal << 100 << 25 << false;
    QTest::newRow("indeterminate is busy") << CProgressBar::Indeterminate << 0 << 0 << false;
    QTest::newRow("paused") << CProgressBar::Paused << 100 << 25 << true;
}

void TestProgressBar::mirrorFollowsState()
{
    QFETCH(CProgressBar::State, state);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(bool, paused);
    const CProgressBar::Mirror shown = CProgressBar::mirror(state, 0, 200, 50);
    QCOMPARE(shown.minimum, 0);
    QCOMPARE(shown.maximum, maximum);
    QCOMPARE(shown.value, value);
    QCOMPARE(shown.paused, paused);
}

void TestProgressBar::mirrorWaitsForNativeWindow()
{
    QWidget window;
    auto* bar = new CProgressBar(-1, &window);
    bar->setRange(0, 3);
    bar->setValue(1);
    bar->setTaskbarProgressVisible(true);
    QVERIFY(!bar->isTaskbarProgressVisible());
    QVERIFY(RecordingTaskbarProgress::made().isEmpty());
    window.show();
    QVERIFY(window.windowHandle());
    bar->setTaskbarProgressVisible(true);
    QVERIFY(bar->isTaskbarProgressVisible());
    QCOMPARE(RecordingTaskbarProgress::liveCount(), 1);
    TaskbarProgress* progress = bar->taskbarProgress();
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 33);
    QVERIFY(progress->isVisible());
    QVERIFY(!progress->isPaused());
}

void TestProgressBar::mirrorOnceAndOffClears()
{
    QWidget window;
    auto* bar = new CProgressBar(-1, &window);
    window.show();
    bar->setTaskbarProgressVisible(true);
    bar->setTaskbarProgressVisible(true);
    QCOMPARE(RecordingTaskbarProgress::made().size(), 1);
    bar->setTaskbarProgressVisible(false);
    QVERIFY(!bar->isTaskbarProgressVisible());
    QCOMPARE(RecordingTaskbarProgress::liveCount(), 0);
    // Value changes after off reach nothing; on again makes a new one.
    bar->setValue(40);
    bar->setTaskbarProgressVisible(true);
    QCOMPARE(RecordingTaskbarProgress::made().size(), 2);
    QCOMPARE(bar->taskbarProgress()->value(), 40);
    // The bar takes its mirror with it.
    delete bar;
    QCOMPARE(RecordingTaskbarProgress::liveCount(), 0);
}

void TestProgressBar::mirrorFollowsValue()
{
    QWidget window;
    auto* bar = new CProgressBar(-1, &window);
    bar->setRange(0, 200);
    window.show();
    bar->setTaskbarProgressVisible(true);
    auto* progress = qobject_cast<RecordingTaskbarProgress*>(bar->taskbarProgress());
    QVERIFY(progress);
    bar->setValue(50);
    QCOMPARE(progress->value(), 25);
    const int updates = progress->updates();
    bar->setValue(51);
    QCOMPARE(progress->value(), 26);
    QCOMPARE(progress->updates(), updates + 1);
    // The reset value, one below the minimum, shows nothing done.
    bar->setTaskbarProgressVisible(false);
    bar->reset();
    QCOMPARE(bar->value(), -1);
    bar->setTaskbarProgressVisible(true);
    QCOMPARE(bar->taskbarProgress()->value(), 0);
    QCOMPARE(bar->taskbarProgress()->maximum(), 100);
}

void TestProgressBar::dbusUpdateProperties_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<double>("progress");
    QTest::addColumn<bool>("shown");
    QTest::newRow("a quarter") << 100 << 25 << true << 0.25 << true;
    QTest::newRow("busy shows nothing") << 0 << 0 << true << 0.0 << false;
    QTest::newRow("hidden") << 100 << 50 << false << 0.5 << false;
    QTest::newRow("beyond the end") << 100 << 120 << true << 1.0 << true;
}

void TestProgressBar::dbusUpdateProperties()
{
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(bool, visible);
    QFETCH(double, progress);
    QFETCH(bool, shown);
    const QVariantMap properties = DBusTaskbarProgress::updateProperties(0, maximum, value, visible);
    QCOMPARE(properties.value("progress").toDouble(), progress);
    QCOMPARE(properties.value("progress-visible").toBool(), shown);
}

void TestProgressBar::launcherSignalReachesSessionBus()
{
    const char* const childMark = "TY_DBUS_SESSION_CHILD";
    if (qEnvironmentVariableIsEmpty(childMark)) {
        const QString runner = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
        if (runner.isEmpty())
            QSKIP("dbus-run-session is missing");
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(childMark, QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(runner, {QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                             QStringLiteral("launcherSignalReachesSessionBus")});
        QVERIFY2(child.waitForFinished(60000), "the session bus test did not end");
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
        return;
    }
    RecordingTaskbarProgress::uninstall();
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.isConnected());
    LauncherListener listener;
    QVERIFY(bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                        QStringLiteral("Update"), &listener, SLOT(update(QString, QVariantMap))));
    QWidget window;
    auto* bar = new CProgressBar(-1, &window);
    bar->setRange(0, 200);
    bar->setValue(50);
    window.show();
    bar->setTaskbarProgressVisible(true);
    QTRY_VERIFY_WITH_TIMEOUT(!listener.updates.isEmpty()
                                 && listener.updates.last().value("progress").toDouble() == 0.25,
                             20000);
    QCOMPARE(listener.uris.last(), QString("application://ty_slideshow.desktop"));
    QCOMPARE(listener.updates.last().value("progress-visible").toBool(), true);
    bar->setTaskbarProgressVisible(false);
    QTRY_VERIFY_WITH_TIMEOUT(!listener.updates.last().value("progress-visible").toBool(), 20000);
}

TY_UI_TEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
