#include "convert/PresentationClock.h"

#include "platform/MediaTicks.h"

#include <algorithm>
#include <chrono>

namespace {

std::int64_t systemTime()
{
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, kTicksPerSecond>>;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<Ticks>(now).count();
}

template<typename Call>
MediaStatus tellAll(const std::vector<ClockStateSink*>& sinks, Call call)
{
    MediaStatus result = MediaStatus::Ok;
    for (ClockStateSink* sink : sinks) {
        const MediaStatus status = call(sink);
        if (!failed(result))
            result = status;
    }
    return result;
}

} // namespace

MediaStatus PresentationClock::addClockStateSink(ClockStateSink* sink)
{
    if (!sink)
        return MediaStatus::InvalidArg;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end())
        m_sinks.push_back(sink);
    return MediaStatus::Ok;
}

MediaStatus PresentationClock::removeClockStateSink(ClockStateSink* sink)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
    return MediaStatus::Ok;
}

MediaStatus PresentationClock::start(std::int64_t startOffset)
{
    const std::int64_t now = systemTime();
    return tellAll(sinks(), [&](ClockStateSink* sink) { return sink->onClockStart(now, startOffset); });
}

MediaStatus PresentationClock::stop()
{
    const std::int64_t now = systemTime();
    return tellAll(sinks(), [&](ClockStateSink* sink) { return sink->onClockStop(now); });
}

// Sinks are called outside the lock, so they may change the list meanwhile.
std::vector<ClockStateSink*> PresentationClock::sinks()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sinks;
}
