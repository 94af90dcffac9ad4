#pragma once

#include <cstdint>

// Length of one x86-64 instruction (64-bit mode), for the subset that function prologues use:
// - legacy prefixes F0 F2 F3 2E 36 3E 26 64 65 66 67, any number; 66 makes imm16/32 operands
//   two bytes and 67 makes a memory offset (A0-A3) four bytes instead of eight;
// - one REX prefix (40-4F) right before the opcode (one that a legacy prefix follows is ignored);
//   REX.W makes B8+r take an eight-byte immediate;
// - the one-byte map and the 0F map, with ModRM, SIB, displacement and immediate;
//   F6 and F7 take an immediate only with ModRM.reg 0 or 1.
// Not decoded (the result is invalid): VEX (C4, C5), EVEX (62), the 0F 38 and 0F 3A maps,
// opcodes undefined in 64-bit mode, near branches with a 66 prefix, more than 15 bytes.
struct InstructionInfo
{
    int length = 0;
    std::uint8_t opcode = 0;
    bool twoByte = false; // opcode from the 0F map
    bool hasModRM = false;
    std::uint8_t modRMReg = 0;
    // A relative branch: offset and width (1 or 4) of its displacement; 0 when none.
    int relOffset = 0;
    int relSize = 0;
    // A RIP-relative memory operand: offset of its 32-bit displacement; 0 when none.
    int ripDisplacementOffset = 0;
};

// False for code outside the subset.
bool decodeInstruction(const std::uint8_t* code, InstructionInfo& info);
