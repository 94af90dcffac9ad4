#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindow.h"
#include "uilib/controls/CWindowMenu.h"

#include <QApplication>
#include <QBoxLayout>
#include <QWindow>
#include <QX11Info>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// Pointer input made by the X server itself, so the popup's grab and Qt's replay of a press
// outside it act as they do for a user.
void fakePointer(const QPoint& global)
{
    XTestFakeMotionEvent(QX11Info::display(), -1, global.x(), global.y(), CurrentTime);
    XFlush(QX11Info::display());
    QTRY_COMPARE(QCursor::pos(), global);
}

void fakeButton(bool press)
{
    XTestFakeButtonEvent(QX11Info::display(), 1, press ? True : False, CurrentTime);
    XFlush(QX11Info::display());
    // Done once Qt has seen it.
    QTRY_COMPARE(QGuiApplication::mouseButtons().testFlag(Qt::LeftButton), press);
    QCoreApplication::processEvents();
}

void fakeClick(const QPoint& global)
{
    fakePointer(global);
    fakeButton(true);
    fakeButton(false);
}

// A window with a title bar at the place asked, mapped by the X server.
struct ShownWindow
{
    explicit ShownWindow(const QRect& geometry) : window(CWindow::TitleBar | CWindow::Movable, nullptr)
    {
        window.setTitle(QStringLiteral("Window"));
        window.setGeometry(geometry);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    CWindow window;
};

// A window with a menu button, and another window beside it.
struct Scene
{
    Scene() : host(QRect(100, 100, 300, 200)), other(QRect(500, 100, 300, 200))
    {
        auto* layout = new QVBoxLayout(host.window.contentWidget());
        opener = new CButtonMenuItem(11, 0, 8, 1);
        opener->setText(QStringLiteral("Menu"));
        layout->addWidget(opener, 0, Qt::AlignLeft | Qt::AlignTop);
        for (const char* text : {"First", "Second"})
            opener->popup()->addActionItem(QString(), QString::fromLatin1(text), nullptr);
        QCoreApplication::processEvents();
    }
    ~Scene() { closeAllPopups(); }
    void openMenu()
    {
        fakeClick(globalCentre(opener) - QPoint(20, 0));
        QTRY_VERIFY(opener->isPopupVisible());
        QVERIFY(opener->isChecked());
    }

    ShownWindow host;
    ShownWindow other;
    CButtonMenuItem* opener = nullptr;
};

} // namespace

class PopupSmokeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void pressOnOpenerClosesMenu()
    {
        Scene scene;
        scene.openMenu();
        // Away from the opening click, so the two do not pair into a double click.
        fakeClick(globalCentre(scene.opener) + QPoint(20, 0));
        QTRY_VERIFY(!scene.opener->isPopupVisible());
        QVERIFY(!scene.opener->isChecked());
        // And opens it again.
        scene.openMenu();
    }

    void pressOutsideClosesMenu()
    {
        Scene scene;
        QWidget* content = scene.other.window.contentWidget();
        scene.openMenu();
        fakeClick(content->mapToGlobal(content->rect().center()));
        QTRY_VERIFY(!scene.opener->isPopupVisible());
        QVERIFY(!scene.opener->isChecked());
        QVERIFY(!QApplication::activePopupWidget());
    }

    void pressOnCaptionClosesMenu()
    {
        Scene scene;
        scene.openMenu();
        CWidgetText* title = scene.other.window.titleBar()->titleLabel();
        fakePointer(globalCentre(title));
        fakeButton(true);
        QTRY_VERIFY(!scene.opener->isPopupVisible());
        fakeButton(false);
        QVERIFY(!QApplication::activePopupWidget());
    }

    void itemClickClosesMenu()
    {
        Scene scene;
        scene.openMenu();
        auto* item = static_cast<QWidget*>(scene.opener->popup()->itemLayout()->itemAt(1)->widget());
        fakeClick(globalCentre(item));
        QTRY_VERIFY(!scene.opener->isPopupVisible());
    }
};

TY_UI_TEST_MAIN(PopupSmokeTest)
#include "tst_popupsmoke.moc"
