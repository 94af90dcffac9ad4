#pragma once

#include <QRect>
#include <QSet>

class QLayout;
class QWidget;

// Empties the layout, deleting its widgets and items; nested layouts are cleared too.
void clearLayout(QLayout* layout);
// Invalidates every item, nested layouts first, then activates the layout.
bool refreshLayout(QLayout* layout);
// The outermost window above the widget.
QWidget* topLevelWindow(QWidget* widget);
// The positions of the layout whose items lie in rect: a binary search for box and
// flow layouts whose geometry runs with their positions, a linear scan otherwise.
QSet<int> positionsInRect(QLayout* layout, const QRect& rect);
