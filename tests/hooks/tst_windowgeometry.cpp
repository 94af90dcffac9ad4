#include <QtTest>

#include "support/UiTestSupport.h"
#include "uilib/style/QtDetours.h"

#include <QWidget>
#include <QWindow>
#include <private/qhighdpiscaling_p.h>
#include <qpa/qplatformwindow.h>

// Window geometry from native pixels; run at the scale factor that QT_SCALE_FACTOR gives.
class TestWindowGeometry : public QObject
{
    Q_OBJECT

private slots:
    void fromNative_data();
    void fromNative();
    void nativeRectangleSetDirectly_data();
    void nativeRectangleSetDirectly();
    void withoutPlatformWindow();
};

void TestWindowGeometry::fromNative_data()
{
    QTest::addColumn<QRect>("native");
    QTest::addColumn<qreal>("factor");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<QRect>("logical");

    QTest::newRow("factor 1") << QRect(-3, 5, 7, 9) << 1.0 << QPoint() << QRect(-3, 5, 7, 9);
    QTest::newRow("ties round up") << QRect(3, 5, 7, 9) << 2.0 << QPoint() << QRect(2, 3, 4, 5);
    QTest::newRow("negative ties round down") << QRect(-3, -5, 7, 9) << 2.0 << QPoint() << QRect(-2, -3, 4, 5);
    QTest::newRow("factor 1.5") << QRect(-10, 20, 100, 50) << 1.5 << QPoint() << QRect(-7, 13, 67, 33);
    QTest::newRow("factor 1.25") << QRect(-5, 10, 125, 61) << 1.25 << QPoint() << QRect(-4, 8, 100, 49);
    QTest::newRow("distance from the origin") << QRect(103, 45, 11, 10) << 2.0 << QPoint(100, 50)
                                              << QRect(102, 47, 6, 5);
    QTest::newRow("empty") << QRect(4, 4, 0, 0) << 2.0 << QPoint() << QRect(2, 2, 0, 0);
}

void TestWindowGeometry::fromNative()
{
    QFETCH(QRect, native);
    QFETCH(qreal, factor);
    QFETCH(QPoint, origin);
    QFETCH(QRect, logical);
    QCOMPARE(windowGeometryFromNative(native, factor, origin), logical);
}

void TestWindowGeometry::nativeRectangleSetDirectly_data()
{
    QTest::addColumn<QRect>("native");
    QTest::newRow("odd and negative") << QRect(-3, -5, 301, 203);
    QTest::newRow("odd and positive") << QRect(151, 77, 401, 303);
}

void TestWindowGeometry::nativeRectangleSetDirectly()
{
    QFETCH(QRect, native);
    const qreal factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
        : 1.0;
    QCOMPARE(qApp->devicePixelRatio(), factor);
    if (!hookQWindowGeometry())
        QSKIP("hooks are not installed");
    QWidget widget(nullptr, Qt::FramelessWindowHint);
    widget.setGeometry(20, 20, 100, 80);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QWindow* window = widget.windowHandle();
    window->handle()->setGeometry(native);
    QCOMPARE(window->handle()->geometry(), native);
    const QHighDpiScaling::ScaleAndOrigin scale = QHighDpiScaling::scaleAndOrigin(window);
    QCOMPARE(scale.factor, factor);
    QCOMPARE(window->geometry(), windowGeometryFromNative(native, factor, scale.origin));
}

void TestWindowGeometry::withoutPlatformWindow()
{
    QWindow window;
    window.setGeometry(-7, 9, 31, 45);
    QVERIFY(!window.handle());
    QCOMPARE(window.geometry(), QRect(-7, 9, 31, 45));
}

TY_UI_TEST_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
