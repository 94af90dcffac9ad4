#include "helper/ConvertionProgress.h"

#include "helper/StopSignals.h"
#include "platform/SessionKey.h"

#include <iostream>

ConvertionProgress::ConvertionProgress(const QString& sessionId)
    : m_sessionKey(SessionKey::of(sessionId))
{
}

void ConvertionProgress::setCurrentTask(int task)
{
    m_currentTask = task;
}

void ConvertionProgress::setTotal(qint64 total)
{
    m_total = total;
    m_sessionKey.setIntValue(SessionKey::totalTask, total);
}

void ConvertionProgress::setValue(qint64 done)
{
    m_done = done;
    printLine();
}

void ConvertionProgress::reset()
{
    m_currentTask = 0;
    m_total = 0;
    m_done = 0;
    m_canceled = false;
    m_paused = false;
    m_accumulated = 0;
    m_remaining = 0;
    m_stepTimer.start();
}

void ConvertionProgress::pause()
{
    m_paused = true;
}

bool ConvertionProgress::isCanceled()
{
    m_canceled = StopSignals::received() || m_sessionKey.intValue(SessionKey::isCanceled) == 1;
    return m_canceled;
}

bool ConvertionProgress::isPaused()
{
    m_paused = m_sessionKey.intValue(SessionKey::isPaused) == 1;
    return m_paused;
}

void ConvertionProgress::step()
{
    ++m_done;
    // Before the first reset there is no start to measure from.
    if (m_stepTimer.isValid())
        m_accumulated += m_stepTimer.elapsed();
    m_remaining = estimateRemaining(m_accumulated, m_done, m_total);
    printLine();
    m_stepTimer.start();
}

void ConvertionProgress::addSubSteps(int count)
{
    m_subSteps += count;
    printLine();
}

void ConvertionProgress::setTotalPages(int pages)
{
    IProgress::setTotalPages(pages);
    m_sessionKey.setIntValue(SessionKey::totalPage, pages);
}

qint64 ConvertionProgress::estimateRemaining(qint64 accumulatedMs, qint64 done, qint64 total)
{
    if (done <= 0 || done >= total)
        return 0;
    return qint64(double(accumulatedMs) / double(done) * double(total - done));
}

void ConvertionProgress::printLine() const
{
    // The caller reads these lines from a pipe: std::endl flushes each one.
    std::cout << "value: " << m_done << ", total: " << m_total << ", remtime:" << m_remaining << std::endl;
}
