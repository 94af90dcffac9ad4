#include "uilib/controls/ButtonContent.h"

#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QWidget>

void setUpButtonContent(CButtonDraw& draw, QWidget* widget, const QString& iconName)
{
    Cpalette* palette = currentPalette();
    draw.setIcon(iconName);
    // Role 16 when normal, nothing on hover or press: the palette fills these in.
    const QColor text = palette->color(16);
    draw.setTextColors(ColorSet(text, Qt::transparent, Qt::transparent, QColor(), text, Qt::transparent,
                                Qt::transparent, QColor()));
    draw.setSpacing(palette->metric(18));
    widget->setMinimumSize(0, 0);
    widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString buttonIconPath(const CButtonDraw& draw)
{
    return draw.hasIcon() ? draw.icon()->path() : QString();
}
