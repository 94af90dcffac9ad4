#pragma once

#include <Qt>

class CButton;
class CWindowPopup;

// Shows the popup of a checkable selector beside it on that edge: the selector's presses reach it
// through the open popup, the content is at least minimumWidth and the selector wide, and the
// popup stands 10 pixels into the selector unless it is of the combo look (kind 18).
void showSelectorPopup(CButton* selector, CWindowPopup* popup, Qt::Edge edge, int minimumWidth);

// Whether a closing popup commits its pending value (-1 for none): only a value other than the
// one the popup opened with and the one the selector holds now.
inline bool commitsPending(int pending, int initial, int current)
{
    return pending != -1 && pending != initial && pending != current;
}
