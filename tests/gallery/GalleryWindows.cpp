#include "Gallery.h"

#include "uilib/controls/COverlay.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/style/CAnimationProgress.h"

#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QVBoxLayout>

namespace {

// A window with a title bar over a plain body, laid out at its size.
struct TitledWindow
{
    explicit TitledWindow(int buttons)
    {
        window.resize(420, 140);
        bar = new CTitleBar(&window);
        bar->setButtons(buttons);
        bar->titleLabel()->setText(QStringLiteral("Window title"));
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addStretch(1);
        window.show();
        QCoreApplication::processEvents();
    }
    QWidget window;
    CTitleBar* bar;
};

QImage shot(QWidget* window)
{
    return renderWidget(window, 1.0, currentPalette()->color(2));
}

} // namespace

TY_GALLERY_ENTRY("window-titlebar")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        TitledWindow all(7);
        page.add(shot(&all.window), "normal", dark);
        all.window.showMaximized();
        QCoreApplication::processEvents();
        all.window.resize(420, 140);
        QCoreApplication::processEvents();
        page.add(shot(&all.window), "maximised", dark);
        TitledWindow closeOnly(4);
        page.add(shot(&closeOnly.window), "close-only", dark);
    }
}

TY_GALLERY_ENTRY("window-overlay")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        TitledWindow titled(7);
        auto* overlay = new COverlay(&titled.window);
        overlay->fade()->jumpToEnd();
        page.add(shot(&titled.window), "dimmed", dark);
    }
}
