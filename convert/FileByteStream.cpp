#include "convert/FileByteStream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

unsigned capabilitiesOf(int fd)
{
    const bool seekable = lseek(fd, 0, SEEK_CUR) != -1;
    return ByteStream::Writable | (seekable ? ByteStream::Seekable : 0u);
}

} // namespace

std::shared_ptr<FileByteStream> FileByteStream::createNew(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd == -1)
        return nullptr;
    return std::shared_ptr<FileByteStream>(new FileByteStream(fd));
}

FileByteStream::FileByteStream(int fd)
    : m_fd(fd)
    , m_capabilities(capabilitiesOf(fd))
{
}

FileByteStream::~FileByteStream()
{
    close();
}

unsigned FileByteStream::capabilities() const
{
    return m_capabilities;
}

MediaStatus FileByteStream::setCurrentPosition(std::uint64_t position)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd == -1)
        return MediaStatus::Shutdown;
    if (position > static_cast<std::uint64_t>(INT64_MAX))
        return MediaStatus::InvalidArg;
    return lseek(m_fd, static_cast<off_t>(position), SEEK_SET) == -1 ? MediaStatus::IoError
                                                                     : MediaStatus::Ok;
}

MediaStatus FileByteStream::write(const std::uint8_t* data, std::size_t size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd == -1)
        return MediaStatus::Shutdown;
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written == -1 && errno == EINTR)
            continue;
        if (written <= 0)
            return MediaStatus::IoError;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return MediaStatus::Ok;
}

MediaStatus FileByteStream::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd == -1)
        return MediaStatus::Ok;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? MediaStatus::Ok : MediaStatus::IoError;
}
