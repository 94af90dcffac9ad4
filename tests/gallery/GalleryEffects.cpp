// The drop shadow, the fade and slide of the opacity effect, and the stages of an animated show.

#include "Gallery.h"

#include "uilib/style/CAnimationShow2.h"
#include "uilib/style/COpacityEffect.h"
#include "uilib/style/CShadowEffect.h"
#include "uilib/style/LibUtils.h"

#include <QPainter>
#include <QWidget>

namespace {

// A light backdrop with a checker strip, so that transparency shows.
class Backdrop : public QWidget
{
public:
    Backdrop() { resize(260, 170); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xF2F2F2));
        for (int x = 0; x < width(); x += 10) {
            for (int y = 60; y < 110; y += 10) {
                if ((x / 10 + y / 10) % 2 == 0)
                    painter.fillRect(QRect(x, y, 10, 10), QColor(0xC8C8C8));
            }
        }
    }
};

// A white panel with a title and an accent bar.
class Panel : public QWidget, public CAnimationShow2
{
public:
    explicit Panel(QWidget* parent) : QWidget(parent), CAnimationShow2(this) { setGeometry(40, 30, 170, 100); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(0xD0D0D0));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.fillRect(QRect(12, 14, 4, 20), QColor(0x3D8FE0));
        painter.setFont(makeFont(14, QFont::Normal, QStringLiteral("DejaVu Sans")));
        painter.setPen(QColor(0x202020));
        painter.drawText(QRect(24, 12, width() - 36, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Panel"));
        painter.setPen(QColor(0x707070));
        painter.setFont(makeFont(12, QFont::Normal, QStringLiteral("DejaVu Sans")));
        painter.drawText(QRect(24, 40, width() - 36, 48), Qt::TextWordWrap, QStringLiteral("Drawn by its effect"));
    }
};

struct Scene
{
    Backdrop backdrop;
    Panel panel{&backdrop};
};

CShadowEffect* colouredShadow(QWidget* widget)
{
    auto* shadow = new CShadowEffect(widget);
    shadow->setColor(QColor(61, 143, 224, 170));
    shadow->setOffset(QPointF(0, 6));
    shadow->setBlurRadius(6);
    return shadow;
}

} // namespace

TY_GALLERY_ENTRY("effect-shadow")
{
    for (double ratio : {1.0, 2.0}) {
        Scene plain;
        new CShadowEffect(&plain.panel);
        page.add(renderWidget(&plain.backdrop, ratio), "default", false, ratio);
        Scene coloured;
        colouredShadow(&coloured.panel);
        page.add(renderWidget(&coloured.backdrop, ratio), "coloured", false, ratio);
    }
}

TY_GALLERY_ENTRY("effect-opacity")
{
    Scene shadowed;
    colouredShadow(&shadowed.panel)->setOpacity(0.5);
    page.add(renderWidget(&shadowed.backdrop, 1.0), "shadow-half");

    Scene sliding;
    auto* effect = new COpacityEffect(&sliding.panel);
    effect->setSlide(Qt::RightEdge, 40);
    effect->setOpacity(0.5);
    page.add(renderWidget(&sliding.backdrop, 1.0), "slide-right-half");
}

// A show from the right and a hide, on the manual clock.
TY_GALLERY_ENTRY("show-animation")
{
    ManualAnimationClock clock;
    Scene scene;
    scene.backdrop.show();
    scene.panel.hide();
    scene.panel.setSlide(Qt::RightEdge, 40);
    scene.panel.showAnimated();
    for (int step = 0; step < 4; ++step) {
        page.add(renderWidget(&scene.backdrop, 1.0), QStringLiteral("show-%1ms").arg(step * 60));
        clock.advance(60);
    }
    clock.advance(250);
    page.add(renderWidget(&scene.backdrop, 1.0), QStringLiteral("shown"));
    scene.panel.hideAnimated();
    clock.advance(125);
    page.add(renderWidget(&scene.backdrop, 1.0), QStringLiteral("hide-125ms"));
    clock.advance(125);
    page.add(renderWidget(&scene.backdrop, 1.0), QStringLiteral("hidden"));
}
