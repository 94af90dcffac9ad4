#include <QtTest>

#include "uilib/style/CCustomLayout.h"
#include "uilib/style/CLayoutItem.h"
#include "uilib/style/CLayoutManager.h"
#include "uilib/style/GlobLayout.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QProxyStyle>
#include <QWidget>

namespace {

QStringList widgetNames(QLayout* layout)
{
    QStringList names;
    for (int i = 0; i < layout->count(); ++i)
        names << layout->itemAt(i)->widget()->objectName();
    return names;
}

void addNamedWidgets(QLayout* layout, int count)
{
    for (int i = 0; i < count; ++i) {
        auto* widget = new QWidget;
        widget->setObjectName(QString::number(i));
        layout->addWidget(widget);
    }
}

class CountingLayout : public CCustomLayout
{
public:
    using CCustomLayout::CCustomLayout;
    mutable int runs = 0;

protected:
    int doLayout(const QRect& rect, const QList<QLayoutItem*>& items, bool testOnly) const override
    {
        ++runs;
        return CCustomLayout::doLayout(rect, items, testOnly);
    }
};

class SpacingStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_LayoutHorizontalSpacing)
            return 7;
        if (metric == PM_LayoutVerticalSpacing)
            return 5;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

void addFixedItems(QLayout* layout, int count, const QSize& size)
{
    for (int i = 0; i < count; ++i)
        layout->addItem(new QSpacerItem(size.width(), size.height(), QSizePolicy::Fixed, QSizePolicy::Fixed));
}

QSet<int> linearScan(QLayout* layout, const QRect& rect)
{
    QSet<int> positions;
    for (int i = 0; i < layout->count(); ++i) {
        if (layout->itemAt(i)->geometry().intersects(rect))
            positions.insert(i);
    }
    return positions;
}

} // namespace

class TestLayouts : public QObject
{
    Q_OBJECT

private slots:
    void managerSwitchMovesTheRows();
    void managerIgnoresUnknownIds();
    void managerDeletesUnusedLayouts();
    void moveItems_data();
    void moveItems();
    void layoutItemFollowsItsWidget();

    void flowPlacesItemsInLines();
    void flowAtWidthZero();
    void flowCachesHeightForWidth();
    void flowSpacingFromParent();
    void flowInsertAndTake();

    void positionsInBoxes_data();
    void positionsInBoxes();
    void positionsInFlowMatchALinearScan();
    void clearAndRefreshLayouts();
    void topLevelWindowAboveAllWindows();
};

void TestLayouts::managerSwitchMovesTheRows()
{
    QWidget list;
    auto* outer = new QVBoxLayout(&list);
    outer->addWidget(new QWidget);
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    outer->addWidget(new QWidget);
    addNamedWidgets(column, 4);
    auto* flow = new CCustomLayout;

    CLayoutManager manager;
    manager.addLayout(1, column);
    manager.addLayout(2, flow);
    QSignalSpy aboutToChange(&manager, &CLayoutManager::currentLayoutIdAboutToChange);
    QSignalSpy changed(&manager, &CLayoutManager::currentLayoutIdChanged);
    manager.setCurrentLayoutId(1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0), QVariantList({1, -1}));
    QCOMPARE(flow->parent(), &manager);
    QCOMPARE(manager.currentLayout(), column);

    manager.setCurrentLayoutId(2);
    QCOMPARE(aboutToChange.count(), 2);
    QCOMPARE(aboutToChange.at(1), QVariantList({2, 1}));
    QCOMPARE(changed.at(1), QVariantList({2, 1}));
    QCOMPARE(manager.currentLayoutId(), 2);
    QCOMPARE(widgetNames(flow), QStringList({"0", "1", "2", "3"}));
    QCOMPARE(outer->indexOf(flow), 1);
    QCOMPARE(column->parent(), &manager);
    QCOMPARE(column->count(), 0);

    manager.setCurrentLayoutId(1);
    QCOMPARE(widgetNames(column), QStringList({"0", "1", "2", "3"}));
    QCOMPARE(outer->indexOf(column), 1);
    QCOMPARE(flow->parent(), &manager);
}

void TestLayouts::managerIgnoresUnknownIds()
{
    QWidget list;
    auto* column = new QVBoxLayout(&list);
    CLayoutManager manager;
    manager.addLayout(1, column);
    manager.setCurrentLayoutId(1);
    QSignalSpy aboutToChange(&manager, &CLayoutManager::currentLayoutIdAboutToChange);
    QSignalSpy changed(&manager, &CLayoutManager::currentLayoutIdChanged);
    manager.setCurrentLayoutId(7);
    manager.setCurrentLayoutId(1);
    QCOMPARE(aboutToChange.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(manager.currentLayoutId(), 1);
}

void TestLayouts::managerDeletesUnusedLayouts()
{
    QPointer<QLayout> unused = new QVBoxLayout;
    QPointer<QLayout> parked = new QVBoxLayout;
    {
        CLayoutManager manager;
        manager.addLayout(1, parked);
        manager.addLayout(2, unused);
        manager.setCurrentLayoutId(1);
    }
    QVERIFY(!unused);
    QVERIFY(!parked);
}

void TestLayouts::moveItems_data()
{
    QTest::addColumn<bool>("flow");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order");
    for (bool flow : {false, true}) {
        const QByteArray kind = flow ? "flow: " : "box: ";
        QTest::newRow(kind + "down") << flow << 2 << 3 << 6 << "0 1 4 5 2 3 6 7";
        QTest::newRow(kind + "up") << flow << 5 << 6 << 1 << "0 5 6 1 2 3 4 7";
        QTest::newRow(kind + "to the end") << flow << 0 << 0 << 8 << "1 2 3 4 5 6 7 0";
        QTest::newRow(kind + "in place") << flow << 3 << 4 << 3 << "0 1 2 3 4 5 6 7";
        QTest::newRow(kind + "negative first") << flow << -1 << 2 << 6 << "0 1 2 3 4 5 6 7";
    }
}

void TestLayouts::moveItems()
{
    QFETCH(bool, flow);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, to);
    QFETCH(QString, order);
    QWidget list;
    QLayout* rows = flow ? static_cast<QLayout*>(new CCustomLayout(&list)) : new QVBoxLayout(&list);
    addNamedWidgets(rows, 8);
    CLayoutManager manager;
    manager.addLayout(0, rows);
    manager.setCurrentLayoutId(0);
    manager.moveItems(first, last, to);
    QCOMPARE(widgetNames(rows).join(' '), order);
}

void TestLayouts::layoutItemFollowsItsWidget()
{
    CLayoutItem item(40, 30, QSizePolicy::Fixed, QSizePolicy::Fixed);
    QWidget host;
    auto* widget = new QWidget(&host);
    host.show();
    widget->setMinimumSize(10, 10);
    widget->setFixedHeight(24);
    widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    item.setWidget(widget);
    QWidgetItem reference(widget);
    QCOMPARE(item.sizeHint(), reference.sizeHint());
    QCOMPARE(item.minimumSize(), reference.minimumSize());
    QCOMPARE(item.maximumSize(), reference.maximumSize());
    QCOMPARE(item.expandingDirections(), Qt::Horizontal);
    QCOMPARE(item.widget(), widget);
    QCOMPARE(item.spacerItem(), nullptr);
    item.setGeometry(QRect(5, 6, 100, 50));
    QCOMPARE(widget->geometry(), reference.geometry());
    // A fixed height stands centred, as Qt's widget item places it.
    QCOMPARE(item.geometry(), QRect(5, 19, 100, 24));
    QVERIFY(!item.isEmpty());

    delete widget;
    QCOMPARE(item.sizeHint(), QSize(40, 30));
    QCOMPARE(item.expandingDirections(), Qt::Orientations());
    QCOMPARE(item.widget(), nullptr);
    QCOMPARE(item.spacerItem(), &item);
    QCOMPARE(item.geometry(), QRect(5, 6, 100, 50));
    QCOMPARE(item.controlTypes(), QSizePolicy::DefaultType);
}

void TestLayouts::flowPlacesItemsInLines()
{
    // The colour picker's swatch layout: three 30 x 20 items fit in 152 pixels.
    CCustomLayout flow(nullptr, QMargins(29, 0, 29, 29), 2, 2);
    addFixedItems(&flow, 7, QSize(30, 20));
    flow.addItem(new QSpacerItem(200, 10, QSizePolicy::Fixed, QSizePolicy::Fixed));
    flow.setGeometry(QRect(10, 10, 152, 500));
    const QList<QPoint> expected{{39, 10}, {71, 10}, {103, 10}, {39, 32}, {71, 32}, {103, 32}, {39, 54}, {39, 76}};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(flow.itemAt(i)->geometry().topLeft(), expected.at(i));
    // The wide item stands alone on its line.
    QCOMPARE(flow.heightForWidth(152), 76 + 10 + 29 - 10);
    QCOMPARE(flow.minimumSize(), QSize(200 + 58, 20 + 29));
    QCOMPARE(flow.sizeHint(), flow.minimumSize());
    QCOMPARE(flow.expandingDirections(), Qt::Horizontal);
}

void TestLayouts::flowAtWidthZero()
{
    CCustomLayout flow(nullptr, QMargins(1, 2, 3, 4), 5, 6);
    addFixedItems(&flow, 4, QSize(30, 20));
    QCOMPARE(flow.heightForWidth(0), 2 + 4 * 20 + 3 * 6 + 4);
    QCOMPARE(flow.minimumHeightForWidth(0), flow.heightForWidth(0));
    flow.setGeometry(QRect(0, 0, 0, 200));
    for (int i = 0; i < flow.count(); ++i)
        QCOMPARE(flow.itemAt(i)->geometry().topLeft(), QPoint(1, 2 + i * 26));
}

void TestLayouts::flowCachesHeightForWidth()
{
    CountingLayout flow(nullptr, QMargins(), 2, 2);
    addFixedItems(&flow, 10, QSize(30, 20));
    flow.runs = 0;
    const int height = flow.heightForWidth(100);
    QCOMPARE(flow.heightForWidth(100), height);
    QCOMPARE(flow.runs, 1);
    flow.heightForWidth(64);
    QCOMPARE(flow.runs, 2);
    flow.heightForWidth(64);
    QCOMPARE(flow.runs, 2);
    flow.invalidate();
    flow.heightForWidth(64);
    QCOMPARE(flow.runs, 3);
    flow.setVerticalSpacing(10);
    QCOMPARE(flow.heightForWidth(64), 5 * 20 + 4 * 10);
    flow.setVerticalSpacing(10);
    QCOMPARE(flow.runs, 4);
}

void TestLayouts::flowSpacingFromParent()
{
    QWidget parent;
    SpacingStyle style;
    parent.setStyle(&style);
    CCustomLayout fromWidget(&parent);
    QCOMPARE(fromWidget.horizontalSpacing(), 7);
    QCOMPARE(fromWidget.verticalSpacing(), 5);
    fromWidget.setHorizontalSpacing(3);
    QCOMPARE(fromWidget.horizontalSpacing(), 3);

    QVBoxLayout box;
    box.setSpacing(9);
    auto* fromLayout = new CCustomLayout;
    box.addLayout(fromLayout);
    QCOMPARE(fromLayout->horizontalSpacing(), 9);
    QCOMPARE(fromLayout->verticalSpacing(), 9);

    CCustomLayout alone;
    QCOMPARE(alone.horizontalSpacing(), -1);
    // Parked under a plain object, it has no spacing to take.
    QObject holder;
    auto* parked = new CCustomLayout;
    parked->setParent(&holder);
    QCOMPARE(parked->verticalSpacing(), -1);
}

void TestLayouts::flowInsertAndTake()
{
    QWidget parent;
    auto* flow = new CCustomLayout(&parent);
    addNamedWidgets(flow, 3);
    auto* inserted = new QWidget;
    inserted->setObjectName("x");
    flow->insertWidget(1, inserted);
    QCOMPARE(inserted->parent(), &parent);
    auto* appended = new QWidget;
    appended->setObjectName("y");
    flow->insertWidget(-1, appended);
    QCOMPARE(widgetNames(flow), QStringList({"0", "x", "1", "2", "y"}));
    flow->insertWidget(0, nullptr);
    flow->insertWidget(0, &parent);
    QCOMPARE(flow->count(), 5);
    QCOMPARE(flow->itemAt(5), nullptr);
    QCOMPARE(flow->takeAt(-1), nullptr);
    QCOMPARE(flow->takeAt(5), nullptr);
    delete flow->takeAt(1);
    QCOMPARE(widgetNames(flow), QStringList({"0", "1", "2", "y"}));
}

void TestLayouts::positionsInBoxes_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("rightToLeft");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QList<int>>("positions");
    const auto down = int(QBoxLayout::TopToBottom);
    const auto across = int(QBoxLayout::LeftToRight);
    // Ten items of 20 pixels from 0 to 200, in a layout at (0, 0).
    QTest::newRow("vertical") << down << false << QRect(0, 45, 100, 30) << QList<int>{2, 3};
    QTest::newRow("vertical, edges") << down << false << QRect(0, 40, 100, 40) << QList<int>{2, 3};
    QTest::newRow("vertical, all") << down << false << QRect(0, -10, 100, 400) << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("vertical, below all") << down << false << QRect(0, 200, 100, 30) << QList<int>{};
    QTest::newRow("vertical, above all") << down << false << QRect(0, -50, 100, 50) << QList<int>{};
    QTest::newRow("vertical, empty rect") << down << false << QRect(0, 45, 0, 30) << QList<int>{};
    QTest::newRow("horizontal") << across << false << QRect(45, 0, 30, 10) << QList<int>{2, 3};
    QTest::newRow("horizontal, last") << across << false << QRect(190, 0, 50, 10) << QList<int>{9};
    QTest::newRow("right to left") << int(QBoxLayout::RightToLeft) << false << QRect(45, 0, 30, 10) << QList<int>{6, 7};
    QTest::newRow("mirrored") << across << true << QRect(45, 0, 30, 10) << QList<int>{6, 7};
    QTest::newRow("mirrored right to left") << int(QBoxLayout::RightToLeft) << true << QRect(45, 0, 30, 10)
                                            << QList<int>{2, 3};
    QTest::newRow("bottom to top") << int(QBoxLayout::BottomToTop) << false << QRect(0, 45, 100, 30)
                                   << QList<int>{6, 7};
}

void TestLayouts::positionsInBoxes()
{
    QFETCH(int, direction);
    QFETCH(bool, rightToLeft);
    QFETCH(QRect, rect);
    QFETCH(QList<int>, positions);
    QWidget host;
    host.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    auto* box = new QBoxLayout(QBoxLayout::Direction(direction), &host);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    addFixedItems(box, 10, QSize(20, 20));
    box->setGeometry(QRect(0, 0, 200, 200));
    const QSet<int> expected(positions.begin(), positions.end());
    QCOMPARE(positionsInRect(box, rect), expected);
    QCOMPARE(linearScan(box, rect), expected);
}

void TestLayouts::positionsInFlowMatchALinearScan()
{
    QCOMPARE(positionsInRect(nullptr, QRect(0, 0, 10, 10)), QSet<int>());
    CCustomLayout flow(nullptr, QMargins(29, 0, 29, 29), 2, 2);
    addFixedItems(&flow, 40, QSize(30, 20));
    flow.setGeometry(QRect(10, 10, 152, 400));
    for (int y = -20; y < 340; y += 7) {
        for (const QRect& rect : {QRect(0, y, 300, 35), QRect(60, y, 40, 25), QRect(130, y, 100, 3)}) {
            QCOMPARE(positionsInRect(&flow, rect), linearScan(&flow, rect));
        }
    }
    // Any other layout is scanned.
    QWidget host;
    auto* grid = new QGridLayout(&host);
    for (int i = 0; i < 6; ++i)
        grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Fixed, QSizePolicy::Fixed), i / 3, i % 3);
    grid->setGeometry(QRect(0, 0, 100, 100));
    const QRect rect(0, 0, 30, 100);
    QVERIFY(!linearScan(grid, rect).isEmpty());
    QCOMPARE(positionsInRect(grid, rect), linearScan(grid, rect));
}

void TestLayouts::clearAndRefreshLayouts()
{
    QWidget host;
    auto* outer = new QVBoxLayout(&host);
    QPointer<QWidget> top = new QWidget;
    outer->addWidget(top);
    auto* inner = new QHBoxLayout;
    outer->addLayout(inner);
    QPointer<QWidget> nested = new QWidget;
    inner->addWidget(nested);
    host.resize(100, 100);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    // Laid out at once, without waiting for the posted layout request.
    nested->setFixedHeight(40);
    QVERIFY(refreshLayout(outer));
    QCOMPARE(nested->height(), 40);

    clearLayout(outer);
    QCOMPARE(outer->count(), 0);
    QVERIFY(!top);
    QVERIFY(!nested);
}

void TestLayouts::topLevelWindowAboveAllWindows()
{
    QWidget main;
    auto* dialog = new QWidget(&main, Qt::Dialog);
    auto* child = new QWidget(dialog);
    QCOMPARE(child->window(), dialog);
    QCOMPARE(topLevelWindow(child), &main);
    QCOMPARE(topLevelWindow(&main), &main);
    QCOMPARE(topLevelWindow(nullptr), nullptr);
}

QTEST_MAIN(TestLayouts)
#include "tst_layouts.moc"
