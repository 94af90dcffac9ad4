#include "Gallery.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/COverlay.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CShadowPanel.h"
#include "uilib/style/CAnimationProgress.h"

#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QPainter>
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

namespace {

// A frameless window of the style kind with a title bar, shown at 360 x 180.
struct FramedWindow
{
    FramedWindow(int kind, int options) : window(kind, options, nullptr, CWindow::Default, false, QString())
    {
        window.setTitle(QStringLiteral("Window title"));
        window.setGeometry(40, 40, 360, 180);
        window.show();
        QCoreApplication::processEvents();
    }
    CWindow window;
};

constexpr int kAllButtons = CWindow::Movable | CWindow::Resizable | CWindow::TitleBar | CWindow::MinimiseButton
    | CWindow::MaximiseButton;

QImage windowShot(CWindow* window, double ratio = 1.0)
{
    return renderWidget(window, ratio, QColor(0x80, 0x80, 0x80));
}

} // namespace

TY_GALLERY_ENTRY("window-frameless")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        for (const int kind : {0, 1}) {
            FramedWindow framed(kind, kAllButtons);
            const QString name = QStringLiteral("kind%1").arg(kind);
            page.add(windowShot(&framed.window), name + QStringLiteral("-normal"), dark);
            framed.window.showMaximized();
            QCoreApplication::processEvents();
            // The right end of the title bar, where restore took the place of maximise.
            const QImage maximised = windowShot(&framed.window);
            page.add(maximised.copy(maximised.width() - 420, 0, 420, 160), name + QStringLiteral("-maximised"), dark);
        }
        FramedWindow closeOnly(0, CWindow::TitleBar);
        page.add(windowShot(&closeOnly.window), "close-only", dark);
        FramedWindow dimmed(0, kAllButtons);
        dimmed.window.setDimWhenBlocked(true);
        QEvent blocked(QEvent::WindowBlocked);
        QCoreApplication::sendEvent(&dimmed.window, &blocked);
        if (auto* overlay = dimmed.window.findChild<COverlay*>())
            overlay->fade()->jumpToEnd();
        page.add(windowShot(&dimmed.window), "dimmed", dark);
        FramedWindow rounded(1, kAllButtons);
        rounded.window.border()->setMargins(8, 8, 8, 8);
        for (const double ratio : {1.0, 1.25, 1.5, 2.0})
            page.add(windowShot(&rounded.window, ratio), "rounded", dark, ratio);
    }
}

// The separate shadow of a window: the image with the window painted into its clear middle.
TY_GALLERY_ENTRY("window-shadow")
{
    for (const bool dark : {false, true}) {
        page.usePalette(dark);
        FramedWindow framed(0, kAllButtons);
        framed.window.border()->setMargins(6, 6, 6, 6);
        CBorder* border = framed.window.border();
        // The palette's shadow, then a stronger one moved down to show offset and shape.
        for (const double ratio : {1.0, 2.0, -2.0}) {
            const bool strong = ratio < 0;
            if (strong) {
                border->setShadowColor(QColor(0, 0, 0, 150));
                border->setShadowOffset(6);
            }
            const double r = qAbs(ratio);
            const int grow = qRound(border->shadowBlur() * r);
            const QSize windowPixels = framed.window.size() * r;
            const QImage shadow = CShadowPanel::buildImage(windowPixels + QSize(2 * grow, 2 * grow), r, border);
            QImage shot(shadow.size(), QImage::Format_ARGB32_Premultiplied);
            shot.fill(dark ? QColor(0x3A, 0x3A, 0x40) : QColor(0xE8, 0xE8, 0xE8));
            QPainter painter(&shot);
            painter.drawImage(0, 0, shadow);
            QImage body = renderWidget(&framed.window, r);
            body.setDevicePixelRatio(1.0);
            painter.drawImage(grow, grow, body);
            painter.end();
            shot.setDevicePixelRatio(r);
            page.add(shot, strong ? QStringLiteral("strong") : QString(), dark, r);
        }
    }
}
