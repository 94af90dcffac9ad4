#pragma once

#include <QImage>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QWaitCondition>

#include <atomic>
#include <functional>

// Frames on their way from the thread that renders them to the thread that encodes
// them: at most Capacity wait in memory, and of large frames only as many as fit in
// CapacityBytes (two at least). The producer waits up to WaitMs at a time while the
// queue is full and for the consumer's end; the consumer waits up to PollMs at a time
// on an empty queue. Both wake as soon as the other side has acted.
class FrameQueue
{
public:
    static constexpr int Capacity = 30;
    // Four 1920x1080 frames: the encoder's work while the renderer loads a slide's photo.
    static constexpr qsizetype CapacityBytes = qsizetype(32) << 20;
    static constexpr int WaitMs = 100;
    static constexpr int PollMs = 5;

    // Empties the queue and clears both "finished" flags.
    void restart();

    // Producer side. push appends the frame once there is room.
    void push(const QImage& frame);
    void finishProducing();
    // Returns once the consumer has taken the last frame and left drain.
    void waitForConsumer();

    // Consumer side: hands every frame to consume in order until the producer has
    // finished and the queue is empty, then marks the consumer finished.
    void drain(const std::function<void(const QImage&)>& consume);
    bool consumerFinished() const { return m_consumerFinished; }

private:
    bool hasRoomFor(const QImage& frame) const;
    // Until done, with the mutex held: the thread's pending events first, then up to
    // WaitMs for the consumer to act, again and again.
    void waitAsProducer(QMutexLocker& locker, const std::function<bool()>& done);
    // The next frame, waiting up to PollMs for one; false when none came.
    bool take(QImage& frame);

    QMutex m_mutex;
    QWaitCondition m_changed;
    QList<QImage> m_frames;
    qsizetype m_bytes = 0;
    std::atomic_bool m_producerFinished{false};
    std::atomic_bool m_consumerFinished{false};
};
