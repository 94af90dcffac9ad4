#include <QtTest>

#include "uilib/style/CEventMouse.h"
#include "uilib/style/GlobRect.h"

#include <QWidget>
#include <QWindow>

Q_DECLARE_METATYPE(Qt::MouseButton)

// Every window at twice its size in device pixels.
class TestScaleFactor2 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mousePositionsInDevicePixels();
    void nativeScreenToWidget_data();
    void nativeScreenToWidget();

private:
    QWidget* m_window = nullptr;
    QWidget* m_child = nullptr;
};

void TestScaleFactor2::init()
{
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    m_window = new QWidget(nullptr, Qt::FramelessWindowHint);
    m_window->setGeometry(50, 40, 200, 150);
    m_child = new QWidget(m_window);
    m_child->setGeometry(10, 20, 30, 40);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestScaleFactor2::cleanup()
{
    delete m_window;
}

void TestScaleFactor2::mousePositionsInDevicePixels()
{
    qRegisterMetaType<Qt::MouseButton>();
    CEventMouse watcher;
    QSignalSpy moved(&watcher, &CEventMouse::mouseMoved);
    QSignalSpy pressed(&watcher, &CEventMouse::mousePressed);
    QTest::mouseMove(m_window->windowHandle(), QPoint(10, 5));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(120, 90));
    QTest::mousePress(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, QPoint(20, 15));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toPoint(), QPoint(140, 110));
    QCOMPARE(pressed.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);
    QTest::mouseRelease(m_window->windowHandle(), Qt::RightButton, Qt::NoModifier, QPoint(20, 15));
}

void TestScaleFactor2::nativeScreenToWidget_data()
{
    // The window's client area starts at (100, 80) in device pixels; the child at (10, 20) in it.
    QTest::addColumn<QPoint>("native");
    QTest::addColumn<QPoint>("local");
    QTest::newRow("whole") << QPoint(150, 130) << QPoint(15, 5);
    QTest::newRow("half rounds up") << QPoint(151, 131) << QPoint(16, 6);
    QTest::newRow("half before the window rounds away from zero") << QPoint(95, 75) << QPoint(-13, -23);
}

void TestScaleFactor2::nativeScreenToWidget()
{
    QFETCH(QPoint, native);
    QFETCH(QPoint, local);
    QCOMPARE(::nativeScreenToWidget(m_child, native), local);
}

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestScaleFactor2 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scalefactor2.moc"
