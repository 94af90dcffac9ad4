#pragma once

#include "convert/ByteStream.h"

#include <mutex>
#include <vector>

// A byte stream over a growing buffer in memory.
class MemoryByteStream : public ByteStream
{
public:
    explicit MemoryByteStream(unsigned capabilities = Writable | Seekable);

    unsigned capabilities() const override;
    MediaStatus setCurrentPosition(std::uint64_t position) override;
    MediaStatus write(const std::uint8_t* data, std::size_t size) override;
    MediaStatus close() override;

    std::vector<std::uint8_t> bytes() const;
    bool isClosed() const;

private:
    mutable std::mutex m_mutex;
    const unsigned m_capabilities;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
    bool m_closed = false;
};
