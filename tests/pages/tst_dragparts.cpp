#include "support/UiTestSupport.h"

#include "pages/DragIcon.h"
#include "pages/DropIndicator.h"
#include "uilib/style/CAnimateionProp.h"
#include "uilib/style/CPainterScope.h"
#include "app/CSystemTools.h"
#include "uilib/style/CStyle.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QSignalSpy>

#include <cmath>

namespace {

// A row of 200 x 48 in one colour to drag.
struct DragRow : QWidget
{
    DragRow()
    {
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor(40, 160, 220));
        setPalette(colours);
        resize(200, 48);
    }
};

int brightness(const QColor& color)
{
    return color.red() + color.green() + color.blue();
}

// Device pixels of one row of the image that have exactly the colour.
int pixelsOfColour(const QImage& image, int y, int fromX, int toX, const QColor& colour)
{
    int count = 0;
    for (int x = fromX; x < toX; ++x)
        count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

// The drag icon that follows the pointer and the dashed drop frame.
class TestDragParts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void iconStaysOutOfTheWay();
    void dropAllowedAnimatesOncePerChange();
    void offsetFollowsScale();
    void cursorSetOnceAndRestored();
    void iconFollowsMouseWatcher();
    void refusedDropDarkens();
    void indicatorKinds();
    void highlightTintsInside();
    void frameOnDevicePixels_data();
    void frameOnDevicePixels();
};

// A palette with a frame colour of its own.
void TestDragParts::initTestCase()
{
    QVERIFY(CSystemTools::instance()->style()->setCurrentStyle(registerDarkTestPalette()->name()));
}

void TestDragParts::cleanup()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestDragParts::iconStaysOutOfTheWay()
{
    DragIcon icon;
    QVERIFY(icon.isWindow());
    const Qt::WindowFlags flags = icon.windowFlags();
    for (Qt::WindowType flag : {Qt::FramelessWindowHint, Qt::NoDropShadowWindowHint, Qt::WindowTransparentForInput,
                                Qt::X11BypassWindowManagerHint})
        QVERIFY(flags.testFlag(flag));
    QCOMPARE(icon.focusPolicy(), Qt::NoFocus);
    QVERIFY(icon.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(icon.testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(icon.testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(icon.scale(), 1.0);
    QCOMPARE(icon.dropAllowedProgress(), 0.0);
}

void TestDragParts::dropAllowedAnimatesOncePerChange()
{
    ManualAnimationClock clock;
    DragRow row;
    DragIcon icon;
    // Hidden, a refusal takes effect at once.
    icon.setDropAllowed(true);
    icon.setDropAllowed(false);
    QCOMPARE(icon.dropAllowedProgress(), 1.0);

    qRegisterMetaType<QAbstractAnimation::State>();
    icon.showFor(&row, QPoint(10, 10));
    QPropertyAnimation* animation = icon.animator()->animation("dropAllowedProgress");
    QVERIFY(animation);
    QSignalSpy states(animation, &QAbstractAnimation::stateChanged);
    icon.setDropAllowed(true);
    clock.advance(50);
    icon.setDropAllowed(true);
    const auto started = [&] {
        int count = 0;
        for (const QList<QVariant>& change : states)
            count += change.at(0).value<QAbstractAnimation::State>() == QAbstractAnimation::Running ? 1 : 0;
        return count;
    };
    QCOMPARE(started(), 1);
    QVERIFY(icon.dropAllowedProgress() > 0.0 && icon.dropAllowedProgress() < 1.0);
    clock.advance(200);
    QCOMPARE(icon.dropAllowedProgress(), 0.0);
    QCOMPARE(started(), 1);
    icon.hideIcon();
}

void TestDragParts::offsetFollowsScale()
{
    ManualAnimationClock clock;
    DragRow row;
    DragIcon icon;
    const QPoint hotSpot(45, 30);
    const QPoint pointer(300, 200);
    QCursor::setPos(pointer);
    icon.showFor(&row, hotSpot);
    QCOMPARE(icon.scale(), 1.0);
    QCOMPARE(icon.pos(), QCursor::pos() - hotSpot);
    clock.advance(250);
    QCOMPARE(icon.scale(), 0.9);
    const QPoint shrunk(int(std::lround(45 * 0.9)), 16);
    QCOMPARE(icon.pointerOffset(), shrunk);
    QCOMPARE(icon.pos(), QCursor::pos() - shrunk);
    // 200 x 47 once the bottom device pixel is cut, times 0.9.
    QCOMPARE(icon.size(), QSize(180, 42));

    icon.setScale(0.95);
    QCOMPARE(icon.pointerOffset(), QPoint(43, 23));
    icon.setScale(1.0);
    QCOMPARE(icon.pointerOffset(), hotSpot);
    QCOMPARE(icon.pos(), QCursor::pos() - hotSpot);
    QCOMPARE(icon.size(), QSize(200, 47));
    icon.hideIcon();
}

void TestDragParts::cursorSetOnceAndRestored()
{
    DragRow row;
    DragIcon icon;
    icon.showFor(&row, QPoint(1, 1));
    QVERIFY(icon.isVisible());
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ClosedHandCursor);
    icon.showFor(&row, QPoint(2, 2));
    icon.hideIcon();
    QVERIFY(!icon.isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
    // Hidden already: the cursor stack is left alone.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    icon.hideIcon();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

void TestDragParts::iconFollowsMouseWatcher()
{
    ManualAnimationClock clock;
    QWidget host;
    host.setGeometry(50, 50, 400, 300);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    DragRow row;
    DragIcon icon;
    icon.showFor(&row, QPoint(20, 10));
    clock.advance(250);
    const QPoint local(120, 90);
    QTest::mouseMove(host.windowHandle(), local);
    QTRY_COMPARE(icon.pos(), host.mapToGlobal(local) - icon.pointerOffset());
    icon.hideIcon();
    // The watcher went with the hide: moves no longer place it.
    const QPoint before = icon.pos();
    QTest::mouseMove(host.windowHandle(), QPoint(200, 150));
    QCoreApplication::processEvents();
    QCOMPARE(icon.pos(), before);
}

void TestDragParts::refusedDropDarkens()
{
    DragRow row;
    DragIcon icon;
    icon.showFor(&row, QPoint(5, 5));
    const QPoint centre(icon.width() / 2, icon.height() / 2);
    const QColor allowed = icon.grab().toImage().pixelColor(centre);
    icon.setDropAllowedProgress(1.0);
    const QColor refused = icon.grab().toImage().pixelColor(centre);
    QVERIFY2(brightness(refused) < brightness(allowed) * 2 / 3,
             qPrintable(allowed.name() + " " + refused.name()));
    icon.hideIcon();
}

void TestDragParts::indicatorKinds()
{
    DropIndicator large(nullptr, 0, false);
    QCOMPARE(large.contentsMargins(), QMargins(16, 16, 16, 16));
    QVERIFY(!large.testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(large.minimumSizeHint(), QSize(32, 32));
    DropIndicator strip(nullptr, 1, true);
    QCOMPARE(strip.contentsMargins(), QMargins(3, 2, 3, 3));
    QVERIFY(strip.testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(strip.highlight(), 0.0);
    strip.setHighlight(0.5);
    QCOMPARE(strip.highlight(), 0.5);
}

void TestDragParts::highlightTintsInside()
{
    DropIndicator indicator(nullptr, 0, false);
    indicator.resize(120, 90);
    const auto paint = [&] {
        return paintInScope(indicator.size(), 1.0, [&](CPainterScope& scope) { indicator.paint(scope); });
    };
    const QColor fill = currentPalette()->color(2);
    QCOMPARE(paint().pixelColor(60, 45), fill);
    indicator.setHighlight(1.0);
    QVERIFY(paint().pixelColor(60, 45) != fill);
    // Outside the contents nothing is painted.
    QCOMPARE(paint().pixelColor(5, 5).alpha(), 0);
}

void TestDragParts::frameOnDevicePixels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("ratio");
    for (int kind : {0, 1}) {
        for (double ratio : testRatios())
            QTest::addRow("kind %d at %g", kind, ratio) << kind << ratio;
    }
}

// The dashed frame and the strip's bottom line are one device pixel wide, each on a whole
// device pixel, at every ratio.
void TestDragParts::frameOnDevicePixels()
{
    QFETCH(int, kind);
    QFETCH(double, ratio);
    DropIndicator indicator(nullptr, kind, false);
    indicator.resize(160, 60);
    const QImage image = paintInScope(indicator.size(), ratio, [&](CPainterScope& scope) { indicator.paint(scope); });
    const QMargins margins = indicator.contentsMargins();
    const int top = int(std::round(margins.top() * ratio));
    const int bottom = int(std::round((60 - margins.bottom()) * ratio));
    const int left = int(std::round((margins.left() + 10) * ratio));
    const int right = int(std::round((160 - margins.right() - 10) * ratio));
    const QColor frame = currentPalette()->color(0);
    QVERIFY(pixelsOfColour(image, top, left, right, frame) >= int(8 * ratio));
    QCOMPARE(pixelsOfColour(image, top + 1, left, right, frame), 0);
    if (top > 0)
        QCOMPARE(image.pixelColor(left, top - 1).alpha(), 0);
    const QColor fill = currentPalette()->color(2);
    QCOMPARE(pixelsOfColour(image, top + 1, left, right, fill), right - left);
    QCOMPARE(image.pixelColor(left, bottom).alpha(), 0);
    // The strip's line covers the bottom row of device pixels, dashes and gaps alike.
    if (kind == 1)
        QCOMPARE(pixelsOfColour(image, bottom - 1, left, right, fill) + pixelsOfColour(image, bottom - 1, left, right, frame), 0);
}

TY_UI_TEST_MAIN(TestDragParts)

#include "tst_dragparts.moc"
