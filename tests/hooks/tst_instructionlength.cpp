#include <QtTest>

#include "app/hooks/InstructionLength.h"

// Lengths over the decoder's subset, with its prefix and group traps, and what it refuses.
class TestInstructionLength : public QObject
{
    Q_OBJECT

private slots:
    void lengths_data();
    void lengths();
};

void TestInstructionLength::lengths_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("length"); // 0: not decoded
    QTest::addColumn<int>("relOffset");
    QTest::addColumn<int>("relSize");
    QTest::addColumn<int>("ripOffset");

    auto row = [](const char* name, const char* hex, int length, int relOffset = 0, int relSize = 0,
                  int ripOffset = 0) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << length << relOffset << relSize << ripOffset;
    };
    row("push rbp", "55", 1);
    row("push r14 (REX.B)", "4156", 2);
    row("mov rbp, rdi", "4889fd", 3);
    row("sub rsp, imm8", "4883ec30", 4);
    row("sub rsp, imm32", "4881ec00010000", 7);
    row("mov rbx, [rdi+8]", "488b5f08", 4);
    row("mov eax, [rax+disp32]", "8b8000010000", 6);
    row("mov eax, [rsp+8] (SIB, disp8)", "8b442408", 4);
    row("mov eax, [rsp+rax*8+disp32]", "8b84c400010000", 7);
    row("mov rax, fs:[0x28] (SIB without base)", "64488b042528000000", 9);
    row("lea rdi, [rbx+0x128]", "488dbb28010000", 7);
    row("lea rax, [rip+disp]", "488d0510000000", 7, 0, 0, 3);
    row("cmp byte [rip+disp], imm8", "803d1000000001", 7, 0, 0, 2);
    row("call rel32", "e89fdaffff", 5, 1, 4);
    row("jmp rel32", "e900000000", 5, 1, 4);
    row("jmp short", "ebf9", 2, 1, 1);
    row("jz short", "7405", 2, 1, 1);
    row("jz near", "0f8400010000", 6, 2, 4);
    row("loop", "e2fe", 2, 1, 1);
    row("jrcxz", "e300", 2, 1, 1);
    row("endbr64", "f30f1efa", 4);
    row("nop dword [rax+rax]", "0f1f440000", 5);
    row("ret", "c3", 1);
    row("ret imm16", "c20800", 3);
    row("enter", "c8100000", 4);
    row("int3", "cc", 1);
    row("mov eax, imm32", "b801000000", 5);
    row("mov rax, imm64 (REX.W)", "48b80102030405060708", 10);
    row("mov ax, imm16 (66)", "66b83412", 4);
    row("REX then 66: REX ignored", "4866b83412", 5);
    row("add ax, imm16 (66)", "66053412", 4);
    row("push imm32", "6800010000", 5);
    row("imul eax, [rax], imm32", "690078563412", 6);
    row("mov al, moffs64", "a00102030405060708", 9);
    row("mov al, moffs32 (67)", "67a001020304", 6);
    row("lea eax, [eax+4] (67 keeps ModRM)", "678d4004", 4);
    row("test byte [rax], imm8 (F6 /0)", "f60012", 3);
    row("test byte [rax], imm8 (F6 /1)", "f60812", 3);
    row("not byte [rax] (F6 /2)", "f610", 2);
    row("test dword [rax], imm32 (F7 /0)", "f70078563412", 6);
    row("test ax, imm16 (66 F7 /0)", "66f7c03412", 5);
    row("neg eax (F7 /3)", "f7d8", 2);
    row("shl eax, imm8", "c1e004", 3);
    row("movaps [rsp+0x10], xmm0", "0f29442410", 5);
    row("pshufd (0F 70 ib)", "660f70c01b", 5);
    row("shld (0F A4 ib)", "0fa4c104", 4);
    row("bt (0F BA ib)", "0fbae003", 4);
    row("lock cmpxchg", "f0480fb10a", 5);
    row("cvtsi2sd xmm0, rax", "f2480f2ac0", 5);
    row("syscall", "0f05", 2);
    row("ud2", "0f0b", 2);
    row("cpuid", "0fa2", 2);
    row("bswap", "0fc8", 2);
    row("fld dword [rbp-8]", "d945f8", 3);
    row("14 prefixes and a nop", "66666666666666666666666666669090", 15);

    row("VEX", "c5f877", 0);
    row("VEX three-byte", "c4e27d18c0", 0);
    row("EVEX", "62f17c4828c1", 0);
    row("0F 38 map", "660f3800c1", 0);
    row("0F 3A map", "660f3a0fc108", 0);
    row("push es (undefined)", "06", 0);
    row("far call (undefined)", "9a", 0);
    row("0F FF", "0fff00", 0);
    row("jz near with 66", "660f8400010000", 0);
    row("jmp with 66", "66e90000", 0);
    row("15 prefixes", "666666666666666666666666666666b8", 0);
    row("longer than 15 bytes", "6666666666666666666666666648b80102030405060708", 0);
}

void TestInstructionLength::lengths()
{
    QFETCH(QByteArray, code);
    QFETCH(int, length);
    QFETCH(int, relOffset);
    QFETCH(int, relSize);
    QFETCH(int, ripOffset);
    code.append(32, '\0'); // the decoder may look past a short instruction
    InstructionInfo info;
    const bool decoded = decodeInstruction(reinterpret_cast<const std::uint8_t*>(code.constData()), info);
    QCOMPARE(decoded, length != 0);
    if (!decoded)
        return;
    QCOMPARE(info.length, length);
    QCOMPARE(info.relOffset, relOffset);
    QCOMPARE(info.relSize, relSize);
    QCOMPARE(info.ripDisplacementOffset, ripOffset);
}

QTEST_APPLESS_MAIN(TestInstructionLength)
#include "tst_instructionlength.moc"
