// The value selectors under TyStyle: each closed and with its popup open, the colour picker in
// its three modes, the font menu whole and filtered, the volume popup at three levels and the
// level overlay.

#include "Gallery.h"

#include "app/CSystemTools.h"
#include "pages/EffectSelectors.h"
#include "pages/FontSizeSelector.h"
#include "pages/FontsCombo.h"
#include "pages/GlobalFamiliesMenu.h"
#include "pages/LoopSelector.h"
#include "pages/PopupOverlay.h"
#include "pages/PositionSelector.h"
#include "pages/SelectColorDialog.h"
#include "pages/TimeSelector.h"
#include "pages/TyStyle.h"
#include "pages/VideoFormatSelectors.h"
#include "pages/VolumeButton.h"
#include "resources/Resources.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CStyle.h"

#include <QBoxLayout>
#include <QPainter>
#include <QWheelEvent>

namespace {

void settle()
{
    settleGallery();
}

// TyStyle current, registered once.
void useTyStyle()
{
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    if (!style->setCurrentStyle(QStringLiteral("TyStyle"))) {
        style->registerPalette(new TyStyle(style));
        style->setCurrentStyle(QStringLiteral("TyStyle"));
    }
}

// A window in the palette's background with one control at its top-left.
struct Host
{
    explicit Host(const QSize& size = QSize(360, 64))
    {
        window.setGeometry(100, 100, size.width(), size.height());
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, currentPalette()->color(2));
        window.setPalette(palette);
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(16, 14, 16, 14);
        layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    template <class Control>
    Control* add(Control* control, int width = 0)
    {
        if (width > 0)
            control->setFixedWidth(width);
        window.layout()->addWidget(control);
        window.show();
        settle();
        return control;
    }
    QImage closed() { return compositeWindows({&window}); }
    QImage open(QWidget* popup) { return compositeWindows({&window, popup}); }
    QWidget window;
};

// Checks the selector as a press would and waits for its popup.
template <class Selector>
QWidget* openPopup(Selector* selector)
{
    selector->setCheckedAndEmit(true);
    settle();
    return selector->popup();
}

// A combo closed, then with its list open.
void shootCombo(GalleryPage& page, Host& host, CComboBase* combo, const QString& prefix = QString())
{
    page.add(host.closed(), prefix + QStringLiteral("closed"), true);
    combo->showPopup();
    page.add(host.open(combo->popup()), prefix + QStringLiteral("open"), true);
    closeAllPopups();
    settle();
}

} // namespace

TY_GALLERY_ENTRY("selector-time")
{
    useTyStyle();
    Host host;
    auto* selector = host.add(new TimeSelector(18), 180);
    selector->setSecPresets({1, 2, 3, 5, 10});
    selector->setMsecValueSilently(3000);
    page.add(host.closed(), "closed", true);
    page.add(host.open(openPopup(selector)), "open", true);
    closeAllPopups();
    settle();
    selector->setCustomValueEnabled(true);
    selector->setApplyToAllEnabled(true);
    selector->setMsecValueSilently(2500);
    page.add(host.open(openPopup(selector)), "open-custom-apply-to-all", true);
    closeAllPopups();
    settle();
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-loop")
{
    useTyStyle();
    Host host;
    auto* selector = host.add(new LoopSelector(18), 200);
    selector->setPresets({1, 2, 3, 5});
    selector->setOneLoopDuration(90000);
    selector->setValueSilently(2);
    page.add(host.closed(), "closed", true);
    page.add(host.open(openPopup(selector)), "open", true);
    closeAllPopups();
    settle();
    selector->setValueSilently(7);
    page.add(host.open(openPopup(selector)), "open-custom", true);
    closeAllPopups();
    settle();
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-transition")
{
    useTyStyle();
    for (const int mode : {0, 1}) {
        Host host;
        auto* selector = host.add(new TransitionSelector(18, mode), 260);
        selector->updateTexts();
        selector->setTransitionSilently(TransitionCrossfade);
        shootCombo(page, host, selector, mode == 0 ? QStringLiteral("all-") : QStringLiteral("captions-"));
    }
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-motion")
{
    useTyStyle();
    Host host;
    auto* selector = host.add(new MotionSelector(18), 260);
    selector->updateTexts();
    selector->setMotionSilently(MotionZoomInCenter);
    shootCombo(page, host, selector);
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-resolution")
{
    useTyStyle();
    for (const int fullLabel : {0, 1}) {
        Host host(QSize(420, 64));
        auto* selector = host.add(new ResolutionSelector(fullLabel ? 18 : 1034, fullLabel), fullLabel ? 360 : 0);
        selector->updateTexts();
        selector->setResolutionSilently(QStringLiteral("720x1280"));
        shootCombo(page, host, selector, fullLabel ? QStringLiteral("full-label-") : QStringLiteral("plain-"));
    }
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-fps")
{
    useTyStyle();
    Host host;
    auto* selector = host.add(new FpsSelector(18), 240);
    selector->updateTexts();
    selector->setFpsSilently(30);
    shootCombo(page, host, selector);
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-position")
{
    useTyStyle();
    ManualAnimationClock clock;
    Host host(QSize(200, 120));
    auto* selector = host.add(new PositionSelector);
    page.add(host.closed(), "centre", true);
    selector->setPositionSilently(TextInfo::BottomRight);
    clock.advance(1000);
    page.add(host.closed(), "bottom-right", true);
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-font-size")
{
    useTyStyle();
    ManualAnimationClock clock;
    Host host(QSize(260, 64));
    auto* selector = host.add(new FontSizeSelector);
    page.add(host.closed(), "normal", true);
    selector->setFontSize(TextInfo::Largest);
    clock.advance(1000);
    page.add(host.closed(), "largest", true);
    page.usePalette(false);
}

TY_GALLERY_ENTRY("selector-fonts")
{
    useTyStyle();
    Host host(QSize(300, 64));
    FontsCombo::preloadFamiliesMenu(&host.window, 1000, 19, 1073);
    GlobalFamiliesMenu* menu = FontsCombo::familiesMenu();
    auto* combo = host.add(new FontsCombo(18), 240);
    combo->setFamilySilently(QStringLiteral("DejaVu Serif"));
    page.add(host.closed(), "closed", true);
    combo->setCheckedAndEmit(true);
    settle();
    page.add(host.open(menu), "open", true);
    menu->filterField()->setText(QStringLiteral("mono"));
    menu->applyFilter();
    menu->onFilterEdited(QStringLiteral("mono"));
    menu->applyFilter();
    page.add(host.open(menu), "filtered", true);
    closeAllPopups();
    settle();
    delete menu;
    page.usePalette(false);
}

TY_GALLERY_ENTRY("color-picker")
{
    useTyStyle();
    for (const int mode : {0, 1, 2}) {
        SelectColorDialog dialog(mode);
        dialog.setSelectedColorIndex(3);
        dialog.setSelectedColor(Qt::white);
        dialog.showModeless(CWindow::CursorScreen);
        page.add(compositeWindows({&dialog}), QStringLiteral("mode-%1").arg(mode), true);
        dialog.close();
    }
    page.usePalette(false);
}

TY_GALLERY_ENTRY("volume")
{
    useTyStyle();
    Host host(QSize(120, 64));
    host.window.move(100, 300);
    auto* button = host.add(new VolumeButton);
    for (const int level : {0, 40, 100}) {
        button->setVolume(level);
        button->showPopup();
        settle();
        page.add(host.open(button->popup()), QStringLiteral("level-%1").arg(level), true);
        button->closePopup();
        settle();
    }
    page.usePalette(false);
}

TY_GALLERY_ENTRY("volume-overlay")
{
    useTyStyle();
    ManualAnimationClock clock;
    Host host(QSize(480, 270));
    auto* button = new VolumeButton(&host.window);
    button->hide();
    host.window.show();
    button->setVolume(35);
    button->attachWheelTarget(&host.window);
    QWheelEvent wheel(QPointF(240, 135), QPointF(340, 235), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&host.window, &wheel);
    clock.advance(1000);
    page.add(host.closed(), "level-40", true);
    page.usePalette(false);
}
