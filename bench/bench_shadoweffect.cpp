// Repaints of a 600 x 400 panel whose child changes: without an effect, with a drop shadow
// (blur 20) made on every repaint, and with the shadow taken from the shared cache
// (Qt::WA_OpaquePaintEvent), at device pixel ratios 1 and 2.
#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "uilib/style/CShadowEffect.h"

#include <QLabel>
#include <QPainter>
#include <QWidget>

#include <cmath>
#include <cstdio>

namespace {

class Panel : public QWidget
{
public:
    explicit Panel(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(0xD0D0D0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

enum class Effect { None, Shadow, CachedShadow };

double repaintMs(Effect kind, double ratio)
{
    QWidget host;
    host.resize(680, 480);
    auto* panel = new Panel(&host);
    panel->setGeometry(40, 40, 600, 400);
    auto* label = new QLabel(panel);
    label->setGeometry(20, 20, 300, 30);
    if (kind != Effect::None) {
        auto* shadow = new CShadowEffect(panel);
        shadow->setBlurRadius(20);
    }
    panel->setAttribute(Qt::WA_OpaquePaintEvent, kind == Effect::CachedShadow);
    QImage target(int(std::ceil(host.width() * ratio)), int(std::ceil(host.height() * ratio)),
                  QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    int counter = 0;
    return medianMs(40, [&] {
        label->setText(QStringLiteral("Changed %1").arg(++counter));
        QPainter painter(&target);
        host.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    });
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    // --cached: only the cached repaints, many of them, for a profiler.
    if (app.arguments().contains(QStringLiteral("--cached"))) {
        for (int i = 0; i < 20; ++i)
            std::printf("%8.3f ms\n", repaintMs(Effect::CachedShadow, 2.0));
        return 0;
    }
    for (double ratio : {1.0, 2.0}) {
        const double plain = repaintMs(Effect::None, ratio);
        const double shadow = repaintMs(Effect::Shadow, ratio);
        const double cached = repaintMs(Effect::CachedShadow, ratio);
        std::printf("ratio %.0f  no effect          %8.3f ms per repaint\n", ratio, plain);
        std::printf("ratio %.0f  shadow, made        %8.3f ms per repaint (%.1fx)\n", ratio, shadow, shadow / plain);
        std::printf("ratio %.0f  shadow, cached      %8.3f ms per repaint (%.1fx)\n", ratio, cached, cached / plain);
    }
    return 0;
}
