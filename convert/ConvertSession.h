#pragma once

#include "convert/AudioSource.h"
#include "convert/CWavSink.h"
#include "convert/PresentationClock.h"

#include <memory>
#include <vector>

// Runs the audio of a source into a WAV sink: picks the sink's type, starts the clock,
// answers each sample request, ends with a marker, stops and finalizes.
class ConvertSession
{
public:
    ConvertSession(AudioSource& source, CWavSink& sink);

    // True once the whole file has been written; the sink is shut down either way.
    bool run();

private:
    bool negotiate();
    bool stream();
    bool finish();
    // False when the session must end; `ended` once the end marker is acknowledged.
    bool handle(const MediaEvent& event, bool& ended);
    bool deliverSample();
    bool waitFor(MediaEventType type);
    std::shared_ptr<MediaSample> freeSample();

    AudioSource& m_source;
    CWavSink& m_sink;
    PresentationClock m_clock;
    CWavStream* m_stream = nullptr;
    std::uint32_t m_rate = 0;
    std::uint32_t m_frameBytes = 0;
    std::int64_t m_framesDelivered = 0;
    bool m_endPlaced = false;
    // Samples come back for reuse once the sink has let go of them.
    std::vector<std::shared_ptr<MediaSample>> m_samples;
};
