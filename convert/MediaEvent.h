#pragma once

#include "convert/MediaStatus.h"

#include <cstdint>
#include <optional>

// A value carried by markers and events; empty when none.
using PropValue = std::optional<std::int64_t>;

enum class MediaEventType {
    StreamSinkStarted,
    StreamSinkStopped,
    StreamSinkPaused,
    StreamSinkRequestSample,
    StreamSinkMarker,
    Error,
};

struct MediaEvent
{
    MediaEventType type = MediaEventType::Error;
    MediaStatus status = MediaStatus::Ok;
    PropValue value;
};
