#pragma once

#include <QRect>
#include <QSet>

class QLayout;
class QLayoutItem;
class QWidget;

// Empties the layout, deleting its widgets and items; nested layouts are cleared too.
void clearLayout(QLayout* layout);
// Invalidates every item, nested layouts first, then activates the layout.
bool refreshLayout(QLayout* layout);
// Inserts into a box layout (stretch 0, no alignment) or a flow layout at the position;
// other layout kinds take nothing and give false.
bool insertLayoutWidget(QLayout* layout, int position, QWidget* widget);
bool insertLayoutItem(QLayout* layout, int position, QLayoutItem* item);
// The outermost window above the widget.
QWidget* topLevelWindow(QWidget* widget);
// The positions of the layout whose items lie in rect: a binary search for box and
// flow layouts whose geometry runs with their positions, a linear scan otherwise.
QSet<int> positionsInRect(QLayout* layout, const QRect& rect);
