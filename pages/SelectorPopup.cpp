#include "pages/SelectorPopup.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CWindowPopup.h"

void showSelectorPopup(CButton* selector, CWindowPopup* popup, Qt::Edge edge, int minimumWidth)
{
    popup->addPassThroughWidget(selector);
    if (QWidget* content = popup->contentWidget())
        content->setMinimumWidth(qMax(minimumWidth, selector->width()));
    const QPoint offset = selector->styleKind() == 18 ? QPoint(0, 0) : QPoint(0, -10);
    popup->showNextToRect(QRect(selector->mapToGlobal(QPoint(0, 0)), selector->size()), edge, 1, true, offset);
}
