#include "app/hooks/ProcessMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace {

// Below this the kernel refuses mappings; above it lies the end of user space.
const std::uintptr_t lowestMapping = 0x10000;
const std::uintptr_t highestMapping = 0x7ffffffff000;

std::uintptr_t pageOf(std::uintptr_t address)
{
    return address & ~std::uintptr_t(codePageSize - 1);
}

std::uintptr_t distance(std::uintptr_t a, std::uintptr_t b)
{
    return a > b ? a - b : b - a;
}

bool parseRegion(const std::string& line, MemoryRegion& region)
{
    unsigned long start = 0;
    unsigned long end = 0;
    char permissions[5] = {};
    unsigned long long offset = 0;
    int pathAt = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx %4s %llx %*s %*s %n", &start, &end, permissions, &offset,
                    &pathAt) < 4)
        return false;
    region.start = start;
    region.end = end;
    region.fileOffset = offset;
    region.protection = (permissions[0] == 'r' ? PROT_READ : 0) | (permissions[1] == 'w' ? PROT_WRITE : 0)
        | (permissions[2] == 'x' ? PROT_EXEC : 0);
    region.path = pathAt > 0 ? line.substr(std::size_t(pathAt)) : std::string();
    return true;
}

// Page-aligned starts of free pages, one per gap in [low, high], the closest to near first.
std::vector<std::uintptr_t> freePagesNear(std::uintptr_t near, std::uintptr_t low, std::uintptr_t high)
{
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> candidates; // distance, page
    std::uintptr_t gapStart = lowestMapping;
    std::vector<MemoryRegion> regions = memoryRegions();
    MemoryRegion top;
    top.start = top.end = highestMapping;
    regions.push_back(top);
    for (const MemoryRegion& region : regions) {
        const std::uintptr_t from = pageOf(std::max(gapStart, low) + codePageSize - 1);
        const std::uintptr_t to = pageOf(std::min(region.start, high));
        gapStart = std::max(gapStart, region.end);
        if (to < from + codePageSize)
            continue;
        const std::uintptr_t page = to <= near ? to - codePageSize : from;
        candidates.emplace_back(distance(page, near), page);
    }
    std::sort(candidates.begin(), candidates.end());
    std::vector<std::uintptr_t> pages;
    for (const auto& candidate : candidates)
        pages.push_back(candidate.second);
    return pages;
}

} // namespace

std::vector<MemoryRegion> memoryRegions()
{
    std::vector<MemoryRegion> regions;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        MemoryRegion region;
        if (parseRegion(line, region))
            regions.push_back(std::move(region));
    }
    return regions;
}

MemoryRegion regionAt(std::uintptr_t address)
{
    for (const MemoryRegion& region : memoryRegions()) {
        if (region.contains(address))
            return region;
    }
    return MemoryRegion();
}

bool isExecutable(const void* address)
{
    return (regionAt(reinterpret_cast<std::uintptr_t>(address)).protection & PROT_EXEC) != 0;
}

bool pageWithinReach(std::uintptr_t pageStart, const void* near, std::uintptr_t maxDistance)
{
    const std::uintptr_t target = reinterpret_cast<std::uintptr_t>(near);
    return distance(pageStart, target) <= maxDistance && distance(pageStart + codePageSize, target) <= maxDistance;
}

void* mapCodePageNear(const void* near, std::uintptr_t maxDistance)
{
    const std::uintptr_t target = reinterpret_cast<std::uintptr_t>(near);
    const std::uintptr_t low = target > maxDistance ? target - maxDistance : 0;
    const std::uintptr_t high = std::min(target + maxDistance, highestMapping);
    for (std::uintptr_t hint : freePagesNear(target, low, high)) {
        void* page = mmap(reinterpret_cast<void*>(hint), codePageSize, PROT_READ | PROT_EXEC,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED)
            continue;
        if (pageWithinReach(reinterpret_cast<std::uintptr_t>(page), near, maxDistance))
            return page;
        munmap(page, codePageSize);
    }
    return nullptr;
}

bool writeCode(void* at, const void* bytes, std::size_t size)
{
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t first = pageOf(address);
    const std::uintptr_t last = pageOf(address + size - 1);
    std::vector<int> earlier;
    for (std::uintptr_t page = first; page <= last; page += codePageSize) {
        const MemoryRegion region = regionAt(page);
        if (region.start == region.end)
            return false;
        earlier.push_back(region.protection);
    }
    void* pages = reinterpret_cast<void*>(first);
    const std::size_t length = last - first + codePageSize;
    if (mprotect(pages, length, PROT_READ | PROT_WRITE | PROT_EXEC) != 0)
        return false;
    std::memcpy(at, bytes, size);
    bool restored = true;
    for (std::size_t i = 0; i < earlier.size(); ++i)
        restored &= mprotect(reinterpret_cast<void*>(first + i * codePageSize), codePageSize, earlier[i]) == 0;
    char* code = static_cast<char*>(at);
    __builtin___clear_cache(code, code + size);
    return restored;
}
