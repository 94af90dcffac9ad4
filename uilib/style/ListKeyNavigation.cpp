#include "uilib/style/ListKeyNavigation.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CCustomLayout.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

enum class Kind { Horizontal, Vertical, Flow, Other };

Kind kindOf(QLayout* layout)
{
    if (qobject_cast<CCustomLayout*>(layout))
        return Kind::Flow;
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (!box)
        return Kind::Other;
    const QBoxLayout::Direction direction = box->direction();
    return direction == QBoxLayout::LeftToRight || direction == QBoxLayout::RightToLeft ? Kind::Horizontal
                                                                                          : Kind::Vertical;
}

CButton* checkableButton(QWidget* widget)
{
    auto* button = qobject_cast<CButton*>(widget);
    return button && button->isCheckable() ? button : nullptr;
}

QWidget* focusableRow(QLayout* layout, int position)
{
    QLayoutItem* item = layout->itemAt(position);
    QWidget* widget = item ? item->widget() : nullptr;
    if (!widget || !widget->isEnabled())
        return nullptr;
    return checkableButton(widget) || widget->focusPolicy() != Qt::NoFocus ? widget : nullptr;
}

int currentRow(QLayout* layout)
{
    for (int i = 0; i < layout->count(); ++i) {
        QWidget* row = focusableRow(layout, i);
        if (!row)
            continue;
        CButton* button = checkableButton(row);
        if ((button && button->isChecked()) || row->hasFocus())
            return i;
    }
    return -1;
}

bool focusRow(QWidget* row)
{
    if (!row)
        return false;
    if (CButton* button = checkableButton(row))
        button->setCheckedAndEmit(true);
    else
        row->setFocus(Qt::TabFocusReason);
    return true;
}

// The first focusable row from `from` on in steps of `step` (+1 or -1) that holds the point
// (every focusable row when the point is null).
QWidget* findRow(QLayout* layout, int from, int step, const QPoint* point = nullptr)
{
    for (int i = from; i >= 0 && i < layout->count(); i += step) {
        QWidget* row = focusableRow(layout, i);
        if (row && (!point || row->geometry().contains(*point)))
            return row;
    }
    return nullptr;
}

// The row one row height above (step -1) or below (step +1) the centre of the current one.
QWidget* flowNeighbour(QLayout* layout, int current, int step)
{
    if (current < 0)
        return findRow(layout, step > 0 ? 0 : -1, step);
    const QRect geometry = layout->itemAt(current)->widget()->geometry();
    const QPoint point = geometry.center() + QPoint(0, step * geometry.height());
    return findRow(layout, current + step, step, &point);
}

QWidget* arrowTarget(QLayout* layout, int key)
{
    const Kind kind = kindOf(layout);
    const int current = currentRow(layout);
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : -1;
    if (kind == Kind::Flow && vertical)
        return flowNeighbour(layout, current, step);
    const bool along = vertical ? kind == Kind::Vertical : kind == Kind::Horizontal || kind == Kind::Flow;
    return along ? findRow(layout, current + step, step) : nullptr;
}

} // namespace

bool navigateRows(QLayout* layout, QScrollBar* verticalBar, const QKeyEvent* event)
{
    if (!layout || event->modifiers() != Qt::NoModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return focusRow(arrowTarget(layout, event->key()));
    case Qt::Key_Home:
        if (verticalBar)
            verticalBar->setValue(0);
        return focusRow(findRow(layout, 0, 1));
    case Qt::Key_End:
        if (verticalBar)
            verticalBar->setValue(verticalBar->maximum());
        return focusRow(findRow(layout, layout->count() - 1, -1));
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}
