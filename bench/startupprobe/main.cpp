// ty_startup_probe, started by bench_startup: ty_slideshow's whole start-up in the profile its
// environment names, printing one line per step with the monotonic time in ns: "splash <ns>" at
// the start screen's first paint, "init <ns>" when init is over, "painted <ns>" at the main
// window's first paint; with --thumbnails also "rows
// <ns>" and "thumbnails <ns>" as the project page shows the reopened project, and "memory
// <resident kB> <peak kB>". Then, once the start screen is gone, the main window is closed
// ("closing", "closed") and the program ends as it does for a user.
//   ty_startup_probe [--thumbnails]
#include "BenchTiming.h"

#include "support/MainWindowWatch.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SlideshowMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kTimeoutMs = 120000;

void stamp(const char* step)
{
    std::printf("%s %lld\n", step, static_cast<long long>(monotonicNs()));
    std::fflush(stdout);
}

// Stamps the first paint of the process, which is the start screen's.
class StartScreenPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            stamp("splash");
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }
};

// Runs as the application object is made, before the start screen shows.
void watchStartScreen()
{
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new StartScreenPaint(app));
}

Q_COREAPP_STARTUP_FUNCTION(watchStartScreen)

void closeWindow()
{
    stamp("closing");
    MainWindowWatch::mainWindow()->close();
    stamp("closed");
}

// The start screen hands over in a loop of its own that waits up to a second for the main window
// to be exposed; a window closed inside it would have the program wait that out.
void closeWindowOnceStartScreenGone(const Application& app)
{
    if (QWidget* startScreen = app.startScreen())
        QObject::connect(startScreen, &QObject::destroyed, closeWindow);
    else
        closeWindow();
}

} // namespace

int main(int argc, char** argv)
{
    const bool thumbnails = argc > 1 && std::strcmp(argv[1], "--thumbnails") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int programArgc = 1;
    return runSlideshow(programArgc, argv, [thumbnails](Application& app) {
        stamp("init");
        auto* watch = new MainWindowWatch(&app);
        QObject::connect(watch, &MainWindowWatch::windowPainted, [] { stamp("painted"); });
        QObject::connect(watch, &MainWindowWatch::rowsShown, [] { stamp("rows"); });
        QObject::connect(watch, &MainWindowWatch::thumbnailsPainted, [] {
            stamp("thumbnails");
            std::printf("memory %ld %ld\n", residentKb(), peakResidentKb());
        });
        const auto done = thumbnails ? &MainWindowWatch::thumbnailsPainted : &MainWindowWatch::windowPainted;
        QObject::connect(watch, done, watch, [&app] { closeWindowOnceStartScreenGone(app); }, Qt::QueuedConnection);
        QTimer::singleShot(kTimeoutMs, watch, [watch] {
            std::fprintf(stderr, "ty_startup_probe: timed out (%s)\n", qPrintable(watch->state()));
            QCoreApplication::exit(3);
        });
    });
}
