#include "convert/MediaEventQueue.h"

MediaStatus MediaEventQueue::getEvent(MediaEvent& out, bool wait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (wait)
        m_changed.wait(lock, [this] { return m_shutdown || m_head < m_events.size(); });
    if (m_shutdown)
        return MediaStatus::Shutdown;
    if (m_head == m_events.size())
        return MediaStatus::NoEventsAvailable;
    out = m_events[m_head++];
    if (m_head == m_events.size()) {
        m_events.clear();
        m_head = 0;
    }
    return MediaStatus::Ok;
}

MediaStatus MediaEventQueue::queueEvent(MediaEventType type, MediaStatus status, PropValue value)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutdown)
            return MediaStatus::Shutdown;
        m_events.push_back({type, status, value});
    }
    m_changed.notify_one();
    return MediaStatus::Ok;
}

void MediaEventQueue::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shutdown = true;
        m_events.clear();
        m_head = 0;
    }
    m_changed.notify_all();
}
