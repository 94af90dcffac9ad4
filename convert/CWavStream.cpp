#include "convert/CWavStream.h"

#include "convert/LittleEndian.h"
#include "convert/PresentationClock.h"
#include "convert/ShutdownGuard.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

using State = CWavStream::State;
using Operation = CWavStream::Operation;

constexpr std::uint32_t TypeCount = 12;
constexpr std::uint32_t Rates[] = {48000, 44100, 22050};
// The RIFF size (data + 38) is a 32-bit count too.
constexpr std::uint32_t MaxDataBytes = std::numeric_limits<std::uint32_t>::max()
    - (CWavStream::HeaderSize - 8);

// Rows: states; columns: operations, in declaration order.
constexpr bool ValidOperations[6][8] = {
    // SetMediaType Start Restart Pause  Stop   Sample Marker Finalize
    {true, false, false, false, false, false, false, false}, // TypeNotSet
    {true, true, false, true, true, false, true, true},      // Ready
    {false, true, false, true, true, true, true, true},      // Started
    {false, true, true, true, true, true, true, true},       // Stopped
    {false, true, false, false, true, false, true, true},    // Paused
    {false, false, false, false, false, false, false, false}, // Finalized
};

// Index order: two channels before one, rates falling, 16 bits before 8.
MediaType offeredType(std::uint32_t index)
{
    MediaType type;
    type.channels = index < TypeCount / 2 ? 2 : 1;
    type.samplesPerSecond = Rates[(index % (TypeCount / 2)) / 2];
    type.bitsPerSample = index % 2 == 0 ? 16 : 8;
    type.blockAlignment = type.channels * type.bitsPerSample / 8;
    type.avgBytesPerSecond = type.blockAlignment * type.samplesPerSecond;
    type.allSamplesIndependent = true;
    return type;
}

// Accepted: 8 or 16-bit PCM, one or two channels, consistent sizes.
bool isAcceptedFormat(const WaveFormat& format)
{
    const std::uint64_t avgBytes = std::uint64_t(format.samplesPerSecond) * format.blockAlignment;
    return format.formatTag == WaveFormat::TagPcm
        && (format.channels == 1 || format.channels == 2)
        && (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.size == 0
        && format.blockAlignment == format.channels * format.bitsPerSample / 8
        && avgBytes == format.avgBytesPerSecond;
}

void putTag(std::uint8_t* out, const char (&tag)[5])
{
    std::memcpy(out, tag, 4);
}

MediaStatus checkType(const MediaType& type)
{
    if (type.majorType != MajorType::Audio)
        return MediaStatus::InvalidType;
    WaveFormat format;
    if (!WaveFormat::fromMediaType(type, format) || !isAcceptedFormat(format))
        return MediaStatus::InvalidMediaType;
    return MediaStatus::Ok;
}

} // namespace

bool CWavStream::isValidOperation(State state, Operation operation)
{
    return ValidOperations[static_cast<int>(state)][static_cast<int>(operation)];
}

std::array<std::uint8_t, CWavStream::HeaderSize> CWavStream::header(const WaveFormat& format,
                                                                    std::uint32_t dataBytes)
{
    std::array<std::uint8_t, HeaderSize> out {};
    putTag(out.data(), "RIFF");
    LittleEndian::put32(out.data() + 4, dataBytes + (HeaderSize - 8));
    putTag(out.data() + 8, "WAVE");
    putTag(out.data() + 12, "fmt ");
    LittleEndian::put32(out.data() + 16, WaveFormat::BaseSize);
    const auto formatBytes = format.bytes();
    std::copy(formatBytes.begin(), formatBytes.end(), out.begin() + 20);
    putTag(out.data() + 38, "data");
    LittleEndian::put32(out.data() + 42, dataBytes);
    return out;
}

CWavStream::CWavStream(CWavSink& sink, std::shared_ptr<ByteStream> byteStream)
    : m_sink(sink)
    , m_byteStream(std::move(byteStream))
{
}

CWavStream::~CWavStream()
{
    shutdown();
}

MediaStatus CWavStream::getMediaSink(CWavSink*& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = &m_sink;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::getIdentifier(std::uint32_t& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = Identifier;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::getMediaTypeHandler(CWavStream*& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = this;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::processSample(std::shared_ptr<const MediaSample> sample)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const MediaStatus status = validate(Operation::ProcessSample);
    if (failed(status))
        return status;
    const auto overrun = [](const MediaBuffer& b) { return b.length > b.data.size(); };
    if (!sample || std::any_of(sample->buffers.begin(), sample->buffers.end(), overrun))
        return MediaStatus::InvalidArg;
    m_queue.emplace_back(std::move(sample));
    if (m_state != State::Paused)
        queueOperation(Operation::ProcessSample);
    return MediaStatus::Ok;
}

MediaStatus CWavStream::placeMarker(MarkerType type, const PropValue& value, const PropValue& context)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const MediaStatus status = validate(Operation::PlaceMarker);
    if (failed(status))
        return status;
    m_queue.emplace_back(CMarker {type, value, context});
    if (m_state != State::Paused)
        queueOperation(Operation::PlaceMarker);
    return MediaStatus::Ok;
}

MediaStatus CWavStream::flush()
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        return dropQueue();
    });
}

MediaStatus CWavStream::getEvent(MediaEvent& out, bool wait)
{
    return m_events.getEvent(out, wait);
}

MediaStatus CWavStream::isMediaTypeSupported(const MediaType& type)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        return checkType(type);
    });
}

MediaStatus CWavStream::getMediaTypeCount(std::uint32_t& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = TypeCount;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::getMediaTypeByIndex(std::uint32_t index, MediaType& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (index >= TypeCount)
            return MediaStatus::NoMoreTypes;
        out = offeredType(index);
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::setCurrentMediaType(const MediaType& type)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    MediaStatus status = validate(Operation::SetMediaType);
    if (!failed(status))
        status = checkType(type);
    if (failed(status))
        return status;
    m_mediaType = type;
    m_state = State::Ready;
    return MediaStatus::Ok;
}

MediaStatus CWavStream::getCurrentMediaType(MediaType& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (!m_mediaType)
            return MediaStatus::NotInitialized;
        out = *m_mediaType;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::getMajorType(MajorType& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = MajorType::Audio;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavStream::start(std::int64_t startOffset)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const MediaStatus status = changeState(Operation::Start, State::Started);
    if (!failed(status) && startOffset != PresentationClock::CurrentPosition)
        m_startTime = startOffset;
    return status;
}

MediaStatus CWavStream::restart()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return changeState(Operation::Restart, State::Started);
}

MediaStatus CWavStream::pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return changeState(Operation::Pause, State::Paused);
}

MediaStatus CWavStream::stop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return changeState(Operation::Stop, State::Stopped);
}

MediaStatus CWavStream::beginFinalize(std::function<void()> callback)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const MediaStatus status = validate(Operation::Finalize);
    if (failed(status))
        return status;
    m_finalizeCallback = std::move(callback);
    return changeState(Operation::Finalize, State::Finalized);
}

MediaStatus CWavStream::endFinalize()
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        return m_finalizeResult ? *m_finalizeResult : MediaStatus::InvalidRequest;
    });
}

void CWavStream::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutdown)
            return;
        m_shutdown = true;
    }
    m_workQueue.shutdown();
    m_events.shutdown();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_byteStream.reset();
    m_mediaType.reset();
    m_queue.clear();
    m_finalizeCallback = nullptr;
}

MediaStatus CWavStream::validate(Operation operation) const
{
    if (m_shutdown)
        return MediaStatus::Shutdown;
    return isValidOperation(m_state, operation) ? MediaStatus::Ok : MediaStatus::InvalidRequest;
}

MediaStatus CWavStream::changeState(Operation operation, State state)
{
    const MediaStatus status = validate(operation);
    if (failed(status))
        return status;
    m_state = state;
    queueOperation(operation);
    return MediaStatus::Ok;
}

void CWavStream::queueOperation(Operation operation)
{
    m_workQueue.put([this, operation] { dispatch(operation); });
}

void CWavStream::dispatch(Operation operation)
{
    std::function<void()> finalized;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutdown)
            return;
        switch (operation) {
        case Operation::Start:
        case Operation::Restart:
            m_events.queueEvent(MediaEventType::StreamSinkStarted);
            m_events.queueEvent(MediaEventType::StreamSinkRequestSample);
            m_events.queueEvent(MediaEventType::StreamSinkRequestSample);
            reportFailure(writeQueue());
            break;
        case Operation::Pause:
            m_events.queueEvent(MediaEventType::StreamSinkPaused);
            break;
        case Operation::Stop:
            m_events.queueEvent(MediaEventType::StreamSinkStopped, dropQueue());
            break;
        case Operation::ProcessSample: {
            const MediaStatus status = writeQueue();
            if (failed(status))
                reportFailure(status);
            else
                m_events.queueEvent(MediaEventType::StreamSinkRequestSample);
            break;
        }
        case Operation::PlaceMarker:
            reportFailure(writeQueue());
            break;
        case Operation::Finalize:
            m_finalizeResult = finalize();
            finalized.swap(m_finalizeCallback);
            break;
        case Operation::SetMediaType:
            break;
        }
    }
    if (finalized)
        finalized();
}

void CWavStream::reportFailure(MediaStatus status)
{
    if (failed(status))
        m_events.queueEvent(MediaEventType::Error, status);
}

MediaStatus CWavStream::writeQueue()
{
    return workQueue(true);
}

MediaStatus CWavStream::dropQueue()
{
    return workQueue(false);
}

// Handles the items in arrival order; after a failure the rest stays queued.
MediaStatus CWavStream::workQueue(bool write)
{
    MediaStatus result = MediaStatus::Ok;
    std::size_t done = 0;
    while (done < m_queue.size() && !failed(result)) {
        const QueueItem& item = m_queue[done++];
        if (const auto* marker = std::get_if<CMarker>(&item)) {
            const MediaStatus status = write ? MediaStatus::Ok : MediaStatus::Abort;
            m_events.queueEvent(MediaEventType::StreamSinkMarker, status, marker->context);
        } else if (write) {
            result = writeSample(*std::get<std::shared_ptr<const MediaSample>>(item));
        }
    }
    m_queue.erase(m_queue.begin(), m_queue.begin() + static_cast<std::ptrdiff_t>(done));
    return result;
}

MediaStatus CWavStream::writeSample(const MediaSample& sample)
{
    if (sample.time && *sample.time < m_startTime)
        return MediaStatus::Ok;
    for (const MediaBuffer& buffer : sample.buffers) {
        if (buffer.length > MaxDataBytes - m_dataBytes)
            return MediaStatus::DataTooLarge;
        const MediaStatus status = m_byteStream->write(buffer.data.data(), buffer.length);
        if (failed(status))
            return status;
        m_dataBytes += static_cast<std::uint32_t>(buffer.length);
    }
    return MediaStatus::Ok;
}

MediaStatus CWavStream::finalize()
{
    MediaStatus status = writeQueue();
    if (failed(status))
        return status;
    WaveFormat format;
    WaveFormat::fromMediaType(*m_mediaType, format);
    const auto bytes = header(format, m_dataBytes);
    status = m_byteStream->setCurrentPosition(0);
    if (!failed(status))
        status = m_byteStream->write(bytes.data(), bytes.size());
    if (!failed(status))
        status = m_byteStream->close();
    return status;
}
