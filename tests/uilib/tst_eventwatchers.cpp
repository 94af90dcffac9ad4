#include <QtTest>

#include "uilib/style/CEventChildren.h"
#include "uilib/style/CEventGeom.h"

#include <QEnterEvent>
#include <QWidget>

namespace {

void sendEnterAndLeave(QWidget* widget)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(widget, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

// Every report of one CEventChildren, as "added a", "entered a", ...
struct ChildReports
{
    explicit ChildReports(CEventChildren* watcher)
    {
        auto record = [this](const char* what) {
            return [this, what](QWidget* child) { lines << QString("%1 %2").arg(what, child->objectName()); };
        };
        QObject::connect(watcher, &CEventChildren::childWidgetAdded, record("added"));
        QObject::connect(watcher, &CEventChildren::childWidgetEntered, record("entered"));
        QObject::connect(watcher, &CEventChildren::childWidgetLeaved, record("leaved"));
        QObject::connect(watcher, &CEventChildren::childWidgetRemoved, record("removed"));
    }
    QStringList take() { return std::exchange(lines, {}); }

    QStringList lines;
};

QWidget* namedChild(QWidget* parent, const QString& name)
{
    auto* child = new QWidget;
    child->setObjectName(name);
    child->setParent(parent);
    return child;
}

// A shown window with a child, each at a known place.
struct GeomWindow
{
    GeomWindow()
    {
        window.setGeometry(100, 100, 300, 200);
        child->setGeometry(20, 30, 50, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void moveWindow(const QPoint& pos)
    {
        window.move(pos);
        QTRY_COMPARE(window.pos(), pos);
        QCoreApplication::processEvents();
    }
    // A move event that changes nothing, so that the watchers check.
    void checkChild()
    {
        QMoveEvent unchanged(child->pos(), child->pos());
        QCoreApplication::sendEvent(child, &unchanged);
    }
    QRect childOnScreen(QWidget* widget = nullptr) const
    {
        widget = widget ? widget : child;
        return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    }

    QWidget window;
    QWidget* child = new QWidget(&window);
};

} // namespace

class TestEventWatchers : public QObject
{
    Q_OBJECT

private slots:
    void childFlagGroups_data();
    void childFlagGroups();
    void childrenWithoutRecursion();
    void childrenWithRecursion();
    void anotherWidgetLeavesTheFirst();

    void geomReportsAtFirstCheck_data();
    void geomReportsAtFirstCheck();
    void geomWhenTheWindowMoves();
    void geomWhenTheChildMovesInItsWindow();
    void geomHiddenWindow();
    void geomReparent();
};

void TestEventWatchers::childFlagGroups_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("reports");
    const QStringList children{"added a", "removed a"};
    const QStringList all{"added a", "entered a", "leaved a", "removed a"};
    QTest::newRow("added") << int(CEventChildren::WatchAdded) << children;
    QTest::newRow("removed") << int(CEventChildren::WatchRemoved) << children;
    QTest::newRow("enter") << int(CEventChildren::WatchEnter) << all;
    QTest::newRow("leave") << int(CEventChildren::WatchLeave) << all;
    QTest::newRow("added and leave") << int(CEventChildren::WatchAdded | CEventChildren::WatchLeave) << all;
    QTest::newRow("recursive only") << int(CEventChildren::Recursive) << QStringList();
    QTest::newRow("none") << 0 << QStringList();
}

void TestEventWatchers::childFlagGroups()
{
    QFETCH(int, flags);
    QFETCH(QStringList, reports);
    QWidget parent;
    CEventChildren watcher(flags, &parent);
    ChildReports seen(&watcher);
    QWidget* child = namedChild(&parent, "a");
    sendEnterAndLeave(child);
    delete child;
    QCOMPARE(seen.take(), reports);
}

void TestEventWatchers::childrenWithoutRecursion()
{
    QWidget parent;
    QWidget* before = namedChild(&parent, "before");
    CEventChildren watcher(CEventChildren::WatchEnter, &parent);
    ChildReports seen(&watcher);
    sendEnterAndLeave(before);
    QCOMPARE(seen.take(), QStringList());

    QWidget* after = namedChild(&parent, "after");
    QCOMPARE(seen.take(), QStringList({"added after"}));
    sendEnterAndLeave(after);
    QCOMPARE(seen.take(), QStringList({"entered after", "leaved after"}));
    QWidget* grandchild = namedChild(after, "grandchild");
    sendEnterAndLeave(grandchild);
    QCOMPARE(seen.take(), QStringList());
}

void TestEventWatchers::childrenWithRecursion()
{
    QWidget parent;
    QWidget* a = namedChild(&parent, "a");
    QWidget* b = namedChild(a, "b");
    CEventChildren watcher(CEventChildren::WatchEnter | CEventChildren::Recursive, &parent);
    ChildReports seen(&watcher);
    sendEnterAndLeave(a);
    sendEnterAndLeave(b);
    QCOMPARE(seen.take(), QStringList({"entered a", "leaved a", "entered b", "leaved b"}));

    // A subtree added in one piece is tracked at its root; the root then reports its own children.
    auto* root = new QWidget;
    root->setObjectName("root");
    QWidget* inner = namedChild(root, "inner");
    root->setParent(b);
    QCOMPARE(seen.take(), QStringList({"added root"}));
    sendEnterAndLeave(inner);
    QCOMPARE(seen.take(), QStringList());
    namedChild(root, "late");
    QCOMPARE(seen.take(), QStringList({"added late"}));

    delete root;
    // Qt reports no removal of the children of a widget being deleted.
    QCOMPARE(seen.take(), QStringList({"removed root"}));
}

void TestEventWatchers::anotherWidgetLeavesTheFirst()
{
    QWidget first;
    QWidget second;
    QWidget* a = namedChild(&first, "a");
    CEventChildren watcher(CEventChildren::WatchEnter | CEventChildren::Recursive, &first);
    ChildReports seen(&watcher);
    watcher.setWidget(&second);
    sendEnterAndLeave(a);
    namedChild(&first, "b");
    QCOMPARE(seen.take(), QStringList());
    namedChild(&second, "c");
    QCOMPARE(seen.take(), QStringList({"added c"}));
}

void TestEventWatchers::geomReportsAtFirstCheck_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("parent") << 0 << QByteArray(SIGNAL(geometryChanged(QRect))) << QRect(20, 30, 50, 40);
    QTest::newRow("window") << 1 << QByteArray(SIGNAL(windowGeometryChanged(QRect))) << QRect(20, 30, 50, 40);
    QTest::newRow("screen") << 2 << QByteArray(SIGNAL(screenGeometryChanged(QRect))) << QRect();
}

void TestEventWatchers::geomReportsAtFirstCheck()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, signal);
    QFETCH(QRect, rect);
    GeomWindow w;
    auto* watcher = new CEventGeom(w.child, mode);
    QSignalSpy spy(watcher, signal.constData());
    w.checkChild();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toRect(), mode == 2 ? w.childOnScreen() : rect);
    w.checkChild();
    QCOMPARE(spy.count(), 1);
}

void TestEventWatchers::geomWhenTheWindowMoves()
{
    GeomWindow w;
    QSignalSpy inParent(new CEventGeom(w.child, 0), &CEventGeom::geometryChanged);
    QSignalSpy inWindow(new CEventGeom(w.child, 1), &CEventGeom::windowGeometryChanged);
    QSignalSpy screen(new CEventGeom(w.child, 2), &CEventGeom::screenGeometryChanged);
    w.checkChild();
    inParent.clear();
    inWindow.clear();
    screen.clear();
    w.moveWindow(QPoint(150, 120));
    QCOMPARE(inParent.count(), 0);
    QCOMPARE(inWindow.count(), 0);
    QVERIFY(!screen.isEmpty());
    QCOMPARE(screen.last().at(0).toRect(), w.childOnScreen());
}

void TestEventWatchers::geomWhenTheChildMovesInItsWindow()
{
    GeomWindow w;
    QSignalSpy inWindow(new CEventGeom(w.child, 1), &CEventGeom::windowGeometryChanged);
    w.child->move(25, 35);
    QCOMPARE(inWindow.count(), 1);
    QCOMPARE(inWindow.at(0).at(0).toRect(), QRect(25, 35, 50, 40));
}

void TestEventWatchers::geomHiddenWindow()
{
    for (int mode = 0; mode < 3; ++mode) {
        GeomWindow w;
        QSignalSpy visibility(new CEventGeom(w.child, mode), &CEventGeom::visibilityChanged);
        w.window.hide();
        QCOMPARE(visibility.count(), 1);
        QCOMPARE(visibility.at(0).at(0).toBool(), false);
    }
}

void TestEventWatchers::geomReparent()
{
    GeomWindow w;
    GeomWindow other;
    auto* watcher = new CEventGeom(w.child, 2);
    QSignalSpy parent(watcher, &CEventGeom::parentWidgetChanged);
    QSignalSpy visibility(watcher, &CEventGeom::visibilityChanged);
    QSignalSpy screen(watcher, &CEventGeom::screenGeometryChanged);
    w.child->setParent(&other.window);
    QCOMPARE(parent.count(), 1);
    QCOMPARE(parent.at(0).at(0).value<QWidget*>(), &other.window);
    // Reparenting hides the widget.
    QCOMPARE(visibility.count(), 1);
    QCOMPARE(visibility.at(0).at(0).toBool(), false);
    w.child->show();
    QCOMPARE(visibility.count(), 2);
    screen.clear();
    // Now the new window is the one watched.
    w.moveWindow(QPoint(10, 10));
    QCOMPARE(screen.count(), 0);
    other.moveWindow(QPoint(200, 150));
    QVERIFY(!screen.isEmpty());
    QCOMPARE(screen.last().at(0).toRect(), other.childOnScreen(w.child));
}

QTEST_MAIN(TestEventWatchers)
#include "tst_eventwatchers.moc"
