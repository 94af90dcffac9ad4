#pragma once

#include "convert/MediaStatus.h"

#include <cstddef>
#include <cstdint>

// Destination of written media bytes.
class ByteStream
{
public:
    enum Capability : unsigned {
        Writable = 1,
        Seekable = 2,
    };

    virtual ~ByteStream() = default;

    virtual unsigned capabilities() const = 0;
    virtual MediaStatus setCurrentPosition(std::uint64_t position) = 0;
    // Writes all of data or fails.
    virtual MediaStatus write(const std::uint8_t* data, std::size_t size) = 0;
    virtual MediaStatus close() = 0;
};
