#pragma once

#include "convert/MediaStatus.h"

#include <mutex>

// The guard of a call on the WAV sink or its stream: it runs under the object's lock,
// and once the object is shut down it does not run and the answer is Shutdown.
template <typename Call>
MediaStatus unlessShutdown(std::mutex& mutex, const bool& shutdown, Call&& call)
{
    std::lock_guard<std::mutex> lock(mutex);
    return shutdown ? MediaStatus::Shutdown : call();
}
