// Palette swatches and the drawing primitives.

#include "Gallery.h"

#include "uilib/style/CStyle.h"
#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/LibUtils.h"
#include "uilib/style/TextBlock.h"

#include <QPainter>

namespace {

constexpr int Swatch = 22;
constexpr int LabelWidth = 90;

void drawSwatch(QPainter* painter, const QRect& rect, const QColor& color)
{
    painter->fillRect(rect, QColor(0xCCCCCC));
    painter->fillRect(rect.adjusted(0, 0, -rect.width() / 2, -rect.height() / 2), QColor(0x999999));
    painter->fillRect(rect.adjusted(rect.width() / 2, rect.height() / 2, 0, 0), QColor(0x999999));
    if (color.isValid())
        painter->fillRect(rect, color);
    else
        painter->drawLine(rect.topRight(), rect.bottomLeft());
    // An outline, so that a swatch of the background's own colour still shows.
    painter->save();
    painter->setPen(QColor(128, 128, 128, 160));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void drawLabel(QPainter* painter, const QRect& rect, const QString& text)
{
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

QImage paletteSheet(Cpalette* palette)
{
    const int roles = 22;
    const int sets = 10;
    const QSize size(LabelWidth + 8 * (Swatch + 4) + 8, (roles / 2 + sets + 2) * (Swatch + 4) + 8);
    return paintAtRatio(size, 1.0, [&](QPainter* painter) {
        painter->fillRect(QRect(QPoint(), size), palette->color(2));
        painter->setFont(makeFont(12, QFont::Normal, QStringLiteral("DejaVu Sans")));
        painter->setPen(palette->textColor());
        int y = 4;
        for (int role = 0; role < roles; ++role) {
            const int column = role % 2;
            const int x = 4 + column * (size.width() / 2);
            drawLabel(painter, QRect(x, y, 60, Swatch), QStringLiteral("color %1").arg(role));
            drawSwatch(painter, QRect(x + 62, y, 3 * Swatch, Swatch), palette->color(role));
            if (column == 1)
                y += Swatch + 4;
        }
        y += Swatch / 2;
        drawLabel(painter, QRect(4, y, size.width(), Swatch), QStringLiteral("set  n h p d | checked n h p d"));
        y += Swatch + 4;
        for (int kind = 0; kind < sets; ++kind) {
            const ColorSet set = palette->colorSet(kind);
            const QColor colors[] = {set.normal, set.hovered, set.pressed, set.disabled,
                                     set.checkedNormal, set.checkedHovered, set.checkedPressed,
                                     set.checkedDisabled};
            drawLabel(painter, QRect(4, y, LabelWidth, Swatch), QStringLiteral("colorSet %1").arg(kind));
            for (int i = 0; i < 8; ++i)
                drawSwatch(painter, QRect(LabelWidth + i * (Swatch + 4), y, Swatch, Swatch), colors[i]);
            y += Swatch + 4;
        }
    });
}

void drawPrimitives(QPainter* painter, const QColor& ink, const QColor& accent)
{
    painter->fillRect(QRect(0, 0, 380, 190), Qt::white);
    painter->setBrush(QColor(0xE2E2E2));

    painter->setPen(QPen(ink, 1));
    drawFramedRect(painter, QRectF(10, 10, 50, 30), false);
    painter->setPen(QPen(ink, 2));
    drawFramedRect(painter, QRectF(70, 10, 50, 30), true);
    painter->setPen(QPen(ink, 1));
    drawRoundedRectInside(painter, QRectF(130, 10, 50, 30), 6, true);
    drawFrame(painter, QRectF(190, 10, 50, 30), 8, 0, 8, 0, true);
    painter->setPen(Qt::NoPen);
    drawFrame(painter, QRectF(250, 10, 50, 30), 0, 0, 10, 10, false);

    const Qt::ArrowType directions[] = {Qt::UpArrow, Qt::DownArrow, Qt::LeftArrow, Qt::RightArrow};
    for (int i = 0; i < 4; ++i) {
        ArrowSpec filled{QSize(10, 6), QMargins(), directions[i], 0.0};
        if (i >= 2)
            filled.size.transpose();
        drawArrow(painter, QRectF(10 + i * 24, 56, 20, 20), ink, filled);
        ArrowSpec stroked = filled;
        stroked.width = 1.5;
        drawArrow(painter, QRectF(110 + i * 24, 56, 20, 20), ink, stroked);
    }

    drawDropMarker(painter, QLineF(220.5, 52, 220.5, 110), accent);
    drawDropMarker(painter, QLineF(240, 80.5, 370, 80.5), accent);

    painter->setPen(QPen(ink, 1));
    for (int i = 0; i < 5; ++i)
        drawPixelAlignedLine(painter, QPointF(10, 90 + i * 4), QPointF(200, 90 + i * 4));

    painter->setFont(makeFont(13, QFont::Normal, QStringLiteral("DejaVu Sans")));
    painter->setPen(ink);
    const QString text = QStringLiteral("A caption that runs longer than its box\nsecond paragraph");
    drawTextBlock(painter, text, QRectF(10, 120, 150, 60), Qt::AlignLeft | Qt::AlignTop, QTextOption::WordWrap,
                  Qt::ElideRight, 0, 2, nullptr);
    drawTextBlock(painter, text, QRectF(180, 120, 120, 20), Qt::AlignHCenter | Qt::AlignTop,
                  QTextOption::NoWrap, Qt::ElideRight, 0, 1, nullptr);
    painter->setPen(QPen(accent, 1));
    painter->setBrush(Qt::NoBrush);
    drawFramedRect(painter, QRectF(10, 120, 150, 60), false);
    drawFramedRect(painter, QRectF(180, 120, 120, 20), false);
}

} // namespace

TY_GALLERY_ENTRY("palette-swatches")
{
    page.add(paletteSheet(currentPalette()));
    page.usePalette(true);
    page.add(paletteSheet(currentPalette()), QString(), true);
}

TY_GALLERY_ENTRY("primitives")
{
    for (double ratio : testRatios()) {
        page.add(paintAtRatio(QSize(380, 190), ratio, [](QPainter* painter) {
            drawPrimitives(painter, QColor(0x2C2B30), QColor(0x458BCF));
        }), QString(), false, ratio);
    }
}
