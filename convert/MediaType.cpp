#include "convert/MediaType.h"

#include "convert/LittleEndian.h"

#include <limits>

bool MediaType::operator==(const MediaType& other) const
{
    return majorType == other.majorType && subtype == other.subtype
        && channels == other.channels && samplesPerSecond == other.samplesPerSecond
        && blockAlignment == other.blockAlignment
        && avgBytesPerSecond == other.avgBytesPerSecond
        && bitsPerSample == other.bitsPerSample
        && allSamplesIndependent == other.allSamplesIndependent;
}

bool WaveFormat::fromMediaType(const MediaType& type, WaveFormat& out)
{
    constexpr auto max16 = std::numeric_limits<std::uint16_t>::max();
    if (type.majorType != MajorType::Audio || type.channels > max16
        || type.blockAlignment > max16 || type.bitsPerSample > max16)
        return false;
    const bool extensible = type.channels > 2 || type.bitsPerSample > 16;
    if (extensible)
        out.formatTag = TagExtensible;
    else
        out.formatTag = type.subtype == AudioSubtype::Pcm ? TagPcm : TagFloat;
    out.channels = static_cast<std::uint16_t>(type.channels);
    out.samplesPerSecond = type.samplesPerSecond;
    out.avgBytesPerSecond = type.avgBytesPerSecond;
    out.blockAlignment = static_cast<std::uint16_t>(type.blockAlignment);
    out.bitsPerSample = static_cast<std::uint16_t>(type.bitsPerSample);
    out.size = extensible ? ExtensibleSize : 0;
    return true;
}

std::array<std::uint8_t, WaveFormat::BaseSize> WaveFormat::bytes() const
{
    std::array<std::uint8_t, BaseSize> out {};
    LittleEndian::put16(out.data(), formatTag);
    LittleEndian::put16(out.data() + 2, channels);
    LittleEndian::put32(out.data() + 4, samplesPerSecond);
    LittleEndian::put32(out.data() + 8, avgBytesPerSecond);
    LittleEndian::put16(out.data() + 12, blockAlignment);
    LittleEndian::put16(out.data() + 14, bitsPerSample);
    LittleEndian::put16(out.data() + 16, size);
    return out;
}
