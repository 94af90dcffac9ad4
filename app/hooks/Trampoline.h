#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Code that runs the first instructions of a function somewhere else and then jumps back
// to the rest of it, so that those instructions can be overwritten by a jump.
struct Trampoline
{
    std::vector<std::uint8_t> code; // for the address it was built for
    // The function is shorter than a jump and has no padding after it: the jump goes into
    // the five padding bytes above it, and the function starts with a short jump to them.
    bool patchAbove = false;
};

// A near jump: E9 and a 32-bit displacement.
const int nearJumpSize = 5;

// Writes a near jump from `from` to `to` into five bytes (the distance fits 32 bits).
void writeNearJump(std::uint8_t* bytes, std::uintptr_t from, std::uintptr_t to);

// Builds the trampoline of target for the address at; false when the target's code is not
// supported or the result would exceed capacity bytes. At most eight instructions are moved:
// - relative calls, and jumps that leave the first five bytes, become their rel32 forms, a
//   short conditional jump its near form; loop and jrcxz (E0-E3) that leave them are refused;
// - a jump into the first five bytes stays short and is pointed at the moved instruction;
// - RIP-relative displacements are recomputed; one that no longer fits 32 bits is refused;
// - a return or an unconditional jump that nothing jumps past ends the function; one that
//   ends before five bytes needs padding (00, 90, CC) after it, or else five padding bytes
//   above it in executable memory and two bytes of its own.
bool buildTrampoline(const std::uint8_t* target, std::uintptr_t at, std::size_t capacity, Trampoline& trampoline);
