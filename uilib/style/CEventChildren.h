#pragma once

#include <QEvent>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <QWidget>

// Reports child widgets added to or removed from a widget, and the pointer entering
// or leaving the children it tracks. Any watch flag turns on the added and removed
// reports together; WatchEnter or WatchLeave turns on entering and leaving together.
// With Recursive, every descendant is tracked and reports its own children.
class CEventChildren : public QObject
{
    Q_OBJECT

public:
    enum Flag {
        WatchAdded = 1,
        WatchRemoved = 2,
        WatchEnter = 4,
        WatchLeave = 8,
        Recursive = 4096,
    };
    Q_DECLARE_FLAGS(Flags, Flag)
    Q_FLAG(Flags)

    CEventChildren(int flags, QWidget* widget, QObject* parent = nullptr);

    // Leaves the previous widget and its tracked children; a watcher without watch
    // flags keeps no widget.
    void setWidget(QWidget* widget);

signals:
    void childWidgetAdded(QWidget* child);
    void childWidgetEntered(QWidget* child);
    void childWidgetLeaved(QWidget* child);
    void childWidgetRemoved(QWidget* child);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isTracked(QObject* object) const;
    void track(QWidget* child);
    void untrack(QWidget* child);
    void onChildEvent(QObject* watched, QChildEvent* event);

    int m_flags;
    QVector<QEvent::Type> m_eventTypes;
    QPointer<QWidget> m_widget;
    QHash<QObject*, QPointer<QWidget>> m_tracked;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CEventChildren::Flags)
