#pragma once

#include <QImage>
#include <QList>
#include <QMutex>

#include <atomic>
#include <functional>

// Frames on their way from the thread that renders them to the thread that encodes
// them: at most Capacity wait in memory. The producer waits in steps of WaitMs while
// the queue is full and for the consumer's end; the consumer looks at an empty queue
// every PollMs.
class FrameQueue
{
public:
    static constexpr int Capacity = 30;
    static constexpr int WaitMs = 100;
    static constexpr int PollMs = 5;

    // Empties the queue and clears both "finished" flags.
    void restart();

    // Producer side. push appends the frame once there is room.
    void push(const QImage& frame);
    void finishProducing() { m_producerFinished = true; }
    // Returns once the consumer has taken the last frame and left drain.
    void waitForConsumer() const;

    // Consumer side: hands every frame to consume in order until the producer has
    // finished and the queue is empty, then marks the consumer finished.
    void drain(const std::function<void(const QImage&)>& consume);
    bool consumerFinished() const { return m_consumerFinished; }

    // Sleeps, handling the calling thread's pending events first.
    static void waitAWhile(int ms);

private:
    bool tryPush(const QImage& frame);
    bool take(QImage& frame);

    QMutex m_mutex;
    QList<QImage> m_frames;
    std::atomic_bool m_producerFinished{false};
    std::atomic_bool m_consumerFinished{false};
};
