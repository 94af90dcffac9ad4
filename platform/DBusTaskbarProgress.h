#pragma once

#include "platform/TaskbarProgress.h"

#include <QVariantMap>

// Task-bar progress for Linux docks: the launcher entry's Update signal on the session bus
// with "progress" (0 to 1) and "progress-visible". Docks show no busy state, so an empty
// range hides the progress. Without a session bus it stays silent; paused is only stored.
class DBusTaskbarProgress : public TaskbarProgress
{
    Q_OBJECT
public:
    explicit DBusTaskbarProgress(QObject* parent);

    static QString applicationUri();
    // The properties that the Update signal carries for a state.
    static QVariantMap updateProperties(int minimum, int maximum, int value, bool visible);

protected:
    void publish() override;
};
