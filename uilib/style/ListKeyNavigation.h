#pragma once

class QKeyEvent;
class QLayout;
class QScrollBar;

// Moves the checked row button, or the keyboard focus, between the rows of a box or flow
// layout by arrow keys, Home and End (which also move the scroll bar to its ends).
// True when the key was handled; keys with a modifier never are.
bool navigateRows(QLayout* layout, QScrollBar* verticalBar, const QKeyEvent* event);
