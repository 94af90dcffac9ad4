#include <QtTest>

#include "crashreport/CrashReporterApi.h"
#include "crashreport/HandOverBlock.h"
#include "crashreport/HandOverFormat.h"
#include "crashreport/HandOverReader.h"
#include "crashreport/SharedMemoryBlock.h"
#include "support/CrashTestSupport.h"

#include <functional>
#include <unistd.h>
#include <vector>

using namespace HandOver;

class TestHandOverBlock : public QObject
{
    Q_OBJECT

private slots:
    void goldenBlock();
    void emptyTextIsSixBytes();
    void repeatedPropertyAppendsAnItem();
    void recentReportsMode();
    void longestText();
    void fullBlockRefusesItems();
    void viewFailure();
    void readerRejectsCorruptBlocks_data();
    void readerRejectsCorruptBlocks();

private:
    static CrashSettings settings();
    static ReportContents contents();
    static std::u16string uniqueId();
};

CrashSettings TestHandOverBlock::settings()
{
    CrashSettings s;
    s.appName = u"name";
    s.appVersion = u"version";
    s.programPath = u"/opt/prog";
    s.flags = 0x604020;
    s.minidumpType = 0x1974;
    s.restartCommand = u"restart";
    s.restartTimeout = 61;
    s.maxReportsPerDay = 7;
    s.url = u"https://example.org/index.php";
    s.emailTo = u"to@example.org";
    s.emailPort = 587;
    s.smtpProxy = u"proxy";
    s.smtpProxyPort = 3128;
    s.smtpLogin = u"login";
    s.smtpPassword = u"password";
    s.emailSubject = u"subject";
    s.emailText = u"";
    s.priorities[0] = 1;
    s.priorities[1] = -1;
    s.priorities[2] = -1;
    s.privacyPolicyUrl = u"privacy";
    s.senderPath = u"/opt/Brindlet";
    s.languageFile = u"/opt/crashrpt_lang.ini";
    s.debugHelpFolder = u"/opt/";
    s.reportFolder = u"/reports";
    s.customIcon = u"icon,1";
    return s;
}

ReportContents TestHandOverBlock::contents()
{
    ReportContents c;
    c.files[u"b.log"] = ReportFile{u"/var/b.log", u"Log file", true, false};
    c.files[u"a.txt"] = ReportFile{u"/var/a.txt", u"", false, true};
    c.properties[u"zeta"] = u"last";
    c.properties[u"alpha"] = u"first";
    c.registryKeys[u"HKEY_CURRENT_USER\\k2"] = ReportRegistryKey{u"k2.txt", 2};
    c.registryKeys[u"HKEY_CURRENT_USER\\k1"] = ReportRegistryKey{u"k1.txt", 1};
    c.screenshot = ScreenshotRequest{true, 8, 75};
    return c;
}

std::u16string TestHandOverBlock::uniqueId()
{
    return u16(QUuid::createUuid().toString(QUuid::WithoutBraces));
}

static QString stringAt(const unsigned char* block, uint32_t offset)
{
    if (std::memcmp(block + offset, "STR", 4) != 0)
        return QStringLiteral("<no STR at %1>").arg(offset);
    const uint32_t length = (readU16(block + offset + 4) - 6) / 2;
    QString text;
    for (uint32_t i = 0; i < length; ++i)
        text += QChar(readU16(block + offset + 6 + 2 * i));
    return text;
}

void TestHandOverBlock::goldenBlock()
{
    const std::u16string id = uniqueId();
    SharedMemoryBlock memory;
    HandOverBlock handOver;
    const unsigned char* b = handOver.build(memory, settings(), contents(), id, false);
    QVERIFY(b);
    QVERIFY(blockExists(id));
    QCOMPARE(memory.size(), uint64_t(0xA00000));

    QCOMPARE(QByteArray(reinterpret_cast<const char*>(b), 4), QByteArray("CRD\0", 4));
    QCOMPARE(readU16(b + 4), uint16_t(220));
    QCOMPARE(readU16(b + 6), uint16_t(0));
    QCOMPARE(readU32(b + 12), 1500u);
    const std::pair<uint32_t, uint32_t> numbers[] = {
        {16, 2}, {20, 2}, {24, 2}, {28, 0x604020}, {32, 587}, {36, 3128}, {40, 1}, {44, 0xFFFFFFFF},
        {48, 0xFFFFFFFF}, {52, 0x1974}, {56, 1}, {60, 8}, {64, 75}, {88, 61}, {92, 7},
        {136, uint32_t(::getpid())}, {140, 0}, {144, 0}, {148, 0}, {152, 0}, {156, 0}, {160, 0}, {164, 0},
        {168, 0}, {172, 0}, {176, 0}, {188, 0}, {192, 0}, {196, 0}, {200, 0}, {204, 0}, {208, 0}, {212, 0},
        {216, 0},
    };
    for (const auto& number : numbers)
        QCOMPARE(readU32(b + number.first), number.second);

    // The seventeen texts stand right behind the header, in this order.
    const std::pair<uint32_t, QString> texts[] = {
        {72, "name"}, {76, "version"}, {100, fromU16(id)}, {132, "/opt/prog"},
        {80, "/opt/crashrpt_lang.ini"}, {124, "/opt/"}, {84, "restart"}, {108, "privacy"}, {104, "/reports"},
        {128, "icon,1"}, {68, "https://example.org/index.php"}, {96, "to@example.org"}, {112, "subject"},
        {116, ""}, {120, "proxy"}, {180, "login"}, {184, "password"},
    };
    uint32_t at = 220;
    for (const auto& text : texts) {
        QCOMPARE(readU32(b + text.first), at);
        QCOMPARE(stringAt(b, at), text.second);
        at += readU16(b + at + 4);
    }

    // Files by destination, then properties by name, then keys by key; each size covers its texts.
    const QStringList fileTexts[] = {{"/var/a.txt", "a.txt", ""}, {"/var/b.log", "b.log", "Log file"}};
    const uint32_t fileBits[][2] = {{0, 1}, {1, 0}};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b + at), 4), QByteArray("FIL\0", 4));
        uint32_t size = 28;
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(stringAt(b, readU32(b + at + 8 + 4 * t)), fileTexts[i][t]);
            size += 6 + 2 * fileTexts[i][t].size();
        }
        QCOMPARE(readU32(b + at + 8), at + 28);
        QCOMPARE(readU32(b + at + 20), fileBits[i][0]);
        QCOMPARE(readU32(b + at + 24), fileBits[i][1]);
        QCOMPARE(uint32_t(readU16(b + at + 4)), size);
        at += size;
    }
    const QStringList properties[] = {{"alpha", "first"}, {"zeta", "last"}};
    for (const QStringList& property : properties) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b + at), 4), QByteArray("CPR\0", 4));
        QCOMPARE(stringAt(b, readU32(b + at + 8)), property[0]);
        QCOMPARE(stringAt(b, readU32(b + at + 12)), property[1]);
        at += readU16(b + at + 4);
    }
    const QStringList keys[] = {{"HKEY_CURRENT_USER\\k1", "k1.txt"}, {"HKEY_CURRENT_USER\\k2", "k2.txt"}};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b + at), 4), QByteArray("REG\0", 4));
        QCOMPARE(readU32(b + at + 8), uint32_t(i + 1));
        QCOMPARE(stringAt(b, readU32(b + at + 12)), keys[i][0]);
        QCOMPARE(stringAt(b, readU32(b + at + 16)), keys[i][1]);
        QCOMPARE(uint32_t(readU16(b + at + 4)), 20 + 12 + 2 * uint32_t(keys[i][0].size() + keys[i][1].size()));
        at += readU16(b + at + 4);
    }
    QCOMPARE(readU32(b + 8), at);
    QCOMPARE(handOver.bytesInUse(), at);

    HandOverReader reader;
    QVERIFY2(reader.read(b, memory.size()), reader.error().c_str());
    QCOMPARE(reader.files().size(), size_t(2));
    QCOMPARE(reader.properties().size(), size_t(2));
    QCOMPARE(reader.registryKeys().size(), size_t(2));
    QCOMPARE(fromU16(*reader.text(CrashId)), fromU16(id));
    QVERIFY(!reader.text(InvalidParamFile));

    memory.close();
    QVERIFY(!blockExists(id));
}

void TestHandOverBlock::emptyTextIsSixBytes()
{
    std::vector<unsigned char> buffer(4096);
    HandOverBlock handOver;
    handOver.fill(buffer.data(), uint32_t(buffer.size()), CrashSettings(), ReportContents(), u"", false);
    const uint32_t used = handOver.bytesInUse();
    QCOMPARE(used, 220u + 17 * 6);
    QCOMPARE(readU32(buffer.data() + 16) + readU32(buffer.data() + 20) + readU32(buffer.data() + 24), 0u);
    const uint32_t offset = handOver.appendString(u"");
    QCOMPARE(offset, used);
    QCOMPARE(handOver.bytesInUse(), used + 6);
    QCOMPARE(readU16(buffer.data() + offset + 4), uint16_t(6));
    QCOMPARE(readU32(buffer.data() + EmailText), 220u + 13 * 6);
}

void TestHandOverBlock::repeatedPropertyAppendsAnItem()
{
    std::vector<unsigned char> buffer(4096);
    HandOverBlock handOver;
    handOver.fill(buffer.data(), uint32_t(buffer.size()), settings(), ReportContents(), u"id", false);
    QVERIFY(handOver.appendProperty(u"key", u"one"));
    QVERIFY(handOver.appendProperty(u"key", u"two"));
    HandOverReader reader;
    QVERIFY2(reader.read(buffer.data(), buffer.size()), reader.error().c_str());
    QCOMPARE(reader.properties().size(), size_t(2));
    QCOMPARE(fromU16(reader.properties()[0].value), QStringLiteral("one"));
    QCOMPARE(fromU16(reader.properties()[1].value), QStringLiteral("two"));
    QCOMPARE(reader.number(PropertyCount), 2u);
}

void TestHandOverBlock::recentReportsMode()
{
    const std::u16string id = uniqueId();
    SharedMemoryBlock memory;
    HandOverBlock handOver;
    const unsigned char* b = handOver.build(memory, settings(), ReportContents(), id, true);
    QVERIFY(b);
    QVERIFY(blockExists(id + u"-tmp"));
    QVERIFY(!blockExists(id));
    QCOMPARE(readU32(b + SendRecentReports), 1u);
    QCOMPARE(stringAt(b, readU32(b + CrashId)), fromU16(id));
}

void TestHandOverBlock::longestText()
{
    std::vector<unsigned char> buffer(200000);
    HandOverBlock handOver;
    handOver.fill(buffer.data(), uint32_t(buffer.size()), settings(), ReportContents(), u"id", false);
    const uint32_t used = handOver.bytesInUse();
    QCOMPARE(handOver.appendString(std::u16string(32765, u'x')), 0u);
    QCOMPARE(handOver.bytesInUse(), used);
    QCOMPARE(handOver.appendString(std::u16string(32764, u'x')), used);
    QCOMPARE(readU16(buffer.data() + used + 4), uint16_t(65534));
    QCOMPARE(handOver.bytesInUse(), used + 65534);

    // A property whose texts fit one by one but not together in one item.
    const uint32_t before = handOver.bytesInUse();
    QCOMPARE(handOver.appendProperty(u"name", std::u16string(32760, u'v')), 0u);
    QCOMPARE(handOver.bytesInUse(), before);
    QCOMPARE(readU32(buffer.data() + PropertyCount), 0u);
    HandOverReader reader;
    QVERIFY2(reader.read(buffer.data(), buffer.size()), reader.error().c_str());
}

void TestHandOverBlock::fullBlockRefusesItems()
{
    std::vector<unsigned char> buffer(1024);
    HandOverBlock handOver;
    handOver.fill(buffer.data(), uint32_t(buffer.size()), CrashSettings(), ReportContents(), u"id", false);
    while (handOver.appendProperty(u"p", u"value")) {
    }
    const uint32_t used = handOver.bytesInUse();
    const uint32_t properties = readU32(buffer.data() + PropertyCount);
    QVERIFY(used <= 1024);
    QVERIFY(used > 1024 - (16 + 8 + 16));
    QCOMPARE(handOver.appendFile(u"f", ReportFile{u"/f", u"", true, false}), 0u);
    QCOMPARE(handOver.appendRegistryKey(u"k", ReportRegistryKey{u"d", 1}), 0u);
    QCOMPARE(handOver.bytesInUse(), used);
    QCOMPARE(readU32(buffer.data() + PropertyCount), properties);
    QCOMPARE(readU32(buffer.data() + FileCount), 0u);
    QCOMPARE(readU32(buffer.data() + RegKeyCount), 0u);
    QVERIFY(std::all_of(buffer.begin() + used, buffer.end(), [](unsigned char c) { return c == 0; }));
    HandOverReader reader;
    QVERIFY2(reader.read(buffer.data(), buffer.size()), reader.error().c_str());
}

void TestHandOverBlock::viewFailure()
{
    SharedMemoryBlock small;
    QVERIFY(small.create(uniqueId(), false, 4096, 0));
    HandOverBlock handOver;
    QVERIFY(!handOver.build(small, settings(), ReportContents(), u"id", false));
    QCOMPARE(lastError(), QStringLiteral("Couldn't create shared memory view."));
    QVERIFY(!handOver.header());
}

using Corruption = std::function<void(std::vector<unsigned char>&)>;
Q_DECLARE_METATYPE(Corruption)

void TestHandOverBlock::readerRejectsCorruptBlocks_data()
{
    QTest::addColumn<Corruption>("corrupt");
    QTest::addColumn<size_t>("size");
    // The block below holds the header, the seventeen texts, one file, one property and one key.
    const auto firstItem = [](std::vector<unsigned char>& b) {
        uint32_t at = 220;
        for (int i = 0; i < 17; ++i)
            at += readU16(b.data() + at + 4);
        return at;
    };
    const auto set32 = [](uint32_t offset, uint32_t value) {
        return Corruption([=](std::vector<unsigned char>& b) { writeU32(b.data() + offset, value); });
    };
    QTest::newRow("smaller than the header") << Corruption() << size_t(219);
    QTest::newRow("magic") << Corruption([](auto& b) { b[1] = 'X'; }) << size_t(0);
    QTest::newRow("magic terminator") << Corruption([](auto& b) { b[3] = 1; }) << size_t(0);
    QTest::newRow("header size") << Corruption([](auto& b) { writeU16(b.data() + 4, 221); }) << size_t(0);
    QTest::newRow("version") << set32(12, 1499) << size_t(0);
    QTest::newRow("bytes in use past the block") << set32(8, 5000) << size_t(0);
    QTest::newRow("bytes in use inside the header") << set32(8, 100) << size_t(0);
    QTest::newRow("bytes in use cut an item") << Corruption([](auto& b) { writeU32(b.data() + 8, readU32(b.data() + 8) - 2); })
                                              << size_t(0);
    QTest::newRow("text field into the header") << set32(AppName, 8) << size_t(0);
    QTest::newRow("text field past the end") << set32(AppName, 4000) << size_t(0);
    QTest::newRow("text field off an item") << set32(AppName, 222) << size_t(0);
    QTest::newRow("zero item size") << Corruption([](auto& b) { writeU16(b.data() + 224, 0); }) << size_t(0);
    QTest::newRow("odd text size") << Corruption([](auto& b) { writeU16(b.data() + 224, readU16(b.data() + 224) + 1); })
                                   << size_t(0);
    QTest::newRow("item past the end") << Corruption([](auto& b) { writeU16(b.data() + 224, 0xFFFF); }) << size_t(0);
    QTest::newRow("unknown item") << Corruption([=](auto& b) { b[firstItem(b)] = 'Q'; }) << size_t(0);
    QTest::newRow("file text off an item") << Corruption([=](auto& b) { writeU32(b.data() + firstItem(b) + 12, 221); })
                                           << size_t(0);
    QTest::newRow("file item smaller than its fixed part")
        << Corruption([=](auto& b) { writeU16(b.data() + firstItem(b) + 4, 20); }) << size_t(0);
    QTest::newRow("file counter") << set32(FileCount, 2) << size_t(0);
    QTest::newRow("property counter") << set32(PropertyCount, 0) << size_t(0);
    QTest::newRow("key counter") << set32(RegKeyCount, 3) << size_t(0);
}

void TestHandOverBlock::readerRejectsCorruptBlocks()
{
    QFETCH(Corruption, corrupt);
    QFETCH(size_t, size);
    std::vector<unsigned char> buffer(4096);
    HandOverBlock handOver;
    ReportContents c;
    c.files[u"a"] = ReportFile{u"/a", u"", true, false};
    c.properties[u"p"] = u"v";
    c.registryKeys[u"k"] = ReportRegistryKey{u"d", 1};
    handOver.fill(buffer.data(), uint32_t(buffer.size()), settings(), c, u"id", false);
    HandOverReader reader;
    QVERIFY2(reader.read(buffer.data(), buffer.size()), reader.error().c_str());
    if (corrupt)
        corrupt(buffer);
    QVERIFY(!reader.read(buffer.data(), size ? size : buffer.size()));
    QVERIFY(!reader.error().empty());
}

QTEST_GUILESS_MAIN(TestHandOverBlock)
#include "tst_handoverblock.moc"
