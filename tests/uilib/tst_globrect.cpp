#include <QtTest>

#include "uilib/style/GlobRect.h"
#include "uilib/style/TextOptionFilter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextDocument>
#include <QWidget>

#include <functional>

Q_DECLARE_METATYPE(Qt::Edge)

namespace {

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

class WrapAnywhere : public Glob::ITextOptionCallback
{
public:
    void adjustTextOption(QTextOption& option) override
    {
        ++calls;
        option.setWrapMode(mode);
    }
    QTextOption::WrapMode mode = QTextOption::WrapAnywhere;
    int calls = 0;
};

// An owner whose document sits one object below it.
struct Owner
{
    Owner()
    {
        holder->setParent(&object);
        document->setParent(holder);
    }
    QObject object;
    QObject* holder = new QObject;
    QTextDocument* document = new QTextDocument;
};

} // namespace

class TestGlobRect : public QObject
{
    Q_OBJECT

private slots:
    void placeRectBesideAnchor_data();
    void placeRectBesideAnchor();
    void clampRectToScreen_data();
    void clampRectToScreen();
    void fitRectInside_data();
    void fitRectInside();
    void screensAndWidgets();
    void nativeScreenToWidget();
    void textOptionFilters();
    void textOptionFilterOfNestedOwners();
    void textOptionFilterLeavesWithItsOwner();
};

void TestGlobRect::placeRectBesideAnchor_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<Qt::Edge>("side");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("topLeft");
    // The anchor spans x 100..149 and y 100..119; the rect is 30 x 10.
    const QRect origin(0, 0, 30, 10);
    QTest::newRow("below, left") << origin << Qt::BottomEdge << int(Qt::AlignLeft) << QPoint(4, 0) << QPoint(100, 124);
    QTest::newRow("above, right") << origin << Qt::TopEdge << int(Qt::AlignRight) << QPoint(2, 0) << QPoint(120, 88);
    QTest::newRow("left, top shifted") << origin << Qt::LeftEdge << int(Qt::AlignTop) << QPoint(0, 5) << QPoint(70, 105);
    QTest::newRow("right, bottom") << origin << Qt::RightEdge << int(Qt::AlignBottom) << QPoint(3, 0) << QPoint(153, 110);
    QTest::newRow("right, v-centre") << origin << Qt::RightEdge << int(Qt::AlignVCenter) << QPoint() << QPoint(150, 105);
    QTest::newRow("below, h-centre") << origin << Qt::BottomEdge << int(Qt::AlignHCenter) << QPoint() << QPoint(110, 120);
    QTest::newRow("below, h-centre shifted") << origin << Qt::BottomEdge << int(Qt::AlignHCenter) << QPoint(0, -10)
                                             << QPoint(100, 120);
    QTest::newRow("nearest, after the start") << QRect(130, 0, 30, 10) << Qt::BottomEdge << int(Qt::AlignJustify)
                                              << QPoint() << QPoint(100, 120);
    QTest::newRow("nearest, before the end") << QRect(50, 0, 30, 10) << Qt::TopEdge << int(Qt::AlignJustify)
                                             << QPoint() << QPoint(120, 90);
    QTest::newRow("nearest, wider") << QRect(90, 0, 80, 10) << Qt::BottomEdge << int(Qt::AlignJustify) << QPoint()
                                    << QPoint(90, 120);
    QTest::newRow("nearest beside, below the top") << QRect(0, 115, 30, 10) << Qt::RightEdge
                                                   << int(Qt::AlignJustify) << QPoint() << QPoint(150, 100);
    QTest::newRow("combined alignment moves no further") << QRect(7, 8, 30, 10) << Qt::BottomEdge
                                                         << int(Qt::AlignLeft | Qt::AlignTop) << QPoint()
                                                         << QPoint(7, 120);
    QTest::newRow("no side") << QRect(7, 8, 30, 10) << Qt::Edge(0) << int(Qt::AlignLeft) << QPoint()
                             << QPoint(100, 8);
}

void TestGlobRect::placeRectBesideAnchor()
{
    QFETCH(QRect, rect);
    QFETCH(Qt::Edge, side);
    QFETCH(int, alignment);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, topLeft);
    const QRect placed = ::placeRectBesideAnchor(QRect(100, 100, 50, 20), rect, side, Qt::Alignment(alignment), offset);
    QCOMPARE(placed, QRect(topLeft, rect.size()));
}

void TestGlobRect::clampRectToScreen_data()
{
    // Rects and results relative to the primary screen's available area.
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("margin");
    QTest::addColumn<QRect>("expected");
    const QRect area = availableArea();
    const int w = area.width();
    const int h = area.height();
    QTest::newRow("inside") << QRect(10, 20, 100, 50) << 0 << 0 << QRect(10, 20, 100, 50);
    QTest::newRow("left of the area") << QRect(-10, 20, 100, 50) << 0 << 0 << QRect(0, 20, 100, 50);
    QTest::newRow("past the right") << QRect(w - 50, 20, 100, 50) << 0 << 0 << QRect(w - 100, 20, 100, 50);
    QTest::newRow("one past the right") << QRect(w - 99, 20, 100, 50) << 0 << 0 << QRect(w - 100, 20, 100, 50);
    QTest::newRow("on the last pixel") << QRect(w - 100, h - 50, 100, 50) << 0 << 0 << QRect(w - 100, h - 50, 100, 50);
    QTest::newRow("one past the bottom") << QRect(0, h - 49, 100, 50) << 0 << 0 << QRect(0, h - 50, 100, 50);
    QTest::newRow("larger than the area") << QRect(-50, -40, w + 200, h + 100) << 0 << 0 << QRect(0, 0, w, h);
    const int top = (h - 20) % 30;
    QTest::newRow("whole steps") << QRect(0, 0, 100, 50) << 30 << 10 << QRect(0, top, 100, 50);
    QTest::newRow("whole steps, taller") << QRect(0, 0, 100, h + 10) << 30 << 10 << QRect(0, top, 100, h - top);
    QTest::newRow("step 1 keeps the top") << QRect(0, -5, 100, 50) << 1 << 10 << QRect(0, 0, 100, 50);
}

void TestGlobRect::clampRectToScreen()
{
    QFETCH(QRect, rect);
    QFETCH(int, step);
    QFETCH(int, margin);
    QFETCH(QRect, expected);
    const QPoint origin = availableArea().topLeft();
    const QRect placed = rect.translated(origin);
    QCOMPARE(::clampRectToScreen(placed, placed, step, margin), expected.translated(origin));
    // A reference off every screen takes the primary screen.
    QCOMPARE(::clampRectToScreen(QRect(-90000, -90000, 10, 10), placed, step, margin), expected.translated(origin));
}

void TestGlobRect::fitRectInside_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("expected");
    // The area is (0, 0, 100, 100).
    QTest::newRow("ignore: cut") << QRect(50, 50, 100, 100) << int(Qt::IgnoreAspectRatio) << QRect(50, 50, 50, 50);
    QTest::newRow("keep: inside") << QRect(10, 10, 30, 30) << int(Qt::KeepAspectRatio) << QRect(10, 10, 30, 30);
    QTest::newRow("keep: moved in") << QRect(-10, 80, 30, 30) << int(Qt::KeepAspectRatio) << QRect(0, 70, 30, 30);
    QTest::newRow("keep: scaled") << QRect(50, -10, 200, 100) << int(Qt::KeepAspectRatio) << QRect(0, 0, 100, 50);
    QTest::newRow("keep: taller") << QRect(90, 90, 20, 400) << int(Qt::KeepAspectRatio) << QRect(90, 0, 5, 100);
}

void TestGlobRect::fitRectInside()
{
    QFETCH(QRect, rect);
    QFETCH(int, mode);
    QFETCH(QRect, expected);
    QCOMPARE(::fitRectInside(rect, QRect(0, 0, 100, 100), Qt::AspectRatioMode(mode)), expected);
}

void TestGlobRect::screensAndWidgets()
{
    QScreen* primary = QGuiApplication::primaryScreen();
    const QRect geometry = primary->geometry();
    QCOMPARE(screenAt(geometry.topLeft()), primary);
    QCOMPARE(screenAt(geometry.bottomRight() + QPoint(1, 1)), primary);
    QCOMPARE(screenAt(geometry.bottomRight() + QPoint(2, 0)), nullptr);
    QCOMPARE(globalWidgetRect(nullptr), QRect());
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 80, 200, 150);
    auto* child = new QWidget(&window);
    child->setGeometry(10, 20, 30, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(globalWidgetRect(child), QRect(110, 100, 30, 40));
    QCOMPARE(widgetScreen(child), primary);
    QCOMPARE(widgetScreen(nullptr), nullptr);
}

void TestGlobRect::nativeScreenToWidget()
{
    QCOMPARE(::nativeScreenToWidget(nullptr, QPoint(5, 5)), QPoint());
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 80, 200, 150);
    auto* child = new QWidget(&window);
    child->setGeometry(10, 20, 30, 40);
    // No native window yet.
    QCOMPARE(::nativeScreenToWidget(child, QPoint(150, 130)), QPoint());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(::nativeScreenToWidget(child, QPoint(150, 130)), QPoint(40, 30));
    QCOMPARE(::nativeScreenToWidget(&window, QPoint(90, 70)), QPoint(-10, -10));
}

void TestGlobRect::textOptionFilters()
{
    Owner first;
    Owner second;
    WrapAnywhere wrap;
    WrapAnywhere manual;
    manual.mode = QTextOption::ManualWrap;
    QTextDocument stray;
    const QTextOption plain(Qt::AlignLeft);
    registerTextOptionFilter(&first.object, &wrap);
    registerTextOptionFilter(&second.object, &wrap);
    QCOMPARE(filteredTextOption(first.document, plain).wrapMode(), QTextOption::WrapAnywhere);
    QCOMPARE(filteredTextOption(first.document, plain).alignment(), Qt::AlignLeft);
    QCOMPARE(filteredTextOption(&stray, plain).wrapMode(), plain.wrapMode());

    registerTextOptionFilter(&second.object, &manual);
    QCOMPARE(filteredTextOption(second.document, plain).wrapMode(), QTextOption::ManualWrap);
    unregisterTextOptionFilter(&second.object);
    QCOMPARE(filteredTextOption(second.document, plain).wrapMode(), plain.wrapMode());
    unregisterTextOptionFilter(&first.object);
    QCOMPARE(filteredTextOption(first.document, plain).wrapMode(), plain.wrapMode());
}

void TestGlobRect::textOptionFilterOfNestedOwners()
{
    // Both the owner and the holder hold the document: the first in key order filters it.
    Owner owner;
    WrapAnywhere wrap;
    WrapAnywhere manual;
    manual.mode = QTextOption::ManualWrap;
    registerTextOptionFilter(&owner.object, &wrap);
    registerTextOptionFilter(owner.holder, &manual);
    const bool objectFirst = std::less<QObject*>()(&owner.object, owner.holder);
    QCOMPARE(filteredTextOption(owner.document, QTextOption()).wrapMode(),
             objectFirst ? QTextOption::WrapAnywhere : QTextOption::ManualWrap);
    QCOMPARE(wrap.calls + manual.calls, 1);
}

void TestGlobRect::textOptionFilterLeavesWithItsOwner()
{
    WrapAnywhere wrap;
    const QTextOption plain;
    auto owner = std::make_unique<Owner>();
    registerTextOptionFilter(&owner->object, &wrap);
    QCOMPARE(filteredTextOption(owner->document, plain).wrapMode(), QTextOption::WrapAnywhere);
    const int calls = wrap.calls;
    owner.reset();
    // A new owner, possibly at the same address, is not filtered.
    Owner next;
    QCOMPARE(filteredTextOption(next.document, plain).wrapMode(), plain.wrapMode());
    QCOMPARE(wrap.calls, calls);
}

QTEST_MAIN(TestGlobRect)
#include "tst_globrect.moc"
