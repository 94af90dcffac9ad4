#pragma once

#include "convert/MediaStatus.h"

#include <cstdint>

// Receives the state changes of a presentation clock; times in 100 ns units.
class ClockStateSink
{
public:
    virtual ~ClockStateSink() = default;

    virtual MediaStatus onClockStart(std::int64_t systemTime, std::int64_t startOffset) = 0;
    virtual MediaStatus onClockStop(std::int64_t systemTime) = 0;
    virtual MediaStatus onClockPause(std::int64_t systemTime) = 0;
    virtual MediaStatus onClockRestart(std::int64_t systemTime) = 0;
    virtual MediaStatus onClockSetRate(std::int64_t systemTime, float rate) = 0;
};
