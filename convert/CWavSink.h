#pragma once

#include "convert/ClockStateSink.h"
#include "convert/CWavStream.h"

#include <memory>

class PresentationClock;

// A media sink with one fixed stream that writes a WAV file to a byte stream.
class CWavSink : public ClockStateSink
{
public:
    enum Characteristic : unsigned {
        FixedStreams = 1,
        Rateless = 4,
    };

    // The byte stream must be writable and seekable.
    static MediaStatus create(std::shared_ptr<ByteStream> byteStream, std::unique_ptr<CWavSink>& out);
    ~CWavSink() override;

    CWavSink(const CWavSink&) = delete;
    CWavSink& operator=(const CWavSink&) = delete;

    MediaStatus getCharacteristics(unsigned& out);
    MediaStatus addStreamSink(std::uint32_t id, const MediaType& type, CWavStream*& out);
    MediaStatus removeStreamSink(std::uint32_t id);
    MediaStatus getStreamSinkCount(std::uint32_t& out);
    MediaStatus getStreamSinkByIndex(std::uint32_t index, CWavStream*& out);
    MediaStatus getStreamSinkById(std::uint32_t id, CWavStream*& out);
    // The clock must outlive the sink or be replaced before it goes.
    MediaStatus setPresentationClock(PresentationClock* clock);
    MediaStatus getPresentationClock(PresentationClock*& out);
    MediaStatus shutdown();

    // Writes the header; `callback` runs on the sink's thread once done.
    MediaStatus beginFinalize(std::function<void()> callback);
    MediaStatus endFinalize();

    MediaStatus onClockStart(std::int64_t systemTime, std::int64_t startOffset) override;
    MediaStatus onClockStop(std::int64_t systemTime) override;
    MediaStatus onClockPause(std::int64_t systemTime) override;
    MediaStatus onClockRestart(std::int64_t systemTime) override;
    MediaStatus onClockSetRate(std::int64_t systemTime, float rate) override;

private:
    explicit CWavSink(std::shared_ptr<ByteStream> byteStream);

    // The stream, or null once shut down.
    CWavStream* stream();

    std::mutex m_mutex;
    bool m_shutdown = false;
    PresentationClock* m_clock = nullptr;
    CWavStream m_stream;
};
