#pragma once

#include <cstdint>

// Stores integers little-endian, whatever the host order.
namespace LittleEndian {

inline void put16(std::uint8_t* out, std::uint16_t value)
{
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(std::uint8_t* out, std::uint32_t value)
{
    put16(out, static_cast<std::uint16_t>(value));
    put16(out + 2, static_cast<std::uint16_t>(value >> 16));
}

} // namespace LittleEndian
