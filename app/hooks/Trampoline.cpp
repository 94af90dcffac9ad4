#include "app/hooks/Trampoline.h"

#include "app/hooks/InstructionLength.h"
#include "app/hooks/ProcessMemory.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <limits>

namespace {

const std::size_t maxInstructions = 8;

bool fitsInt32(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

bool isPadding(std::uint8_t byte)
{
    return byte == 0x00 || byte == 0x90 || byte == 0xcc;
}

bool allPadding(const std::uint8_t* from, const std::uint8_t* to)
{
    return std::all_of(from, to, isPadding);
}

std::int64_t readDisplacement(const std::uint8_t* at, int size)
{
    if (size == 1)
        return std::int8_t(at[0]);
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void writeInt32(std::uint8_t* at, std::int64_t value)
{
    const std::int32_t narrow = std::int32_t(value);
    std::memcpy(at, &narrow, sizeof narrow);
}

class Builder
{
public:
    Builder(const std::uint8_t* target, std::uintptr_t at, std::vector<std::uint8_t>& code)
        : m_target(target), m_at(at), m_code(code)
    {
    }

    // Moves the instructions; false for code it cannot move.
    bool moveInstructions();
    bool fixInternalJumps();
    bool appendJumpBack() { return appendBranch({0xe9}, address(m_target + m_moved)); }
    bool ended() const { return m_ended; }
    int moved() const { return m_moved; }

private:
    struct InternalJump
    {
        std::size_t displacementAt; // in the trampoline
        int displacementSize;
        int destination; // offset in the target
    };

    static std::uintptr_t address(const std::uint8_t* p) { return reinterpret_cast<std::uintptr_t>(p); }
    std::uintptr_t here() const { return m_at + m_code.size(); }
    bool moveInstruction(const std::uint8_t* instruction, const InstructionInfo& info);
    bool moveBranch(const std::uint8_t* instruction, const InstructionInfo& info);
    bool copyWithRipDisplacement(const std::uint8_t* instruction, const InstructionInfo& info);
    bool appendBranch(std::initializer_list<std::uint8_t> opcode, std::uintptr_t destination);
    void endUnlessJumpedPast() { m_ended = m_moved >= m_furthestInternal; }

    const std::uint8_t* m_target;
    std::uintptr_t m_at;
    std::vector<std::uint8_t>& m_code;
    std::vector<std::pair<int, std::size_t>> m_starts; // offsets in the target and the trampoline
    std::vector<InternalJump> m_internalJumps;
    int m_moved = 0;
    int m_furthestInternal = 0;
    bool m_ended = false;
};

bool Builder::moveInstructions()
{
    while (m_moved < nearJumpSize && !m_ended) {
        if (m_starts.size() == maxInstructions)
            return false;
        const std::uint8_t* instruction = m_target + m_moved;
        InstructionInfo info;
        if (!decodeInstruction(instruction, info))
            return false;
        m_starts.emplace_back(m_moved, m_code.size());
        if (!moveInstruction(instruction, info))
            return false;
        m_moved += info.length;
    }
    return true;
}

bool Builder::moveInstruction(const std::uint8_t* instruction, const InstructionInfo& info)
{
    if (info.relSize)
        return moveBranch(instruction, info);
    if (!copyWithRipDisplacement(instruction, info))
        return false;
    const bool ret = !info.twoByte && (info.opcode == 0xc3 || info.opcode == 0xc2);
    const bool indirectJump = !info.twoByte && info.opcode == 0xff && (info.modRMReg == 4 || info.modRMReg == 5);
    if (ret || indirectJump)
        endUnlessJumpedPast();
    return true;
}

bool Builder::moveBranch(const std::uint8_t* instruction, const InstructionInfo& info)
{
    const std::uintptr_t next = address(instruction) + info.length;
    const std::uintptr_t destination = next + readDisplacement(instruction + info.relOffset, info.relSize);
    const std::uint8_t opcode = info.opcode;
    const bool call = !info.twoByte && opcode == 0xe8;
    const bool internal = !call && destination >= address(m_target)
        && destination < address(m_target) + nearJumpSize;
    if (internal) {
        const int offset = int(destination - address(m_target));
        m_internalJumps.push_back({m_code.size() + info.relOffset, info.relSize, offset});
        m_furthestInternal = std::max(m_furthestInternal, offset);
        m_code.insert(m_code.end(), instruction, instruction + info.length);
        return true;
    }
    if (call)
        return appendBranch({0xe8}, destination);
    if (!info.twoByte && (opcode == 0xe9 || opcode == 0xeb)) {
        endUnlessJumpedPast();
        return appendBranch({0xe9}, destination);
    }
    if (!info.twoByte && opcode >= 0x70 && opcode <= 0x7f)
        return appendBranch({0x0f, std::uint8_t(0x80 | (opcode & 0x0f))}, destination);
    if (info.twoByte)
        return appendBranch({0x0f, opcode}, destination);
    return false; // loop, loope, loopne, jrcxz leaving the moved bytes
}

bool Builder::copyWithRipDisplacement(const std::uint8_t* instruction, const InstructionInfo& info)
{
    const std::size_t start = m_code.size();
    m_code.insert(m_code.end(), instruction, instruction + info.length);
    if (!info.ripDisplacementOffset)
        return true;
    const std::int64_t moved = std::int64_t(address(instruction)) - std::int64_t(m_at + start);
    const std::int64_t displacement = readDisplacement(instruction + info.ripDisplacementOffset, 4) + moved;
    if (!fitsInt32(displacement))
        return false;
    writeInt32(m_code.data() + start + info.ripDisplacementOffset, displacement);
    return true;
}

bool Builder::appendBranch(std::initializer_list<std::uint8_t> opcode, std::uintptr_t destination)
{
    m_code.insert(m_code.end(), opcode);
    const std::int64_t displacement = std::int64_t(destination) - std::int64_t(here() + 4);
    if (!fitsInt32(displacement))
        return false;
    m_code.resize(m_code.size() + 4);
    writeInt32(m_code.data() + m_code.size() - 4, displacement);
    return true;
}

bool Builder::fixInternalJumps()
{
    for (const InternalJump& jump : m_internalJumps) {
        const auto start = std::find_if(m_starts.begin(), m_starts.end(),
                                        [&jump](const auto& s) { return s.first == jump.destination; });
        if (start == m_starts.end())
            return false; // into the middle of an instruction
        const std::int64_t displacement =
            std::int64_t(start->second) - std::int64_t(jump.displacementAt + jump.displacementSize);
        if (jump.displacementSize == 1) {
            if (displacement < -128 || displacement > 127)
                return false;
            m_code[jump.displacementAt] = std::uint8_t(std::int8_t(displacement));
        } else {
            writeInt32(m_code.data() + jump.displacementAt, displacement);
        }
    }
    return true;
}

// Whether a function of `moved` bytes can take the jump: padding after it, or above it.
bool placeJump(const std::uint8_t* target, int moved, Trampoline& trampoline)
{
    if (moved >= nearJumpSize || allPadding(target + moved, target + nearJumpSize))
        return true;
    const std::uint8_t* above = target - nearJumpSize;
    if (moved < 2 || !isExecutable(above) || !allPadding(above, target))
        return false;
    trampoline.patchAbove = true;
    return true;
}

} // namespace

void writeNearJump(std::uint8_t* bytes, std::uintptr_t from, std::uintptr_t to)
{
    bytes[0] = 0xe9;
    writeInt32(bytes + 1, std::int64_t(to) - std::int64_t(from + nearJumpSize));
}

bool buildTrampoline(const std::uint8_t* target, std::uintptr_t at, std::size_t capacity, Trampoline& trampoline)
{
    trampoline = Trampoline();
    Builder builder(target, at, trampoline.code);
    if (!builder.moveInstructions())
        return false;
    if (!builder.ended() && !builder.appendJumpBack())
        return false;
    if (!builder.fixInternalJumps() || !placeJump(target, builder.moved(), trampoline))
        return false;
    return trampoline.code.size() <= capacity;
}
