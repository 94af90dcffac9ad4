#include <QtTest>

#include "helper/FrameQueue.h"

#include <QtConcurrent>

namespace {

QImage numbered(int n)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(qRgb(n, 0, 0));
    return image;
}

int numberOf(const QImage& image)
{
    return qRed(image.pixel(0, 0));
}

struct LateConsumer
{
    qint64 waitedMs; // by the producer for the next frame
    int taken;       // by the consumer in the end
};

// The consumer starts late: the producer's next frame waits for room if the queue is full.
LateConsumer pushToLateConsumer(FrameQueue& queue, const QImage& next)
{
    std::atomic_int taken{0};
    QFuture<void> consumer = QtConcurrent::run([&] {
        QThread::msleep(300);
        queue.drain([&](const QImage&) { ++taken; });
    });
    QElapsedTimer timer;
    timer.start();
    queue.push(next);
    const qint64 waited = timer.elapsed();
    queue.finishProducing();
    queue.waitForConsumer();
    consumer.waitForFinished();
    return {waited, taken.load()};
}

} // namespace

class TestFrameQueue : public QObject
{
    Q_OBJECT

private slots:
    void framesArriveInOrder();
    void fullQueueHoldsTheProducer();
    void largeFramesWaitFewer_data();
    void largeFramesWaitFewer();
    void producerResumesOnceThereIsRoom();
    void drainEndsOnlyWhenFinishedAndEmpty();
    void restartEmptiesAndClearsFlags();
};

void TestFrameQueue::framesArriveInOrder()
{
    FrameQueue queue;
    QList<int> taken;
    QFuture<void> consumer = QtConcurrent::run(
        [&] { queue.drain([&](const QImage& frame) { taken << numberOf(frame); }); });
    QList<int> expected;
    for (int n = 0; n < 100; ++n) {
        queue.push(numbered(n));
        expected << n;
    }
    queue.finishProducing();
    queue.waitForConsumer();
    consumer.waitForFinished();
    QCOMPARE(taken, expected);
}

void TestFrameQueue::fullQueueHoldsTheProducer()
{
    FrameQueue queue;
    for (int n = 0; n < FrameQueue::Capacity; ++n)
        queue.push(numbered(n));
    const LateConsumer late = pushToLateConsumer(queue, numbered(FrameQueue::Capacity));
    QVERIFY(late.waitedMs >= 250);
    QCOMPARE(late.taken, FrameQueue::Capacity + 1);
}

void TestFrameQueue::largeFramesWaitFewer_data()
{
    const int width = 1024; // 4 KiB a row
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("waiting"); // frames that go in before the producer waits
    QTest::newRow("a third of the bytes")
        << QSize(width, int(FrameQueue::CapacityBytes / 3 / (width * 4))) << 3;
    QTest::newRow("more than all the bytes")
        << QSize(width, int(FrameQueue::CapacityBytes / (width * 4)) + 1) << 2;
}

void TestFrameQueue::largeFramesWaitFewer()
{
    QFETCH(QSize, size);
    QFETCH(int, waiting);
    const QImage frame(size, QImage::Format_RGB32); // its pixels are never touched
    FrameQueue queue;
    for (int n = 0; n < waiting; ++n)
        queue.push(frame);
    const LateConsumer late = pushToLateConsumer(queue, frame);
    QVERIFY(late.waitedMs >= 250);
    QCOMPARE(late.taken, waiting + 1);
}

// A consumer faster than the producer's longest wait: the producer goes on as soon as a frame is
// taken, so ten queues full pass in less than ten waits.
void TestFrameQueue::producerResumesOnceThereIsRoom()
{
    FrameQueue queue;
    QFuture<void> consumer = QtConcurrent::run([&] { queue.drain([](const QImage&) { QThread::usleep(100); }); });
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; n < 10 * FrameQueue::Capacity; ++n)
        queue.push(numbered(n % 256));
    queue.finishProducing();
    queue.waitForConsumer();
    consumer.waitForFinished();
    QVERIFY2(timer.elapsed() < 8 * FrameQueue::WaitMs, qPrintable(QString::number(timer.elapsed())));
}

void TestFrameQueue::drainEndsOnlyWhenFinishedAndEmpty()
{
    FrameQueue queue;
    std::atomic_int taken{0};
    QFuture<void> consumer = QtConcurrent::run([&] {
        queue.drain([&](const QImage&) {
            QThread::msleep(20); // a slow encoder
            ++taken;
        });
    });
    queue.push(numbered(1));
    QThread::msleep(100);
    QVERIFY(!queue.consumerFinished());
    for (int n = 0; n < 5; ++n)
        queue.push(numbered(n));
    queue.finishProducing();
    queue.waitForConsumer();
    QCOMPARE(taken.load(), 6);
    consumer.waitForFinished();
}

void TestFrameQueue::restartEmptiesAndClearsFlags()
{
    FrameQueue queue;
    queue.push(numbered(7));
    queue.finishProducing();
    queue.drain([](const QImage&) {});
    QVERIFY(queue.consumerFinished());

    queue.push(numbered(8));
    queue.restart();
    QVERIFY(!queue.consumerFinished());
    QList<int> taken;
    QFuture<void> consumer = QtConcurrent::run(
        [&] { queue.drain([&](const QImage& frame) { taken << numberOf(frame); }); });
    queue.push(numbered(9));
    queue.finishProducing();
    queue.waitForConsumer();
    consumer.waitForFinished();
    QCOMPARE(taken, QList<int>{9});
}

QTEST_GUILESS_MAIN(TestFrameQueue)
#include "tst_framequeue.moc"
