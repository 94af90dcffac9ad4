#pragma once

#include "convert/MediaSample.h"

#include <string>

extern "C" {
#include <libavutil/channel_layout.h>
}

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;

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
    int channels() const;
    int sampleRate() const;

    // The layout of what `read` gives; more channels are mixed down.
    void setOutput(int channels, int sampleRate);
    // Replaces the buffer's content with the next decoded audio, at least `minimum` bytes
    // of it unless the input ends; the tail comes before End.
    Result read(MediaBuffer& buffer, std::size_t minimum = 1);

private:
    enum class Input { Frame, End, Error };

    Input decodeFrame();
    bool sendNextPacket();
    // Makes the resampler fit the frame; the tail of a replaced one goes to the buffer.
    bool updateResampler(MediaBuffer& buffer, const AVFrame& frame);
    // Appends the resampled frame, or the resampler's tail when null; -1 on failure.
    int convert(MediaBuffer& buffer, const AVFrame* frame);
    bool drainResampler(MediaBuffer& buffer);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_decoder = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwrContext* m_resampler = nullptr;
    AVChannelLayout m_inLayout {};
    int m_inFormat = -1;
    int m_inRate = 0;
    int m_streamIndex = -1;
    int m_outChannels = 0;
    int m_outRate = 0;
    bool m_draining = false;
    bool m_ended = false;
};
