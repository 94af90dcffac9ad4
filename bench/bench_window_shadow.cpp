// The separate shadow of a frameless window: the image of a 1920 x 1080 window with blur 20 made
// at device pixel ratios 1 and 2, and a move of a shown window, which only places the image.
#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "uilib/controls/CBorder.h"
#include "uilib/controls/CWindow.h"
#include "uilib/style/CShadowPanel.h"

#include <cstdio>

namespace {

int rebuilds = 0;
int updates = 0;

// Counts what the panel asks, shows nothing.
class CountingSurface : public IShadowSurface
{
public:
    void setImage(const QImage&) override { ++rebuilds; }
    void update(const QRect&, double, int) override { ++updates; }
    void setShown(bool) override {}
};

double buildMs(double ratio)
{
    CBorder border(nullptr);
    border.setShadowBlur(20);
    border.setShadowColor(QColor(0, 0, 0, 56));
    const QSize window(qRound(1920 * ratio), qRound(1080 * ratio));
    const int grow = qRound(20 * ratio);
    return medianMs(15, [&] { CShadowPanel::buildImage(window + QSize(2 * grow, 2 * grow), ratio, &border); });
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CApplicaiton app(argc, argv);
    for (double ratio : {1.0, 2.0})
        std::printf("ratio %.0f  shadow image of 1920x1080, blur 20  %8.3f ms\n", ratio, buildMs(ratio));

    CShadowPanel::setSurfaceFactory([](QWidget*) { return std::make_unique<CountingSurface>(); });
    CWindow window(0, nullptr);
    window.setGeometry(0, 0, 1280, 720);
    window.show();
    QCoreApplication::processEvents();
    const int rebuiltBefore = rebuilds;
    int step = 0;
    const double moveMs = medianMs(200, [&] { window.move(++step % 2 ? 10 : 0, 0); });
    std::printf("move of a shown 1280x720 window     %8.3f ms (%d images made, %d placements)\n", moveMs,
                rebuilds - rebuiltBefore, updates);
    return 0;
}
