// Scroll areas with their edge shadows and overlay bars.

#include "Gallery.h"

#include "uilib/controls/CAnimationScrollBar.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/style/CAnimationWidget.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// Numbered rows, light or dark.
class Rows : public QWidget
{
public:
    explicit Rows(bool dark) : m_dark(dark) { setMinimumHeight(600); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_dark ? QColor(0x2B2B2B) : Qt::white);
        painter.setPen(m_dark ? QColor(0xE0E0E0) : QColor(0x202020));
        for (int row = 0; row < 20; ++row) {
            painter.drawText(QRect(12, row * 30, width() - 24, 30), Qt::AlignVCenter,
                             QStringLiteral("Row %1").arg(row + 1));
        }
    }

private:
    bool m_dark;
};

struct ScrollScene
{
    QWidget window;
    QScrollArea* area = new QScrollArea(&window);
    CShadowInner inner{area, nullptr};
    explicit ScrollScene(bool dark)
    {
        window.resize(240, 200);
        area->setGeometry(0, 0, 240, 200);
        area->setFrameShape(QFrame::NoFrame);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setWidgetResizable(true);
        area->setWidget(new Rows(dark));
        inner.setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);
        window.show();
    }
};

// The library's scroll area with overlay bars and shadows on the top and bottom edges.
struct OverlayScene
{
    QWidget window;
    CScrollArea* area = new CScrollArea(35, &window);
    explicit OverlayScene(bool dark)
    {
        window.resize(240, 200);
        area->setGeometry(0, 0, 240, 200);
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setWidget(new Rows(dark));
        area->shadowInner()->setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, Qt::TopEdge | Qt::BottomEdge);
        installAnimatedScrollBars(40, area, 0);
        window.show();
    }
    CAnimationScrollBar* bar() const { return area->findChild<CAnimationScrollBar*>(); }
};

} // namespace

TY_GALLERY_ENTRY("scroll-area-shadows")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        ScrollScene scene(dark);
        QScrollBar* bar = scene.area->verticalScrollBar();
        page.add(renderWidget(&scene.window, 1.0), "top", dark);
        bar->setValue(bar->maximum() / 2);
        clock.advance(1000);
        for (double ratio : {1.0, 1.5})
            page.add(renderWidget(&scene.window, ratio), "middle", dark, ratio);
        bar->setValue(bar->maximum());
        clock.advance(1000);
        page.add(renderWidget(&scene.window, 1.0), "bottom", dark);
    }
}

TY_GALLERY_ENTRY("scroll-area-overlay-bar")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        ManualAnimationClock clock;
        OverlayScene scene(dark);
        QScrollBar* bar = scene.area->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        clock.advance(1000);
        page.add(renderWidget(&scene.window, 1.0), "narrow", dark);
        scene.bar()->expansionAnimation()->setHovered(true, false);
        for (double ratio : {1.0, 1.5})
            page.add(renderWidget(&scene.window, ratio), "widened", dark, ratio);
        scene.area->widget()->setMinimumHeight(100);
        clock.advance(1000);
        page.add(renderWidget(&scene.window, 1.0), "fitting", dark);
    }
}
