#pragma once

#include "crashreport/CrashSettings.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

class SharedMemoryBlock;

// Writes the hand-over block: the header, the texts and the items of one prepared report.
class HandOverBlock
{
public:
    // Creates the block unless it is open, maps it and fills it; null, with the last error set, on failure.
    unsigned char* build(SharedMemoryBlock& memory, const CrashSettings& settings, const ReportContents& contents,
                         std::u16string_view crashId, bool recentReportsMode);
    // Fills a mapped block of the given capacity.
    unsigned char* fill(unsigned char* base, uint32_t capacity, const CrashSettings& settings,
                        const ReportContents& contents, std::u16string_view crashId, bool recentReportsMode);
    void detach();

    unsigned char* header() const { return m_base; }
    uint32_t bytesInUse() const;

    // Each append returns the item's offset, or 0 when the block has no room for it (nothing is written then).
    uint32_t appendString(std::u16string_view text);
    uint32_t appendFile(std::u16string_view destination, const ReportFile& file);
    uint32_t appendProperty(std::u16string_view name, std::u16string_view value);
    uint32_t appendRegistryKey(std::u16string_view key, const ReportRegistryKey& entry);
    void setScreenshot(const ScreenshotRequest& screenshot);
    void setNumber(uint32_t offset, uint32_t value);

private:
    uint32_t appendItem(const char* magic, uint32_t fixedSize, uint32_t firstTextField,
                        std::initializer_list<std::u16string_view> texts);
    uint32_t writeString(std::u16string_view text);
    void countItem(uint32_t counterOffset);

    unsigned char* m_base = nullptr;
    uint32_t m_capacity = 0;
};
