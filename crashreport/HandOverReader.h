#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads a hand-over block, checking every size and offset against the bytes in use.
class HandOverReader
{
public:
    struct File {
        std::u16string source;
        std::u16string destination;
        std::u16string description;
        bool makeCopy;
        bool mayDelete;
    };
    struct Property {
        std::u16string name;
        std::u16string value;
    };
    struct RegistryKey {
        uint32_t flag;
        std::u16string key;
        std::u16string destination;
    };

    // False with error() set when the block is not a sound hand-over block of at most size bytes.
    bool read(const unsigned char* data, size_t size);
    const std::string& error() const { return m_error; }

    uint32_t number(uint32_t offset) const;
    // The text a header field refers to; none when the field is 0.
    std::optional<std::u16string> text(uint32_t fieldOffset) const;

    const std::vector<File>& files() const { return m_files; }
    const std::vector<Property>& properties() const { return m_properties; }
    const std::vector<RegistryKey>& registryKeys() const { return m_registryKeys; }

private:
    bool fail(const std::string& error);
    bool checkHeader();
    bool readItems();
    bool readItem(uint32_t offset, const char* magic, uint32_t size);
    bool stringAt(uint32_t offset, std::u16string& text) const;
    bool itemString(uint32_t item, uint32_t field, std::u16string& text);

    const unsigned char* m_data = nullptr;
    uint32_t m_used = 0;
    std::string m_error;
    std::vector<File> m_files;
    std::vector<Property> m_properties;
    std::vector<RegistryKey> m_registryKeys;
};
