#include "convert/AudioSource.h"

#include "av/AvError.h"

#include <sys/stat.h>

namespace {

constexpr int BytesPerSample = 2;

bool isRegularFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int firstAudioStream(const AVFormatContext& format)
{
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        if (format.streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            return static_cast<int>(i);
    }
    return -1;
}

// Mixing needs to know the channels: an unnamed layout gets the usual one for its count.
AVChannelLayout knownLayout(const AVChannelLayout& layout)
{
    AVChannelLayout out {};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&out, layout.nb_channels);
    else
        av_channel_layout_copy(&out, &layout);
    return out;
}

} // namespace

AudioSource::AudioSource() = default;

AudioSource::~AudioSource()
{
    av_channel_layout_uninit(&m_inLayout);
}

bool AudioSource::open(const std::string& path)
{
    const std::string quoted = "\"" + path + "\"";
    if (!isRegularFile(path)) {
        m_error = quoted + " is not a regular file";
        return false;
    }
    // The prefix keeps a name like "http:..." a path; nested opens stay local too.
    const std::string url = "file:" + path;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* format = nullptr;
    int opened = avformat_open_input(&format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    m_format.reset(format);
    if (opened >= 0)
        opened = avformat_find_stream_info(format, nullptr);
    if (opened < 0)
        return fail("Cannot read " + quoted, opened);
    m_streamIndex = firstAudioStream(*format);
    if (m_streamIndex < 0)
        return fail("No audio in " + quoted, AVERROR_STREAM_NOT_FOUND);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_streamIndex)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    if (!openDecoder(*format->streams[m_streamIndex]))
        return false;
    return (channels() > 0 && sampleRate() > 0) || fail("No audio in " + quoted, AVERROR_INVALIDDATA);
}

bool AudioSource::openDecoder(const AVStream& stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec)
        return fail("No audio decoder", AVERROR_DECODER_NOT_FOUND);
    m_decoder.reset(avcodec_alloc_context3(codec));
    m_packet.reset(av_packet_alloc());
    m_frame.reset(av_frame_alloc());
    if (!m_decoder || !m_packet || !m_frame)
        return fail("No audio decoder", AVERROR(ENOMEM));
    int opened = avcodec_parameters_to_context(m_decoder.get(), stream.codecpar);
    m_decoder->pkt_timebase = stream.time_base;
    if (opened >= 0)
        opened = avcodec_open2(m_decoder.get(), codec, nullptr);
    if (opened < 0)
        return fail(std::string("Cannot open the audio decoder ") + codec->name, opened);
    return true;
}

bool AudioSource::fail(const std::string& what, int code)
{
    if (m_error.empty())
        m_error = what + ": " + avErrorText(code);
    return false;
}

int AudioSource::channels() const
{
    return m_decoder ? m_decoder->ch_layout.nb_channels : 0;
}

int AudioSource::sampleRate() const
{
    return m_decoder ? m_decoder->sample_rate : 0;
}

void AudioSource::setOutput(int channels, int sampleRate)
{
    m_outChannels = channels;
    m_outRate = sampleRate;
}

AudioSource::Result AudioSource::read(MediaBuffer& buffer, std::size_t minimum)
{
    buffer.length = 0;
    while (!m_ended) {
        const Input input = decodeFrame();
        if (input == Input::Error)
            return Result::Error;
        if (input == Input::End) {
            m_ended = true;
            if (!drainResampler(buffer))
                return Result::Error;
            break;
        }
        const bool converted = updateResampler(buffer, *m_frame) && convert(buffer, m_frame.get()) >= 0;
        av_frame_unref(m_frame.get());
        if (!converted)
            return Result::Error;
        if (buffer.length >= minimum)
            return Result::Data;
    }
    return buffer.length > 0 ? Result::Data : Result::End;
}

// Damaged packets are skipped, as players do; a file with nothing decodable gives no data.
AudioSource::Input AudioSource::decodeFrame()
{
    for (;;) {
        const int received = avcodec_receive_frame(m_decoder.get(), m_frame.get());
        if (received == 0)
            return Input::Frame;
        if (received == AVERROR_EOF)
            return Input::End;
        if (received == AVERROR(ENOMEM)) {
            fail("Cannot decode the audio", received);
            return Input::Error;
        }
        if (received != AVERROR(EAGAIN))
            continue;
        if (m_draining)
            return Input::End;
        if (!sendNextPacket())
            return Input::Error;
    }
}

// A damaged end of the file ends the input like its real end.
bool AudioSource::sendNextPacket()
{
    for (;;) {
        const int read = av_read_frame(m_format.get(), m_packet.get());
        if (read == AVERROR_EOF || read == AVERROR_INVALIDDATA) {
            m_draining = true;
            const int flushed = avcodec_send_packet(m_decoder.get(), nullptr);
            return flushed == 0 || fail("Cannot decode the audio", flushed);
        }
        if (read < 0)
            return fail("Cannot read the audio", read);
        if (m_packet->stream_index != m_streamIndex) {
            av_packet_unref(m_packet.get());
            continue;
        }
        const int sent = avcodec_send_packet(m_decoder.get(), m_packet.get());
        av_packet_unref(m_packet.get());
        return sent != AVERROR(ENOMEM) || fail("Cannot decode the audio", sent);
    }
}

// The decoder may change its output mid-stream.
bool AudioSource::updateResampler(MediaBuffer& buffer, const AVFrame& frame)
{
    if (m_resampler && frame.format == m_inFormat && frame.sample_rate == m_inRate
        && av_channel_layout_compare(&frame.ch_layout, &m_inLayout) == 0)
        return true;
    if (!drainResampler(buffer))
        return false;
    av_channel_layout_uninit(&m_inLayout);
    av_channel_layout_copy(&m_inLayout, &frame.ch_layout);
    m_inFormat = frame.format;
    m_inRate = frame.sample_rate;
    AVChannelLayout inLayout = knownLayout(m_inLayout);
    AVChannelLayout outLayout {};
    av_channel_layout_default(&outLayout, m_outChannels);
    SwrContext* resampler = nullptr;
    int made = swr_alloc_set_opts2(&resampler, &outLayout, AV_SAMPLE_FMT_S16, m_outRate, &inLayout,
                                   static_cast<AVSampleFormat>(m_inFormat), m_inRate, 0, nullptr);
    SwrContextPtr owner(resampler);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (made >= 0)
        made = swr_init(resampler);
    if (made < 0)
        return fail("Cannot resample the audio", made);
    m_resampler = std::move(owner);
    return true;
}

int AudioSource::convert(MediaBuffer& buffer, const AVFrame* frame)
{
    const int inSamples = frame ? frame->nb_samples : 0;
    const int room = swr_get_out_samples(m_resampler.get(), inSamples);
    if (room < 0) {
        fail("Cannot resample the audio", room);
        return -1;
    }
    const std::size_t frameBytes = static_cast<std::size_t>(m_outChannels) * BytesPerSample;
    const std::size_t needed = buffer.length + static_cast<std::size_t>(room) * frameBytes;
    if (buffer.data.size() < needed)
        buffer.data.resize(needed);
    std::uint8_t* out = buffer.data.data() + buffer.length;
    const int converted = swr_convert(m_resampler.get(), &out, room,
                                      frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
                                      inSamples);
    if (converted < 0)
        fail("Cannot resample the audio", converted);
    else
        buffer.length += static_cast<std::size_t>(converted) * frameBytes;
    return converted;
}

bool AudioSource::drainResampler(MediaBuffer& buffer)
{
    if (!m_resampler)
        return true;
    int converted = 0;
    do {
        converted = convert(buffer, nullptr);
    } while (converted > 0);
    return converted == 0;
}
