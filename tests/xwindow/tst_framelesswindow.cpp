#include "support/UiTestSupport.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CPlatformIntegration.h"
#include "uilib/style/CShadowPanel.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QWindow>
#include <QX11Info>

#include <xcb/xcb.h>

namespace {

constexpr int kFramed = CWindow::Movable | CWindow::Resizable | CWindow::TitleBar | CWindow::MinimiseButton
    | CWindow::MaximiseButton;

// The window's rectangle as the X server has it, in root coordinates.
QRect serverGeometry(QWindow* window)
{
    xcb_connection_t* connection = QX11Info::connection();
    const auto id = xcb_window_t(window->winId());
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, QX11Info::appRootWindow(), 0, 0), nullptr);
    QRect rect;
    if (geometry && origin)
        rect = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    free(geometry);
    free(origin);
    return rect;
}

// A shown framed window, mapped by the X server.
struct RealWindow
{
    RealWindow() : window(kFramed, nullptr)
    {
        window.setTitle(QStringLiteral("Smoke"));
        window.setGeometry(200, 150, 400, 260);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(serverGeometry(native()), QRect(200, 150, 400, 260));
    }
    QWindow* native() { return window.windowHandle(); }
    CWindow window;
};

} // namespace

class FramelessWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void captionDragMovesTheWindow()
    {
        RealWindow real;
        QSignalSpy started(&real.window, &CWindow::moveByUserStarted);
        QSignalSpy finished(&real.window, &CWindow::moveByUserFinished);
        CWidgetText* title = real.window.titleBar()->titleLabel();
        const QPoint grab = title->mapToGlobal(title->rect().center());
        WindowPointer pointer(real.window);
        pointer.press(grab);
        pointer.move(grab + QPoint(40, 30));
        pointer.release();
        QCOMPARE(started.count(), 1);
        QTRY_COMPARE(finished.count(), 1);
        QTRY_COMPARE(serverGeometry(real.native()), QRect(240, 180, 400, 260));
        QCOMPARE(real.window.geometry(), QRect(240, 180, 400, 260));
    }

    void cornerDragResizesTheWindow()
    {
        RealWindow real;
        real.window.setMaximumSize(500, 500);
        QSignalSpy finished(&real.window, &CWindow::resizeByUserFinished);
        const QPoint corner = real.window.mapToGlobal(QPoint(398, 258));
        WindowPointer pointer(real.window);
        pointer.press(corner);
        pointer.move(corner + QPoint(200, 50));
        pointer.release();
        QTRY_COMPARE(finished.count(), 1);
        QTRY_COMPARE(serverGeometry(real.native()), QRect(200, 150, 500, 310));
    }

    // Xvfb runs no compositor: no shadow, and a rounded window is cut to its outline.
    void withoutCompositorRoundedWindowsAreMasked()
    {
        QVERIFY(!CPlatformIntegration::isCompositingManagerRunning());
        CWindow window(0, nullptr);
        window.border()->setMargins(10, 10, 10, 10);
        window.setGeometry(100, 100, 200, 120);
        window.showWindow(CWindow::NoChange);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!window.mask().isEmpty());
        QVERIFY(!window.mask().contains(QPoint(0, 0)));
        QVERIFY(window.mask().contains(QPoint(100, 60)));
        CShadowPanel* shadow = window.platformIntegration()->shadowPanel();
        QVERIFY(shadow);
        QVERIFY(!shadow->isShown());
    }
};

TY_UI_TEST_MAIN(FramelessWindowTest)
#include "tst_framelesswindow.moc"
