// The flow layout: colour swatches wrapping at two widths.

#include "Gallery.h"

#include "uilib/style/CCustomLayout.h"
#include "uilib/style/GlobLayout.h"

#include <QWidget>

namespace {

constexpr int SwatchCount = 24;
constexpr int SwatchSize = 30;

QWidget* makeSwatch(int index, QWidget* parent)
{
    auto* swatch = new QWidget(parent);
    swatch->setFixedSize(SwatchSize, SwatchSize);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor::fromHsv(index * 360 / SwatchCount, 200, 230));
    swatch->setPalette(palette);
    return swatch;
}

// The colour picker's margins and spacing, laid out at the given width.
QImage swatchesAtWidth(int width)
{
    QWidget host;
    auto* flow = new CCustomLayout(&host, QMargins(29, 0, 29, 29), 2, 2);
    for (int i = 0; i < SwatchCount; ++i)
        flow->addWidget(makeSwatch(i, &host));
    host.resize(width, flow->heightForWidth(width));
    refreshLayout(flow);
    return renderWidget(&host, 1.0, QColor(0xF2F2F2));
}

} // namespace

TY_GALLERY_ENTRY("layout-flow")
{
    page.add(swatchesAtWidth(200), "narrow");
    page.add(swatchesAtWidth(420), "wide");
}
