#include "convert/ConvertSession.h"

#include "platform/MediaTicks.h"

#include <algorithm>
#include <atomic>
#include <future>

namespace {

constexpr std::int64_t EndOfSegmentContext = 1;
constexpr std::uint32_t SampleBits = 16;
// Samples of about 1 / SamplesPerSecond s: fewer hand-overs to the sink's thread.
constexpr std::uint32_t SamplesPerSecond = 10;

// The first offered 16-bit type with these channels at `rate`, else the first at any rate.
bool pickType(CWavStream& stream, std::uint32_t channels, std::uint32_t rate, MediaType& out)
{
    std::uint32_t count = 0;
    if (failed(stream.getMediaTypeCount(count)))
        return false;
    bool found = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        MediaType type;
        if (failed(stream.getMediaTypeByIndex(i, type)))
            return false;
        if (type.bitsPerSample != SampleBits || type.channels != channels)
            continue;
        if (type.samplesPerSecond == rate) {
            out = type;
            return true;
        }
        if (!found)
            out = type;
        found = true;
    }
    return found;
}

} // namespace

ConvertSession::ConvertSession(AudioSource& source, CWavSink& sink)
    : m_source(source)
    , m_sink(sink)
{
}

bool ConvertSession::run()
{
    const bool done = negotiate() && stream() && finish();
    m_sink.shutdown();
    return done;
}

// The type is set before the clock starts.
bool ConvertSession::negotiate()
{
    if (failed(m_sink.getStreamSinkByIndex(0, m_stream)))
        return false;
    const auto channels = static_cast<std::uint32_t>(std::min(m_source.channels(), 2));
    const auto rate = static_cast<std::uint32_t>(m_source.sampleRate());
    MediaType type;
    if (!pickType(*m_stream, channels, rate, type) || failed(m_stream->setCurrentMediaType(type)))
        return false;
    m_source.setOutput(static_cast<int>(type.channels), static_cast<int>(type.samplesPerSecond));
    m_rate = type.samplesPerSecond;
    m_frameBytes = type.blockAlignment;
    return true;
}

bool ConvertSession::stream()
{
    if (failed(m_sink.setPresentationClock(&m_clock)) || failed(m_clock.start(0)))
        return false;
    bool ended = false;
    while (!ended) {
        MediaEvent event;
        if (failed(m_stream->getEvent(event)) || !handle(event, ended))
            return false;
    }
    return true;
}

bool ConvertSession::handle(const MediaEvent& event, bool& ended)
{
    if (failed(event.status) || event.type == MediaEventType::Error)
        return false;
    if (event.type == MediaEventType::StreamSinkRequestSample)
        return m_endPlaced || deliverSample();
    if (event.type == MediaEventType::StreamSinkMarker)
        ended = event.value == EndOfSegmentContext;
    return true;
}

bool ConvertSession::deliverSample()
{
    const std::shared_ptr<MediaSample> sample = freeSample();
    MediaBuffer& buffer = sample->buffers.front();
    switch (m_source.read(buffer, m_frameBytes * m_rate / SamplesPerSecond)) {
    case AudioSource::Result::Data:
        sample->time = m_framesDelivered * kTicksPerSecond / m_rate;
        m_framesDelivered += static_cast<std::int64_t>(buffer.length / m_frameBytes);
        return !failed(m_stream->processSample(sample));
    case AudioSource::Result::End:
        m_endPlaced = true;
        // Nothing decoded is a failure, not an empty file.
        return m_framesDelivered > 0
            && !failed(m_stream->placeMarker(MarkerType::EndOfSegment, {}, EndOfSegmentContext));
    case AudioSource::Result::Error:
        break;
    }
    return false;
}

bool ConvertSession::finish()
{
    if (failed(m_clock.stop()) || !waitFor(MediaEventType::StreamSinkStopped))
        return false;
    // Shared: the sink's thread may still hold the callback when the wait ends.
    auto finalized = std::make_shared<std::promise<void>>();
    std::future<void> done = finalized->get_future();
    if (failed(m_sink.beginFinalize([finalized] { finalized->set_value(); })))
        return false;
    done.wait();
    return !failed(m_sink.endFinalize());
}

bool ConvertSession::waitFor(MediaEventType type)
{
    MediaEvent event;
    while (!failed(m_stream->getEvent(event))) {
        if (failed(event.status) || event.type == MediaEventType::Error)
            return false;
        if (event.type == type)
            return true;
    }
    return false;
}

std::shared_ptr<MediaSample> ConvertSession::freeSample()
{
    for (const std::shared_ptr<MediaSample>& sample : m_samples) {
        if (sample.use_count() == 1) {
            // Pairs with the sink's release of its reference.
            std::atomic_thread_fence(std::memory_order_acquire);
            return sample;
        }
    }
    auto sample = std::make_shared<MediaSample>();
    sample->buffers.resize(1);
    m_samples.push_back(sample);
    return sample;
}
