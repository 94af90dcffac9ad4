#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The mappings of this process, as /proc/self/maps lists them.
struct MemoryRegion
{
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    int protection = 0; // PROT_READ, PROT_WRITE, PROT_EXEC bits
    std::uint64_t fileOffset = 0;
    std::string path;

    bool contains(std::uintptr_t address) const { return start <= address && address < end; }
};

std::vector<MemoryRegion> memoryRegions();
// The region that holds the address; an empty region (start == end) when none does.
MemoryRegion regionAt(std::uintptr_t address);
bool isExecutable(const void* address);

const std::size_t codePageSize = 4096;

// Whether every byte of the page at pageStart lies within maxDistance bytes of near.
bool pageWithinReach(std::uintptr_t pageStart, const void* near, std::uintptr_t maxDistance);

// Maps one page of code (read and execute) within maxDistance bytes of near, trying the
// free gaps closest to it first; null when none can be had.
void* mapCodePageNear(const void* near, std::uintptr_t maxDistance);

// Writes code over mapped pages: makes them writable for the copy, then gives each page
// its own earlier protection back and clears the instruction cache. False when a
// protection change is refused.
bool writeCode(void* at, const void* bytes, std::size_t size);
