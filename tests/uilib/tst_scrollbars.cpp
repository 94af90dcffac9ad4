#include "support/UiTestSupport.h"

#include "uilib/controls/CAnimationScrollBar.h"
#include "uilib/controls/CScrollBar.h"
#include "uilib/style/CAnimationWidget.h"

#include <QElapsedTimer>
#include <QHoverEvent>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

namespace {

// A 200 x 150 area at (30, 40) whose content can be made taller or wider than the viewport; the
// area's own horizontal bar is off.
struct BarScene
{
    QWidget window;
    QScrollArea* area = new QScrollArea(&window);
    QWidget* content = new QWidget;
    BarScene()
    {
        window.resize(400, 300);
        area->setGeometry(30, 40, 200, 150);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(false);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        content->resize(100, 100);
        area->setWidget(content);
    }
    void setContentSize(int width, int height) { content->resize(width, height); }
};

void hover(QWidget* widget, QEvent::Type type)
{
    QHoverEvent event(type, QPointF(widget->width() / 2, 20), QPointF(-1, -1));
    QCoreApplication::sendEvent(widget, &event);
}

void drag(QWidget* widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// The opaque run of device pixels across the middle of a vertical bar: (first column, width),
// or (-1, 0) when a pixel is neither clear nor fully opaque.
QPair<int, int> opaqueRun(const QImage& image, int row)
{
    int first = -1;
    int width = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int alpha = devicePixel(image, x, row).alpha();
        if (alpha != 0 && alpha != 255)
            return {-1, 0};
        if (alpha == 255) {
            if (first < 0)
                first = x;
            ++width;
        }
    }
    return {first, width};
}

// Paints its style into an image of the given ratio, as a screen of that ratio would.
class ProbeBar : public CAnimationScrollBar
{
public:
    using CAnimationScrollBar::CAnimationScrollBar;
    QImage paintAt(double ratio) const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return paintAtRatio(size(), ratio, [&](QPainter* painter) {
            style()->drawComplexControl(QStyle::CC_ScrollBar, &option, painter, this);
        });
    }
};

} // namespace

Q_DECLARE_METATYPE(QMargins)

class TestScrollBars : public QObject
{
    Q_OBJECT
private slots:
    void mirrorsTheAreaBarBothWays();
    void hideModes_data();
    void hideModes();
    void overlayLiesOnTheAreaEdge_data();
    void overlayLiesOnTheAreaEdge();
    void overlayVanishesWhenNothingScrolls();
    void overlayWidensAndNarrowsWithHover();
    void overlayStaysWideWhileDragged();
    void handleSnapsToDevicePixels_data();
    void handleSnapsToDevicePixels();
    void marginModeKeepsContentClear_data();
    void marginModeKeepsContentClear();
    void installOnceRespectingAlwaysOff();
    void paletteColoursOnlyOnOverlayBars();
};

void TestScrollBars::mirrorsTheAreaBarBothWays()
{
    BarScene scene;
    scene.setContentSize(100, 1000);
    CScrollBar bar(-1, scene.area, Qt::Vertical, 0, &scene.window);
    scene.window.show();
    QScrollBar* native = scene.area->verticalScrollBar();
    QCOMPARE(scene.area->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(bar.maximum(), native->maximum());
    QCOMPARE(bar.pageStep(), native->pageStep());
    QCOMPARE(bar.singleStep(), native->singleStep());
    bar.setValue(50);
    QCOMPARE(native->value(), 50);
    QCOMPARE(scene.content->y(), -50);
    QWheelEvent wheel(QPointF(50, 50), QPointF(scene.area->viewport()->mapToGlobal(QPoint(50, 50))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(scene.area->viewport(), &wheel);
    QVERIFY(native->value() > 50);
    QCOMPARE(bar.value(), native->value());
    scene.setContentSize(100, 400);
    QCOMPARE(bar.maximum(), 250);
}

void TestScrollBars::hideModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("visibleWhenFitting");
    QTest::addColumn<bool>("paintsWhenFitting");
    QTest::newRow("0: always shown") << 0 << true << true;
    QTest::newRow("1: hidden") << 1 << false << false;
    QTest::newRow("2: keeps its place, paints nothing") << 2 << true << false;
}

void TestScrollBars::hideModes()
{
    QFETCH(int, mode);
    QFETCH(bool, visibleWhenFitting);
    QFETCH(bool, paintsWhenFitting);
    BarScene scene;
    scene.setContentSize(100, 1000);
    auto* bar = new CScrollBar(-1, scene.area, Qt::Vertical, mode, &scene.window);
    bar->setGeometry(250, 40, 16, 150);
    QSignalSpy available(bar, &CScrollBar::scrollAvailableChanged);
    scene.window.show();
    const auto paints = [bar] { return !isFlatImage(renderWidget(bar, 1.0)); };
    QVERIFY(bar->isVisible());
    QVERIFY(paints());
    scene.setContentSize(100, 100);
    QVERIFY(!available.isEmpty());
    QCOMPARE(available.last().at(0).toBool(), false);
    QVERIFY(!bar->isScrollAvailable());
    QCOMPARE(bar->isVisible(), visibleWhenFitting);
    if (bar->isVisible())
        QCOMPARE(paints(), paintsWhenFitting);
    scene.setContentSize(100, 600);
    QCOMPARE(available.last().at(0).toBool(), true);
    QVERIFY(bar->isVisible());
    QVERIFY(paints());
}

void TestScrollBars::overlayLiesOnTheAreaEdge_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QRect>("placed");
    QTest::addColumn<QRect>("afterResize");
    QTest::newRow("vertical") << Qt::Vertical << QRect(182, 0, 18, 150) << QRect(222, 0, 18, 100);
    QTest::newRow("horizontal") << Qt::Horizontal << QRect(0, 132, 200, 18) << QRect(0, 82, 240, 18);
}

void TestScrollBars::overlayLiesOnTheAreaEdge()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QRect, placed);
    QFETCH(QRect, afterResize);
    BarScene scene;
    scene.setContentSize(1000, 1000);
    auto* bar = new CAnimationScrollBar(-1, scene.area, 0, orientation, scene.area);
    QCOMPARE(bar->geometry(), placed);
    scene.window.show();
    QVERIFY(bar->isVisible());
    scene.area->setGeometry(50, 60, 240, 100);
    QCOMPARE(bar->geometry(), afterResize);
}

void TestScrollBars::overlayVanishesWhenNothingScrolls()
{
    BarScene scene;
    auto* bar = new CAnimationScrollBar(-1, scene.area, 0, Qt::Vertical, scene.area);
    scene.window.show();
    QVERIFY(!bar->isVisible());
    QVERIFY(!bar->isEnabled());
    scene.setContentSize(100, 600);
    QVERIFY(bar->isVisible());
    QVERIFY(bar->isEnabled());
    QCOMPARE(bar->expansionAnimation()->disabledProgress(), 0.0);
    scene.setContentSize(100, 120);
    QVERIFY(!bar->isVisible());
}

// The hover timers are real 100 and 500 ms timers; the widening runs on the manual clock.
void TestScrollBars::overlayWidensAndNarrowsWithHover()
{
    ManualAnimationClock clock;
    BarScene scene;
    scene.setContentSize(100, 300);
    auto* bar = new CAnimationScrollBar(-1, scene.area, 0, Qt::Vertical, scene.area);
    bar->setHandleColors(ColorSet(QColor(Qt::black)));
    scene.window.show();
    CAnimationWidget* expansion = bar->expansionAnimation();
    const auto handleRun = [bar] { return opaqueRun(renderWidget(bar, 1.0), 30); };
    QCOMPARE(handleRun(), qMakePair(6, 6));

    QElapsedTimer timer;
    timer.start();
    hover(bar, QEvent::HoverEnter);
    QVERIFY(!expansion->isHovered());
    QTRY_VERIFY_WITH_TIMEOUT(expansion->isHovered(), 5000);
    QVERIFY(timer.elapsed() >= 90);
    clock.advance(160);
    QCOMPARE(expansion->hoveredProgress(), 1.0);
    QCOMPARE(handleRun(), qMakePair(0, 12));

    timer.restart();
    hover(bar, QEvent::HoverLeave);
    QTRY_VERIFY_WITH_TIMEOUT(!expansion->isHovered(), 5000);
    QVERIFY(timer.elapsed() >= 450);
    clock.advance(160);
    QCOMPARE(handleRun(), qMakePair(6, 6));
}

void TestScrollBars::overlayStaysWideWhileDragged()
{
    BarScene scene;
    scene.setContentSize(100, 600);
    auto* bar = new CAnimationScrollBar(-1, scene.area, 0, Qt::Vertical, scene.area);
    scene.window.show();
    CAnimationWidget* expansion = bar->expansionAnimation();
    hover(bar, QEvent::HoverEnter);
    QTRY_COMPARE_WITH_TIMEOUT(expansion->hoveredProgress(), 1.0, 5000);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(9, 20));
    drag(bar, QPoint(9, 60));
    hover(bar, QEvent::HoverLeave);
    drag(bar, QPoint(-40, 60));
    QSignalSpy collapse(expansion, &CAnimationWidget::hoveredProgressChanged);
    QVERIFY(!collapse.wait(1000));
    QVERIFY(expansion->isHovered());
    QVERIFY(scene.area->verticalScrollBar()->value() > 0);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(-40, 60));
    QTRY_VERIFY_WITH_TIMEOUT(!expansion->isHovered(), 5000);
}

void TestScrollBars::handleSnapsToDevicePixels_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("wide");
    for (double ratio : testRatios()) {
        QTest::addRow("narrow @%g", ratio) << ratio << false;
        QTest::addRow("wide @%g", ratio) << ratio << true;
    }
}

// The handle's straight edges land on whole device pixels at every ratio.
void TestScrollBars::handleSnapsToDevicePixels()
{
    QFETCH(double, ratio);
    QFETCH(bool, wide);
    ManualAnimationClock clock;
    BarScene scene;
    scene.setContentSize(100, 300);
    auto* bar = new ProbeBar(-1, scene.area, 0, Qt::Vertical, scene.area);
    bar->setHandleColors(ColorSet(QColor(Qt::black)));
    scene.window.show();
    bar->expansionAnimation()->setHovered(wide, false);
    const QImage image = bar->paintAt(ratio);
    const QPair<int, int> run = opaqueRun(image, qRound(30 * ratio));
    QVERIFY2(run.first >= 0, "a handle edge is blended across a device pixel");
    QCOMPARE(run.first, wide ? 0 : qRound(6 * ratio));
    QVERIFY(run.second >= qRound((wide ? 11 : 5) * ratio));
    QVERIFY(run.first + run.second <= qRound(12.5 * ratio));
}

void TestScrollBars::marginModeKeepsContentClear_data()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<QMargins>("scrolling");
    QTest::newRow("vertical: right margin") << Qt::Vertical << QMargins(1, 2, 18, 4);
    QTest::newRow("horizontal: bottom margin") << Qt::Horizontal << QMargins(1, 2, 3, 18);
}

void TestScrollBars::marginModeKeepsContentClear()
{
    QFETCH(Qt::Orientation, orientation);
    QFETCH(QMargins, scrolling);
    BarScene scene;
    scene.content->setContentsMargins(1, 2, 3, 4);
    new CAnimationScrollBar(-1, scene.area, 1, orientation, scene.area);
    scene.window.show();
    const QMargins fitting = orientation == Qt::Vertical ? QMargins(1, 2, 0, 4) : QMargins(1, 2, 3, 0);
    QCOMPARE(scene.content->contentsMargins(), fitting);
    scene.setContentSize(1000, 1000);
    QCOMPARE(scene.content->contentsMargins(), scrolling);
    scene.setContentSize(100, 100);
    QCOMPARE(scene.content->contentsMargins(), fitting);
}

void TestScrollBars::installOnceRespectingAlwaysOff()
{
    BarScene scene;
    scene.area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    installAnimatedScrollBars(40, scene.area, 0);
    installAnimatedScrollBars(40, scene.area, 0);
    QCOMPARE(scene.area->findChildren<CScrollBar*>().size(), 2);
    for (CScrollBar* bar : scene.area->findChildren<CScrollBar*>())
        QCOMPARE(bar->parentWidget(), scene.area);

    BarScene vertical;
    installAnimatedScrollBars(40, vertical.area, 0);
    const QList<CScrollBar*> bars = vertical.area->findChildren<CScrollBar*>();
    QCOMPARE(bars.size(), 1);
    QCOMPARE(bars.first()->orientation(), Qt::Vertical);
    QVERIFY(qobject_cast<CAnimationScrollBar*>(bars.first()));
}

void TestScrollBars::paletteColoursOnlyOnOverlayBars()
{
    BarScene scene;
    Cpalette light(nullptr);
    DarkTestPalette dark(nullptr);
    CAnimationScrollBar overlay(-1, scene.area, 0, Qt::Vertical, scene.area);
    light.styleScrollBar(&overlay, 39);
    QVERIFY(!overlay.grooveColor().isValid());
    light.styleScrollBar(&overlay, 40);
    QCOMPARE(overlay.grooveColor(), QColor(0, 0, 0, 24));
    QCOMPARE(overlay.handleColors(), ColorSet(QColor(0, 0, 0, 92), QColor(0, 0, 0, 24), QColor(0, 0, 0, 46), QColor()));
    dark.styleScrollBar(&overlay, 40);
    QCOMPARE(overlay.grooveColor(), QColor(255, 255, 255, 30));
    QCOMPARE(overlay.handleColors(), ColorSet(QColor(255, 255, 255, 60), QColor(255, 255, 255, 60),
                                              QColor(255, 255, 255, 30), QColor()));

    CScrollBar plain(-1, nullptr, Qt::Vertical);
    const QPalette before = plain.palette();
    light.styleScrollBar(&plain, 40);
    light.styleScrollBar(nullptr, 40);
    QCOMPARE(plain.palette(), before);
}

TY_UI_TEST_MAIN(TestScrollBars)
#include "tst_scrollbars.moc"
