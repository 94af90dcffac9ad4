#include "app/hooks/InstructionLength.h"

namespace {

// Operand forms, one letter per opcode:
//   .  nothing             m  ModRM               b  imm8             z  imm16/32
//   M  ModRM, imm8         Z  ModRM, imm16/32     v  imm16/32/64      w  imm16
//   e  imm16, imm8         o  memory offset       r  rel8             R  rel32
//   f  ModRM, imm8 for /0 /1                      F  ModRM, imm16/32 for /0 /1
//   p  legacy prefix       x  REX                 0  escape to 0F     !  not decoded
const char oneByteMap[] =
    "mmmmbz!!mmmmbz!0" // 00
    "mmmmbz!!mmmmbz!!" // 10
    "mmmmbzp!mmmmbzp!" // 20
    "mmmmbzp!mmmmbzp!" // 30
    "xxxxxxxxxxxxxxxx" // 40
    "................" // 50
    "!!!mppppzZbM...." // 60
    "rrrrrrrrrrrrrrrr" // 70
    "MZ!Mmmmmmmmmmmmm" // 80
    "..........!....." // 90
    "oooo....bz......" // A0
    "bbbbbbbbvvvvvvvv" // B0
    "MMw.!!MZe.w..b!." // C0
    "mmmm!!!.mmmmmmmm" // D0
    "rrrrbbbbRR!r...." // E0
    "p.pp..fF......mm"; // F0

const char twoByteMap[] =
    "mmmm!.....!.!m!!" // 0F 00
    "mmmmmmmmmmmmmmmm" // 0F 10
    "mmmm!!!!mmmmmmmm" // 0F 20
    "......!.!!!!!!!!" // 0F 30
    "mmmmmmmmmmmmmmmm" // 0F 40
    "mmmmmmmmmmmmmmmm" // 0F 50
    "mmmmmmmmmmmmmmmm" // 0F 60
    "MMMMmmm.mm!!mmmm" // 0F 70
    "RRRRRRRRRRRRRRRR" // 0F 80
    "mmmmmmmmmmmmmmmm" // 0F 90
    "...mMm!!...mMmmm" // 0F A0
    "mmmmmmmmmmMmmmmm" // 0F B0
    "mmMmMMMm........" // 0F C0
    "mmmmmmmmmmmmmmmm" // 0F D0
    "mmmmmmmmmmmmmmmm" // 0F E0
    "mmmmmmmmmmmmmmm!"; // 0F F0

static_assert(sizeof(oneByteMap) == 257 && sizeof(twoByteMap) == 257, "one letter per opcode");

const int maxLength = 15;

bool isLegacyPrefix(std::uint8_t byte)
{
    return oneByteMap[byte] == 'p';
}

// Reads ModRM with its SIB and displacement; returns the bytes they take.
int modRMLength(const std::uint8_t* modRM, int offset, InstructionInfo& info)
{
    const int mod = modRM[0] >> 6;
    const int rm = modRM[0] & 7;
    info.hasModRM = true;
    info.modRMReg = (modRM[0] >> 3) & 7;
    if (mod == 3)
        return 1;
    int length = 1;
    if (rm == 4) {
        const bool sibWithoutBase = mod == 0 && (modRM[1] & 7) == 5;
        length = sibWithoutBase ? 6 : 2;
    } else if (mod == 0 && rm == 5) {
        info.ripDisplacementOffset = offset + 1;
        length = 5;
    }
    if (mod == 1)
        length += 1;
    if (mod == 2)
        length += 4;
    return length;
}

} // namespace

bool decodeInstruction(const std::uint8_t* code, InstructionInfo& info)
{
    info = InstructionInfo();
    int at = 0;
    bool operandSize16 = false;
    bool addressSize32 = false;
    std::uint8_t rex = 0;
    for (; at < maxLength; ++at) {
        const std::uint8_t byte = code[at];
        if (isLegacyPrefix(byte)) {
            operandSize16 |= byte == 0x66;
            addressSize32 |= byte == 0x67;
            rex = 0;
        } else if (oneByteMap[byte] == 'x') {
            rex = byte;
        } else {
            break;
        }
    }
    if (at >= maxLength)
        return false;

    char form = oneByteMap[code[at]];
    info.opcode = code[at++];
    if (form == '0') {
        info.twoByte = true;
        info.opcode = code[at];
        form = twoByteMap[code[at++]];
    }
    if (form == '!')
        return false;
    const bool modRM = form == 'm' || form == 'M' || form == 'Z' || form == 'f' || form == 'F';
    if (modRM)
        at += modRMLength(code + at, at, info);

    const int immediate16or32 = operandSize16 ? 2 : 4;
    const bool groupImmediate = info.modRMReg <= 1;
    int immediate = 0;
    switch (form) {
    case 'b': case 'M': immediate = 1; break;
    case 'z': case 'Z': immediate = immediate16or32; break;
    case 'v': immediate = (rex & 0x08) ? 8 : immediate16or32; break;
    case 'w': immediate = 2; break;
    case 'e': immediate = 3; break;
    case 'o': immediate = addressSize32 ? 4 : 8; break;
    case 'f': immediate = groupImmediate ? 1 : 0; break;
    case 'F': immediate = groupImmediate ? immediate16or32 : 0; break;
    case 'r': case 'R':
        if (operandSize16)
            return false;
        info.relOffset = at;
        info.relSize = immediate = form == 'r' ? 1 : 4;
        break;
    default: break;
    }
    at += immediate;
    if (at > maxLength)
        return false;
    info.length = at;
    return true;
}
