#pragma once

#include <QMutex>
#include <QWaitCondition>

// An event that releases one waiter per set: a set with no one waiting keeps the event
// signalled until the next wait, and sets in a row count as one. It starts signalled.
class AutoResetEvent
{
public:
    void set();
    // Returns once the event is signalled, and unsignals it.
    void wait();
    // As wait, for at most timeoutMs; false when the time passed unsignalled.
    bool wait(int timeoutMs);

private:
    QMutex m_mutex;
    QWaitCondition m_condition;
    bool m_signalled = true;
};
