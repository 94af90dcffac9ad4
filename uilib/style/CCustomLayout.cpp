#include "uilib/style/CCustomLayout.h"

#include <QStyle>
#include <QWidget>

struct CCustomLayout::Private
{
    QList<QLayoutItem*> items;
    int horizontalSpacing = -1;
    int verticalSpacing = -1;
    int cachedWidth = -1;
    int cachedHeight = -1;
    QSize cachedMinimumSize;
};

CCustomLayout::CCustomLayout(QWidget* parent, const QMargins& margins, int hSpacing, int vSpacing)
    : QLayout(parent)
    , d(new Private)
{
    d->horizontalSpacing = hSpacing;
    d->verticalSpacing = vSpacing;
    setContentsMargins(margins);
}

CCustomLayout::~CCustomLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

int CCustomLayout::spacingFromParent(QStyle::PixelMetric metric) const
{
    if (parent() && parent()->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(parent());
        return widget->style()->pixelMetric(metric, nullptr, widget);
    }
    if (auto* layout = qobject_cast<QLayout*>(parent()))
        return layout->spacing();
    return -1;
}

int CCustomLayout::horizontalSpacing() const
{
    return d->horizontalSpacing >= 0 ? d->horizontalSpacing : spacingFromParent(QStyle::PM_LayoutHorizontalSpacing);
}

int CCustomLayout::verticalSpacing() const
{
    return d->verticalSpacing >= 0 ? d->verticalSpacing : spacingFromParent(QStyle::PM_LayoutVerticalSpacing);
}

void CCustomLayout::setHorizontalSpacing(int spacing)
{
    if (spacing == d->horizontalSpacing)
        return;
    d->horizontalSpacing = spacing;
    invalidate();
}

void CCustomLayout::setVerticalSpacing(int spacing)
{
    if (spacing == d->verticalSpacing)
        return;
    d->verticalSpacing = spacing;
    invalidate();
}

void CCustomLayout::insertItem(int position, QLayoutItem* item)
{
    if (position < 0 || position > d->items.size())
        position = d->items.size();
    d->items.insert(position, item);
    invalidate();
}

void CCustomLayout::insertWidget(int position, QWidget* widget)
{
    if (!widget || widget == parentWidget())
        return;
    addChildWidget(widget);
    insertItem(position, new QWidgetItemV2(widget));
}

void CCustomLayout::addItem(QLayoutItem* item)
{
    insertItem(-1, item);
}

QLayoutItem* CCustomLayout::itemAt(int index) const
{
    return index >= 0 && index < d->items.size() ? d->items.at(index) : nullptr;
}

QLayoutItem* CCustomLayout::takeAt(int index)
{
    if (index < 0 || index >= d->items.size())
        return nullptr;
    QLayoutItem* item = d->items.takeAt(index);
    invalidate();
    return item;
}

int CCustomLayout::count() const
{
    return d->items.size();
}

Qt::Orientations CCustomLayout::expandingDirections() const
{
    return Qt::Horizontal;
}

bool CCustomLayout::hasHeightForWidth() const
{
    return true;
}

int CCustomLayout::heightForWidth(int width) const
{
    if (width != d->cachedWidth) {
        d->cachedHeight = doLayout(QRect(0, 0, width, 0), d->items, true);
        d->cachedWidth = width;
    }
    return d->cachedHeight;
}

int CCustomLayout::minimumHeightForWidth(int width) const
{
    return heightForWidth(width);
}

QSize CCustomLayout::sizeHint() const
{
    return minimumSize();
}

QSize CCustomLayout::minimumSize() const
{
    if (d->cachedMinimumSize.isValid())
        return d->cachedMinimumSize;
    QSize size(0, 0);
    for (const QLayoutItem* item : qAsConst(d->items))
        size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    d->cachedMinimumSize = size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    return d->cachedMinimumSize;
}

void CCustomLayout::setGeometry(const QRect& rect)
{
    if (rect == geometry())
        return;
    QLayout::setGeometry(rect);
    doLayout(rect, d->items, false);
}

void CCustomLayout::invalidate()
{
    d->cachedWidth = -1;
    d->cachedHeight = -1;
    d->cachedMinimumSize = QSize();
    QLayout::invalidate();
}

int CCustomLayout::doLayout(const QRect& rect, const QList<QLayoutItem*>& items, bool testOnly) const
{
    const QMargins margins = contentsMargins();
    const int hSpacing = horizontalSpacing();
    const int vSpacing = verticalSpacing();
    const int left = rect.x() + margins.left();
    const int rightLimit = rect.left() + rect.width() - margins.right();
    int x = left;
    int y = rect.y() + margins.top();
    int lineHeight = 0;
    for (QLayoutItem* item : items) {
        const QSize size = item->sizeHint();
        if (x + size.width() > rightLimit && lineHeight > 0) {
            x = left;
            y += lineHeight + vSpacing;
            lineHeight = 0;
        }
        if (!testOnly)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + hSpacing;
        lineHeight = qMax(lineHeight, size.height());
    }
    return y + lineHeight + margins.bottom() - rect.y();
}
