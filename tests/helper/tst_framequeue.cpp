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

} // namespace

class TestFrameQueue : public QObject
{
    Q_OBJECT

private slots:
    void framesArriveInOrder();
    void fullQueueHoldsTheProducer();
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

    // The consumer starts late: the producer's next frame waits for room.
    std::atomic_int taken{0};
    QFuture<void> consumer = QtConcurrent::run([&] {
        QThread::msleep(300);
        queue.drain([&](const QImage&) { ++taken; });
    });
    QElapsedTimer timer;
    timer.start();
    queue.push(numbered(FrameQueue::Capacity));
    QVERIFY(timer.elapsed() >= 250);
    queue.finishProducing();
    queue.waitForConsumer();
    consumer.waitForFinished();
    QCOMPARE(taken.load(), FrameQueue::Capacity + 1);
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
