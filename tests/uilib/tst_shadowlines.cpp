#include "support/UiTestSupport.h"

#include "uilib/controls/CChadowLine.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "app/CSystemTools.h"

#include <QScrollArea>
#include <QScrollBar>

class TestShadowLines : public QObject
{
    Q_OBJECT
private slots:
    void attachedPlacement_data();
    void attachedPlacement();
    void followsTargetGeometryAndVisibility();
    void parentlessTargetKeepsLineHidden();
    void paintsNothingWithoutSizeOrColour_data();
    void paintsNothingWithoutSizeOrColour();
    void insideTopLineDarkestAtBorder_data();
    void insideTopLineDarkestAtBorder();
    void paletteLook();
    void shadowImageMadeOnce();
    void innerLinesFollowScrollPosition();
    void innerLinesAnimateOnlyFromScrollBars();
    void secondSetEdgeShadowsReplacesLines();
};

namespace {

struct Scene
{
    QWidget parent;
    QWidget* target = new QWidget(&parent);
    Scene()
    {
        parent.resize(400, 300);
        target->setGeometry(10, 20, 200, 100);
    }
};

// A scroll area whose content is three times its height.
struct ScrollScene
{
    QWidget window;
    QScrollArea* area = new QScrollArea(&window);
    QWidget* content = new QWidget;
    ScrollScene()
    {
        window.resize(300, 300);
        area->setGeometry(0, 0, 200, 200);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        content->resize(150, 600);
        area->setWidget(content);
        window.show();
    }
};

int lineAlpha(CChadowLine* line, double ratio, const QPoint& logical)
{
    const QImage image = renderWidget(line, ratio);
    return logicalPixel(image, QPointF(logical) + QPointF(0.5, 0.5)).alpha();
}

} // namespace

void TestShadowLines::attachedPlacement_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("top inside") << int(Qt::TopEdge) << 2 << QRect(10, 20, 200, 8);
    QTest::newRow("top outside") << int(Qt::TopEdge) << 1 << QRect(10, 12, 200, 8);
    QTest::newRow("left inside") << int(Qt::LeftEdge) << 2 << QRect(10, 20, 8, 100);
    QTest::newRow("left outside") << int(Qt::LeftEdge) << 1 << QRect(2, 20, 8, 100);
    QTest::newRow("right inside") << int(Qt::RightEdge) << 2 << QRect(202, 20, 8, 100);
    QTest::newRow("right outside") << int(Qt::RightEdge) << 1 << QRect(210, 20, 8, 100);
    QTest::newRow("bottom inside") << int(Qt::BottomEdge) << 2 << QRect(10, 112, 200, 8);
    QTest::newRow("bottom outside") << int(Qt::BottomEdge) << 1 << QRect(10, 120, 200, 8);
    QTest::newRow("no edge") << 3 << 2 << QRect();
}

void TestShadowLines::attachedPlacement()
{
    QFETCH(int, edge);
    QFETCH(int, mode);
    QFETCH(QRect, expected);
    Scene scene;
    CChadowLine line(-1, edge, mode, scene.target);
    line.setShadowSize(8);
    QCOMPARE(line.parentWidget(), &scene.parent);
    QCOMPARE(line.geometry(), expected);
}

void TestShadowLines::followsTargetGeometryAndVisibility()
{
    Scene scene;
    scene.parent.show();
    auto* line = new CChadowLine(-1, Qt::BottomEdge, 2, scene.target);
    line->setShadowSize(6);
    QVERIFY(line->isVisible());
    scene.target->setGeometry(30, 40, 100, 50);
    QCOMPARE(line->geometry(), QRect(30, 84, 100, 6));
    scene.target->hide();
    QVERIFY(!line->isVisible());
    scene.target->show();
    QVERIFY(line->isVisible());
    QWidget other;
    other.resize(100, 100);
    other.show();
    scene.target->setParent(&other);
    scene.target->show();
    QCOMPARE(line->parentWidget(), &other);
    QVERIFY(line->isVisible());
}

void TestShadowLines::parentlessTargetKeepsLineHidden()
{
    QWidget target;
    target.resize(100, 50);
    target.show();
    CChadowLine line(-1, Qt::TopEdge, 2, &target);
    line.setShadowSize(5);
    QVERIFY(!line.isVisible());
    target.hide();
    target.show();
    QVERIFY(!line.isVisible());
    QVERIFY(!line.parentWidget());
}

void TestShadowLines::paintsNothingWithoutSizeOrColour_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QColor>("color");
    QTest::newRow("size 0") << 0 << QColor(Qt::black);
    QTest::newRow("transparent") << 8 << QColor(0, 0, 0, 0);
    QTest::newRow("no colour") << 8 << QColor();
}

void TestShadowLines::paintsNothingWithoutSizeOrColour()
{
    QFETCH(int, size);
    QFETCH(QColor, color);
    CChadowLine line(-1, Qt::TopEdge, 0, nullptr);
    line.setShadowSize(size);
    line.setColor(color);
    line.setMinimumSize(0, 0);
    line.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    line.resize(100, 10);
    const QImage image = renderWidget(&line, 1.0);
    QVERIFY(isFlatImage(image));
    QCOMPARE(devicePixel(image, 0, 0).alpha(), 0);
}

void TestShadowLines::insideTopLineDarkestAtBorder_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestShadowLines::insideTopLineDarkestAtBorder()
{
    QFETCH(double, ratio);
    Scene scene;
    CChadowLine line(-1, Qt::TopEdge, 2, scene.target);
    line.setShadowSize(8);
    line.setColor(Qt::black);
    const int border = lineAlpha(&line, ratio, QPoint(100, 0));
    const int inner = lineAlpha(&line, ratio, QPoint(100, 7));
    QVERIFY2(border > inner, qPrintable(QStringLiteral("%1 <= %2").arg(border).arg(inner)));
    QVERIFY(border > 0);
    // Along the line the middle is as dark as the middle stretch, fading only at the ends.
    QCOMPARE(lineAlpha(&line, ratio, QPoint(50, 0)), border);
    QVERIFY(lineAlpha(&line, ratio, QPoint(0, 0)) < border);
}

void TestShadowLines::paletteLook()
{
    Scene scene;
    CChadowLine line(42, Qt::TopEdge, 2, scene.target);
    QCOMPARE(line.shadowSize(), currentPalette()->metric(1));
    QCOMPARE(line.color(), currentPalette()->color(4));
    CChadowLine other(41, Qt::TopEdge, 2, scene.target);
    QCOMPARE(other.shadowSize(), 0);
}

void TestShadowLines::shadowImageMadeOnce()
{
    Scene scene;
    CChadowLine first(-1, Qt::TopEdge, 2, scene.target);
    CChadowLine second(-1, Qt::BottomEdge, 1, scene.target);
    for (CChadowLine* line : {&first, &second}) {
        line->setShadowSize(7);
        line->setColor(QColor(10, 20, 30, 200));
    }
    CResourceCache* cache = CSystemTools::instance()->resourceCache();
    const QString key = QStringLiteral("1-14-%1").arg(QColor(10, 20, 30, 200).rgba());
    QPixmap cached;
    QVERIFY(!cache->find(key, &cached));
    renderWidget(&first, 1.0);
    QVERIFY(cache->find(key, &cached));
    QCOMPARE(cached.size(), QSize(29, 29));
    const int cost = cache->totalCost();
    renderWidget(&second, 1.0);
    renderWidget(&first, 1.0);
    QCOMPARE(cache->totalCost(), cost);
}

void TestShadowLines::innerLinesFollowScrollPosition()
{
    ManualAnimationClock clock;
    ScrollScene scene;
    CShadowInner inner(scene.area, nullptr);
    inner.setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);
    CChadowLine* top = inner.line(Qt::TopEdge);
    CChadowLine* bottom = inner.line(Qt::BottomEdge);
    QVERIFY(top && bottom);
    QVERIFY(!inner.line(Qt::LeftEdge));
    QVERIFY(!top->isVisible());
    QVERIFY(bottom->isVisible());
    QScrollBar* bar = scene.area->verticalScrollBar();
    bar->setValue(bar->maximum());
    clock.advance(1000);
    QVERIFY(top->isVisible());
    QVERIFY(!bottom->isVisible());
    scene.content->resize(150, 100);
    clock.advance(1000);
    QVERIFY(!top->isVisible());
    QVERIFY(!bottom->isVisible());
}

void TestShadowLines::innerLinesAnimateOnlyFromScrollBars()
{
    ManualAnimationClock clock;
    ScrollScene scene;
    CShadowInner inner(scene.area, nullptr);
    inner.setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);
    CChadowLine* top = inner.line(Qt::TopEdge);
    QVERIFY(!top->visibilityAnimator() || !top->visibilityAnimator()->isRunning());
    scene.area->verticalScrollBar()->setValue(50);
    clock.advance(0);
    QVERIFY(top->visibilityAnimator() && top->visibilityAnimator()->isRunning());
    clock.advance(1000);
    QVERIFY(top->isVisible());
    QVERIFY(!top->visibilityAnimator()->isRunning());
}

void TestShadowLines::secondSetEdgeShadowsReplacesLines()
{
    ScrollScene scene;
    CShadowInner inner(scene.area, nullptr);
    inner.setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);
    QPointer<CChadowLine> oldTop = inner.line(Qt::TopEdge);
    inner.setEdgeShadows(Qt::LeftEdge, 42, 1);
    QVERIFY(!oldTop);
    QVERIFY(!inner.line(Qt::TopEdge));
    QVERIFY(inner.line(Qt::LeftEdge));
    QCOMPARE(scene.window.findChildren<CChadowLine*>().size(), 1);
    inner.setEdgeShadows(0, 42, 0);
    QVERIFY(scene.window.findChildren<CChadowLine*>().isEmpty());
}

TY_UI_TEST_MAIN(TestShadowLines)
#include "tst_shadowlines.moc"
