// ty_slideshow on a real X server: its start screen with the moving bar, then its main window,
// which a second start brings to the top and activates.

#include "support/AppTestSupport.h"
#include "support/UiTestSupport.h"

#include <QtTest>

#include <QProcess>
#include <QScreen>
#include <QWidget>
#include <QX11Info>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

const QString kProgram = QStringLiteral(TY_BIN_DIR "/ty_slideshow");
const QString kTitle = QStringLiteral("Kestrova Slideshow Maker");
// The main window names itself with its interface title and version.
const QString kMainTitle = QStringLiteral("Kestrova Слайд-Шоу ");
constexpr int kStartMs = 30000;

// A window property of that type as the server holds it.
struct Property
{
    Property(Window window, const char* name, Atom type, long length)
    {
        Display* display = QX11Info::display();
        Atom actualType = None;
        unsigned long after = 0;
        if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, length, False, type,
                               &actualType, &format, &count, &after, &data)
            != Success)
            data = nullptr;
    }
    ~Property()
    {
        if (data)
            XFree(data);
    }
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    unsigned char* data = nullptr;
    int format = 0;
    unsigned long count = 0;
};

// A property of one 32-bit item, or nothing.
std::optional<unsigned long> cardinalProperty(Window window, const char* name, Atom type)
{
    const Property property(window, name, type, 1);
    if (!property.data || property.format != 32 || property.count != 1)
        return std::nullopt;
    return *reinterpret_cast<const unsigned long*>(property.data);
}

QString utf8Property(Window window, const char* name)
{
    const Property property(window, name, XInternAtom(QX11Info::display(), "UTF8_STRING", False), 1024);
    if (!property.data)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char*>(property.data), int(property.count));
}

struct TopWindow
{
    Window id = 0;
    QRect geometry;
    bool splash = false;
    QString title;
};

// The viewable top-level windows of the display, bottom to top.
std::vector<Window> viewableWindows()
{
    Display* display = QX11Info::display();
    XSync(display, False);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found.push_back(children[i]);
    }
    XFree(children);
    return found;
}

// Those of that process.
std::vector<TopWindow> windowsOf(qint64 pid)
{
    Display* display = QX11Info::display();
    const Atom splashType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_SPLASH", False);
    std::vector<TopWindow> found;
    for (Window id : viewableWindows()) {
        if (cardinalProperty(id, "_NET_WM_PID", XA_CARDINAL) != std::optional<unsigned long>(pid))
            continue;
        XWindowAttributes attributes;
        XGetWindowAttributes(display, id, &attributes);
        TopWindow window;
        window.id = id;
        window.geometry = QRect(attributes.x, attributes.y, attributes.width, attributes.height);
        window.splash = cardinalProperty(id, "_NET_WM_WINDOW_TYPE", XA_ATOM) == std::optional<unsigned long>(splashType);
        window.title = utf8Property(id, "_NET_WM_NAME");
        found.push_back(window);
    }
    return found;
}

std::optional<TopWindow> find(qint64 pid, const std::function<bool(const TopWindow&)>& test)
{
    for (const TopWindow& window : windowsOf(pid)) {
        if (test(window))
            return window;
    }
    return std::nullopt;
}

Window topWindow()
{
    const std::vector<Window> windows = viewableWindows();
    return windows.empty() ? Window(0) : windows.back();
}

Window focusWindow()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(QX11Info::display(), &focus, &revert);
    return focus;
}

QImage screenshot(const QRect& rect)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

// Yellow 0xffea00 to orange 0xffa135 and the blends between them.
bool isBarColour(const QColor& color)
{
    return color.red() > 235 && color.green() > 140 && color.blue() < 80;
}

// Kept when TY_SCREENSHOT_DIR names a folder, for a person to look at.
void keep(const QImage& image, const char* name)
{
    const QString folder = qEnvironmentVariable("TY_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

} // namespace

class SlideshowScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }
    void init();
    void cleanup();
    void startScreenThenMainWindow();

private:
    QProcess* start(const QProcessEnvironment& environment);

    std::unique_ptr<PrivateFolders> m_folders;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

void SlideshowScreensTest::init()
{
    m_folders.reset(new PrivateFolders);
    QVERIFY(m_folders->isValid());
    const QString config = m_folders->folder("XDG_CONFIG_HOME") + QLatin1Char('/') + kTitle;
    QVERIFY(QDir().mkpath(config));
    QSettings settings(config + QStringLiteral("/settings.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("updateCheckerEnabled"), false);
}

void SlideshowScreensTest::cleanup()
{
    for (const auto& process : m_processes) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->kill();
        process->waitForFinished(10000);
    }
    m_processes.clear();
    m_folders.reset();
}

QProcess* SlideshowScreensTest::start(const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(kProgram, QStringList());
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

void SlideshowScreensTest::startScreenThenMainWindow()
{
    HangWatchdog watchdog(100000, "start screen and main window");
    // A Wayland session as Qt would see it: the program still takes the X server.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-ty-test"));
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    QProcess* first = start(environment);
    QVERIFY(first->waitForStarted(kStartMs));
    const qint64 pid = first->processId();

    const auto isSplash = [](const TopWindow& window) { return window.splash; };
    QTRY_VERIFY_WITH_TIMEOUT(find(pid, isSplash), kStartMs);
    const QRect splash = find(pid, isSplash)->geometry;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2((splash.center() - screen.center()).manhattanLength() <= 2, qPrintable(QString::number(splash.x())));

    // The bar lies near the bottom, 28 in from the sides (in logical pixels); its bands move.
    int barY = -1;
    const auto findBar = [&] {
        const QImage shot = screenshot(splash);
        for (int y = shot.height() - 1; y > shot.height() - 60 && barY < 0; --y) {
            if (isBarColour(shot.pixelColor(shot.width() / 2, y)))
                barY = y;
        }
        return barY >= 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(findBar(), 5000);
    const QImage firstShot = screenshot(splash);
    keep(firstShot, "splash");
    // Picture above it, and the bar's ends inside the splash.
    QVERIFY(!isBarColour(firstShot.pixelColor(firstShot.width() / 2, barY - 16)));
    QVERIFY(!isBarColour(firstShot.pixelColor(10, barY)));
    QVERIFY(isBarColour(firstShot.pixelColor(40, barY)));
    const QRect barRow(40, barY, splash.width() - 80, 1);
    const QImage bar = firstShot.copy(barRow);
    QTRY_VERIFY_WITH_TIMEOUT(!find(pid, isSplash) || screenshot(splash).copy(barRow) != bar, 5000);
    keep(screenshot(splash), "splash-later");

    // Then the main window, the start screen gone.
    const auto isMain = [](const TopWindow& window) { return !window.splash && window.title.startsWith(kMainTitle); };
    QTRY_VERIFY_WITH_TIMEOUT(find(pid, isMain) && !find(pid, isSplash), kStartMs);
    const TopWindow main = *find(pid, isMain);
    // Painted over what the start screen left on the screen.
    const auto hasBarColour = [](const QImage& image) {
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                if (isBarColour(image.pixelColor(x, y)))
                    return true;
            }
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(!hasBarColour(screenshot(main.geometry)), 5000);
    const QImage mainShot = screenshot(main.geometry);
    keep(mainShot, "main-window");
    QVERIFY(!isFlatImage(mainShot));
    QTRY_COMPARE(focusWindow(), main.id);

    // Another window on top, holding the focus; a second start brings the main window back.
    QWidget cover;
    cover.setWindowTitle(QStringLiteral("Cover"));
    cover.setGeometry(main.geometry.adjusted(-10, -10, 10, 10));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.activateWindow();
    QTRY_COMPARE(topWindow(), Window(cover.winId()));
    QTRY_COMPARE(focusWindow(), Window(cover.winId()));

    QProcess* second = start(environment);
    QVERIFY(second->waitForFinished(kStartMs));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE(topWindow(), main.id);
    QTRY_COMPARE(focusWindow(), main.id);
    QCOMPARE(first->state(), QProcess::Running);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SlideshowScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_slideshowscreens.moc"
