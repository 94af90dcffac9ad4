#include "support/UiTestSupport.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/COverlay.h"
#include "uilib/style/CAnimationProgress.h"
#include "uilib/style/WindowRegion.h"

#include <QSignalSpy>
#include <QWidget>

namespace {

// A window counting its paint events.
class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A shown window whose first paints are over.
struct ShownWindow
{
    ShownWindow()
    {
        window.resize(120, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.paints > 0);
        QCoreApplication::processEvents();
        window.paints = 0;
    }
    PaintCounter window;
};

} // namespace

class WindowPartsTest : public QObject
{
    Q_OBJECT

private slots:
    void rectRegion_data()
    {
        QTest::addColumn<int>("radius");
        QTest::newRow("square") << 0;
        QTest::newRow("rounded") << 6;
        QTest::newRow("radius past half") << 100;
    }
    void rectRegion()
    {
        QFETCH(int, radius);
        const QRect rect(10, 20, 30, 40);
        const QRegion region = makeNativeRectRegion(rect, radius);
        QCOMPARE(region.boundingRect(), rect);
        QVERIFY(region.contains(rect.center()));
        const bool cornersIn = region.contains(rect.topLeft()) && region.contains(rect.bottomRight())
            && region.contains(rect.topRight()) && region.contains(rect.bottomLeft());
        QCOMPARE(cornersIn, radius == 0);
        // The middle of every edge stays in.
        QVERIFY(region.contains(QPoint(rect.center().x(), rect.top())));
        QVERIFY(region.contains(QPoint(rect.center().x(), rect.bottom())));
        QVERIFY(region.contains(QPoint(rect.left(), rect.center().y())));
        QVERIFY(region.contains(QPoint(rect.right(), rect.center().y())));
    }

    void combineRegion()
    {
        const QRect a(0, 0, 10, 10);
        const QRect b(5, 0, 10, 10);
        QRegion region(a);
        QVERIFY(combineNativeRegion(region, b, 0, int(RegionCombine::And)));
        QCOMPARE(region, QRegion(QRect(5, 0, 5, 10)));
        region = QRegion(a);
        QVERIFY(combineNativeRegion(region, b, 0, int(RegionCombine::Diff)));
        QCOMPARE(region, QRegion(QRect(0, 0, 5, 10)));
        region = QRegion(a);
        QVERIFY(combineNativeRegion(region, b, 0, int(RegionCombine::Xor)));
        QCOMPARE(region, QRegion(QRect(0, 0, 5, 10)) + QRegion(QRect(10, 0, 5, 10)));
        region = QRegion(a);
        QVERIFY(combineNativeRegion(region, b, 0, int(RegionCombine::Or)));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 15, 10));
        QVERIFY(!combineNativeRegion(region, b, 0, 9));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 15, 10));
    }

    void widgetAtPassesOverTransparentWindow()
    {
        QWidget below;
        below.setGeometry(100, 100, 200, 200);
        auto* child = new QWidget(&below);
        child->setGeometry(0, 0, 200, 200);
        below.show();
        QWidget above;
        above.setGeometry(100, 100, 200, 200);
        above.show();
        QVERIFY(QTest::qWaitForWindowExposed(&below));
        QVERIFY(QTest::qWaitForWindowExposed(&above));
        const QPoint point(150, 150);
        QWidget* top = regionAwareWidgetAt(point);
        QVERIFY(top == &above || top == child);

        above.setAttribute(Qt::WA_TransparentForMouseEvents);
        QCOMPARE(regionAwareWidgetAt(point), child);
        above.setAttribute(Qt::WA_TransparentForMouseEvents, false);
        above.setMask(QRegion(0, 0, 10, 10));
        QCOMPARE(regionAwareWidgetAt(point), child);
        QCOMPARE(regionAwareWidgetAt(QPoint(50, 50)), nullptr);
    }

    void borderEqualValuesNeitherRepaintNorSignal()
    {
        ShownWindow shown;
        PaintCounter& window = shown.window;
        CBorder border(&window);
        QSignalSpy colorSpy(&border, &CBorder::shadowColorChanged);

        border.setShadowColor(Qt::red);
        QCOMPARE(colorSpy.count(), 1);
        QTRY_VERIFY(window.paints > 0);

        const auto settle = [&window] {
            QCoreApplication::processEvents();
            window.paints = 0;
        };
        settle();
        border.setShadowColor(Qt::red);
        border.setBorderColor(QColor());
        border.setBorderWidth(0);
        border.setShadowBlur(0);
        border.setShadowOffset(0);
        border.setMargins(0, 0, 0, 0);
        QCoreApplication::processEvents();
        QCOMPARE(window.paints, 0);
        QCOMPARE(colorSpy.count(), 1);

        border.setMargins(1, 2, 3, 4);
        QTRY_VERIFY(window.paints > 0);
        QCOMPARE(border.margins(), QMargins(1, 2, 3, 4));
    }

    void borderWidthZeroMaximised()
    {
        QWidget window;
        CBorder border(&window);
        border.setBorderWidth(2);
        QCOMPARE(border.borderWidth(), 2);
        window.showMaximized();
        QCOMPARE(border.borderWidth(), 0);
        window.showNormal();
        QCOMPARE(border.borderWidth(), 2);
        window.showFullScreen();
        QCOMPARE(border.borderWidth(), 0);
    }

    void borderBackgroundBrush()
    {
        QWidget window;
        CBorder border(&window);
        border.setBackgroundBrush(QBrush(Qt::green));
        QCOMPARE(border.backgroundBrush().color(), QColor(Qt::green));
        border.setAnchorOffset(2, 1);
        QCOMPARE(border.anchorSide(), 2);
        border.resetAnchorOffset();
        QCOMPARE(border.anchorAlignment(), 0);
    }

    void overlayFadesAndFollowsParent()
    {
        ManualAnimationClock clock;
        QWidget window;
        window.resize(200, 100);
        auto* overlay = new COverlay(&window);
        window.show();
        QVERIFY(overlay->isHidden());
        QCOMPARE(overlay->size(), QSize(200, 100));

        overlay->show();
        clock.advance(16);
        QVERIFY(overlay->isVisible());
        clock.advance(400);
        QCOMPARE(overlay->fade()->progress(), 1.0);

        window.resize(300, 150);
        QCOMPARE(overlay->size(), QSize(300, 150));

        overlay->hide();
        clock.advance(100);
        QVERIFY(overlay->isVisible());
        clock.advance(400);
        QCOMPARE(overlay->fade()->progress(), 0.0);
        QVERIFY(overlay->isHidden());
    }

    void overlayReversedEndsHidden()
    {
        ManualAnimationClock clock;
        QWidget window;
        window.resize(200, 100);
        auto* overlay = new COverlay(&window);
        window.show();
        overlay->show();
        clock.advance(50);
        const double reached = overlay->fade()->progress();
        QVERIFY(reached > 0.0 && reached < 1.0);
        overlay->hide();
        clock.advance(16);
        QVERIFY(overlay->fade()->progress() <= reached);
        QVERIFY(overlay->isVisible());
        clock.advance(1000);
        QVERIFY(overlay->isHidden());
    }

    void overlayPaintsAtFadeOpacity()
    {
        ManualAnimationClock clock;
        QWidget window;
        window.resize(40, 30);
        auto* overlay = new COverlay(&window);
        overlay->setColor(QColor(0, 0, 0));
        overlay->setMargins(QMargins(5, 0, 0, 0));
        window.show();
        overlay->show();
        clock.advance(1000);
        const QImage image = renderWidget(overlay, 1.0);
        QCOMPARE(devicePixel(image, 2, 10).alpha(), 0);
        QCOMPARE(devicePixel(image, 20, 10), QColor(0, 0, 0));
    }
};

TY_UI_TEST_MAIN(WindowPartsTest)
#include "tst_windowparts.moc"
