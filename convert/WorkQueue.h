#pragma once

#include "convert/MediaStatus.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Runs queued work items one after another on a thread of its own.
class WorkQueue
{
public:
    using Item = std::function<void()>;

    WorkQueue();
    ~WorkQueue();

    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    MediaStatus put(Item item);
    // Drops the waiting items and joins the thread; call it from another thread.
    void shutdown();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Item> m_items;
    bool m_shutdown = false;
    std::thread m_thread;
};
