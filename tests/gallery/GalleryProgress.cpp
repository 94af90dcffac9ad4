// Progress bars at the start, a third and the end, and disabled.

#include "Gallery.h"

#include "uilib/controls/CProgressBar.h"
#include "uilib/style/CStyle.h"

#include <QVBoxLayout>

TY_GALLERY_ENTRY("progress-bar")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        auto* column = new QVBoxLayout(&sheet);
        for (int value : {0, 33, 100, -50}) {
            auto* bar = new CProgressBar(38);
            bar->setValue(qAbs(value));
            bar->setEnabled(value >= 0);
            bar->setMinimumWidth(240);
            column->addWidget(bar);
        }
        sheet.adjustSize();
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}
