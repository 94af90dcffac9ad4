#include "helper/FrameQueue.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {

// Frames that may always wait, however large.
constexpr int kFewestFrames = 2;

} // namespace

void FrameQueue::restart()
{
    QMutexLocker locker(&m_mutex);
    m_frames.clear();
    m_bytes = 0;
    m_producerFinished = false;
    m_consumerFinished = false;
}

void FrameQueue::push(const QImage& frame)
{
    QMutexLocker locker(&m_mutex);
    waitAsProducer(locker, [this, &frame] { return hasRoomFor(frame); });
    m_frames.append(frame);
    m_bytes += frame.sizeInBytes();
    m_changed.wakeAll();
}

void FrameQueue::finishProducing()
{
    QMutexLocker locker(&m_mutex);
    m_producerFinished = true;
    m_changed.wakeAll();
}

void FrameQueue::waitForConsumer()
{
    QMutexLocker locker(&m_mutex);
    waitAsProducer(locker, [this] { return bool(m_consumerFinished); });
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
    }
    QMutexLocker locker(&m_mutex);
    m_consumerFinished = true;
    m_changed.wakeAll();
}

bool FrameQueue::hasRoomFor(const QImage& frame) const
{
    if (m_frames.size() >= Capacity)
        return false;
    return m_frames.size() < kFewestFrames || m_bytes + frame.sizeInBytes() <= CapacityBytes;
}

void FrameQueue::waitAsProducer(QMutexLocker& locker, const std::function<bool()>& done)
{
    while (!done()) {
        locker.unlock();
        QCoreApplication::processEvents();
        locker.relock();
        if (!done())
            m_changed.wait(&m_mutex, WaitMs);
    }
}

bool FrameQueue::take(QImage& frame)
{
    QMutexLocker locker(&m_mutex);
    if (m_frames.isEmpty() && !m_producerFinished)
        m_changed.wait(&m_mutex, PollMs);
    if (m_frames.isEmpty())
        return false;
    frame = m_frames.takeFirst();
    m_bytes -= frame.sizeInBytes();
    m_changed.wakeAll();
    return true;
}
