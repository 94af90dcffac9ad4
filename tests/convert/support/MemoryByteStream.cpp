#include "support/MemoryByteStream.h"

#include <algorithm>

MemoryByteStream::MemoryByteStream(unsigned capabilities)
    : m_capabilities(capabilities)
{
}

unsigned MemoryByteStream::capabilities() const
{
    return m_capabilities;
}

MediaStatus MemoryByteStream::setCurrentPosition(std::uint64_t position)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed)
        return MediaStatus::Shutdown;
    if (!(m_capabilities & Seekable))
        return MediaStatus::InvalidRequest;
    if (position > m_bytes.max_size())
        return MediaStatus::InvalidArg;
    m_position = static_cast<std::size_t>(position);
    return MediaStatus::Ok;
}

MediaStatus MemoryByteStream::write(const std::uint8_t* data, std::size_t size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed)
        return MediaStatus::Shutdown;
    if (!(m_capabilities & Writable))
        return MediaStatus::InvalidRequest;
    if (m_bytes.size() < m_position + size)
        m_bytes.resize(m_position + size);
    std::copy(data, data + size, m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position));
    m_position += size;
    return MediaStatus::Ok;
}

MediaStatus MemoryByteStream::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    return MediaStatus::Ok;
}

std::vector<std::uint8_t> MemoryByteStream::bytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

bool MemoryByteStream::isClosed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_closed;
}
