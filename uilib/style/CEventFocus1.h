#pragma once

#include <QPointer>
#include <QWidget>

// Base of the editable widgets: keeps a weak pointer to its widget.
class CEventFocus1
{
public:
    explicit CEventFocus1(QWidget* widget)
        : m_widget(widget)
    {
    }
    virtual ~CEventFocus1() = default;

protected:
    QPointer<QWidget> m_widget;
};
