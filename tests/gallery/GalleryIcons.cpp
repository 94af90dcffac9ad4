// The library's icons from the icon repository.

#include "Gallery.h"

#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CStyle.h"

#include <QPainter>

namespace {

const char* const LibraryIcons[] = {":/uilib/close-10.svg", ":/uilib/titlebar-minimize.svg",
                                    ":/uilib/titlebar-maximize.svg", ":/uilib/titlebar-restore.svg",
                                    ":/uilib/titlebar-close.svg"};
constexpr int Cell = 30;

// One column per icon; rows: own colours at the default size, recoloured in the text colour at
// the default size, in the accent at 20 x 20.
QImage iconSheet(double ratio)
{
    Cpalette* palette = currentPalette();
    const int columns = int(std::size(LibraryIcons));
    const QSize size(columns * Cell, 3 * Cell);
    return paintAtRatio(size, ratio, [&](QPainter* painter) {
        painter->fillRect(QRect(QPoint(), size), palette->color(2));
        const QColor colors[] = {QColor(), palette->textColor(), QColor(0x458BCF)};
        const QSize sizes[] = {QSize(), QSize(), QSize(20, 20)};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < columns; ++column) {
                CIcon* icon = CIconRepo::instance()->iconFromUtf8(LibraryIcons[column]);
                icon->paintAligned(painter, QRect(column * Cell, row * Cell, Cell, Cell), Qt::AlignCenter,
                                   sizes[row], colors[row], CIcon::Normal);
            }
        }
    });
}

} // namespace

TY_GALLERY_ENTRY("icons")
{
    for (double ratio : {1.0, 1.5, 2.0})
        page.add(iconSheet(ratio), QString(), false, ratio);
    page.usePalette(true);
    for (double ratio : {1.0, 2.0})
        page.add(iconSheet(ratio), QString(), true, ratio);
}
