#include "platform/AutoResetEvent.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

void AutoResetEvent::set()
{
    QMutexLocker lock(&m_mutex);
    m_signalled = true;
    m_condition.wakeOne();
}

void AutoResetEvent::wait()
{
    QMutexLocker lock(&m_mutex);
    while (!m_signalled)
        m_condition.wait(&m_mutex);
    m_signalled = false;
}

bool AutoResetEvent::wait(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_mutex);
    while (!m_signalled) {
        if (!m_condition.wait(&m_mutex, deadline))
            break;
    }
    if (!m_signalled)
        return false;
    m_signalled = false;
    return true;
}
