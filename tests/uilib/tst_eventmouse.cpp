#include <QtTest>

#include "uilib/style/CEventMouse.h"

#include <QMimeData>
#include <QWidget>
#include <QWindow>

#include <memory>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {

// A shown top-level widget at a known place, with a child under its centre.
struct Window
{
    Window()
    {
        widget.setGeometry(100, 80, 200, 150);
        child.setGeometry(50, 50, 100, 50);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
    }
    QWindow* handle() { return widget.windowHandle(); }

    QWidget widget;
    QWidget child{&widget};
};

} // namespace

class TestEventMouse : public QObject
{
    Q_OBJECT

private slots:
    void firstMoveToOriginEmitsNothing();
    void movesEmitOncePerPosition();
    void pressesGiveTheThreeButtons_data();
    void pressesGiveTheThreeButtons();
    void pressKeepsTheMoveFilter();
    void otherInputEmitsNothing();
    void nonClientAndDragInput();
    void instancesAreCalledInCreationOrder();
    void instancesChangedDuringEmission();
    void filterLeavesWithTheLastInstance();
};

void TestEventMouse::firstMoveToOriginEmitsNothing()
{
    // QTest takes a local (0, 0) for the window's centre: the window starts above and left of the origin.
    QWidget widget(nullptr, Qt::FramelessWindowHint);
    widget.setGeometry(-1, -1, 100, 100);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    CEventMouse watcher;
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    QTest::mouseMove(widget.windowHandle(), QPoint(1, 1));
    QCOMPARE(moved.count(), 0);
    QTest::mouseMove(widget.windowHandle(), QPoint(2, 1));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(1, 0));
}

void TestEventMouse::movesEmitOncePerPosition()
{
    Window window;
    CEventMouse watcher;
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    // Over the child: the window's event and the widget's are one move.
    QTest::mouseMove(window.handle(), QPoint(60, 60));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(160, 140));
    // The same place again, sent straight to the window so that nothing before the filter drops it.
    QMouseEvent again(QEvent::MouseMove, QPointF(60, 60), QPointF(160, 140), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window.handle(), &again);
    QCOMPARE(moved.count(), 1);
    QTest::mouseMove(window.handle(), QPoint(61, 60));
    QCOMPARE(moved.count(), 2);
    QCOMPARE(moved.at(1).at(0).toPoint(), QPoint(161, 140));
}

void TestEventMouse::pressesGiveTheThreeButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestEventMouse::pressesGiveTheThreeButtons()
{
    QFETCH(Qt::MouseButton, button);
    Window window;
    CEventMouse watcher;
    QSignalSpy pressed(&watcher, &CEventMouse::mousePressed);
    QTest::mousePress(window.handle(), button, Qt::NoModifier, QPoint(20, 30));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toPoint(), QPoint(120, 110));
    QCOMPARE(pressed.at(0).at(1).value<Qt::MouseButton>(), button);
    QTest::mouseRelease(window.handle(), button, Qt::NoModifier, QPoint(20, 30));
    QCOMPARE(pressed.count(), 1);
}

void TestEventMouse::pressKeepsTheMoveFilter()
{
    Window window;
    CEventMouse watcher;
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    QTest::mouseMove(window.handle(), QPoint(30, 30));
    QTest::mouseClick(window.handle(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    const int afterClick = moved.count();
    QCOMPARE(moved.last().at(0).toPoint(), QPoint(140, 120));
    QMouseEvent back(QEvent::MouseMove, QPointF(40, 40), QPointF(140, 120), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(window.handle(), &back);
    QCOMPARE(moved.count(), afterClick);
}

void TestEventMouse::otherInputEmitsNothing()
{
    Window window;
    CEventMouse watcher;
    QTest::mouseMove(window.handle(), QPoint(10, 10));
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    QSignalSpy pressed(&watcher, &CEventMouse::mousePressed);
    QTest::mouseClick(window.handle(), Qt::BackButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseClick(window.handle(), Qt::ForwardButton, Qt::NoModifier, QPoint(10, 10));
    QWheelEvent wheel(QPointF(10, 10), QPointF(110, 90), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.handle(), &wheel);
    QCOMPARE(pressed.count(), 0);
    // A double click: the first press counts, the second press and the double click do not.
    QTest::mouseDClick(window.handle(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(moved.count(), 0);
}

void TestEventMouse::nonClientAndDragInput()
{
    Window window;
    CEventMouse watcher;
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    QSignalSpy pressed(&watcher, &CEventMouse::mousePressed);
    QMouseEvent frameMove(QEvent::NonClientAreaMouseMove, QPointF(-1, -1), QPointF(99, 79), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.handle(), &frameMove);
    QMouseEvent framePress(QEvent::NonClientAreaMouseButtonPress, QPointF(-1, -1), QPointF(99, 79), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.handle(), &framePress);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(99, 79));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(1).value<Qt::MouseButton>(), Qt::LeftButton);
    // While a drag runs, its moves count as mouse moves.
    QMimeData data;
    QDragMoveEvent drag(QPoint(30, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.handle(), &drag);
    QCOMPARE(moved.count(), 2);
    QCOMPARE(moved.at(1).at(0).toPoint(), window.handle()->mapToGlobal(QPoint(30, 40)));
}

void TestEventMouse::instancesAreCalledInCreationOrder()
{
    Window window;
    QStringList calls;
    CEventMouse first;
    CEventMouse second;
    CEventMouse third;
    connect(&second, &CEventMouse::mouseMoved, [&calls] { calls << "second"; });
    connect(&first, &CEventMouse::mouseMoved, [&calls] { calls << "first"; });
    connect(&third, &CEventMouse::mouseMoved, [&calls] { calls << "third"; });
    QTest::mouseMove(window.handle(), QPoint(70, 20));
    QCOMPARE(calls, QStringList({"first", "second", "third"}));
}

void TestEventMouse::instancesChangedDuringEmission()
{
    Window window;
    auto first = std::make_unique<CEventMouse>();
    auto second = std::make_unique<CEventMouse>();
    std::unique_ptr<CEventMouse> late;
    QSignalSpy secondMoved(second.get(), &CEventMouse::mouseMoved);
    int lateCalls = 0;
    connect(first.get(), &CEventMouse::mouseMoved, [&] {
        second.reset();
        late = std::make_unique<CEventMouse>();
        connect(late.get(), &CEventMouse::mouseMoved, [&lateCalls] { ++lateCalls; });
    });
    QTest::mouseMove(window.handle(), QPoint(71, 21));
    QVERIFY(!second);
    QCOMPARE(lateCalls, 0);
    first.reset();
    QTest::mouseMove(window.handle(), QPoint(72, 21));
    QCOMPARE(lateCalls, 1);
}

void TestEventMouse::filterLeavesWithTheLastInstance()
{
    Window window;
    for (int round = 0; round < 3; ++round) {
        auto watcher = std::make_unique<CEventMouse>();
        QSignalSpy moved(watcher.get(), &CEventMouse::mouseMoved);
        QSignalSpy pressed(watcher.get(), &CEventMouse::mousePressed);
        QTest::mouseMove(window.handle(), QPoint(10 + round, 10));
        QTest::mouseClick(window.handle(), Qt::LeftButton, Qt::NoModifier, QPoint(10 + round, 10));
        // One filter at a time: every event is reported once.
        QCOMPARE(moved.count(), 1);
        QCOMPARE(pressed.count(), 1);
    }
}

QTEST_MAIN(TestEventMouse)
#include "tst_eventmouse.moc"
