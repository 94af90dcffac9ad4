#pragma once

// A shown window to hold selectors in page tests, and clicks as a user gives them.

#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "resources/Resources.h"
#include "uilib/controls/CWindowPopup.h"

#include <QApplication>
#include <QBoxLayout>
#include <QWidget>

struct SelectorHost
{
    SelectorHost()
    {
        window.setGeometry(120, 120, 420, 120);
        auto* layout = new QHBoxLayout(&window);
        layout->setContentsMargins(20, 20, 20, 20);
        layout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    ~SelectorHost() { closeAllPopups(); }

    template <class Control>
    Control* add(Control* control)
    {
        window.layout()->addWidget(control);
        window.show();
        QCoreApplication::processEvents();
        return control;
    }

    QWidget window;
};

// A click on a widget of the host window, the pointer coming from outside.
inline void clickInWindow(QWidget* widget)
{
    sendEnter(widget);
    windowClick(widget->window()->windowHandle(), globalCentre(widget));
}

// A click outside the open popup on the window: the press closes the popup, the window gets the
// release.
inline void clickOutsidePopup(QWidget* window, const QPoint& local)
{
    const QPoint global = window->mapToGlobal(local);
    popupMouse(QEvent::MouseButtonPress, global);
    windowMouse(window->windowHandle(), QEvent::MouseButtonRelease, global);
}

// A click inside the open popup, which holds the mouse grab.
inline void clickInPopup(QWidget* widget)
{
    sendEnter(widget);
    popupClick(globalCentre(widget));
}
