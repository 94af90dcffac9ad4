#include "convert/CWavSink.h"

#include "convert/PresentationClock.h"
#include "convert/ShutdownGuard.h"

MediaStatus CWavSink::create(std::shared_ptr<ByteStream> byteStream, std::unique_ptr<CWavSink>& out)
{
    if (!byteStream)
        return MediaStatus::InvalidArg;
    const unsigned needed = ByteStream::Writable | ByteStream::Seekable;
    if ((byteStream->capabilities() & needed) != needed)
        return MediaStatus::Fail;
    const MediaStatus status = byteStream->setCurrentPosition(CWavStream::HeaderSize);
    if (failed(status))
        return status;
    out.reset(new CWavSink(std::move(byteStream)));
    return MediaStatus::Ok;
}

CWavSink::CWavSink(std::shared_ptr<ByteStream> byteStream)
    : m_stream(*this, std::move(byteStream))
{
}

CWavSink::~CWavSink()
{
    shutdown();
}

MediaStatus CWavSink::getCharacteristics(unsigned& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = FixedStreams | Rateless;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::addStreamSink(std::uint32_t, const MediaType&, CWavStream*&)
{
    return unlessShutdown(m_mutex, m_shutdown, [] { return MediaStatus::StreamSinksFixed; });
}

MediaStatus CWavSink::removeStreamSink(std::uint32_t)
{
    return unlessShutdown(m_mutex, m_shutdown, [] { return MediaStatus::StreamSinksFixed; });
}

MediaStatus CWavSink::getStreamSinkCount(std::uint32_t& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        out = 1;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::getStreamSinkByIndex(std::uint32_t index, CWavStream*& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (index != 0)
            return MediaStatus::InvalidIndex;
        out = &m_stream;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::getStreamSinkById(std::uint32_t id, CWavStream*& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (id != CWavStream::Identifier)
            return MediaStatus::InvalidStreamNumber;
        out = &m_stream;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::setPresentationClock(PresentationClock* clock)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (m_clock) {
            const MediaStatus status = m_clock->removeClockStateSink(this);
            if (failed(status))
                return status;
        }
        if (clock) {
            const MediaStatus status = clock->addClockStateSink(this);
            if (failed(status))
                return status;
        }
        m_clock = clock;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::getPresentationClock(PresentationClock*& out)
{
    return unlessShutdown(m_mutex, m_shutdown, [&] {
        if (!m_clock)
            return MediaStatus::NoClock;
        out = m_clock;
        return MediaStatus::Ok;
    });
}

MediaStatus CWavSink::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutdown)
            return MediaStatus::Shutdown;
        m_shutdown = true;
        if (m_clock)
            m_clock->removeClockStateSink(this);
        m_clock = nullptr;
    }
    // Outside the lock: a finalize callback may still be calling in.
    m_stream.shutdown();
    return MediaStatus::Ok;
}

MediaStatus CWavSink::beginFinalize(std::function<void()> callback)
{
    CWavStream* s = stream();
    return s ? s->beginFinalize(std::move(callback)) : MediaStatus::Shutdown;
}

MediaStatus CWavSink::endFinalize()
{
    CWavStream* s = stream();
    return s ? s->endFinalize() : MediaStatus::Shutdown;
}

MediaStatus CWavSink::onClockStart(std::int64_t, std::int64_t startOffset)
{
    CWavStream* s = stream();
    return s ? s->start(startOffset) : MediaStatus::Shutdown;
}

MediaStatus CWavSink::onClockStop(std::int64_t)
{
    CWavStream* s = stream();
    return s ? s->stop() : MediaStatus::Shutdown;
}

MediaStatus CWavSink::onClockPause(std::int64_t)
{
    CWavStream* s = stream();
    return s ? s->pause() : MediaStatus::Shutdown;
}

MediaStatus CWavSink::onClockRestart(std::int64_t)
{
    CWavStream* s = stream();
    return s ? s->restart() : MediaStatus::Shutdown;
}

MediaStatus CWavSink::onClockSetRate(std::int64_t, float)
{
    return unlessShutdown(m_mutex, m_shutdown, [] { return MediaStatus::Ok; });
}

CWavStream* CWavSink::stream()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shutdown ? nullptr : &m_stream;
}
