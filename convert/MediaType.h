#pragma once

#include <array>
#include <cstdint>

enum class MajorType { Audio, Video };
enum class AudioSubtype { Pcm, Float };

// Description of the media that a stream carries.
struct MediaType
{
    MajorType majorType = MajorType::Audio;
    AudioSubtype subtype = AudioSubtype::Pcm;
    std::uint32_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t blockAlignment = 0;
    std::uint32_t avgBytesPerSecond = 0;
    std::uint32_t bitsPerSample = 0;
    bool allSamplesIndependent = false;

    bool operator==(const MediaType& other) const;
    bool operator!=(const MediaType& other) const { return !(*this == other); }
};

// The wave format header that describes an audio media type.
struct WaveFormat
{
    static constexpr std::uint16_t TagPcm = 1;
    static constexpr std::uint16_t TagFloat = 3;
    static constexpr std::uint16_t TagExtensible = 0xFFFE;
    static constexpr std::uint16_t ExtensibleSize = 22;
    static constexpr int BaseSize = 18;

    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t avgBytesPerSecond = 0;
    std::uint16_t blockAlignment = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t size = 0; // bytes of extra format data after the base

    // Fails (false) for a type that is not audio or out of a wave header's range.
    static bool fromMediaType(const MediaType& type, WaveFormat& out);
    // The base structure, little-endian.
    std::array<std::uint8_t, BaseSize> bytes() const;
};
