#include "support/UiTestSupport.h"

#include "uilib/controls/CScrollArea.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <utility>

namespace {

// A content widget with a chosen size hint.
class HintWidget : public QWidget
{
public:
    explicit HintWidget(const QSize& hint) : m_hint(hint) {}
    QSize sizeHint() const override { return m_hint; }

private:
    QSize m_hint;
};

// A 200 x 100 viewport over 1000 x 1000 of content, no visible bars.
struct AreaScene
{
    QWidget window;
    CScrollArea* area = new CScrollArea(-1, &window);
    QWidget* content = new QWidget;
    AreaScene()
    {
        window.resize(400, 300);
        area->setGeometry(30, 40, 200, 100);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setWidgetResizable(false);
        content->resize(1000, 1000);
        area->setWidget(content);
    }
    QPoint scroll() const
    {
        return QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    }
    void scrollTo(const QPoint& pos)
    {
        area->horizontalScrollBar()->setValue(pos.x());
        area->verticalScrollBar()->setValue(pos.y());
    }
};

// Counts the layout requests that reach a widget.
class LayoutRequests : public QObject
{
public:
    explicit LayoutRequests(QWidget* widget) { widget->installEventFilter(this); }
    int take()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return std::exchange(m_count, 0);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

} // namespace

class TestScrollArea : public QObject
{
    Q_OBJECT
private slots:
    void ensureRectVisible_data();
    void ensureRectVisible();
    void visibleRectFollowsShowResizeAndScroll();
    void autoSizeTakesContentHint();
    void autoSizeWithoutContentWidget();
    void autoSizeOffKeepsContentTracking();
};

// Every case at once and animated: the viewport's scroller takes real time, so its end values
// are waited for.
void TestScrollArea::ensureRectVisible_data()
{
    QTest::addColumn<bool>("animated");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QPoint>("expected");
    const QPoint start(100, 100);
    for (bool animated : {false, true}) {
        const auto row = [animated](const char* name) {
            return &(QTest::addRow("%s, %s", name, animated ? "animated" : "at once") << animated);
        };
        *row("inside") << start << QRect(120, 120, 50, 30) << start;
        *row("exactly the viewport") << start << QRect(100, 100, 200, 100) << start;
        *row("above") << start << QRect(120, 20, 50, 30) << QPoint(100, 20);
        *row("below: bottom on the last row") << start << QRect(120, 300, 50, 30) << QPoint(100, 230);
        *row("taller, below: top at the top") << start << QRect(120, 300, 50, 250) << QPoint(100, 300);
        *row("left") << start << QRect(20, 120, 50, 30) << QPoint(20, 100);
        *row("right: right edge on the last column") << start << QRect(400, 120, 50, 30) << QPoint(250, 100);
        *row("wider, right: left at the left") << start << QRect(400, 120, 300, 30) << QPoint(400, 100);
        *row("below and right") << start << QRect(400, 300, 50, 30) << QPoint(250, 230);
        *row("overlapping the bottom edge") << start << QRect(120, 180, 50, 40) << QPoint(100, 120);
        *row("past the content end: clamped") << QPoint(0, 0) << QRect(950, 990, 100, 100) << QPoint(800, 900);
    }
}

void TestScrollArea::ensureRectVisible()
{
    QFETCH(bool, animated);
    QFETCH(QPoint, start);
    QFETCH(QRect, rect);
    QFETCH(QPoint, expected);
    AreaScene scene;
    scene.window.show();
    scene.scrollTo(start);
    scene.area->ensureRectVisible(rect, animated);
    if (animated)
        QTRY_COMPARE_WITH_TIMEOUT(scene.scroll(), expected, 10000);
    QCOMPARE(scene.scroll(), expected);
}

void TestScrollArea::visibleRectFollowsShowResizeAndScroll()
{
    AreaScene scene;
    QSignalSpy spy(scene.area, &CScrollArea::visibleWidgetRectChanged);
    QCOMPARE(scene.area->visibleWidgetRect(), QRect());
    scene.window.show();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toRect(), QRect(0, 0, 200, 100));
    scene.area->resize(150, 80);
    QCOMPARE(spy.last().at(0).toRect(), QRect(0, 0, 150, 80));
    scene.scrollTo(QPoint(30, 70));
    QCOMPARE(spy.last().at(0).toRect(), QRect(30, 70, 150, 80));
    QCOMPARE(scene.area->visibleWidgetRect(), QRect(30, 70, 150, 80));
    const int before = spy.count();
    scene.area->relayout();
    QCOMPARE(spy.count(), before);
    scene.window.hide();
    QCOMPARE(spy.last().at(0).toRect(), QRect());
    QCOMPARE(scene.area->visibleWidgetRect(), QRect());
    scene.area->verticalScrollBar()->setValue(10);
    QCOMPARE(spy.last().at(0).toRect(), QRect());
}

void TestScrollArea::autoSizeTakesContentHint()
{
    CScrollArea area;
    area.setWidget(new HintWidget(QSize(150, 200)));
    QSignalSpy spy(&area, &CScrollArea::autoSizeEnabledChanged);
    area.setAutoSize(true);
    area.setAutoSize(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(area.sizeHint(), QSize(150, 200));
    QCOMPARE(area.minimumSizeHint(), QSize(150, 32));
    area.setWidget(new HintWidget(QSize(90, 20)));
    QCOMPARE(area.minimumSizeHint(), QSize(90, 20));
    area.setAutoSize(false);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toBool(), false);
    QCOMPARE(area.sizeHint(), area.QScrollArea::sizeHint());
}

// The content widget is read only while one is set; the filter follows the widget set later.
void TestScrollArea::autoSizeWithoutContentWidget()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* area = new CScrollArea(-1, &window);
    layout->addWidget(area);
    area->setAutoSize(true);
    QCOMPARE(area->sizeHint(), area->QScrollArea::sizeHint());
    QCOMPARE(area->minimumSizeHint(), area->QAbstractScrollArea::minimumSizeHint());
    window.show();
    auto* content = new HintWidget(QSize(120, 300));
    area->setWidget(content);
    QCOMPARE(area->sizeHint(), QSize(120, 300));
    LayoutRequests requests(&window);
    requests.take();
    content->resize(120, 310);
    QVERIFY(requests.take() > 0);
    area->setAutoSize(false);
    requests.take();
    content->resize(120, 320);
    QCOMPARE(requests.take(), 0);
}

// Switching auto size off leaves the area's own resize tracking of its content in place.
void TestScrollArea::autoSizeOffKeepsContentTracking()
{
    AreaScene scene;
    scene.window.show();
    scene.area->setAutoSize(true);
    scene.area->setAutoSize(false);
    scene.content->resize(1000, 1500);
    QCOMPARE(scene.area->verticalScrollBar()->maximum(), 1400);
}

TY_UI_TEST_MAIN(TestScrollArea)
#include "tst_scrollarea.moc"
