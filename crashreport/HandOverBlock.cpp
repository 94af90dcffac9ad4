#include "HandOverBlock.h"

#include "crashreport/CrashReporterApi.h"
#include "crashreport/HandOverFormat.h"
#include "crashreport/SharedMemoryBlock.h"

#include <cstring>
#include <unistd.h>

using namespace HandOver;

unsigned char* HandOverBlock::build(SharedMemoryBlock& memory, const CrashSettings& settings,
                                    const ReportContents& contents, std::u16string_view crashId,
                                    bool recentReportsMode)
{
    std::u16string name(crashId);
    if (recentReportsMode)
        name += u"-tmp";
    if (!memory.isOpen() && !memory.create(name, false, kBlockSize, 0)) {
        setLastCrashReporterError(u"Couldn't initialize shared memory.");
        return nullptr;
    }
    void* base = memory.mapView(0, kBlockSize);
    if (!base) {
        setLastCrashReporterError(u"Couldn't create shared memory view.");
        return nullptr;
    }
    return fill(static_cast<unsigned char*>(base), kBlockSize, settings, contents, crashId, recentReportsMode);
}

unsigned char* HandOverBlock::fill(unsigned char* base, uint32_t capacity, const CrashSettings& settings,
                                   const ReportContents& contents, std::u16string_view crashId,
                                   bool recentReportsMode)
{
    m_base = base;
    m_capacity = capacity;
    std::memset(base, 0, kHeaderSize);
    std::memcpy(base + Magic, "CRD", 3);
    writeU16(base + HeaderSizeField, kHeaderSize);
    setNumber(BytesInUse, kHeaderSize);
    setNumber(FormatVersion, kVersion);
    setNumber(InstallFlags, settings.flags);
    setNumber(SmtpPort, settings.emailPort);
    setNumber(SmtpProxyPort, settings.smtpProxyPort);
    for (uint32_t i = 0; i < 3; ++i)
        setNumber(Priorities + 4 * i, uint32_t(settings.priorities[i]));
    setNumber(MinidumpType, settings.minidumpType);
    setScreenshot(contents.screenshot);
    setNumber(RestartTimeout, uint32_t(settings.restartTimeout));
    setNumber(MaxReportsPerDay, uint32_t(settings.maxReportsPerDay));
    setNumber(ProcessId, uint32_t(::getpid()));
    setNumber(SendRecentReports, recentReportsMode ? 1 : 0);

    const std::pair<uint32_t, std::u16string_view> texts[] = {
        {AppName, settings.appName},
        {AppVersion, settings.appVersion},
        {CrashId, crashId},
        {ProgramPath, settings.programPath},
        {LanguageFile, settings.languageFile},
        {DebugHelpFolder, settings.debugHelpFolder},
        {RestartCommand, settings.restartCommand},
        {PrivacyPolicyUrl, settings.privacyPolicyUrl},
        {ReportFolder, settings.reportFolder},
        {CustomIcon, settings.customIcon},
        {UploadUrl, settings.url},
        {EmailTo, settings.emailTo},
        {EmailSubject, settings.emailSubject},
        {EmailText, settings.emailText},
        {SmtpProxy, settings.smtpProxy},
        {SmtpLogin, settings.smtpLogin},
        {SmtpPassword, settings.smtpPassword},
    };
    for (const auto& text : texts)
        setNumber(text.first, appendString(text.second));
    for (const auto& file : contents.files)
        appendFile(file.first, file.second);
    for (const auto& property : contents.properties)
        appendProperty(property.first, property.second);
    for (const auto& key : contents.registryKeys)
        appendRegistryKey(key.first, key.second);
    return base;
}

void HandOverBlock::detach()
{
    m_base = nullptr;
    m_capacity = 0;
}

uint32_t HandOverBlock::bytesInUse() const
{
    return m_base ? readU32(m_base + BytesInUse) : 0;
}

uint32_t HandOverBlock::appendString(std::u16string_view text)
{
    return appendItem(nullptr, 0, 0, {text});
}

uint32_t HandOverBlock::appendFile(std::u16string_view destination, const ReportFile& file)
{
    const uint32_t offset =
        appendItem("FIL", kFileFixedSize, FileSource, {file.sourcePath, destination, file.description});
    if (!offset)
        return 0;
    writeU32(m_base + offset + FileMakeCopy, file.makeCopy ? 1 : 0);
    writeU32(m_base + offset + FileMayDelete, file.mayDelete ? 1 : 0);
    countItem(FileCount);
    return offset;
}

uint32_t HandOverBlock::appendProperty(std::u16string_view name, std::u16string_view value)
{
    const uint32_t offset = appendItem("CPR", kPropertyFixedSize, PropertyName, {name, value});
    if (offset)
        countItem(PropertyCount);
    return offset;
}

uint32_t HandOverBlock::appendRegistryKey(std::u16string_view key, const ReportRegistryKey& entry)
{
    const uint32_t offset = appendItem("REG", kRegKeyFixedSize, RegKeyKey, {key, entry.destination});
    if (!offset)
        return 0;
    writeU32(m_base + offset + RegKeyFlag, entry.flag);
    countItem(RegKeyCount);
    return offset;
}

void HandOverBlock::setScreenshot(const ScreenshotRequest& screenshot)
{
    setNumber(ScreenshotWanted, screenshot.wanted ? 1 : 0);
    setNumber(ScreenshotFlags, screenshot.flags);
    setNumber(JpegQuality, uint32_t(screenshot.jpegQuality));
}

void HandOverBlock::setNumber(uint32_t offset, uint32_t value)
{
    writeU32(m_base + offset, value);
}

// An item with a null magic is one bare string. The whole item is sized before anything is written.
uint32_t HandOverBlock::appendItem(const char* magic, uint32_t fixedSize, uint32_t firstTextField,
                                   std::initializer_list<std::u16string_view> texts)
{
    if (!m_base)
        return 0;
    uint64_t size = fixedSize;
    for (const std::u16string_view text : texts)
        size += kStringFixedSize + 2 * uint64_t(text.size());
    const uint32_t offset = bytesInUse();
    if (size > kMaxItemSize || size > m_capacity - offset)
        return 0;
    if (!magic)
        return writeString(*texts.begin());
    unsigned char* item = m_base + offset;
    std::memset(item, 0, fixedSize);
    std::memcpy(item, magic, 3);
    setNumber(BytesInUse, offset + fixedSize);
    uint32_t field = firstTextField;
    for (const std::u16string_view text : texts) {
        writeU32(item + field, writeString(text));
        field += 4;
    }
    writeU16(item + kItemSizeOffset, uint16_t(size));
    return offset;
}

uint32_t HandOverBlock::writeString(std::u16string_view text)
{
    const uint32_t offset = bytesInUse();
    unsigned char* item = m_base + offset;
    const uint32_t size = kStringFixedSize + 2 * uint32_t(text.size());
    std::memcpy(item, "STR", 4);
    writeU16(item + kItemSizeOffset, uint16_t(size));
    for (size_t i = 0; i < text.size(); ++i)
        writeU16(item + kStringFixedSize + 2 * i, text[i]);
    setNumber(BytesInUse, offset + size);
    return offset;
}

void HandOverBlock::countItem(uint32_t counterOffset)
{
    setNumber(counterOffset, readU32(m_base + counterOffset) + 1);
}
