#include "support/UiTestSupport.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CAnimationProgress.h"
#include "uilib/style/CPlatformIntegration.h"
#include "uilib/style/CShadowPanel.h"
#include "uilib/style/DrawPrimitives.h"

#include <QWindow>

namespace {

// What the shadow panels of the test asked of their surfaces.
struct SurfaceLog
{
    int images = 0;
    int updates = 0;
    bool shown = false;
    QRect geometry;
    int alpha = -1;

    void reset() { *this = SurfaceLog(); }
};

SurfaceLog surfaceLog;

class RecordingSurface : public IShadowSurface
{
public:
    void setImage(const QImage&) override { ++surfaceLog.images; }
    void update(const QRect& deviceGeometry, double, int alpha) override
    {
        ++surfaceLog.updates;
        surfaceLog.geometry = deviceGeometry;
        surfaceLog.alpha = alpha;
    }
    void setShown(bool shown) override { surfaceLog.shown = shown; }
};

// The image of a 200 x 100 window's shadow at the ratio, and where the window lies in it.
struct ShadowShot
{
    ShadowShot(CBorder& border, double ratio)
        : grow(qRound(border.shadowBlur() * ratio))
        , window(grow, grow, qRound(200 * ratio), qRound(100 * ratio))
        , image(CShadowPanel::buildImage(window.size() + QSize(2 * grow, 2 * grow), ratio, &border))
    {
    }
    int alphaAt(int x, int y) const { return qAlpha(image.pixel(x, y)); }
    int grow;
    QRect window;
    QImage image;
};

QPainterPath roundedShape(const CBorder*, const QSizeF& size, qreal scale)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(), size), 20 * scale, 20 * scale);
    return path;
}

// The border's own rounded outline given as a shape, so the image is built whole.
QPainterPath bordersOutline(const CBorder* border, const QSizeF& size, qreal scale)
{
    const QMargins radii = border->margins();
    return roundedRectPath(QRectF(QPointF(), size), qRound(radii.left() * scale), qRound(radii.top() * scale),
                           qRound(radii.right() * scale), qRound(radii.bottom() * scale));
}

int largestAlphaGap(const QImage& a, const QImage& b)
{
    int gap = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            gap = qMax(gap, qAbs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))));
    return gap;
}

} // namespace

class WindowShadowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CShadowPanel::setSurfaceFactory([](QWidget*) { return std::make_unique<RecordingSurface>(); });
    }
    void cleanupTestCase() { CShadowPanel::setSurfaceFactory(nullptr); }
    void init() { surfaceLog.reset(); }

    void imageFallsOffOutsideAndIsClearUnder_data()
    {
        QTest::addColumn<double>("ratio");
        addRatioRows();
    }
    void imageFallsOffOutsideAndIsClearUnder()
    {
        QFETCH(double, ratio);
        CBorder border(nullptr);
        border.setShadowBlur(20);
        border.setShadowColor(QColor(200, 0, 0, 160));
        const ShadowShot shot(border, ratio);
        QCOMPARE(shot.image.size(), shot.window.size() + QSize(2 * shot.grow, 2 * shot.grow));
        const int y = shot.window.center().y();
        QCOMPARE(shot.alphaAt(shot.window.center().x(), y), 0);
        QCOMPARE(shot.alphaAt(shot.window.left() + 2, y), 0);
        QCOMPARE(shot.alphaAt(shot.window.right() - 2, y), 0);
        const int nearEdge = shot.alphaAt(shot.window.left() - 1, y);
        const int midway = shot.alphaAt(shot.grow / 2, y);
        const int outer = shot.alphaAt(0, y);
        QVERIFY2(nearEdge > midway && midway > outer, qPrintable(QStringLiteral("%1 %2 %3").arg(nearEdge).arg(midway).arg(outer)));
        QVERIFY(nearEdge <= 160);
        QVERIFY(outer < 160 / 5);
        const QColor colour = shot.image.pixelColor(shot.window.left() - 1, y);
        QVERIFY(qAbs(colour.red() - 200) <= 8);
        QCOMPARE(colour.green(), 0);
        // Below the window as much as above it without an offset, also at odd sizes.
        const int x = shot.window.center().x();
        const int above = shot.alphaAt(x, shot.window.top() - 3);
        const int below = shot.alphaAt(x, shot.window.bottom() + 3);
        QVERIFY2(qAbs(above - below) <= 2, qPrintable(QStringLiteral("%1 %2").arg(above).arg(below)));
    }

    void offsetShiftsShadowDown()
    {
        CBorder border(nullptr);
        border.setShadowBlur(10);
        border.setShadowOffset(6);
        border.setShadowColor(Qt::black);
        const ShadowShot shot(border, 1.0);
        const int x = shot.window.center().x();
        QVERIFY(shot.alphaAt(x, shot.window.bottom() + 3) > shot.alphaAt(x, shot.window.top() - 3) + 20);
    }

    void outlineDecidesTheClearArea_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("shaped");
        QTest::addColumn<bool>("cornerShaded");
        QTest::newRow("rectangle") << 0 << false << false;
        QTest::newRow("rounded corners") << 20 << false << true;
        QTest::newRow("shape function") << 0 << true << true;
    }
    void outlineDecidesTheClearArea()
    {
        QFETCH(int, radius);
        QFETCH(bool, shaped);
        QFETCH(bool, cornerShaded);
        CBorder border(nullptr);
        border.setShadowBlur(10);
        border.setShadowColor(Qt::black);
        border.setMargins(radius, radius, radius, radius);
        if (shaped)
            border.setShapeFunction(roundedShape);
        const ShadowShot shot(border, 1.0);
        const QPoint corner = shot.window.topLeft() + QPoint(2, 2);
        QCOMPARE(shot.alphaAt(corner.x(), corner.y()) > 0, cornerShaded);
        QCOMPARE(shot.alphaAt(shot.window.center().x(), shot.window.center().y()), 0);
    }

    // A large window's shadow is made from a slice with its middle stretched; it must match the
    // image built whole, at every ratio, odd sizes, radii and offsets included.
    void slicedImageMatchesWholeImage_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QSize>("window");
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            const QByteArray name = QByteArray::number(ratio);
            QTest::newRow(name + " square") << ratio << 0 << 0 << QSize(640, 400);
            QTest::newRow(name + " rounded, offset") << ratio << 8 << 6 << QSize(640, 400);
            QTest::newRow(name + " rounded, odd") << ratio << 5 << 3 << QSize(641, 397);
        }
    }
    void slicedImageMatchesWholeImage()
    {
        QFETCH(double, ratio);
        QFETCH(int, radius);
        QFETCH(int, offset);
        QFETCH(QSize, window);
        CBorder border(nullptr);
        border.setShadowBlur(20);
        border.setShadowOffset(offset);
        border.setShadowColor(QColor(0, 0, 0, 200));
        border.setMargins(radius, radius, radius, radius);
        const int grow = qRound(20 * ratio);
        const QSize size = window * ratio + QSize(2 * grow, 2 * grow);
        const QImage sliced = CShadowPanel::buildImage(size, ratio, &border);
        border.setShapeFunction(bordersOutline);
        const QImage whole = CShadowPanel::buildImage(size, ratio, &border);
        QCOMPARE(sliced.size(), whole.size());
        QVERIFY2(largestAlphaGap(sliced, whole) <= 1, qPrintable(QString::number(largestAlphaGap(sliced, whole))));
    }

    void geometryGrowsByBlurAtRatio_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("grow");
        QTest::newRow("1") << 1.0 << 20;
        QTest::newRow("1.25") << 1.25 << 25;
        QTest::newRow("1.5") << 1.5 << 30;
        QTest::newRow("2") << 2.0 << 40;
    }
    void geometryGrowsByBlurAtRatio()
    {
        QFETCH(double, ratio);
        QFETCH(int, grow);
        const QRect window(100, 50, 300, 200);
        QCOMPARE(CShadowPanel::shadowGeometry(window, 20, ratio), window.adjusted(-grow, -grow, grow, grow));
    }

    void recordRules_data()
    {
        using Step = CShadowPanel::Step;
        QTest::addColumn<bool>("wasVisible");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("hasImage");
        QTest::addColumn<int>("step");
        const QRect base(10, 10, 200, 100);
        QTest::newRow("unchanged") << true << true << 1.0 << 0 << base << true << int(Step::None);
        QTest::newRow("moved") << true << true << 1.0 << 0 << base.translated(5, 7) << true << int(Step::Update);
        QTest::newRow("moved, no image yet") << true << true << 1.0 << 0 << base.translated(5, 7) << false
                                             << int(Step::Rebuild);
        QTest::newRow("resized") << true << true << 1.0 << 0 << base.adjusted(0, 0, 1, 0) << true << int(Step::Rebuild);
        QTest::newRow("just hidden") << true << false << 1.0 << 0 << base.adjusted(0, 0, 9, 9) << true
                                     << int(Step::Update);
        QTest::newRow("hidden, resized") << false << false << 1.0 << 0 << base.adjusted(0, 0, 9, 9) << false
                                         << int(Step::Update);
        QTest::newRow("shown") << false << true << 1.0 << 0 << base << true << int(Step::Rebuild);
        QTest::newRow("ratio") << true << true << 1.25 << 0 << base << true << int(Step::Rebuild);
        QTest::newRow("anchor") << true << true << 1.0 << 8 << base << true << int(Step::Rebuild);
        QTest::newRow("anchor while hidden") << false << false << 1.0 << 8 << base << true << int(Step::Rebuild);
    }
    void recordRules()
    {
        QFETCH(bool, wasVisible);
        QFETCH(bool, visible);
        QFETCH(double, ratio);
        QFETCH(int, anchor);
        QFETCH(QRect, geometry);
        QFETCH(bool, hasImage);
        QFETCH(int, step);
        CShadowPanel::Record previous;
        previous.visible = wasVisible;
        previous.ratio = 1.0;
        previous.geometry = QRect(10, 10, 200, 100);
        CShadowPanel::Record next = previous;
        next.visible = visible;
        next.ratio = ratio;
        next.anchorSide = anchor;
        next.geometry = geometry;
        QCOMPARE(int(CShadowPanel::nextStep(previous, next, hasImage)), step);
    }

    void followsTheWindow()
    {
        CWindow window(CWindow::Resizable, nullptr);
        window.setGeometry(100, 80, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CShadowPanel* panel = window.platformIntegration()->shadowPanel();
        QVERIFY(panel);
        QVERIFY(surfaceLog.shown);
        QCOMPARE(surfaceLog.images, 1);
        QCOMPARE(surfaceLog.geometry, QRect(80, 60, 340, 240));

        const int updates = surfaceLog.updates;
        window.move(130, 90);
        QCOMPARE(surfaceLog.images, 1);
        QVERIFY(surfaceLog.updates > updates);
        QCOMPARE(surfaceLog.geometry, QRect(110, 70, 340, 240));

        window.resize(320, 200);
        QCOMPARE(surfaceLog.images, 2);
        window.border()->setShadowColor(Qt::red);
        QCOMPARE(surfaceLog.images, 3);

        window.showMinimized();
        QTRY_VERIFY(!surfaceLog.shown);
        window.showNormal();
        QTRY_VERIFY(surfaceLog.shown);
        window.showMaximized();
        QTRY_VERIFY(!surfaceLog.shown);
        window.showNormal();
        QTRY_VERIFY(surfaceLog.shown);
        window.hide();
        QVERIFY(!surfaceLog.shown);
        QCOMPARE(panel->alpha(), 0);
    }

    void fadesInOnTheClock()
    {
        ManualAnimationClock clock;
        CWindow window(0, nullptr);
        window.setGeometry(100, 80, 300, 200);
        window.show();
        QVERIFY(surfaceLog.shown);
        QCOMPARE(surfaceLog.alpha, 0);
        clock.advance(125);
        QCOMPARE(surfaceLog.alpha, qRound(0.25 * 255));
        clock.advance(200);
        QCOMPARE(surfaceLog.alpha, 255);
        window.setWindowOpacity(0.5);
        QCOMPARE(surfaceLog.alpha, qRound(0.5 * 255));
    }

    void nativeFrameHasNoPanel()
    {
        CWindow window(0, nullptr);
        window.show();
        QVERIFY(window.platformIntegration()->shadowPanel());
        window.platformIntegration()->setDwmFrame(true);
        QVERIFY(!window.platformIntegration()->shadowPanel());
        window.platformIntegration()->setDwmFrame(false);
        QVERIFY(window.platformIntegration()->shadowPanel());
    }
};

TY_UI_TEST_MAIN(WindowShadowTest)
#include "tst_windowshadow.moc"
