#include "SelectorHost.h"

#include "pages/PopupOverlay.h"
#include "pages/TyStyle.h"
#include "pages/VolumeButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CIcon.h"

#include <QSignalSpy>
#include <QWheelEvent>

namespace {

// A preview area that counts the wheel events reaching it.
class WheelTarget : public QWidget
{
public:
    using QWidget::QWidget;
    int wheels = 0;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        ++wheels;
        event->accept();
    }
};

void wheel(QWidget* target, int delta)
{
    const QPointF at = target->rect().center();
    QWheelEvent event(at, target->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

QString iconOf(const CButton* button)
{
    return button->icon() ? button->icon()->path() : QString();
}

struct VolumeFixture
{
    VolumeFixture()
    {
        button = host.add(new VolumeButton);
        target = new WheelTarget(&host.window);
        target->setGeometry(100, 10, 300, 100);
        target->show();
        button->attachWheelTarget(target);
        overlay = target->findChild<PopupOverlay*>();
    }
    SelectorHost host;
    VolumeButton* button;
    WheelTarget* target;
    PopupOverlay* overlay;
};

} // namespace

class VolumeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void cleanup() { closeAllPopups(); }

    void iconsByLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("icon");
        QTest::newRow("0") << 0 << ":/volume-0.svg";
        QTest::newRow("1") << 1 << ":/volume-33.svg";
        QTest::newRow("33") << 33 << ":/volume-33.svg";
        QTest::newRow("34") << 34 << ":/volume-66.svg";
        QTest::newRow("66") << 66 << ":/volume-66.svg";
        QTest::newRow("67") << 67 << ":/volume-100.svg";
        QTest::newRow("100") << 100 << ":/volume-100.svg";
    }
    void iconsByLevel()
    {
        QFETCH(int, level);
        QFETCH(QString, icon);
        VolumeButton button;
        button.setVolume(level);
        QCOMPARE(iconOf(&button), icon);
        QCOMPARE(iconOf(button.muteButton()), icon);
        QCOMPARE(button.muteButton()->isChecked(), level == 0);
        QCOMPARE(button.slider()->toolTip(), QString::number(level));
    }

    void setVolumeClampsQuietly()
    {
        VolumeButton button;
        QCOMPARE(button.volume(), 0);
        QSignalSpy spy(&button, &VolumeButton::volumeChanged);
        button.setVolume(150);
        QCOMPARE(button.volume(), 100);
        button.setVolume(-5);
        QCOMPARE(button.volume(), 0);
        QCOMPARE(button.rememberedLevel(), 100);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(button.styleKind(), 1028);
        QCOMPARE(button.popup()->styleKind(), 1001);
        QCOMPARE(button.slider()->orientation(), Qt::Vertical);
    }

    void muteAndUnmuteReturnToTheLevel()
    {
        VolumeButton button;
        button.setVolume(40);
        QSignalSpy spy(&button, &VolumeButton::volumeChanged);
        button.muteButton()->setCheckedAndEmit(true);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.last().first().toInt(), 0);
        QCOMPARE(iconOf(&button), QStringLiteral(":/volume-0.svg"));
        button.muteButton()->setCheckedAndEmit(false);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.last().first().toInt(), 40);
        QCOMPARE(button.volume(), 40);
    }

    void draggingToZeroThenUnmuting()
    {
        VolumeButton button;
        button.setVolume(40);
        QSignalSpy spy(&button, &VolumeButton::volumeChanged);
        button.slider()->setSliderDown(true);
        button.slider()->setValue(0);
        button.slider()->setSliderDown(false);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.last().first().toInt(), 0);
        QVERIFY(button.muteButton()->isChecked());
        button.muteButton()->setCheckedAndEmit(false);
        QTRY_COMPARE(button.volume(), 40);
        QCOMPARE(spy.last().first().toInt(), 40);
    }

    void unmutingWithoutALevelGivesFull()
    {
        VolumeButton button;
        QVERIFY(button.muteButton()->isChecked());
        button.muteButton()->setCheckedAndEmit(false);
        QTRY_COMPARE(button.volume(), 100);
    }

    void wheelStepsTheLevel_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("level");
        QTest::newRow("up at 98") << 98 << 120 << 100;
        QTest::newRow("down at 3") << 3 << -120 << 0;
        QTest::newRow("two notches") << 40 << 240 << 50;
        QTest::newRow("less than a notch") << 40 << 60 << 40;
    }
    void wheelStepsTheLevel()
    {
        QFETCH(int, start);
        QFETCH(int, delta);
        QFETCH(int, level);
        VolumeFixture fixture;
        QVERIFY(fixture.overlay);
        QCOMPARE(fixture.overlay->styleKind(), 1045);
        fixture.button->setVolume(start);
        QSignalSpy spy(fixture.button, &VolumeButton::volumeChanged);
        wheel(fixture.target, delta);
        QCOMPARE(fixture.button->volume(), level);
        QCOMPARE(fixture.button->muteButton()->isChecked(), level == 0);
        QCOMPARE(fixture.target->wheels, 0);
        QCOMPARE(fixture.overlay->text(), QStringLiteral("Громкость: %1").arg(level));
        QVERIFY(fixture.overlay->isVisible());
        if (level == 0)
            QCOMPARE(fixture.button->rememberedLevel(), start);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
    }

    void wheelOverADisabledButtonIsSwallowed()
    {
        VolumeFixture fixture;
        fixture.button->setVolume(40);
        fixture.button->setEnabled(false);
        wheel(fixture.target, 120);
        QCOMPARE(fixture.button->volume(), 40);
        QCOMPARE(fixture.target->wheels, 0);
        QVERIFY(fixture.overlay->isHidden());
    }

    void hoverOpensThePopup()
    {
        VolumeFixture fixture;
        fixture.button->setVolume(40);
        sendEnter(fixture.button);
        QVERIFY(fixture.button->hoverTimer()->isActive());
        QCOMPARE(fixture.button->hoverTimer()->interval(), 500);
        fixture.button->onHoverTimeout();
        QTRY_VERIFY(fixture.button->isPopupVisible());
        // The mute button lies on the volume button.
        QTRY_COMPARE(fixture.button->muteButton()->mapToGlobal(fixture.button->muteButton()->rect().center()),
                     globalCentre(fixture.button));
        QVERIFY(fixture.button->leaveTimer()->isActive());
        QCOMPARE(fixture.button->leaveTimer()->interval(), 200);
    }

    void hoverTimeoutAfterLeavingDoesNothing()
    {
        VolumeFixture fixture;
        QVERIFY(!fixture.button->isHovered());
        fixture.button->onHoverTimeout();
        QCoreApplication::processEvents();
        QVERIFY(!fixture.button->isPopupVisible());
    }

    void leaveClosesOnlyWithTheMouseOutsideAndFree()
    {
        VolumeFixture fixture;
        fixture.button->showPopup();
        QTRY_VERIFY(fixture.button->isPopupVisible());
        CWindowMenu* popup = fixture.button->popup();
        QCursor::setPos(popup->geometry().center());
        fixture.button->onLeaveTimeout();
        QVERIFY(fixture.button->isPopupVisible());
        // A button held outside, as while dragging the slider, keeps it open.
        const QPoint outside = fixture.host.window.mapToGlobal(QPoint(410, 110));
        popupMouse(QEvent::MouseButtonPress, popup->geometry().center());
        QCursor::setPos(outside);
        fixture.button->onLeaveTimeout();
        QVERIFY(fixture.button->isPopupVisible());
        popupMouse(QEvent::MouseButtonRelease, outside);
        QVERIFY(fixture.button->isPopupVisible());
        QCursor::setPos(outside);
        fixture.button->onLeaveTimeout();
        QTRY_VERIFY(!fixture.button->isPopupVisible());
        QVERIFY(!fixture.button->leaveTimer()->isActive());
    }

    void overlayStaysUntilTheTimeoutAfterTheLastText()
    {
        SelectorHost host;
        host.window.show();
        PopupOverlay overlay(1045, &host.window);
        QVERIFY(overlay.isHidden());
        overlay.setTimeout(1500);
        overlay.showText(QStringLiteral("a"));
        QVERIFY(overlay.isVisible());
        QTRY_VERIFY(overlay.hideTimer()->remainingTime() < 1100);
        overlay.showText(QStringLiteral("b"));
        QVERIFY(overlay.hideTimer()->remainingTime() > 1300);
        QVERIFY(overlay.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(overlay.isHidden(), 10000);
        QVERIFY(!overlay.hideTimer()->isActive());
        overlay.showText(QString());
        QVERIFY(overlay.isHidden());
    }

    void overlayFollowsItsCorner()
    {
        SelectorHost host;
        host.window.show();
        PopupOverlay overlay(1045, &host.window);
        overlay.setAlignment(Qt::AlignRight | Qt::AlignBottom);
        overlay.setOverlayMargins(QMargins(25, 25, 25, 25));
        overlay.showText(QStringLiteral("Громкость: 40"));
        const auto corner = [&] { return host.window.rect().bottomRight() - QPoint(25, 25); };
        QCOMPARE(overlay.geometry().bottomRight(), corner());
        host.window.resize(600, 300);
        QTRY_COMPARE(overlay.geometry().bottomRight(), corner());
        const int width = overlay.width();
        overlay.showText(QStringLiteral("Громкость: 40 and a longer text"));
        QTRY_VERIFY(overlay.width() > width);
        QCOMPARE(overlay.geometry().bottomRight(), corner());
    }

    void overlayLookPlacesItInTheMiddle()
    {
        SelectorHost host;
        host.window.show();
        PopupOverlay overlay(1045, &host.window);
        TyStyle style(nullptr);
        style.styleButton(&overlay, 1045, QString());
        QCOMPARE(overlay.alignment(), Qt::AlignCenter);
        QCOMPARE(overlay.hideTimer()->interval(), 1500);
        QCOMPARE(overlay.overlayMargins(), QMargins(25, 25, 25, 25));
        QCOMPARE(overlay.textFont().pixelSize(), 24);
        overlay.showText(QStringLiteral("Громкость: 40"));
        QCOMPARE(overlay.geometry().center(), host.window.rect().center());
        // Another widget of the kind takes the look without the overlay's placement.
        CWidgetTextIcon badge(1045, &host.window);
        style.styleButton(&badge, 1045, QString());
        QCOMPARE(badge.textFont().pixelSize(), 24);
    }

    void overlayHidesAtOnceWithItsParent()
    {
        SelectorHost host;
        auto* parent = new QWidget(&host.window);
        parent->setGeometry(0, 0, 300, 200);
        host.window.show();
        PopupOverlay overlay(1045, parent);
        overlay.showText(QStringLiteral("Громкость: 40"));
        QVERIFY(overlay.hideTimer()->isActive());
        parent->hide();
        QVERIFY(overlay.isHidden());
        QVERIFY(!overlay.hideTimer()->isActive());
    }
};

TY_UI_TEST_MAIN(VolumeTest)
#include "tst_volume.moc"
