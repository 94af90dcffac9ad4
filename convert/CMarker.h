#pragma once

#include "convert/MediaEvent.h"

enum class MarkerType { Default, EndOfSegment, Tick, Event };

// A marker placed on a stream: reported once the data before it is written.
struct CMarker
{
    MarkerType type = MarkerType::Default;
    PropValue value;
    PropValue context;
};
