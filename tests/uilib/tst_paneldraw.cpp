#include "support/UiTestSupport.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CPanelDraw.h"

#include <QWidget>

namespace {

const QColor Fill(Qt::red);
const QColor Border(Qt::blue);

// Counts repaint requests; may give the panel an elliptic outline.
class CountingPanel : public CPanelDraw
{
public:
    using CPanelDraw::CPanelDraw;
    void updateOwner() override
    {
        ++updates;
        CPanelDraw::updateOwner();
    }
    void useEllipse()
    {
        setShapeFunction([](const CPanelDraw&, const QRect& rect) {
            QPainterPath path;
            path.addEllipse(QRectF(rect));
            return path;
        });
    }
    int updates = 0;
};

QImage paintPanel(CPanelDraw& panel, const QSize& size, double ratio)
{
    CAnimationWidget state(0, nullptr);
    return paintInScope(size, ratio, [&](CPainterScope& scope) { panel.paint(scope, state); });
}

} // namespace

class TestPanelDraw : public QObject
{
    Q_OBJECT
private slots:
    void noRectPaintsNothing();
    void zeroWidthsFillOnly();
    void nothingToDraw_data();
    void nothingToDraw();
    void sameColorsRepaintOnce();
    void borderSnapsToDevicePixels_data();
    void borderSnapsToDevicePixels();
    void roundCorners();
    void unequalWidths();
    void innerRectAndSizeHint();
    void shapeMasksOwner();
};

void TestPanelDraw::noRectPaintsNothing()
{
    CPanelDraw panel(nullptr);
    panel.setBackgroundColors(ColorSet(Fill));
    const QImage image = paintPanel(panel, QSize(10, 10), 1.0);
    QVERIFY(isFlatImage(image));
    QCOMPARE(devicePixel(image, 5, 5).alpha(), 0);
    QVERIFY(panel.isDirty());
    QVERIFY(!panel.innerRect().isValid());
    panel.setRect(QRect(0, 0, 10, 10));
    QCOMPARE(devicePixel(paintPanel(panel, QSize(10, 10), 1.0), 5, 5), Fill);
    QVERIFY(!panel.isDirty());
}

void TestPanelDraw::zeroWidthsFillOnly()
{
    CPanelDraw panel(nullptr);
    panel.setRect(QRect(0, 0, 10, 10));
    panel.setBackgroundColors(ColorSet(Fill));
    panel.setBorderColors(ColorSet(Border));
    const QImage image = paintPanel(panel, QSize(10, 10), 1.0);
    QCOMPARE(devicePixel(image, 0, 0), Fill);
    QCOMPARE(devicePixel(image, 5, 5), Fill);
}

void TestPanelDraw::nothingToDraw_data()
{
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("border");
    QTest::newRow("invalid") << QColor() << QColor();
    QTest::newRow("transparent") << QColor(Qt::transparent) << QColor(Qt::transparent);
    QTest::newRow("transparent fill, invalid border") << QColor(Qt::transparent) << QColor();
}

void TestPanelDraw::nothingToDraw()
{
    QFETCH(QColor, fill);
    QFETCH(QColor, border);
    CPanelDraw panel(nullptr);
    panel.setRect(QRect(0, 0, 10, 10));
    panel.setBorderWidths(QMargins(1, 1, 1, 1));
    panel.setBackgroundColors(ColorSet(fill, fill, fill, fill));
    panel.setBorderColors(ColorSet(border, border, border, border));
    const QImage image = paintPanel(panel, QSize(10, 10), 1.0);
    QVERIFY(isFlatImage(image));
    QCOMPARE(devicePixel(image, 0, 0).alpha(), 0);
}

void TestPanelDraw::sameColorsRepaintOnce()
{
    CountingPanel panel(nullptr);
    panel.setBackgroundColors(ColorSet(Fill));
    panel.setBackgroundColors(ColorSet(Fill));
    panel.setBorderColors(ColorSet(Border));
    panel.setBorderColors(ColorSet(Border));
    QCOMPARE(panel.updates, 2);
    panel.setBorderWidths(QMargins(1, 1, 1, 1));
    panel.setBorderWidths(QMargins(1, 1, 1, 1));
    panel.setRadius({2, 2, 2, 2});
    panel.setRadius({2, 2, 2, 2});
    QCOMPARE(panel.updates, 4);
}

void TestPanelDraw::borderSnapsToDevicePixels_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestPanelDraw::borderSnapsToDevicePixels()
{
    QFETCH(double, ratio);
    CPanelDraw panel(nullptr);
    panel.setRect(QRect(0, 0, 20, 20));
    panel.setBorderWidths(QMargins(1, 1, 1, 1));
    panel.setBorderColors(ColorSet(Border));
    const QImage image = paintPanel(panel, QSize(20, 20), ratio);
    // One logical pixel is round(ratio) whole device pixels: 4/3 logical at 1.5.
    const int expected = qRound(ratio);
    const int y = image.height() / 2;
    for (int x = 0; x < expected; ++x)
        QCOMPARE(devicePixel(image, x, y), Border);
    QCOMPARE(devicePixel(image, expected, y).alpha(), 0);
    QCOMPARE(devicePixel(image, image.width() - expected, y), Border);
    QCOMPARE(devicePixel(image, image.width() - expected - 1, y).alpha(), 0);
}

void TestPanelDraw::roundCorners()
{
    CPanelDraw panel(nullptr);
    panel.setRect(QRect(0, 0, 20, 20));
    panel.setBackgroundColors(ColorSet(Fill));
    panel.setRadius({6, 6, 6, 6});
    QImage image = paintPanel(panel, QSize(20, 20), 1.0);
    QCOMPARE(devicePixel(image, 0, 0).alpha(), 0);
    QCOMPARE(devicePixel(image, 19, 19).alpha(), 0);
    QCOMPARE(devicePixel(image, 10, 0), Fill);

    // Only the bottom corners round.
    panel.setRadius({0, 0, 6, 6});
    image = paintPanel(panel, QSize(20, 20), 1.0);
    QCOMPARE(devicePixel(image, 0, 0), Fill);
    QCOMPARE(devicePixel(image, 19, 0), Fill);
    QCOMPARE(devicePixel(image, 0, 19).alpha(), 0);
    QCOMPARE(devicePixel(image, 19, 19).alpha(), 0);
}

void TestPanelDraw::unequalWidths()
{
    CPanelDraw panel(nullptr);
    panel.setRect(QRect(0, 0, 20, 20));
    panel.setBackgroundColors(ColorSet(Fill));
    panel.setBorderColors(ColorSet(Border));
    panel.setBorderWidths(QMargins(1, 0, 3, 2));
    const QImage image = paintPanel(panel, QSize(20, 20), 1.0);
    QCOMPARE(devicePixel(image, 0, 10), Border);
    QCOMPARE(devicePixel(image, 1, 10), Fill);
    QCOMPARE(devicePixel(image, 10, 0), Fill); // no top border
    QCOMPARE(devicePixel(image, 16, 10), Fill);
    for (int x = 17; x < 20; ++x)
        QCOMPARE(devicePixel(image, x, 10), Border);
    QCOMPARE(devicePixel(image, 10, 17), Fill);
    QCOMPARE(devicePixel(image, 10, 18), Border);
    QCOMPARE(devicePixel(image, 10, 19), Border);
}

void TestPanelDraw::innerRectAndSizeHint()
{
    CPanelDraw panel(nullptr);
    panel.setMargins(QMargins(1, 2, 3, 4));
    panel.setBorderWidths(QMargins(1, 1, 1, 1));
    panel.setPadding(QMargins(8, 0, 8, 0));
    QCOMPARE(panel.sizeHint(), QSize(1 + 3 + 2 + 16, 2 + 4 + 2));
    panel.setRect(QRect(0, 0, 40, 30));
    panel.updateLayout();
    QCOMPARE(panel.innerRect(), QRect(10, 3, 40 - 22, 30 - 8));
}

void TestPanelDraw::shapeMasksOwner()
{
    QWidget owner;
    owner.resize(20, 20);
    CountingPanel panel(&owner);
    panel.setRect(owner.rect());
    panel.useEllipse();
    panel.updateLayout();
    QVERIFY(!owner.mask().isEmpty());
    QVERIFY(owner.mask().contains(QPoint(10, 10)));
    QVERIFY(!owner.mask().contains(QPoint(0, 0)));
}

TY_UI_TEST_MAIN(TestPanelDraw)
#include "tst_paneldraw.moc"
