#include "support/UiTestSupport.h"

#include "pages/DragIcon.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

namespace {

// A window that keeps where the pointer last moved over it.
class Host : public QWidget
{
public:
    Host() { setMouseTracking(true); }
    QPoint lastMove{-1, -1};

protected:
    void mouseMoveEvent(QMouseEvent* event) override { lastMove = event->pos(); }
};

} // namespace

// The drag icon on a real X server: it follows the pointer and takes neither the pointer nor
// the focus from the window under it.
class TestDragIconSmoke : public QObject
{
    Q_OBJECT

private slots:
    void followsPointerWithoutFocus();
};

void TestDragIconSmoke::followsPointerWithoutFocus()
{
    Host host;
    host.setGeometry(100, 100, 500, 400);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));

    QWidget row;
    row.setAutoFillBackground(true);
    row.resize(200, 48);
    DragIcon icon;
    icon.showFor(&row, QPoint(20, 10));
    QVERIFY(QTest::qWaitForWindowExposed(&icon));

    for (const QPoint& local : {QPoint(150, 100), QPoint(300, 250), QPoint(60, 320)}) {
        const QPoint global = host.mapToGlobal(local);
        QCursor::setPos(global);
        QTRY_COMPARE(icon.pos(), global - icon.pointerOffset());
        // The pointer lies over the icon, yet the host window keeps the pointer and the focus.
        QVERIFY(icon.geometry().contains(global));
        QTRY_COMPARE(host.lastMove, local);
        QCOMPARE(QGuiApplication::focusWindow(), host.windowHandle());
        QVERIFY(!icon.isActiveWindow());
    }
    icon.hideIcon();
}

TY_UI_TEST_MAIN(TestDragIconSmoke)

#include "tst_dragiconsmoke.moc"
