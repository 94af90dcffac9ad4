#include "support/UiTestSupport.h"

#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CBorder.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CPlatformIntegration.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr int kAllButtons = CWindow::MinimiseButton | CWindow::MaximiseButton;
constexpr int kFramed = CWindow::Movable | CWindow::Resizable | CWindow::TitleBar | kAllButtons;

// A shown window of the options at a known place.
struct ShownWindow
{
    explicit ShownWindow(int options = kFramed, const QRect& geometry = QRect(100, 80, 400, 240))
        : window(options, nullptr)
    {
        window.setTitle(QStringLiteral("Title"));
        window.setGeometry(geometry);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QWindow* native() { return window.windowHandle(); }
    // The centre of a child in window coordinates.
    QPoint centreOf(QWidget* child) { return child->mapTo(&window, child->rect().center()); }
    QPoint globalCentreOf(QWidget* child) { return child->mapToGlobal(child->rect().center()); }
    CWindow window;
};

CSettingsStorage* settings()
{
    return UiTestEnvironment::settings();
}

// Equal within what floating-point edges leave on a channel.
bool nearColour(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 4 && qAbs(a.green() - b.green()) <= 4 && qAbs(a.blue() - b.blue()) <= 4
        && qAbs(a.alpha() - b.alpha()) <= 4;
}

QRect primaryArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

Q_DECLARE_METATYPE(QMargins)

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        settings()->clear();
        if (CSystemTools* tools = CSystemTools::instance())
            tools->setMainWindow(nullptr);
    }

    void borderWidthAndEdges_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("border");
        QTest::newRow("1") << 1.0 << 8;
        QTest::newRow("1.25") << 1.25 << 9;
        QTest::newRow("1.5") << 1.5 << 10;
        QTest::newRow("2") << 2.0 << 12;
    }
    void borderWidthAndEdges()
    {
        QFETCH(double, ratio);
        QFETCH(int, border);
        QCOMPARE(CPlatformIntegration::resizeBorderWidth(ratio), border);
        const QSize size(qRound(300 * ratio), qRound(200 * ratio));
        const int midX = size.width() / 2;
        const int midY = size.height() / 2;
        using P = CPlatformIntegration;
        const auto area = [&](int x, int y) { return P::edgeArea(size, QPoint(x, y), border, true, true); };
        QCOMPARE(area(border - 1, midY), int(P::HitLeft));
        QCOMPARE(area(border, midY), int(P::HitNone));
        QCOMPARE(area(size.width() - border, midY), int(P::HitRight));
        QCOMPARE(area(size.width() - border - 1, midY), int(P::HitNone));
        QCOMPARE(area(midX, border - 1), int(P::HitTop));
        QCOMPARE(area(midX, size.height() - border), int(P::HitBottom));
        QCOMPARE(area(0, 0), int(P::HitTopLeft));
        QCOMPARE(area(size.width() - 1, 0), int(P::HitTopRight));
        QCOMPARE(area(0, size.height() - 1), int(P::HitBottomLeft));
        QCOMPARE(area(size.width() - 1, size.height() - 1), int(P::HitBottomRight));
        QCOMPARE(area(size.width(), midY), int(P::HitNone));
    }

    void edgesOnlyWhereLimitsDiffer_data()
    {
        QTest::addColumn<bool>("widthFree");
        QTest::addColumn<bool>("heightFree");
        QTest::addColumn<QList<int>>("areas"); // left, top, top-left, bottom-right
        using P = CPlatformIntegration;
        QTest::newRow("both free") << true << true << QList<int>{P::HitLeft, P::HitTop, P::HitTopLeft, P::HitBottomRight};
        QTest::newRow("fixed width") << false << true << QList<int>{P::HitNone, P::HitTop, P::HitTop, P::HitBottom};
        QTest::newRow("fixed height") << true << false << QList<int>{P::HitLeft, P::HitNone, P::HitLeft, P::HitRight};
        QTest::newRow("fixed size") << false << false << QList<int>{0, 0, 0, 0};
    }
    void edgesOnlyWhereLimitsDiffer()
    {
        QFETCH(bool, widthFree);
        QFETCH(bool, heightFree);
        QFETCH(QList<int>, areas);
        const QSize size(300, 200);
        const QList<QPoint> points{QPoint(0, 100), QPoint(150, 0), QPoint(0, 0), QPoint(299, 199)};
        for (int i = 0; i < points.size(); ++i) {
            const int area = CPlatformIntegration::edgeArea(size, points[i], 8, widthFree, heightFree);
            QCOMPARE(area, areas[i]);
        }
    }

    void hitTestOfWindowParts()
    {
        ShownWindow shown;
        CWindow& window = shown.window;
        CPlatformIntegration* integration = window.platformIntegration();
        const QPoint origin = window.geometry().topLeft();
        const auto hit = [&](const QPoint& local) {
            const QPoint global = origin + local;
            return integration->hitTest(global.x(), global.y());
        };
        using P = CPlatformIntegration;
        QCOMPARE(hit(QPoint(0, 100)), int(P::HitLeft));
        QCOMPARE(hit(QPoint(150, 0)), int(P::HitTop));
        QCOMPARE(hit(shown.centreOf(window.titleBar()->closeButton())), int(P::HitClient));
        QCOMPARE(hit(shown.centreOf(window.titleBar()->minimiseButton())), int(P::HitClient));
        QCOMPARE(hit(shown.centreOf(window.titleBar()->titleLabel())), int(P::HitCaption));
        QCOMPARE(hit(shown.centreOf(window.contentWidget())), int(P::HitClient));
        QCOMPARE(hit(QPoint(-1, 100)), int(P::HitNone));

        window.showMaximized();
        QTRY_VERIFY(window.isMaximized());
        const QPoint maxOrigin = window.geometry().topLeft();
        const QPoint leftColumn = maxOrigin + QPoint(0, window.height() / 2);
        QCOMPARE(integration->hitTest(leftColumn.x(), leftColumn.y()), int(P::HitClient));
        window.showNormal();
        window.showFullScreen();
        QTRY_VERIFY(window.isFullScreen());
        const QPoint fullLeft = window.geometry().topLeft() + QPoint(0, window.height() / 2);
        QCOMPARE(integration->hitTest(fullLeft.x(), fullLeft.y()), int(P::HitClient));
    }

    // The left column and the top row of a window without resize borders are part of it.
    void fixedWindowEdgesAreClient()
    {
        ShownWindow shown(CWindow::Movable, QRect(100, 80, 200, 120));
        shown.window.setFixedSize(200, 120);
        CPlatformIntegration* integration = shown.window.platformIntegration();
        const QRect frame = shown.window.geometry();
        using P = CPlatformIntegration;
        QCOMPARE(integration->hitTest(frame.left(), frame.center().y()), int(P::HitClient));
        QCOMPARE(integration->hitTest(frame.center().x(), frame.top()), int(P::HitClient));
        QCOMPARE(integration->hitTest(frame.left(), frame.top()), int(P::HitClient));
        QCOMPARE(integration->hitTest(frame.right(), frame.bottom()), int(P::HitClient));
        QCOMPARE(integration->hitTest(frame.right() + 1, frame.bottom()), int(P::HitNone));
        QCOMPARE(integration->hitTest(frame.left() - 1, frame.top()), int(P::HitNone));
    }

    void captionDragMovesOnce()
    {
        ShownWindow shown;
        CWindow& window = shown.window;
        QSignalSpy started(&window, &CWindow::moveByUserStarted);
        QSignalSpy finished(&window, &CWindow::moveByUserFinished);
        const QPoint before = window.pos();
        WindowPointer pointer(window);
        const QPoint grab = shown.globalCentreOf(window.titleBar()->titleLabel());
        pointer.press(grab);
        QCOMPARE(started.count(), 0);
        pointer.move(grab + QPoint(30, 20));
        QCOMPARE(started.count(), 1);
        QVERIFY(window.isInSizeMove());
        QCOMPARE(window.pos(), before + QPoint(30, 20));
        pointer.move(grab + QPoint(50, -10));
        QCOMPARE(window.pos(), before + QPoint(50, -10));
        pointer.release();
        QCOMPARE(started.count(), 1);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!window.isInSizeMove());
        QCOMPARE(window.pos(), before + QPoint(50, -10));
    }

    void moveEndsWhenWindowHides()
    {
        ShownWindow shown;
        QSignalSpy finished(&shown.window, &CWindow::moveByUserFinished);
        WindowPointer pointer(shown.window);
        const QPoint grab = shown.globalCentreOf(shown.window.titleBar()->titleLabel());
        pointer.press(grab);
        pointer.move(grab + QPoint(10, 0));
        shown.window.hide();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!shown.window.isInSizeMove());
        pointer.release();
        QCOMPARE(finished.count(), 1);
    }

    void edgeDragResizesWithinLimits_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QRect>("expected");
        const QRect start(100, 80, 300, 200);
        QTest::newRow("right wider") << QPoint(299, 100) << QPoint(50, 0) << start.adjusted(0, 0, 50, 0);
        QTest::newRow("right past maximum") << QPoint(299, 100) << QPoint(300, 0) << QRect(100, 80, 400, 200);
        QTest::newRow("left narrower") << QPoint(0, 100) << QPoint(40, 0) << start.adjusted(40, 0, 0, 0);
        QTest::newRow("left past minimum") << QPoint(0, 100) << QPoint(250, 0) << QRect(250, 80, 150, 200);
        QTest::newRow("bottom-right") << QPoint(299, 199) << QPoint(20, 30) << start.adjusted(0, 0, 20, 30);
        QTest::newRow("top taller") << QPoint(150, 0) << QPoint(0, -30) << start.adjusted(0, -30, 0, 0);
    }
    void edgeDragResizesWithinLimits()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, by);
        QFETCH(QRect, expected);
        ShownWindow shown(CWindow::Movable | CWindow::Resizable, QRect(100, 80, 300, 200));
        // The window's layout takes its limits from the content.
        shown.window.contentWidget()->setMinimumSize(150, 100);
        shown.window.contentWidget()->setMaximumSize(400, 400);
        QSignalSpy started(&shown.window, &CWindow::resizeByUserStarted);
        QSignalSpy finished(&shown.window, &CWindow::resizeByUserFinished);
        WindowPointer pointer(shown.window);
        const QPoint grab = shown.window.mapToGlobal(from);
        pointer.press(grab);
        pointer.move(grab + by / 2);
        pointer.move(grab + by);
        pointer.release();
        QCOMPARE(shown.window.geometry(), expected);
        QCOMPARE(started.count(), 1);
        QCOMPARE(finished.count(), 1);
    }

    void resizedGeometryKeepsOppositeEdges()
    {
        const QRect start(10, 10, 100, 80);
        const QRect r = CPlatformIntegration::resizedGeometry(start, CPlatformIntegration::HitTopLeft, QPoint(500, 500),
                                                              QSize(40, 30), QSize(1000, 1000));
        QCOMPARE(r, QRect(70, 60, 40, 30));
        QCOMPARE(r.bottomRight(), start.bottomRight());
    }

    void doubleClickMaximisesAndRestores()
    {
        ShownWindow shown;
        const QRect normal = shown.window.geometry();
        QTest::mouseDClick(shown.native(), Qt::LeftButton, {}, shown.centreOf(shown.window.titleBar()->titleLabel()));
        QTRY_VERIFY(shown.window.isMaximized());
        QTest::mouseDClick(shown.native(), Qt::LeftButton, {}, shown.centreOf(shown.window.titleBar()->titleLabel()));
        QTRY_VERIFY(!shown.window.isMaximized());
        QCOMPARE(shown.window.geometry(), normal);
    }

    void doubleClickWithoutMaximiseButtonKeepsState()
    {
        ShownWindow shown(CWindow::Movable | CWindow::TitleBar);
        QSignalSpy started(&shown.window, &CWindow::moveByUserStarted);
        QTest::mouseDClick(shown.native(), Qt::LeftButton, {}, shown.centreOf(shown.window.titleBar()->titleLabel()));
        QCoreApplication::processEvents();
        QVERIFY(!shown.window.isMaximized());
        QCOMPARE(started.count(), 0);
    }

    void titleBarButtonsStillClick()
    {
        ShownWindow shown;
        CTitleBar* bar = shown.window.titleBar();
        WindowPointer pointer(shown.window);
        pointer.click(bar->maximiseButton());
        QTRY_VERIFY(shown.window.isMaximized());
        pointer.click(bar->restoreButton());
        QTRY_VERIFY(!shown.window.isMaximized());
        pointer.click(bar->minimiseButton());
        QTRY_VERIFY(shown.window.isMinimized());
        shown.window.showNormal();
        pointer.click(bar->closeButton());
        QTRY_VERIFY(!shown.window.isVisible());
    }

    void bodyDrag_data()
    {
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<bool>("moves");
        QTest::newRow("manhattan 4") << QPoint(2, 2) << false;
        QTest::newRow("manhattan 4 straight") << QPoint(0, -4) << false;
        QTest::newRow("manhattan 5") << QPoint(3, 2) << true;
        QTest::newRow("manhattan 5 straight") << QPoint(-5, 0) << true;
    }
    void bodyDrag()
    {
        QFETCH(QPoint, by);
        QFETCH(bool, moves);
        ShownWindow shown;
        QSignalSpy started(&shown.window, &CWindow::moveByUserStarted);
        QSignalSpy finished(&shown.window, &CWindow::moveByUserFinished);
        const QPoint before = shown.window.pos();
        WindowPointer pointer(shown.window);
        const QPoint grab = shown.globalCentreOf(shown.window.contentWidget());
        pointer.press(grab);
        pointer.move(grab + by);
        QCOMPARE(started.count(), moves ? 1 : 0);
        QCOMPARE(shown.window.pos(), moves ? before + by : before);
        pointer.release();
        QCOMPARE(finished.count(), moves ? 1 : 0);
        // A move without a press drags nothing.
        pointer.move(grab + by * 3);
        QCOMPARE(shown.window.pos(), moves ? before + by : before);
    }

    // A press at the screen's origin drags like any other (QTest takes a local (0, 0) for the
    // window's centre, so the window lies one pixel up and left of the origin).
    void bodyDragFromScreenOrigin()
    {
        ShownWindow shown(CWindow::Movable, QRect(-1, -1, 200, 120));
        QSignalSpy started(&shown.window, &CWindow::moveByUserStarted);
        WindowPointer pointer(shown.window);
        pointer.press(QPoint(0, 0));
        pointer.move(QPoint(20, 10));
        QCOMPARE(started.count(), 1);
        QCOMPARE(shown.window.pos(), QPoint(19, 9));
        pointer.move(QPoint(35, 40));
        QCOMPARE(shown.window.pos(), QPoint(34, 39));
        pointer.release();
    }

    void geometryRoundTrip()
    {
        settings()->beginGroup(QStringLiteral("Elsewhere"));
        QRect kept;
        QByteArray bytes;
        {
            CWindow window(CWindow::Resizable, nullptr, CWindow::Default, false, QStringLiteral("Editor"));
            QVERIFY(!window.hasSavedGeometry());
            window.setGeometry(QRect(60, 50, 320, 240));
            window.saveGeometrySettings();
            kept = window.geometry();
            bytes = window.saveGeometry();
            QVERIFY(window.hasSavedGeometry());
        }
        QCOMPARE(settings()->group(), QStringLiteral("Elsewhere"));
        settings()->endGroup();
        QCOMPARE(settings()->value(QStringLiteral("Editor_Geometry")).toByteArray(), bytes);
        QVERIFY(!settings()->contains(QStringLiteral("Elsewhere/Editor_Geometry")));
        QVERIFY(!settings()->contains(QStringLiteral("lastScreen")));

        CWindow again(CWindow::Resizable, nullptr, CWindow::Default, false, QStringLiteral("Editor"));
        QCOMPARE(again.geometry(), kept);
        again.resize(10, 10);
        again.restoreSavedGeometry();
        QCOMPARE(again.size(), QSize(10, 10));
        QCOMPARE(again.savedGeometry(), bytes);
    }

    void geometryOnNoScreenIsRemoved()
    {
        {
            QWidget far;
            far.setGeometry(QRect(5000, 5000, 200, 100));
            settings()->setValue(QStringLiteral("Lost_Geometry"), far.saveGeometry());
        }
        const CWindow unnamed(0, nullptr);
        CWindow window(0, nullptr, CWindow::Default, false, QStringLiteral("Lost"));
        QVERIFY(!settings()->contains(QStringLiteral("Lost_Geometry")));
        QCOMPARE(window.geometry(), unnamed.geometry());
        window.setMinimumSize(100, 50);
        window.restoreSavedGeometry();
        QCOMPARE(window.geometry().center(), primaryArea().center());
    }

    void noObjectNameLeavesSettingsUntouched()
    {
        settings()->setValue(QStringLiteral("other"), 1);
        const QStringList before = settings()->allKeys();
        CWindow window(0, nullptr);
        QVERIFY(!window.hasSavedGeometry());
        QVERIFY(window.savedGeometry().isEmpty());
        window.contentWidget()->setMinimumSize(180, 90);
        window.restoreSavedGeometry();
        QCOMPARE(window.size(), QSize(180, 90));
        QCOMPARE(window.geometry().center(), primaryArea().center());
        window.saveGeometrySettings();
        QCOMPARE(settings()->allKeys(), before);
    }

    void lastScreenOnlyFromMainWindow()
    {
        QSignalSpy changed(settings(), &CSettingsStorage::lastScreenChanged);
        CWindow other(0, nullptr, CWindow::Default, false, QStringLiteral("Other"));
        other.saveGeometrySettings();
        QVERIFY(!settings()->contains(QStringLiteral("lastScreen")));
        CWindow main(0, nullptr, CWindow::Default, false, QStringLiteral("Main"));
        CSystemTools::instance()->setMainWindow(&main);
        QCOMPARE(CSystemTools::instance()->mainWindow(), &main);
        settings()->beginGroup(QStringLiteral("Nested"));
        main.saveGeometrySettings();
        settings()->endGroup();
        QCOMPARE(settings()->value(QStringLiteral("lastScreen")).toInt(), 0);
        QCOMPARE(changed.count(), 1);
        main.saveGeometrySettings();
        QCOMPARE(changed.count(), 1);
    }

    void defaultShadowBecomesSeparateShadow()
    {
        QCOMPARE(CSystemTools::instance()->defaultShadowType(), CWindow::DWM_API);
        CWindow window(0, nullptr);
        QCOMPARE(window.shadowType(), CWindow::Custom_D2D_Compatible);
        QVERIFY(!window.platformIntegration()->isDwmFrame());
        QCOMPARE(window.layout()->contentsMargins(), QMargins());
    }

    void contentMargins_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QMargins>("margins");
        QTest::newRow("maximised 1") << true << 1.0 << QMargins(8, 8, 8, 9);
        QTest::newRow("normal 1") << false << 1.0 << QMargins(0, 0, 0, 1);
        QTest::newRow("maximised 2") << true << 2.0 << QMargins(4, 4, 4, 9);
        QTest::newRow("normal 2") << false << 2.0 << QMargins(0, 0, 0, 1);
        QTest::newRow("maximised 1.5") << true << 1.5 << QMargins(5, 5, 5, 9);
    }
    void contentMargins()
    {
        QFETCH(bool, maximised);
        QFETCH(double, ratio);
        QFETCH(QMargins, margins);
        QCOMPARE(CWindow::contentMargins(maximised, ratio), margins);
    }

    void showStrategies_data()
    {
        QTest::addColumn<int>("strategy");
        QTest::addColumn<int>("lastScreen");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QRect>("expected");
        const QRect area = primaryArea();
        const QRect centred = QRect(QPoint(), QSize(200, 100)).translated(area.center() - QPoint(99, 49));
        QTest::newRow("cursor pos") << int(CWindow::CursorPos) << 0 << QPoint(150, 120) << QRect(150, 120, 200, 100);
        QTest::newRow("cursor pos clamped") << int(CWindow::CursorPos) << 0 << QPoint(700, 550)
                                            << QRect(area.right() - 199, area.bottom() - 99, 200, 100);
        QTest::newRow("cursor screen") << int(CWindow::CursorScreen) << 0 << QPoint(10, 10) << centred;
        QTest::newRow("last screen out of range") << int(CWindow::CenteredOnParent) << 5 << QPoint() << centred;
        QTest::newRow("negative last screen") << int(CWindow::CenteredOnParent) << -1 << QPoint() << centred;
        QTest::newRow("no change") << int(CWindow::NoChange) << 0 << QPoint() << QRect(20, 30, 200, 100);
    }
    void showStrategies()
    {
        QFETCH(int, strategy);
        QFETCH(int, lastScreen);
        QFETCH(QPoint, cursor);
        QFETCH(QRect, expected);
        settings()->setValue(QStringLiteral("lastScreen"), lastScreen);
        if (!cursor.isNull())
            QCursor::setPos(cursor);
        CWindow window(CWindow::Resizable, nullptr);
        window.setGeometry(QRect(20, 30, 200, 100));
        window.showWindow(CWindow::ShowStrategy(strategy));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), expected);
    }

    void centredOnParent()
    {
        ShownWindow parent(kFramed, QRect(200, 150, 400, 300));
        CWindow child(CWindow::Resizable, &parent.window);
        child.resize(100, 60);
        parent.window.hide();
        child.showWindow(CWindow::CenteredOnParent);
        QVERIFY(parent.window.isVisible());
        QCOMPARE(child.geometry().center(), parent.window.geometry().center());
    }

    void shownFixedWindowTakesItsPreferredSize()
    {
        CWindow window(CWindow::TitleBar, nullptr);
        auto* layout = new QVBoxLayout(window.contentWidget());
        auto* body = new QWidget;
        body->setMinimumSize(250, 120);
        layout->addWidget(body);
        window.showWindow(CWindow::NoChange);
        QCOMPARE(window.size(), window.sizeHint());
        QVERIFY(window.width() >= 250);
        QVERIFY(window.height() >= 120 + window.titleBar()->height());
    }

    void nextToRectNearBottomOpensAbove()
    {
        CWindow popup(0, nullptr);
        popup.contentWidget()->setMinimumSize(160, 100);
        const QRect area = primaryArea();
        const QRect anchor(300, area.bottom() - 40, 80, 24);
        const int side = popup.showNextToRect(anchor, 8, Qt::AlignLeft, false);
        QCOMPARE(side, 1);
        QCOMPARE(popup.border()->anchorSide(), 1);
        QVERIFY(popup.isVisible());
        QVERIFY(popup.geometry().bottom() < anchor.top());
        QCOMPARE(popup.geometry().left(), anchor.left());
        QCOMPARE(popup.windowOpacity(), 1.0);
        popup.hide();
        QCOMPARE(popup.border()->anchorSide(), 0);
    }

    void nextToRectKeepsSideWithRoom()
    {
        CWindow popup(0, nullptr);
        popup.contentWidget()->setMinimumSize(160, 100);
        const QRect anchor(300, 100, 80, 24);
        QCOMPARE(popup.showNextToRect(anchor, 8, Qt::AlignLeft, false), 8);
        QCOMPARE(popup.geometry().top(), anchor.bottom() + 1);
    }

    void fadeOutEndsHiddenThenShowsOpaque()
    {
        ManualAnimationClock clock;
        ShownWindow shown;
        CWindow& window = shown.window;
        window.fadeOut();
        clock.advance(75);
        QVERIFY(window.isVisible());
        QVERIFY(window.windowOpacity() < 1.0 && window.windowOpacity() > 0.0);
        clock.advance(200);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.windowOpacity(), 1.0);
        window.showWindow(CWindow::NoChange);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void showDuringFadeOutStaysShown()
    {
        ManualAnimationClock clock;
        ShownWindow shown;
        shown.window.fadeOut();
        clock.advance(75);
        shown.window.showWindow(CWindow::NoChange);
        clock.advance(300);
        QVERIFY(shown.window.isVisible());
        QCOMPARE(shown.window.windowOpacity(), 1.0);
    }

    void fadeOutOfHiddenWindow()
    {
        CWindow window(0, nullptr);
        window.fadeOut();
        QVERIFY(window.isHidden());
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void titleOnlyWithTitleBar()
    {
        CWindow plain(0, nullptr);
        plain.setTitle(QStringLiteral("ignored"));
        QVERIFY(!plain.titleBar());
        CWindow titled(CWindow::TitleBar | CWindow::SidePanel, nullptr);
        titled.setTitle(QStringLiteral("Shown"));
        QCOMPARE(titled.titleBar()->titleLabel()->text(), QStringLiteral("Shown"));
        QCOMPARE(titled.titleBar()->buttons(), int(CTitleBar::Close));
        QVERIFY(titled.sidePanel());
    }

    // The outline lies on whole device pixels inside the native client size, at every ratio.
    void framePaintedOnDevicePixels_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QSize>("size");
        for (const double ratio : testRatios()) {
            QTest::addRow("100x60 @%g", ratio) << ratio << QSize(100, 60);
            QTest::addRow("101x61 @%g", ratio) << ratio << QSize(101, 61);
        }
    }
    void framePaintedOnDevicePixels()
    {
        QFETCH(double, ratio);
        QFETCH(QSize, size);
        QWidget owner;
        CBorder border(&owner);
        border.setBackgroundBrush(QBrush(Qt::white));
        border.setBorderColor(Qt::red);
        border.setBorderWidth(1);
        const QSize native(qRound(size.width() * ratio), qRound(size.height() * ratio));
        const QImage image = paintInScope(size, ratio, [&](CPainterScope& scope) {
            CWindow::paintFrame(scope, &border, native, true, false);
        });
        const int pen = qRound(ratio);
        const int midX = native.width() / 2;
        const int midY = native.height() / 2;
        const QColor red(Qt::red);
        const QColor white(Qt::white);
        for (int i = 0; i < pen; ++i) {
            QVERIFY(nearColour(devicePixel(image, i, midY), red));
            QVERIFY(nearColour(devicePixel(image, native.width() - 1 - i, midY), red));
            QVERIFY(nearColour(devicePixel(image, midX, i), red));
            QVERIFY(nearColour(devicePixel(image, midX, native.height() - 1 - i), red));
        }
        QVERIFY(nearColour(devicePixel(image, pen, midY), white));
        QVERIFY(nearColour(devicePixel(image, native.width() - 1 - pen, midY), white));
        QVERIFY(nearColour(devicePixel(image, midX, native.height() - 1 - pen), white));
        // Nothing is painted past the native size.
        if (image.width() > native.width())
            QCOMPARE(devicePixel(image, native.width(), midY).alpha(), 0);
    }

    void inactiveOutlineFades()
    {
        QWidget owner;
        CBorder border(&owner);
        border.setBackgroundBrush(Qt::NoBrush);
        border.setBorderColor(QColor(0, 0, 255, 200));
        border.setBorderWidth(1);
        for (const bool active : {true, false}) {
            const QImage image = paintInScope(QSize(40, 30), 1.0, [&](CPainterScope& scope) {
                CWindow::paintFrame(scope, &border, QSize(40, 30), active, false);
            });
            QCOMPARE(devicePixel(image, 0, 15).alpha(), active ? 200 : 140);
        }
    }

    void windowStyleKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<int>("minimumContentWidth");
        QTest::newRow("0") << 0 << QColor(0xFFFFFF) << 0;
        QTest::newRow("1") << 1 << QColor(0xF4F4F4) << 0;
        QTest::newRow("2") << 2 << QColor(0xF4F4F4) << 0;
        QTest::newRow("4") << 4 << QColor(0xFFFFFF) << 200;
        QTest::newRow("6") << 6 << QColor(0xFFFFFF) << 0;
    }
    void windowStyleKinds()
    {
        QFETCH(int, kind);
        QFETCH(QColor, background);
        QFETCH(int, minimumContentWidth);
        CWindow window(kind, 0, nullptr, CWindow::Default, false, QString());
        CBorder* border = window.border();
        QCOMPARE(border->backgroundBrush().color(), background);
        QCOMPARE(border->borderWidth(), 1);
        QCOMPARE(border->borderColor(), QColor::fromRgbF(0, 0, 0, 0.22));
        QCOMPARE(border->shadowColor(), border->borderColor());
        QCOMPARE(border->shadowBlur(), 20);
        QCOMPARE(border->shadowOffset(), 0);
        QCOMPARE(window.contentWidget()->minimumWidth(), minimumContentWidth);
    }
};

TY_UI_TEST_MAIN(WindowTest)
#include "tst_window.moc"
