#include "SharedMemoryBlock.h"

#include "crashreport/CrashNames.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

SharedMemoryBlock::SharedMemoryBlock()
    : m_granularity(uint64_t(::sysconf(_SC_PAGESIZE)))
{
}

SharedMemoryBlock::~SharedMemoryBlock()
{
    close();
}

bool SharedMemoryBlock::create(std::u16string_view name, bool openExisting, uint32_t sizeLow, uint32_t sizeHigh)
{
    if (isOpen())
        return false;
    const std::string systemName = sharedMemoryName(name);
    uint64_t size = uint64_t(sizeHigh) << 32 | sizeLow;
    int fd = -1;
    if (openExisting) {
        fd = ::shm_open(systemName.c_str(), O_RDWR, 0);
        struct stat st;
        if (fd >= 0 && ::fstat(fd, &st) == 0)
            size = uint64_t(st.st_size);
    } else {
        fd = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0 && ::ftruncate(fd, off_t(size)) != 0) {
            ::close(fd);
            ::shm_unlink(systemName.c_str());
            fd = -1;
        }
    }
    if (fd < 0) {
        m_size = 0;
        return false;
    }
    m_fd = fd;
    m_created = !openExisting;
    m_name = std::u16string(name);
    m_systemName = systemName;
    m_size = size;
    return true;
}

bool SharedMemoryBlock::isOpen() const
{
    return m_fd >= 0;
}

void* SharedMemoryBlock::mapView(uint64_t offset, uint64_t length)
{
    if (!isOpen() || length == 0 || offset > m_size || length > m_size - offset)
        return nullptr;
    const uint64_t base = offset - offset % m_granularity;
    const size_t mappedLength = size_t(length + (offset - base));
    void* view = ::mmap(nullptr, mappedLength, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, off_t(base));
    if (view == MAP_FAILED)
        return nullptr;
    void* address = static_cast<unsigned char*>(view) + (offset - base);
    m_views[address] = View{view, mappedLength};
    return address;
}

void SharedMemoryBlock::unmapView(void* address)
{
    const auto it = m_views.find(address);
    if (it == m_views.end())
        return;
    ::munmap(it->second.base, it->second.length);
    m_views.erase(it);
}

void SharedMemoryBlock::close()
{
    for (const auto& view : m_views)
        ::munmap(view.second.base, view.second.length);
    m_views.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        unlink();
    }
    m_fd = -1;
    m_created = false;
    m_size = 0;
}

void SharedMemoryBlock::unlink()
{
    if (m_created)
        ::shm_unlink(m_systemName.c_str());
    m_created = false;
}

void SharedMemoryBlock::destroy()
{
    close();
    m_name.clear();
}
