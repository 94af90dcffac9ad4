#include "uilib/style/GlobLayout.h"

#include "uilib/style/CCustomLayout.h"

#include <QBoxLayout>
#include <QLayout>
#include <QWidget>

void clearLayout(QLayout* layout)
{
    if (!layout)
        return;
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        clearLayout(item->layout());
        delete item;
    }
}

bool refreshLayout(QLayout* layout)
{
    if (!layout)
        return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* nested = item->layout())
            refreshLayout(nested);
        else
            item->invalidate();
    }
    layout->invalidate();
    return layout->activate();
}

bool insertLayoutWidget(QLayout* layout, int position, QWidget* widget)
{
    if (auto* box = qobject_cast<QBoxLayout*>(layout))
        box->insertWidget(position, widget, 0, Qt::Alignment());
    else if (auto* flow = qobject_cast<CCustomLayout*>(layout))
        flow->insertWidget(position, widget);
    else
        return false;
    return true;
}

bool insertLayoutItem(QLayout* layout, int position, QLayoutItem* item)
{
    if (auto* box = qobject_cast<QBoxLayout*>(layout))
        box->insertItem(position, item);
    else if (auto* flow = qobject_cast<CCustomLayout*>(layout))
        flow->insertItem(position, item);
    else
        return false;
    return true;
}

QWidget* topLevelWindow(QWidget* widget)
{
    if (!widget)
        return nullptr;
    QWidget* window = widget->window();
    while (window->parentWidget())
        window = window->parentWidget()->window();
    return window;
}

namespace {

// Start and end of a geometry along the direction of a layout.
struct Span
{
    int start;
    int end;
};

Span spanOf(const QRect& rect, Qt::Orientation orientation)
{
    return orientation == Qt::Horizontal ? Span{rect.left(), rect.right()} : Span{rect.top(), rect.bottom()};
}

bool overlaps(const QRect& a, const QRect& b, Qt::Orientation orientation)
{
    const Span sa = spanOf(a, orientation);
    const Span sb = spanOf(b, orientation);
    return sa.start <= sb.end && sb.start <= sa.end;
}

QRect itemGeometry(QLayout* layout, int position)
{
    return layout->itemAt(position)->geometry();
}

// A position whose item overlaps rect along the orientation, by bisection of items
// that follow each other in that direction; -1 when none does.
int findOverlapping(QLayout* layout, const QRect& rect, Qt::Orientation orientation)
{
    const Span wanted = spanOf(rect, orientation);
    int lo = 0;
    int hi = layout->count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const Span item = spanOf(itemGeometry(layout, mid), orientation);
        if (wanted.end < item.start)
            hi = mid - 1;
        else if (wanted.start <= item.end)
            return mid;
        else
            lo = mid + 1;
    }
    return -1;
}

// The found position and its neighbours on both sides that still overlap rect
// along the orientation.
QSet<int> searchAlong(QLayout* layout, const QRect& rect, Qt::Orientation orientation)
{
    QSet<int> positions;
    const int found = findOverlapping(layout, rect, orientation);
    if (found < 0)
        return positions;
    for (int i = found; i >= 0 && overlaps(itemGeometry(layout, i), rect, orientation); --i)
        positions.insert(i);
    for (int i = found + 1; i < layout->count() && overlaps(itemGeometry(layout, i), rect, orientation); ++i)
        positions.insert(i);
    return positions;
}

QSet<int> scanIntersecting(QLayout* layout, const QRect& rect, const QSet<int>& candidates)
{
    QSet<int> positions;
    for (int i : candidates) {
        if (itemGeometry(layout, i).intersects(rect))
            positions.insert(i);
    }
    return positions;
}

QSet<int> allPositions(QLayout* layout)
{
    QSet<int> positions;
    for (int i = 0; i < layout->count(); ++i)
        positions.insert(i);
    return positions;
}

// A box mirrors its geometry only inside a right-to-left widget.
Qt::LayoutDirection visualDirection(const QLayout* layout)
{
    const QWidget* widget = layout->parentWidget();
    return widget && widget->isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// A box whose geometry runs against its positions (right to left, bottom to top,
// or mirrored by a right-to-left widget) cannot be bisected.
bool runsForward(const QBoxLayout* box)
{
    switch (box->direction()) {
    case QBoxLayout::TopToBottom:
        return true;
    case QBoxLayout::BottomToTop:
        return false;
    case QBoxLayout::LeftToRight:
        return visualDirection(box) == Qt::LeftToRight;
    case QBoxLayout::RightToLeft:
        return visualDirection(box) == Qt::RightToLeft;
    }
    return false;
}

Qt::Orientation orientationOf(const QBoxLayout* box)
{
    const QBoxLayout::Direction direction = box->direction();
    return direction == QBoxLayout::LeftToRight || direction == QBoxLayout::RightToLeft ? Qt::Horizontal
                                                                                          : Qt::Vertical;
}

// The lines of the flow that overlap rect; when the flow is wider than rect, only
// their items that lie in it.
QSet<int> positionsInFlow(CCustomLayout* flow, const QRect& rect)
{
    const QSet<int> lines = searchAlong(flow, rect, Qt::Vertical);
    const QRect geometry = flow->geometry();
    if (geometry.left() >= rect.left() && geometry.right() <= rect.right())
        return lines;
    return scanIntersecting(flow, rect, lines);
}

} // namespace

QSet<int> positionsInRect(QLayout* layout, const QRect& rect)
{
    if (!layout || rect.isEmpty())
        return {};
    if (auto* box = qobject_cast<QBoxLayout*>(layout); box && runsForward(box))
        return searchAlong(box, rect, orientationOf(box));
    if (auto* flow = qobject_cast<CCustomLayout*>(layout))
        return positionsInFlow(flow, rect);
    return scanIntersecting(layout, rect, allPositions(layout));
}
