#include <QtTest>

#include "app/Application.h"
#include "app/SettingsProvider.h"
#include "app/SplashProgressBar.h"
#include "app/Ui.h"
#include "platform/SingleInstanceChannel.h"
#include "resources/Resources.h"
#include "support/AppTestSupport.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/controls/CWindow.h"

#include <QScreen>
#include <QSvgRenderer>
#include <QtConcurrent>

#include <memory>

namespace {

int s_argc = 1;
char s_name[] = "tst_startupwindows";
char* s_argv[] = {s_name, nullptr};

const QString kName = QStringLiteral("ty startup windows test");

// Time passes only when the test says so.
struct ManualClock
{
    qint64 now = 0;
    Application::Clock function()
    {
        return [this] { return now; };
    }
};

} // namespace

// The start screen and the main window as the program's start-up shows them; each case makes
// its own application object and settings file.
class TestStartupWindows : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startScreenOpensOnKnownScreen_data();
    void startScreenOpensOnKnownScreen();
    void startScreenGetsItsArguments();
    void startScreenEventsAtMostEvery33Ms_data();
    void startScreenEventsAtMostEvery33Ms();
    void mainWindowIsMadeOnce();
    void startScreenHandsOverToMainWindow();
    void mainWindowShowsWithoutStartScreen();
    void wakeUpBringsMainWindowForward();
    void firstShowingIsSignalledOnce();
    void firstShowingHidesStartScreen();

private:
    Ui* ui() const { return static_cast<Ui*>(m_app->systemTools()); }
    // Sets up the settings and the picture the program uses.
    void makeApplication();

    std::unique_ptr<PrivateFolders> m_folders;
    std::unique_ptr<Application> m_app;
    SettingsProvider* m_settings = nullptr;
};

void TestStartupWindows::init()
{
    m_folders.reset(new PrivateFolders);
    QVERIFY(m_folders->isValid());
    makeApplication();
}

void TestStartupWindows::makeApplication()
{
    m_app.reset(new Application(s_argc, s_argv));
    QCoreApplication::setApplicationName(kName);
    m_app->setVersion(QStringLiteral("1.1.3"));
    initSlideshowResources();
    m_settings = new SettingsProvider(CApplicaiton::configFilePath(QStringLiteral("settings.ini")),
                                      QSettings::IniFormat, m_app.get());
    m_app->setSettings(m_settings);
}

void TestStartupWindows::cleanup()
{
    Application::setStartScreenClock(nullptr);
    m_app.reset();
    m_folders.reset();
}

void TestStartupWindows::startScreenOpensOnKnownScreen_data()
{
    QTest::addColumn<int>("lastScreen");
    QTest::newRow("the screen") << 0;
    QTest::newRow("a removed screen") << 3;
    QTest::newRow("negative") << -1;
}

void TestStartupWindows::startScreenOpensOnKnownScreen()
{
    QFETCH(int, lastScreen);
    m_settings->setValue(QStringLiteral("lastScreen"), lastScreen);
    QWidget* splash = m_app->showStartScreen(2000, true);
    QVERIFY(splash);
    QCOMPARE(m_app->startScreen(), splash);
    QVERIFY(m_app->isStartScreenVisible());
    QScreen* primary = QGuiApplication::primaryScreen();
    QCOMPARE(splash->screen(), primary);
    QCOMPARE(splash->geometry().center(), primary->geometry().center());
}

void TestStartupWindows::startScreenGetsItsArguments()
{
    auto* splash = qobject_cast<CStartScreen*>(m_app->showStartScreen(2000, true));
    QVERIFY(splash);
    const QSize pictureSize = QSvgRenderer(QStringLiteral(":/splash.svg")).defaultSize();
    QVERIFY(!pictureSize.isEmpty());
    QCOMPARE(splash->size(), pictureSize);
    const QRect area(QPoint(), pictureSize);
    // The version offset (0, 0) takes the default; the loading text sits left, 50 in and 104 up.
    QCOMPARE(splash->versionRect(), area.adjusted(105, 0, 0, -46));
    QCOMPARE(splash->loadingRect(), area.adjusted(50, 0, 0, -104));
    QCOMPARE(splash->font().family(), QStringLiteral("Segoe UI Semibold"));
    QCOMPARE(splash->font().pixelSize(), 28);
    // Tick 0: no dots, and it stays at least its minimum time.
    QCOMPARE(splash->loadingText(), QStringLiteral("Loading"));
    QVERIFY(!splash->isMinimumTimeOver());

    // A transparent version: nothing drawn where it would be; the white loading text is drawn.
    const QImage plain = splash->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = splash->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const auto differs = [&](const QRect& rect) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (plain.pixel(x, y) != drawn.pixel(x, y))
                    return true;
            }
        }
        return false;
    };
    const QFontMetrics metrics(splash->font());
    const QRect version = splash->versionRect();
    QVERIFY(!differs(QRect(version.left(), version.bottom() - metrics.height(), metrics.horizontalAdvance("v1.1.3"),
                           metrics.height())));
    const QRect loading = splash->loadingRect();
    QVERIFY(differs(QRect(loading.left(), loading.bottom() - metrics.height(), metrics.horizontalAdvance("Loading"),
                          metrics.height())));

    // The bar: 8 high, 28 in from the sides and the bottom.
    auto* bar = splash->findChild<SplashProgressBar*>();
    QVERIFY(bar);
    QTRY_COMPARE(bar->geometry(), QRect(28, area.height() - 28 - 8, area.width() - 56, 8));
}

void TestStartupWindows::startScreenEventsAtMostEvery33Ms_data()
{
    QTest::addColumn<QList<int>>("calls");  // clock readings of the calls, after the start screen at 0
    QTest::addColumn<QList<int>>("handled"); // the calls that handled the posted event
    QTest::newRow("within 33 ms") << QList<int>{10, 20, 33} << QList<int>{};
    QTest::newRow("after 33 ms, then within") << QList<int>{34, 50, 67} << QList<int>{0};
    QTest::newRow("twice apart") << QList<int>{34, 68} << QList<int>{0, 1};
}

void TestStartupWindows::startScreenEventsAtMostEvery33Ms()
{
    QFETCH(QList<int>, calls);
    QFETCH(QList<int>, handled);
    ManualClock clock;
    Application::setStartScreenClock(clock.function());
    QVERIFY(m_app->showStartScreen(2000, true));
    QList<int> seen;
    for (int i = 0; i < calls.size(); ++i) {
        int runs = 0;
        QMetaObject::invokeMethod(m_app.get(), [&runs] { ++runs; }, Qt::QueuedConnection);
        clock.now = calls.at(i);
        m_app->processStartScreenEvents();
        if (runs)
            seen << i;
        // Whatever was left waits no longer.
        QCoreApplication::processEvents();
    }
    QCOMPARE(seen, handled);
}

void TestStartupWindows::mainWindowIsMadeOnce()
{
    QSignalSpy created(ui(), &CSystemTools::mainWindowCreated);
    ui()->createMainWindowOnce();
    CWindow* window = ui()->mainWindow();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QVERIFY(window->windowTitle().startsWith(QStringLiteral("Kestrova Слайд-Шоу ")));
    QCOMPARE(created.count(), 1);
    QCOMPARE(created.at(0).at(0).value<CWindow*>(), window);
    ui()->createMainWindowOnce();
    QCOMPARE(ui()->mainWindow(), window);
    QCOMPARE(created.count(), 1);

    // The service deletes it.
    QPointer<CWindow> kept = window;
    m_app.reset();
    QVERIFY(!kept);
}

void TestStartupWindows::startScreenHandsOverToMainWindow()
{
    QPointer<QWidget> splash = m_app->showStartScreen(300, true);
    ui()->createMainWindowOnce();
    CWindow* window = ui()->mainWindow();
    // Not before the start screen's minimum time.
    QVERIFY(splash);
    QVERIFY(!window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 10000);
    QVERIFY(window->isVisible());
    QVERIFY(!m_app->isStartScreenVisible());
    QVERIFY(!m_app->startScreen());
}

void TestStartupWindows::mainWindowShowsWithoutStartScreen()
{
    ui()->createMainWindowOnce();
    QVERIFY(ui()->mainWindow()->isVisible());
}

void TestStartupWindows::wakeUpBringsMainWindowForward()
{
    QVERIFY(!m_app->isRunning());
    ui()->createMainWindowOnce();
    CWindow* window = ui()->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    window->showMinimized();
    QTRY_VERIFY(other.isActiveWindow());

    SingleInstanceChannel second(QStringLiteral("ty_slideshow"));
    QVERIFY(second.isRunning());
    HangWatchdog watchdog(20000, "wake-up message");
    QFuture<bool> sent = QtConcurrent::run([&second] { return second.sendMessage(QStringLiteral("Wake up!"), 5000); });
    QTRY_VERIFY_WITH_TIMEOUT(sent.isFinished(), 10000);
    QVERIFY(sent.result());
    QTRY_VERIFY(window->isActiveWindow());
    QVERIFY(window->isVisible());
    QVERIFY(!window->isMinimized());
}

void TestStartupWindows::firstShowingIsSignalledOnce()
{
    QSignalSpy ever(ui(), &CSystemTools::mainWindowShowedFirstTimeEver);
    QSignalSpy session(ui(), &CSystemTools::mainWindowShowedFirstTimeInCurrentSession);
    QVERIFY(m_settings->showFirstStartWizard());
    ui()->createMainWindowOnce();
    CWindow* window = ui()->mainWindow();
    // Queued after the showing.
    QCOMPARE(session.count(), 0);
    QTRY_COMPARE(session.count(), 1);
    QCOMPARE(ever.count(), 1);
    QVERIFY(!m_settings->showFirstStartWizard());
    window->hide();
    window->show();
    QCoreApplication::processEvents();
    QCOMPARE(session.count(), 1);
    QCOMPARE(ever.count(), 1);

    // The next run shows no wizard.
    m_app.reset();
    makeApplication();
    QSignalSpy everAgain(ui(), &CSystemTools::mainWindowShowedFirstTimeEver);
    QSignalSpy sessionAgain(ui(), &CSystemTools::mainWindowShowedFirstTimeInCurrentSession);
    ui()->createMainWindowOnce();
    QTRY_COMPARE(sessionAgain.count(), 1);
    QCOMPARE(everAgain.count(), 0);
}

void TestStartupWindows::firstShowingHidesStartScreen()
{
    QPointer<QWidget> splash = m_app->showStartScreen(60000, true);
    ui()->createMainWindowOnce();
    QVERIFY(m_app->isStartScreenVisible());
    // Shown some other way before the start screen's time is over.
    ui()->mainWindow()->show();
    QTRY_VERIFY(!m_app->isStartScreenVisible());
    QVERIFY(splash);
    // No widget outlives the application.
    m_app.reset();
    QVERIFY(!splash);
}

int main(int argc, char** argv)
{
    TestStartupWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startupwindows.moc"
