#include "Gallery.h"

#include "uilib/controls/COverlay.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/style/CAnimationProgress.h"

#include <QVBoxLayout>

namespace {

// A window with a title bar over a plain body, laid out at its size.
struct TitledWindow
{
    explicit TitledWindow(int buttons)
    {
        window.resize(420, 140);
        window.setAutoFillBackground(true);
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

} // namespace

TY_GALLERY_ENTRY("window-titlebar")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        TitledWindow all(7);
        page.add(renderWidget(&all.window, 1.0), "normal", dark);
        all.window.showMaximized();
        QCoreApplication::processEvents();
        all.window.resize(420, 140);
        QCoreApplication::processEvents();
        page.add(renderWidget(&all.window, 1.0), "maximised", dark);
        TitledWindow closeOnly(4);
        page.add(renderWidget(&closeOnly.window, 1.0), "close-only", dark);
    }
}

TY_GALLERY_ENTRY("window-overlay")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        TitledWindow titled(7);
        auto* overlay = new COverlay(&titled.window);
        overlay->fade()->jumpToEnd();
        page.add(renderWidget(&titled.window, 1.0), "dimmed", dark);
    }
}
