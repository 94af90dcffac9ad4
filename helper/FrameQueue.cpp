#include "helper/FrameQueue.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

void FrameQueue::restart()
{
    QMutexLocker locker(&m_mutex);
    m_frames.clear();
    m_producerFinished = false;
    m_consumerFinished = false;
}

void FrameQueue::push(const QImage& frame)
{
    while (!tryPush(frame))
        waitAWhile(WaitMs);
}

void FrameQueue::waitForConsumer() const
{
    while (!m_consumerFinished)
        waitAWhile(WaitMs);
}

void FrameQueue::drain(const std::function<void(const QImage&)>& consume)
{
    for (;;) {
        // Looked at first: once the producer has finished, an empty queue stays empty.
        const bool lastLook = m_producerFinished;
        QImage frame;
        if (take(frame))
            consume(frame); // outside the lock, so the producer goes on meanwhile
        else if (lastLook)
            break;
        else
            QThread::msleep(PollMs);
    }
    m_consumerFinished = true;
}

void FrameQueue::waitAWhile(int ms)
{
    QCoreApplication::processEvents();
    QThread::msleep(ms);
}

bool FrameQueue::tryPush(const QImage& frame)
{
    QMutexLocker locker(&m_mutex);
    if (m_frames.size() >= Capacity)
        return false;
    m_frames.append(frame);
    return true;
}

bool FrameQueue::take(QImage& frame)
{
    QMutexLocker locker(&m_mutex);
    if (m_frames.isEmpty())
        return false;
    frame = m_frames.takeFirst();
    return true;
}
