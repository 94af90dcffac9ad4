#include <QtTest>

#include "app/hooks/InlineHook.h"
#include "app/hooks/ProcessMemory.h"

#include <sys/mman.h>

#include <cstring>
#include <memory>

using Function = int (*)(int);

namespace {

int detourCalls = 0;

int detour(int x)
{
    ++detourCalls;
    return 1000 + x;
}

int otherDetour(int x)
{
    ++detourCalls;
    return 2000 + x;
}

void* detourAddress(Function f)
{
    return reinterpret_cast<void*>(f);
}

const std::size_t pageSize = codePageSize;
const std::uintptr_t gigabyte = std::uintptr_t(1) << 30;

// Pages of code, filled with 55 (push rbp: no padding): a helper at 512 returns 7
// (mov eax, 7; ret), a dword 0x1234 lies at 768, and the target goes at 64.
class CodePage
{
public:
    static const int targetOffset = 64;

    explicit CodePage(void* hint = nullptr, int flags = 0, int pages = 1)
        : m_size(pageSize * std::size_t(pages))
    {
        void* page = mmap(hint, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | flags, -1, 0);
        m_base = page == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(page);
        if (!m_base)
            return;
        std::memset(m_base, 0x55, m_size);
        const std::uint8_t helper[] = {0xb8, 0x07, 0, 0, 0, 0xc3};
        std::memcpy(m_base + 512, helper, sizeof helper);
        const std::uint32_t data = 0x1234;
        std::memcpy(m_base + 768, &data, sizeof data);
    }
    ~CodePage()
    {
        if (m_base)
            munmap(m_base, m_size);
    }
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // The bytes above the target and the target's own, then the page becomes read and execute.
    bool load(const QByteArray& above, const QByteArray& code, int offset = targetOffset)
    {
        std::memcpy(m_base + offset - above.size(), above.constData(), std::size_t(above.size()));
        std::memcpy(m_base + offset, code.constData(), std::size_t(code.size()));
        return mprotect(m_base, m_size, PROT_READ | PROT_EXEC) == 0;
    }
    bool isValid() const { return m_base; }
    std::uint8_t* base() const { return m_base; }
    std::uint8_t* target(int offset = targetOffset) const { return m_base + offset; }
    Function function(int offset = targetOffset) const { return reinterpret_cast<Function>(target(offset)); }

private:
    std::size_t m_size;
    std::uint8_t* m_base = nullptr;
};

// A page at least 4 GB away from near, placed exactly where asked.
std::unique_ptr<CodePage> farPage(const void* near)
{
    const std::uintptr_t from = reinterpret_cast<std::uintptr_t>(near) & ~std::uintptr_t(pageSize - 1);
    for (std::uintptr_t step = 8; step <= 64; step += 8) {
        for (std::uintptr_t hint : {from - step * gigabyte, from + step * gigabyte}) {
            auto page = std::make_unique<CodePage>(reinterpret_cast<void*>(hint), MAP_FIXED_NOREPLACE);
            if (page->isValid() && reinterpret_cast<std::uintptr_t>(page->base()) == hint)
                return page;
        }
    }
    return nullptr;
}

std::uintptr_t distance(const void* a, const void* b)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x > y ? x - y : y - x;
}

QByteArray bytesAt(const std::uint8_t* at, int size)
{
    return QByteArray(reinterpret_cast<const char*>(at), size);
}

int protectionAt(const void* at)
{
    return regionAt(reinterpret_cast<std::uintptr_t>(at)).protection;
}

bool isMapped(const void* at)
{
    const MemoryRegion region = regionAt(reinterpret_cast<std::uintptr_t>(at));
    return region.start != region.end;
}

const QByteArray padding5 = QByteArray(5, '\x90');
const QByteArray shortFunction = QByteArray::fromHex("6a0758c3"); // push 7; pop rax; ret

} // namespace

// The engine on synthetic code in pages of its own, far from the detours of this program.
class TestInlineHook : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statuses();
    void notExecutable();
    void unsupported_data();
    void unsupported();
    void prologues_data();
    void prologues();
    void disableRestoresBytesAndProtection_data();
    void disableRestoresBytesAndProtection();
    void nullTargetActsOnAll();
    void pagesServeTargetsInReach();

private:
    CodePage* newPage(int pages = 1);

    // Unmapped only after the engine has restored them.
    std::vector<std::unique_ptr<CodePage>> m_pages;
};

void TestInlineHook::init()
{
    detourCalls = 0;
    QCOMPARE(initializeInlineHooks(), int(HookOk));
}

void TestInlineHook::cleanup()
{
    QCOMPARE(uninitializeInlineHooks(), int(HookOk));
    m_pages.clear();
}

CodePage* TestInlineHook::newPage(int pages)
{
    m_pages.push_back(std::make_unique<CodePage>(nullptr, 0, pages));
    return m_pages.back().get();
}

void TestInlineHook::statuses()
{
    CodePage& code = *newPage();
    QVERIFY(code.load(QByteArray(), QByteArray::fromHex("89f8c3") + padding5)); // mov eax, edi; ret
    void* target = code.target();
    QCOMPARE(initializeInlineHooks(), int(HookAlreadyInitialized));
    QCOMPARE(enableInlineHook(target), int(HookNotCreated));
    QCOMPARE(createInlineHook(target, detourAddress(detour), nullptr), int(HookOk));
    QCOMPARE(createInlineHook(target, detourAddress(detour), nullptr), int(HookAlreadyCreated));
    QCOMPARE(disableInlineHook(target), int(HookAlreadyDisabled));
    QCOMPARE(enableInlineHook(target), int(HookOk));
    QCOMPARE(enableInlineHook(target), int(HookAlreadyEnabled));
    QCOMPARE(code.function()(5), 1005);

    QCOMPARE(uninitializeInlineHooks(), int(HookOk));
    QCOMPARE(code.function()(5), 5);
    QCOMPARE(uninitializeInlineHooks(), int(HookNotInitialized));
    QCOMPARE(createInlineHook(target, detourAddress(detour), nullptr), int(HookNotInitialized));
    QCOMPARE(enableInlineHook(target), int(HookNotInitialized));
    QCOMPARE(initializeInlineHooks(), int(HookOk));
}

void TestInlineHook::notExecutable()
{
    CodePage& writable = *newPage();
    QVERIFY(writable.isValid());
    QCOMPARE(createInlineHook(writable.target(), detourAddress(detour), nullptr), int(HookNotExecutable));
    auto heap = std::make_unique<std::uint8_t[]>(64);
    std::memset(heap.get(), 0x90, 64);
    QCOMPARE(createInlineHook(heap.get(), detourAddress(detour), nullptr), int(HookNotExecutable));

    CodePage& code = *newPage();
    QVERIFY(code.load(QByteArray(), QByteArray::fromHex("89f8c3") + padding5));
    QCOMPARE(createInlineHook(code.target(), heap.get(), nullptr), int(HookNotExecutable));
    QCOMPARE(createInlineHook(nullptr, detourAddress(detour), nullptr), int(HookNotExecutable));
    QCOMPARE(createInlineHook(code.target(), nullptr, nullptr), int(HookNotExecutable));
}

void TestInlineHook::unsupported_data()
{
    QTest::addColumn<QByteArray>("above");
    QTest::addColumn<QByteArray>("code");

    QTest::newRow("vex opcode") << padding5 << QByteArray::fromHex("c5f877c3");
    QTest::newRow("loop leaving the first bytes") << padding5 << QByteArray::fromHex("e21089f8c3");
    QTest::newRow("jump into an instruction") << padding5 << QByteArray::fromHex("eb01b890909090c3");
    QTest::newRow("short function, no padding either side") << QByteArray() << shortFunction;
    QTest::newRow("one-byte function") << padding5 << QByteArray::fromHex("c3");
}

void TestInlineHook::unsupported()
{
    QFETCH(QByteArray, above);
    QFETCH(QByteArray, code);
    CodePage& page = *newPage();
    QVERIFY(page.load(above, code));
    const QByteArray before = bytesAt(page.target() - 8, 32);
    QCOMPARE(createInlineHook(page.target(), detourAddress(detour), nullptr), int(HookUnsupportedFunction));
    QCOMPARE(enableInlineHook(page.target()), int(HookNotCreated));
    QCOMPARE(bytesAt(page.target() - 8, 32), before);
}

void TestInlineHook::prologues_data()
{
    QTest::addColumn<QByteArray>("above");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("argument");
    QTest::addColumn<int>("unpatched");
    QTest::addColumn<bool>("patchAbove");

    // Displacements count from the target at 64: the helper lies at 512, the dword at 768.
    QTest::newRow("relative call") << QByteArray() << QByteArray::fromHex("e8bb01000083c001c3") << 0 << 8
                                   << false;
    const QByteArray jz = QByteArray::fromHex("85ff7406b801000000c3b802000000c3");
    QTest::newRow("outward short jcc, taken") << QByteArray() << jz << 0 << 2 << false;
    QTest::newRow("outward short jcc, not taken") << QByteArray() << jz << 1 << 1 << false;
    QTest::newRow("short jump inside the first bytes")
        << QByteArray() << QByteArray::fromHex("eb01cc89f883c005c3") << 4 << 9 << false;
    QTest::newRow("short jump over a widened jcc")
        << QByteArray() << QByteArray::fromHex("eb027f1089f8c3") << 3 << 3 << false;
    QTest::newRow("rip-relative load") << QByteArray() << QByteArray::fromHex("8b05ba020000c3") << 0 << 0x1234
                                       << false;
    QTest::newRow("short function with padding") << QByteArray() << shortFunction + QByteArray::fromHex("cccc")
                                                 << 0 << 7 << false;
    QTest::newRow("short function, padding above") << padding5 << shortFunction << 0 << 7 << true;
}

void TestInlineHook::prologues()
{
    QFETCH(QByteArray, above);
    QFETCH(QByteArray, code);
    QFETCH(int, argument);
    QFETCH(int, unpatched);
    QFETCH(bool, patchAbove);
    CodePage& page = *newPage();
    QVERIFY(page.load(above, code));
    QVERIFY(distance(page.base(), detourAddress(detour)) > 4 * gigabyte);
    QCOMPARE(page.function()(argument), unpatched);

    void* trampoline = nullptr;
    QCOMPARE(createInlineHook(page.target(), detourAddress(detour), &trampoline), int(HookOk));
    QVERIFY(trampoline);
    QCOMPARE(enableInlineHook(page.target()), int(HookOk));
    QCOMPARE(page.function()(argument), 1000 + argument);
    QCOMPARE(detourCalls, 1);
    QCOMPARE(reinterpret_cast<Function>(trampoline)(argument), unpatched);
    QCOMPARE(detourCalls, 1);
    if (patchAbove) {
        QCOMPARE(*(page.target() - 5), std::uint8_t(0xe9));
        QCOMPARE(bytesAt(page.target(), 2), QByteArray::fromHex("ebf9"));
    } else {
        QCOMPARE(*page.target(), std::uint8_t(0xe9));
    }

    QCOMPARE(disableInlineHook(page.target()), int(HookOk));
    QCOMPARE(page.function()(argument), unpatched);
    QCOMPARE(reinterpret_cast<Function>(trampoline)(argument), unpatched);
}

void TestInlineHook::disableRestoresBytesAndProtection_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("above");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("firstPageProtection");

    const QByteArray withPadding = shortFunction + QByteArray::fromHex("cc");
    const int readExecute = PROT_READ | PROT_EXEC;
    const int all = PROT_READ | PROT_WRITE | PROT_EXEC;
    QTest::newRow("in place") << 64 << QByteArray() << withPadding << readExecute;
    QTest::newRow("above") << 2048 << padding5 << shortFunction << readExecute;
    QTest::newRow("in place, over two pages") << 4094 << QByteArray() << withPadding << all;
    QTest::newRow("above, over two pages") << 4096 << padding5 << shortFunction << all;
}

void TestInlineHook::disableRestoresBytesAndProtection()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, above);
    QFETCH(QByteArray, code);
    QFETCH(int, firstPageProtection);
    CodePage& page = *newPage(2);
    QVERIFY(page.load(above, code, offset));
    QCOMPARE(mprotect(page.base(), pageSize, firstPageProtection), 0);
    std::uint8_t* target = page.target(offset);
    const auto protections = [&page] {
        return QPair<int, int>(protectionAt(page.base()), protectionAt(page.base() + pageSize));
    };
    const QPair<int, int> earlier(firstPageProtection, PROT_READ | PROT_EXEC);
    QCOMPARE(protections(), earlier);
    const QByteArray before = bytesAt(target - 8, 24);

    QCOMPARE(createInlineHook(target, detourAddress(detour), nullptr), int(HookOk));
    QCOMPARE(enableInlineHook(target), int(HookOk));
    QVERIFY(bytesAt(target - 8, 24) != before);
    QCOMPARE(protections(), earlier);
    QCOMPARE(page.function(offset)(0), 1000);
    QCOMPARE(disableInlineHook(target), int(HookOk));
    QCOMPARE(bytesAt(target - 8, 24), before);
    QCOMPARE(protections(), earlier);
    QCOMPARE(page.function(offset)(0), 7);
}

void TestInlineHook::nullTargetActsOnAll()
{
    CodePage& page = *newPage();
    const QByteArray identity = QByteArray::fromHex("89f8c3") + padding5; // mov eax, edi; ret
    QVERIFY(page.load(QByteArray(), identity + identity, 64));
    const Function first = page.function(64);
    const Function second = page.function(64 + identity.size());
    QCOMPARE(createInlineHook(page.target(64), detourAddress(detour), nullptr), int(HookOk));
    QCOMPARE(createInlineHook(page.target(64 + identity.size()), detourAddress(otherDetour), nullptr), int(HookOk));
    QCOMPARE(enableInlineHook(page.target(64)), int(HookOk));

    QCOMPARE(setInlineHookEnabled(nullptr, true), int(HookOk));
    QCOMPARE(first(1), 1001);
    QCOMPARE(second(1), 2001);
    QCOMPARE(enableInlineHook(nullptr), int(HookOk));
    QCOMPARE(setInlineHookEnabled(nullptr, false), int(HookOk));
    QCOMPARE(first(1), 1);
    QCOMPARE(second(1), 1);
    QCOMPARE(disableInlineHook(nullptr), int(HookOk));
}

void TestInlineHook::pagesServeTargetsInReach()
{
    CodePage& near = *newPage();
    const QByteArray identity = QByteArray::fromHex("89f8c3") + padding5;
    QVERIFY(near.load(QByteArray(), identity + identity, 64));
    m_pages.push_back(farPage(near.base()));
    CodePage* far = m_pages.back().get();
    QVERIFY(far);
    QVERIFY(far->load(QByteArray(), identity));
    QVERIFY(distance(far->base(), near.base()) > 4 * gigabyte);

    void* nearA = nullptr;
    void* nearB = nullptr;
    void* farTrampoline = nullptr;
    QCOMPARE(createInlineHook(near.target(64), detourAddress(detour), &nearA), int(HookOk));
    QCOMPARE(createInlineHook(near.target(64 + identity.size()), detourAddress(detour), &nearB), int(HookOk));
    QCOMPARE(createInlineHook(far->target(), detourAddress(otherDetour), &farTrampoline), int(HookOk));
    const auto pageOf = [](void* p) { return reinterpret_cast<std::uintptr_t>(p) & ~std::uintptr_t(pageSize - 1); };
    QCOMPARE(pageOf(nearA), pageOf(nearB));
    QVERIFY(pageOf(farTrampoline) != pageOf(nearA));
    QVERIFY(distance(nearA, near.base()) < 2 * gigabyte);
    QVERIFY(distance(farTrampoline, far->base()) < 2 * gigabyte);
    QCOMPARE(enableInlineHook(nullptr), int(HookOk));
    QCOMPARE(far->function()(3), 2003);
    QCOMPARE(near.function(64)(3), 1003);

    QCOMPARE(uninitializeInlineHooks(), int(HookOk));
    QVERIFY(!isMapped(nearA));
    QVERIFY(!isMapped(farTrampoline));
    QCOMPARE(far->function()(3), 3);
    QCOMPARE(near.function(64)(3), 3);
    QCOMPARE(initializeInlineHooks(), int(HookOk));
}

QTEST_APPLESS_MAIN(TestInlineHook)
#include "tst_inlinehook.moc"
