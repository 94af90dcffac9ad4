#include <QtTest>

#include "crashreport/CrashNames.h"
#include "crashreport/NamedEvent.h"
#include "crashreport/SharedMemoryBlock.h"
#include "support/CrashTestSupport.h"

#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

class TestSharedMemoryBlock : public QObject
{
    Q_OBJECT

private slots:
    void secondCreateIsRefused();
    void openExistingKeepsTheEntry();
    void unalignedView();
    void viewOutsideTheBlock();
    void anotherProcessSeesTheBytes();
    void eventIsSetOnce();
    void eventNameIsExclusive();

private:
    static std::u16string uniqueName();
};

std::u16string TestSharedMemoryBlock::uniqueName()
{
    return u16(QStringLiteral("ty-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces));
}

void TestSharedMemoryBlock::secondCreateIsRefused()
{
    const std::u16string name = uniqueName();
    SharedMemoryBlock block;
    QVERIFY(!block.isOpen());
    QVERIFY(block.create(name, false, 8192, 0));
    QVERIFY(block.isOpen());
    QCOMPARE(block.size(), uint64_t(8192));
    QVERIFY(blockExists(name));
    QVERIFY(!block.create(uniqueName(), false, 4096, 0));
    QVERIFY(fromU16(block.name()) == fromU16(name));

    SharedMemoryBlock clash;
    QVERIFY(!clash.create(name, false, 4096, 0));
    QCOMPARE(clash.size(), uint64_t(0));

    block.close();
    QVERIFY(!block.isOpen());
    QVERIFY(!blockExists(name));
}

void TestSharedMemoryBlock::openExistingKeepsTheEntry()
{
    const std::u16string name = uniqueName();
    SharedMemoryBlock owner;
    QVERIFY(owner.create(name, false, 4096, 0));
    {
        SharedMemoryBlock other;
        QVERIFY(other.create(name, true, 0, 0));
        QCOMPARE(other.size(), uint64_t(4096));
        std::memcpy(other.mapView(0, 4), "abcd", 4);
    }
    QVERIFY(blockExists(name));
    QCOMPARE(std::memcmp(owner.mapView(0, 4), "abcd", 4), 0);
    owner.destroy();
    QVERIFY(owner.name().empty());
    QVERIFY(!blockExists(name));

    SharedMemoryBlock missing;
    QVERIFY(!missing.create(name, true, 0, 0));
}

void TestSharedMemoryBlock::unalignedView()
{
    SharedMemoryBlock block;
    QVERIFY(block.create(uniqueName(), false, 3 * 4096, 0));
    auto* view = static_cast<char*>(block.mapView(5000, 100));
    QVERIFY(view);
    std::memcpy(view, "unaligned", 9);
    const auto* whole = static_cast<const char*>(block.mapView(0, 3 * 4096));
    QVERIFY(whole);
    QCOMPARE(std::memcmp(whole + 5000, "unaligned", 9), 0);
    block.unmapView(view);
    block.unmapView(view); // forgotten by now: ignored
    block.unmapView(reinterpret_cast<void*>(0x1000));
    QCOMPARE(std::memcmp(whole + 5000, "unaligned", 9), 0);
}

void TestSharedMemoryBlock::viewOutsideTheBlock()
{
    SharedMemoryBlock block;
    QVERIFY(!block.mapView(0, 16));
    QVERIFY(block.create(uniqueName(), false, 4096, 0));
    QVERIFY(!block.mapView(4000, 200));
    QVERIFY(!block.mapView(5000, 1));
    QVERIFY(!block.mapView(0, 0));
    QVERIFY(block.mapView(4000, 96));
}

void TestSharedMemoryBlock::anotherProcessSeesTheBytes()
{
    const std::u16string name = uniqueName();
    SharedMemoryBlock block;
    QVERIFY(block.create(name, false, 4096, 0));
    std::memcpy(block.mapView(100, 5), "hello", 5);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        SharedMemoryBlock other;
        const bool seen = other.create(name, true, 0, 0) && std::memcmp(other.mapView(100, 5), "hello", 5) == 0;
        if (seen)
            std::memcpy(other.mapView(200, 5), "world", 5);
        ::_exit(seen ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(std::memcmp(block.mapView(200, 5), "world", 5), 0);
    QVERIFY(blockExists(name));
}

void TestSharedMemoryBlock::eventIsSetOnce()
{
    const std::u16string id = uniqueName();
    const std::string name = crashEventName(id);
    {
        NamedEvent event;
        QVERIFY(!NamedEvent::set(name));
        QVERIFY(event.create(name));
        QVERIFY(eventExists(id));
        QVERIFY(!event.wait(0));
        QVERIFY(NamedEvent::set(name));
        QVERIFY(NamedEvent::set(name));
        QVERIFY(event.wait(10000));
        QVERIFY(!event.wait(20));
    }
    QVERIFY(!eventExists(id));
}

void TestSharedMemoryBlock::eventNameIsExclusive()
{
    const std::u16string id = uniqueName();
    NamedEvent first;
    NamedEvent second;
    QVERIFY(first.create(crashEventName(id)));
    QVERIFY(!second.create(crashEventName(id)));
    QVERIFY(!second.isOpen());
    QVERIFY(!second.wait(0));
    second.close();
    QVERIFY(eventExists(id));
    first.close();
    QVERIFY(!eventExists(id));
}

QTEST_GUILESS_MAIN(TestSharedMemoryBlock)
#include "tst_sharedmemoryblock.moc"
