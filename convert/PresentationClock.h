#pragma once

#include "convert/ClockStateSink.h"

#include <limits>
#include <mutex>
#include <vector>

// Tells its clock-state sinks when the presentation starts and stops.
class PresentationClock
{
public:
    // A start offset meaning "from where the presentation is".
    static constexpr std::int64_t CurrentPosition = std::numeric_limits<std::int64_t>::max();

    MediaStatus addClockStateSink(ClockStateSink* sink);
    MediaStatus removeClockStateSink(ClockStateSink* sink);

    // Both give the first failure of a sink; every sink is told.
    MediaStatus start(std::int64_t startOffset);
    MediaStatus stop();

private:
    std::vector<ClockStateSink*> sinks();

    std::mutex m_mutex;
    std::vector<ClockStateSink*> m_sinks;
};
