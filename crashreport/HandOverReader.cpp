#include "HandOverReader.h"

#include "crashreport/HandOverFormat.h"

#include <cstring>

using namespace HandOver;

bool HandOverReader::read(const unsigned char* data, size_t size)
{
    m_data = data;
    m_used = 0;
    m_error.clear();
    m_files.clear();
    m_properties.clear();
    m_registryKeys.clear();
    if (!data || size < kHeaderSize)
        return fail("The block is smaller than its header.");
    if (std::memcmp(data, "CRD", 4) != 0)
        return fail("The block has no hand-over magic.");
    m_used = readU32(data + BytesInUse);
    if (m_used < kHeaderSize || m_used > size)
        return fail("The bytes in use lie outside the block.");
    return checkHeader() && readItems();
}

uint32_t HandOverReader::number(uint32_t offset) const
{
    return offset + 4 <= kHeaderSize && m_data ? readU32(m_data + offset) : 0;
}

std::optional<std::u16string> HandOverReader::text(uint32_t fieldOffset) const
{
    std::u16string value;
    if (!number(fieldOffset) || !stringAt(number(fieldOffset), value))
        return std::nullopt;
    return value;
}

bool HandOverReader::fail(const std::string& error)
{
    m_error = error;
    return false;
}

bool HandOverReader::checkHeader()
{
    if (readU16(m_data + HeaderSizeField) != kHeaderSize)
        return fail("The header size is not 220.");
    if (number(FormatVersion) != kVersion)
        return fail("The format version is not 1500.");
    std::u16string value;
    for (const HeaderField& field : kHeaderFields) {
        if (field.kind == FieldKind::Text && number(field.offset) && !stringAt(number(field.offset), value))
            return fail(std::string("The header field ") + field.name + " refers to no text.");
    }
    return true;
}

bool HandOverReader::readItems()
{
    uint32_t offset = kHeaderSize;
    while (offset < m_used) {
        if (m_used - offset < kStringFixedSize)
            return fail("An item is cut off at the end of the block.");
        const unsigned char* item = m_data + offset;
        const uint32_t size = readU16(item + kItemSizeOffset);
        if (size < kStringFixedSize || size > m_used - offset || item[3] != 0)
            return fail("An item's size lies outside the block.");
        if (!readItem(offset, reinterpret_cast<const char*>(item), size))
            return false;
        offset += size;
    }
    if (m_files.size() != number(FileCount) || m_properties.size() != number(PropertyCount)
        || m_registryKeys.size() != number(RegKeyCount))
        return fail("The item counters do not match the items.");
    return true;
}

bool HandOverReader::readItem(uint32_t offset, const char* magic, uint32_t size)
{
    if (std::memcmp(magic, "STR", 3) == 0) {
        std::u16string text;
        return stringAt(offset, text) || fail("A text item is malformed.");
    }
    if (std::memcmp(magic, "FIL", 3) == 0) {
        File file{};
        if (size < kFileFixedSize || !itemString(offset, FileSource, file.source)
            || !itemString(offset, FileDestination, file.destination)
            || !itemString(offset, FileDescription, file.description))
            return fail("A file item is malformed.");
        file.makeCopy = readU32(m_data + offset + FileMakeCopy) != 0;
        file.mayDelete = readU32(m_data + offset + FileMayDelete) != 0;
        m_files.push_back(file);
        return true;
    }
    if (std::memcmp(magic, "CPR", 3) == 0) {
        Property property;
        if (size < kPropertyFixedSize || !itemString(offset, PropertyName, property.name)
            || !itemString(offset, PropertyValue, property.value))
            return fail("A property item is malformed.");
        m_properties.push_back(property);
        return true;
    }
    if (std::memcmp(magic, "REG", 3) == 0) {
        RegistryKey key{};
        if (size < kRegKeyFixedSize || !itemString(offset, RegKeyKey, key.key)
            || !itemString(offset, RegKeyDestination, key.destination))
            return fail("A registry item is malformed.");
        key.flag = readU32(m_data + offset + RegKeyFlag);
        m_registryKeys.push_back(key);
        return true;
    }
    return fail("An item of unknown kind.");
}

bool HandOverReader::stringAt(uint32_t offset, std::u16string& text) const
{
    if (offset < kHeaderSize || offset > m_used || m_used - offset < kStringFixedSize)
        return false;
    const unsigned char* item = m_data + offset;
    const uint32_t size = readU16(item + kItemSizeOffset);
    if (std::memcmp(item, "STR", 4) != 0 || size < kStringFixedSize || size % 2 != 0 || size > m_used - offset)
        return false;
    text.resize((size - kStringFixedSize) / 2);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = readU16(item + kStringFixedSize + 2 * i);
    return true;
}

bool HandOverReader::itemString(uint32_t item, uint32_t field, std::u16string& text)
{
    return stringAt(readU32(m_data + item + field), text);
}
