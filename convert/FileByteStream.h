#pragma once

#include "convert/ByteStream.h"

#include <memory>
#include <mutex>
#include <string>

// A byte stream writing to a file that it creates.
class FileByteStream : public ByteStream
{
public:
    // Creates path, which must not exist yet; null on failure.
    static std::shared_ptr<FileByteStream> createNew(const std::string& path);
    ~FileByteStream() override;

    FileByteStream(const FileByteStream&) = delete;
    FileByteStream& operator=(const FileByteStream&) = delete;

    unsigned capabilities() const override;
    MediaStatus setCurrentPosition(std::uint64_t position) override;
    MediaStatus write(const std::uint8_t* data, std::size_t size) override;
    MediaStatus close() override;

private:
    explicit FileByteStream(int fd);

    std::mutex m_mutex;
    int m_fd;
    const unsigned m_capabilities;
};
