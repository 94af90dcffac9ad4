#pragma once

// Support for widget tests (tests/uilib and every later GUI area) and for ty_gallery.
//
//   TY_UI_TEST_MAIN(MyTest)         main() with a CApplicaiton whose settings live in a temporary folder
//   UiTestEnvironment::settings()   that settings object
//   ManualAnimationClock clock;     animations run only when the test calls clock.advance(ms)
//   NestedLoopWatchdog dog(5000);   a nested loop still running after 5 s fails the test and is ended
//   paintAtRatio(size, r, fn)       paints into a QImage at device pixel ratio r (see testRatios())
//   renderWidget(w, r)              the widget rendered at ratio r
//   paintInScope(size, r, fn)       paints through a CPainterScope at ratio r
//   writeSquareSvg(path, side, c)   a one-colour square SVG fixture
//   fileUrlsMime(paths)             new drag data holding the paths as file URLs
//   devicePixel(img, x, y)          pixel probes in device pixels; logicalPixel() in logical ones
//   DarkTestPalette                 a dark palette, registered by registerDarkTestPalette()
//   WindowPointer pointer(window);  mouse presses, moves and releases at global points
//   clickAsUser(button)             a user's click through the button's window, true once it came through
//   WindowMouse mouse(&window);     left-button presses, moves and releases routed as a user's
//
// A test area links it with ty_add_tests(<area> uilib_support) and includes "support/UiTestSupport.h".

#include "uilib/style/Cpalette.h"

#include <QAnimationDriver>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

class CApplicaiton;
class CButton;
class CPainterScope;
class CSettingsStorage;
class QEventLoop;
class QMimeData;

// The application of a widget test, with settings in a temporary folder.
class UiTestEnvironment
{
public:
    UiTestEnvironment(int& argc, char** argv);
    ~UiTestEnvironment();

    static UiTestEnvironment* instance();
    static CSettingsStorage* settings();
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CApplicaiton> m_app;
    std::unique_ptr<CSettingsStorage> m_settings;
};

template <class Test>
int runUiTest(int argc, char** argv)
{
    UiTestEnvironment environment(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

#define TY_UI_TEST_MAIN(Test) \
    int main(int argc, char** argv) { return runUiTest<Test>(argc, argv); }

// Replaces the animation timer while it lives: time passes only through advance().
class ManualAnimationClock : public QAnimationDriver
{
public:
    ManualAnimationClock();
    ~ManualAnimationClock() override;

    // Delivers posted events first, so animations started just now are registered and start at
    // the current time, then moves the clock on by `ms`.
    void advance(int ms);
    qint64 elapsed() const override { return m_elapsed; }

protected:
    // Qt restarts its animation time with the driver, when animations start after a pause.
    void start() override;
    void stop() override;

private:
    using QAnimationDriver::advance;
    qint64 m_elapsed = 0;
};

// Fails the test and ends a nested event loop (the given one, modal dialogs and popups) that
// still runs after the timeout, so a faulty test fails instead of hanging.
class NestedLoopWatchdog : public QObject
{
public:
    explicit NestedLoopWatchdog(int timeoutMs = 10000, QEventLoop* loop = nullptr);
    bool fired() const { return m_fired; }
    // A timeout then ends the loop without failing the test (for testing a timeout itself).
    void expectTimeout() { m_expected = true; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QPointer<QEventLoop> m_loop;
    bool m_fired = false;
    bool m_expected = false;
    int m_timer = 0;
};

// The device pixel ratios where snapping matters.
QList<double> testRatios();
// Adds one row per test ratio to a _data function with a "ratio" column of type double.
void addRatioRows();
QImage paintAtRatio(const QSize& logicalSize, double ratio, const std::function<void(QPainter*)>& paint,
                    const QColor& background = Qt::transparent);
QImage renderWidget(QWidget* widget, double ratio, const QColor& background = Qt::transparent);
// Paints through a painter scope whose area is the whole image.
QImage paintInScope(const QSize& logicalSize, double ratio, const std::function<void(CPainterScope&)>& paint);
// Writes an SVG of one square of the colour, side x side units; the path, or empty when it failed.
QString writeSquareSvg(const QString& path, int side, const char* color);

// New drag data holding the paths as file URLs; the caller owns it.
QMimeData* fileUrlsMime(const QStringList& paths);
QColor devicePixel(const QImage& image, int x, int y);
QColor logicalPixel(const QImage& image, const QPointF& point);
// True when every pixel of the image has the same value.
bool isFlatImage(const QImage& image);

// A shown window that records the keys its children pass on to it.
class KeyRecordingWindow : public QWidget
{
public:
    QList<int> keys;
    // Waits until the window is active, then focuses the child; true when it has the focus.
    bool focusChild(QWidget* child);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A dark look for tests and the gallery: dark backgrounds, light text and an accent for role 0.
class DarkTestPalette : public Cpalette
{
public:
    explicit DarkTestPalette(QObject* parent);
    QString name() const override;
    bool isDark() const override;
    QColor color(int role) const override;
    // Input boxes on a dark fill with a faint outline.
    ColorSet colorSet(int kind) const override;
};

// Registers the dark palette once with the current style holder and returns it.
Cpalette* registerDarkTestPalette();

// The mouse over a top-level widget, in global coordinates: each event reaches the native window
// at the widget's current place, as a pointer that stays put while the window moves under it.
// (QTest takes a local (0, 0) for the window's centre.)
class WindowPointer
{
public:
    explicit WindowPointer(QWidget& window) : m_window(window) {}
    void press(const QPoint& global);
    void move(const QPoint& global);
    // Released where the pointer is.
    void release();
    // Brings the cursor over the child's centre (it enters the window there), then clicks.
    void click(QWidget* child);

private:
    QPoint local(const QPoint& global) const;

    QWidget& m_window;
    QPoint m_at;
};

// Lays out what is pending, clicks the button as a user through its window and waits for its
// clicked(), which may come on a later pass of the event loop; true once it came.
bool clickAsUser(CButton* button);

// Left-button mouse events given to a widget's window, so Qt routes them to the widget under the
// point, the pressed widget or the mouse grabber as it does for a user. Points are in the given
// widget's coordinates.
class WindowMouse
{
public:
    explicit WindowMouse(QWidget* window) : m_window(window) {}
    void press(QWidget* widget, const QPoint& pos);
    void move(QWidget* widget, const QPoint& pos);
    void release(QWidget* widget, const QPoint& pos);

private:
    QPoint inWindow(QWidget* widget, const QPoint& pos) const;
    QWidget* m_window;
};
