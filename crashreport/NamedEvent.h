#pragma once

#include <semaphore.h>
#include <string>

// A named event another process can set: a named semaphore that starts unset.
class NamedEvent
{
public:
    NamedEvent() = default;
    ~NamedEvent();
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;

    bool create(const std::string& name);
    bool isOpen() const { return m_semaphore != nullptr; }
    // Waits until the event is set; a negative time-out waits for ever.
    bool wait(int timeoutMs);
    void close();
    // Removes the name; the event stays open. Async-signal-safe.
    void unlink();

    static bool set(const std::string& name);

private:
    sem_t* m_semaphore = nullptr;
    std::string m_name;
};
