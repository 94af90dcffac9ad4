#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A named block of shared memory with views mapped on demand.
class SharedMemoryBlock
{
public:
    SharedMemoryBlock();
    ~SharedMemoryBlock();
    SharedMemoryBlock(const SharedMemoryBlock&) = delete;
    SharedMemoryBlock& operator=(const SharedMemoryBlock&) = delete;

    bool create(std::u16string_view name, bool openExisting, uint32_t sizeLow, uint32_t sizeHigh);
    bool isOpen() const;
    void* mapView(uint64_t offset, uint64_t length);
    void unmapView(void* address);
    void close();
    void destroy();
    // Removes the name of a block this object created; the mapping stays. Async-signal-safe.
    void unlink();

    const std::u16string& name() const { return m_name; }
    uint64_t size() const { return m_size; }

private:
    struct View {
        void* base;
        size_t length;
    };

    std::u16string m_name;
    std::string m_systemName;
    int m_fd = -1;
    bool m_created = false;
    uint64_t m_size = 0;
    uint64_t m_granularity = 0;
    std::map<void*, View> m_views;
};
