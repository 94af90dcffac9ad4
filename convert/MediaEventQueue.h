#pragma once

#include "convert/MediaEvent.h"

#include <condition_variable>
#include <mutex>
#include <vector>

// Thread-safe first-in first-out queue of media events.
class MediaEventQueue
{
public:
    // Waits for an event when `wait` is true, else gives NoEventsAvailable.
    MediaStatus getEvent(MediaEvent& out, bool wait = true);
    MediaStatus queueEvent(MediaEventType type, MediaStatus status = MediaStatus::Ok,
                           PropValue value = {});
    // Wakes every waiter; later calls give Shutdown.
    void shutdown();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Read from m_head on; the storage is reused once drained.
    std::vector<MediaEvent> m_events;
    std::size_t m_head = 0;
    bool m_shutdown = false;
};
