#pragma once

#include "convert/ByteStream.h"
#include "convert/CMarker.h"
#include "convert/MediaEventQueue.h"
#include "convert/MediaSample.h"
#include "convert/MediaType.h"
#include "convert/WorkQueue.h"

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>

class CWavSink;

// The one stream of the WAV sink: takes PCM samples and writes them after a reserved header.
class CWavStream
{
public:
    enum class State { TypeNotSet, Ready, Started, Stopped, Paused, Finalized };
    enum class Operation { SetMediaType, Start, Restart, Pause, Stop, ProcessSample, PlaceMarker, Finalize };

    static constexpr std::uint32_t Identifier = 1;
    static constexpr std::uint32_t HeaderSize = 46;

    static bool isValidOperation(State state, Operation operation);
    // The header that describes `dataBytes` bytes of samples in `format`.
    static std::array<std::uint8_t, HeaderSize> header(const WaveFormat& format,
                                                       std::uint32_t dataBytes);

    CWavStream(CWavSink& sink, std::shared_ptr<ByteStream> byteStream);
    ~CWavStream();

    CWavStream(const CWavStream&) = delete;
    CWavStream& operator=(const CWavStream&) = delete;

    // Stream sink.
    MediaStatus getMediaSink(CWavSink*& out);
    MediaStatus getIdentifier(std::uint32_t& out);
    MediaStatus getMediaTypeHandler(CWavStream*& out);
    MediaStatus processSample(std::shared_ptr<const MediaSample> sample);
    MediaStatus placeMarker(MarkerType type, const PropValue& value, const PropValue& context);
    MediaStatus flush();
    MediaStatus getEvent(MediaEvent& out, bool wait = true);

    // Media type handler.
    MediaStatus isMediaTypeSupported(const MediaType& type);
    MediaStatus getMediaTypeCount(std::uint32_t& out);
    MediaStatus getMediaTypeByIndex(std::uint32_t index, MediaType& out);
    MediaStatus setCurrentMediaType(const MediaType& type);
    MediaStatus getCurrentMediaType(MediaType& out);
    MediaStatus getMajorType(MajorType& out);

    // Driven by the sink.
    MediaStatus start(std::int64_t startTime);
    MediaStatus restart();
    MediaStatus pause();
    MediaStatus stop();
    MediaStatus beginFinalize(std::function<void()> callback);
    MediaStatus endFinalize();
    void shutdown();

private:
    using QueueItem = std::variant<std::shared_ptr<const MediaSample>, CMarker>;

    MediaStatus validate(Operation operation) const;
    MediaStatus changeState(Operation operation, State state);
    void queueOperation(Operation operation);
    void dispatch(Operation operation);
    MediaStatus writeQueue();
    MediaStatus dropQueue();
    MediaStatus workQueue(bool write);
    MediaStatus writeSample(const MediaSample& sample);
    MediaStatus finalize();
    void reportFailure(MediaStatus status);

    CWavSink& m_sink;
    mutable std::mutex m_mutex;
    bool m_shutdown = false;
    State m_state = State::TypeNotSet;
    MediaEventQueue m_events;
    std::shared_ptr<ByteStream> m_byteStream;
    std::optional<MediaType> m_mediaType;
    std::vector<QueueItem> m_queue;
    std::int64_t m_startTime = 0;
    std::uint32_t m_dataBytes = 0;
    std::optional<MediaStatus> m_finalizeResult;
    std::function<void()> m_finalizeCallback;
    // Last member: its thread is joined before the others go.
    WorkQueue m_workQueue;
};
