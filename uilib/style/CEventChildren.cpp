#include "uilib/style/CEventChildren.h"

#include <QChildEvent>

CEventChildren::CEventChildren(int flags, QWidget* widget, QObject* parent)
    : QObject(parent)
    , m_flags(flags)
{
    const bool watchChildren = flags & (WatchAdded | WatchRemoved | WatchEnter | WatchLeave);
    const bool watchPointer = flags & (WatchEnter | WatchLeave);
    if (watchChildren)
        m_eventTypes = {QEvent::ChildAdded, QEvent::ChildRemoved};
    if (watchPointer)
        m_eventTypes += {QEvent::Enter, QEvent::Leave};
    setWidget(widget);
}

void CEventChildren::setWidget(QWidget* widget)
{
    if (m_widget) {
        m_widget->removeEventFilter(this);
        for (const QPointer<QWidget>& child : qAsConst(m_tracked)) {
            if (child)
                child->removeEventFilter(this);
        }
        m_tracked.clear();
        m_widget = nullptr;
    }
    if (m_eventTypes.isEmpty())
        return;
    m_widget = widget;
    if (!widget)
        return;
    widget->installEventFilter(this);
    if (!(m_flags & Recursive))
        return;
    const QList<QWidget*> descendants = widget->findChildren<QWidget*>();
    for (QWidget* child : descendants)
        track(child);
}

bool CEventChildren::isTracked(QObject* object) const
{
    return object->isWidgetType() && !m_tracked.value(object).isNull();
}

void CEventChildren::track(QWidget* child)
{
    m_tracked.insert(child, child);
    child->installEventFilter(this);
}

void CEventChildren::untrack(QWidget* child)
{
    // A child being destroyed is still a QObject here, so its filter list can be reached.
    m_tracked.remove(child);
    child->removeEventFilter(this);
}

bool CEventChildren::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_eventTypes.contains(event->type()))
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        if (isTracked(watched))
            emit childWidgetEntered(static_cast<QWidget*>(watched));
        break;
    case QEvent::Leave:
        if (isTracked(watched))
            emit childWidgetLeaved(static_cast<QWidget*>(watched));
        break;
    default:
        onChildEvent(watched, static_cast<QChildEvent*>(event));
        break;
    }
    return false;
}

void CEventChildren::onChildEvent(QObject* watched, QChildEvent* event)
{
    const bool counts = watched == m_widget || ((m_flags & Recursive) && isTracked(watched));
    if (!counts || !event->child()->isWidgetType())
        return;
    auto* child = static_cast<QWidget*>(event->child());
    if (event->added()) {
        track(child);
        emit childWidgetAdded(child);
    } else if (event->removed()) {
        untrack(child);
        emit childWidgetRemoved(child);
    }
}
