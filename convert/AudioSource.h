#pragma once

#include "av/AvHolders.h"
#include "convert/MediaSample.h"

#include <string>

// Decodes the first audio stream of a local file into interleaved 16-bit PCM.
class AudioSource
{
public:
    enum class Result { Data, End, Error };

    AudioSource();
    ~AudioSource();

    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // Only a regular file is opened, by path, whatever its name looks like.
    bool open(const std::string& path);
    // Why open or the first failed read failed, with FFmpeg's text; empty when nothing failed.
    const std::string& errorText() const { return m_error; }
    int channels() const;
    int sampleRate() const;

    // The layout of what `read` gives; more channels are mixed down.
    void setOutput(int channels, int sampleRate);
    // Replaces the buffer's content with the next decoded audio, at least `minimum` bytes
    // of it unless the input ends; the tail comes before End.
    Result read(MediaBuffer& buffer, std::size_t minimum = 1);

private:
    enum class Input { Frame, End, Error };

    bool openDecoder(const AVStream& stream);
    Input decodeFrame();
    bool sendNextPacket();
    // Makes the resampler fit the frame; the tail of a replaced one goes to the buffer.
    bool updateResampler(MediaBuffer& buffer, const AVFrame& frame);
    // Appends the resampled frame, or the resampler's tail when null; -1 on failure.
    int convert(MediaBuffer& buffer, const AVFrame* frame);
    bool drainResampler(MediaBuffer& buffer);
    // Keeps the first failure's reason: what failed, then FFmpeg's text for code. False.
    bool fail(const std::string& what, int code);

    AvInputPtr m_format;
    AvCodecContextPtr m_decoder;
    AvPacketPtr m_packet;
    AvFramePtr m_frame;
    SwrContextPtr m_resampler;
    AVChannelLayout m_inLayout {};
    int m_inFormat = -1;
    int m_inRate = 0;
    int m_streamIndex = -1;
    int m_outChannels = 0;
    int m_outRate = 0;
    bool m_draining = false;
    bool m_ended = false;
    std::string m_error;
};
