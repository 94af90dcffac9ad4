#include "uilib/style/LibUtils.h"

#include "uilib/style/CButtonDraw.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

QFont makeFont(int pixelSize, int weight, const QString& family)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

void setButtonFont(CButtonDraw* button, int pixelSize, int weight, const QString& family)
{
    if (button)
        button->setFont(makeFont(pixelSize, weight, family));
}

void applyFontToWidget(QWidget* widget, int pixelSize, int weight, const QString& family)
{
    if (!widget)
        return;
    QFont font = widget->font();
    bool changed = false;
    if (font.family() != family) {
        font.setFamily(family);
        changed = true;
    }
    if (font.pixelSize() != pixelSize) {
        font.setPixelSize(pixelSize);
        changed = true;
    }
    if (font.weight() != weight) {
        font.setWeight(weight);
        changed = true;
    }
    if (changed)
        widget->setFont(font);
}

namespace {

bool sameLength(qreal a, qreal b)
{
    return std::min(std::abs(a), std::abs(b)) >= std::abs(a - b) * 1e12;
}

template <class Rect, class Size, class Centre>
Rect alignIn(const Size& size, Qt::Alignment alignment, const Rect& area, bool clip, Centre centre)
{
    Rect rect(area.topLeft(), size);
    const int bits = int(alignment) & 0xff;
    if (bits & Qt::AlignLeft)
        rect.moveLeft(area.left());
    if (bits & Qt::AlignHCenter)
        rect.moveLeft(area.x() + centre(area.width() - rect.width()));
    if (bits & Qt::AlignRight)
        rect.moveRight(area.right());
    if (bits & Qt::AlignTop)
        rect.moveTop(area.top());
    if (bits & Qt::AlignVCenter)
        rect.moveTop(area.top() + centre(area.height() - rect.height()));
    if (bits & Qt::AlignBottom)
        rect.moveBottom(area.bottom());
    return clip ? rect.intersected(area) : rect;
}

} // namespace

QRect alignRectInArea(const QSize& size, Qt::Alignment alignment, const QRect& area, bool clip)
{
    if (size == area.size())
        return area;
    return alignIn(size, alignment, area, clip, [](int extra) { return extra / 2; });
}

QRectF alignRectInArea(const QSizeF& size, Qt::Alignment alignment, const QRectF& area, bool clip)
{
    if (sameLength(size.width(), area.width()) && sameLength(size.height(), area.height()))
        return area;
    return alignIn(size, alignment, area, clip, [](qreal extra) { return extra * 0.5; });
}
