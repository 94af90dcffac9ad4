#include "convert/WorkQueue.h"

WorkQueue::WorkQueue()
    : m_thread(&WorkQueue::run, this)
{
}

WorkQueue::~WorkQueue()
{
    shutdown();
}

MediaStatus WorkQueue::put(Item item)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutdown)
            return MediaStatus::Shutdown;
        m_items.push_back(std::move(item));
    }
    m_changed.notify_one();
    return MediaStatus::Ok;
}

void WorkQueue::shutdown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shutdown = true;
        m_items.clear();
    }
    m_changed.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void WorkQueue::run()
{
    std::vector<Item> batch;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_shutdown || !m_items.empty(); });
            if (m_shutdown)
                return;
            batch.swap(m_items);
        }
        for (Item& item : batch)
            item();
        batch.clear();
    }
}
