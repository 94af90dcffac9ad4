#include <QtTest>

#include "platform/AutoResetEvent.h"

#include <atomic>
#include <thread>

class TestAutoResetEvent : public QObject
{
    Q_OBJECT

private slots:
    void startsSignalled();
    void setsCollapse();
    void releasesAWaiterOfAnotherThread();
};

void TestAutoResetEvent::startsSignalled()
{
    AutoResetEvent event;
    QVERIFY(event.wait(0));
    QVERIFY(!event.wait(0));
    QVERIFY(!event.wait(20));
}

void TestAutoResetEvent::setsCollapse()
{
    AutoResetEvent event;
    event.wait();
    event.set();
    event.set();
    QVERIFY(event.wait(0));
    QVERIFY(!event.wait(20));
}

void TestAutoResetEvent::releasesAWaiterOfAnotherThread()
{
    AutoResetEvent event;
    QVERIFY(event.wait(0));
    std::atomic<bool> waiting{false};
    std::atomic<bool> released{false};
    // A bounded wait: a lost set fails the test instead of hanging it.
    std::thread waiter([&] {
        waiting = true;
        released = event.wait(20000);
    });
    QTRY_VERIFY(waiting);
    event.set();
    waiter.join();
    QVERIFY(released);
    // The waiter took the set.
    QVERIFY(!event.wait(0));
}

QTEST_GUILESS_MAIN(TestAutoResetEvent)
#include "tst_autoresetevent.moc"
