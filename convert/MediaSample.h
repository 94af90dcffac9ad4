#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// A block of media data: `length` bytes of `data` are valid.
struct MediaBuffer
{
    std::vector<std::uint8_t> data;
    std::size_t length = 0;
};

// A timed piece of media made of one or more buffers.
struct MediaSample
{
    std::optional<std::int64_t> time; // 100 ns units
    std::vector<MediaBuffer> buffers;
};
