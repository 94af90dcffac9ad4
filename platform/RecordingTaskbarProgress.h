#pragma once

#include "platform/TaskbarProgress.h"

#include <QList>
#include <QPointer>

// Task-bar progress that only keeps its state and counts its updates, for tests: install()
// puts it in place of the desktop's, and every one made since is listed.
class RecordingTaskbarProgress : public TaskbarProgress
{
    Q_OBJECT
public:
    explicit RecordingTaskbarProgress(QObject* parent);

    static void install();
    static void uninstall();
    // Made since install(); deleted ones are null.
    static QList<QPointer<RecordingTaskbarProgress>> made();
    // Live ones made since install().
    static int liveCount();

    int updates() const { return m_updates; }

protected:
    void publish() override { ++m_updates; }

private:
    int m_updates = 0;
};
