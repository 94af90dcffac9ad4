#include "NamedEvent.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>

NamedEvent::~NamedEvent()
{
    close();
}

bool NamedEvent::create(const std::string& name)
{
    close();
    sem_t* semaphore = ::sem_open(name.c_str(), O_CREAT | O_EXCL, 0600, 0);
    if (semaphore == SEM_FAILED)
        return false;
    m_semaphore = semaphore;
    m_name = name;
    return true;
}

bool NamedEvent::wait(int timeoutMs)
{
    if (!m_semaphore)
        return false;
    if (timeoutMs < 0) {
        while (::sem_wait(m_semaphore) != 0) {
            if (errno != EINTR)
                return false;
        }
        return true;
    }
    timespec deadline;
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += long(timeoutMs % 1000) * 1000000;
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000;
    }
    while (::sem_timedwait(m_semaphore, &deadline) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

void NamedEvent::close()
{
    if (!m_semaphore)
        return;
    ::sem_close(m_semaphore);
    unlink();
    m_semaphore = nullptr;
}

void NamedEvent::unlink()
{
    if (m_name.empty())
        return;
    ::sem_unlink(m_name.c_str());
    m_name.clear();
}

bool NamedEvent::set(const std::string& name)
{
    sem_t* semaphore = ::sem_open(name.c_str(), 0);
    if (semaphore == SEM_FAILED)
        return false;
    int value = 0;
    const bool wasSet = ::sem_getvalue(semaphore, &value) == 0 && value > 0;
    const bool ok = wasSet || ::sem_post(semaphore) == 0;
    ::sem_close(semaphore);
    return ok;
}
