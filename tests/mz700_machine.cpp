#include "tests/mz700_machine.h"

#include <z80ex/z80ex.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr uint16_t kUserArea = 0x1200, kTextVram = 0xD000, kColourVram = 0xD800, kIoArea = 0xE000;
constexpr int kCells = 1000;
constexpr uint8_t kHalt = 0x76;
constexpr uint8_t kRamFill = 0xAA;
constexpr uint16_t kMonitorStack = 0x10F0;  // where SP is when the monitor runs a program
// The program starts with interrupts enabled in mode 1, and the interrupt
// line goes active sixty times a second: one accepted runs the ROM's 0038H.
constexpr uint64_t kInterruptEvery = 3579545 / 60;

std::string Hex(uint16_t v)
{
    char s[8];
    std::snprintf(s, sizeof s, "%04XH", v);
    return s;
}

void Fault(Mz700& m, const std::string& what)
{
    if (m.fault.empty()) m.fault = what + " at PC " + Hex(m.pc);
}

struct Run {
    Mz700* machine;
    Z80EX_CONTEXT* cpu;
};

Z80EX_BYTE ReadMemory(Z80EX_CONTEXT*, Z80EX_WORD at, int m1, void* user)
{
    Mz700& m = *static_cast<Run*>(user)->machine;
    if (m1 && (at < m.codeStart || at >= m.codeEnd)) Fault(m, "executes " + Hex(at));
    if (at >= kIoArea) Fault(m, "reads " + Hex(at));
    return m.memory[at];
}

void WriteMemory(Z80EX_CONTEXT*, Z80EX_WORD at, Z80EX_BYTE value, void* user)
{
    const Run& r = *static_cast<Run*>(user);
    Mz700& m = *r.machine;
    if ((at < kTextVram || at >= kTextVram + kCells) && (at < kColourVram || at >= kColourVram + kCells)) {
        Fault(m, "writes " + Hex(at));
        return;
    }
    m.memory[at] = value;
    m.writes.push_back({m.clock + static_cast<uint64_t>(z80ex_op_tstate(r.cpu)), at, value});
}

Z80EX_BYTE ReadPort(Z80EX_CONTEXT*, Z80EX_WORD port, void* user)
{
    Fault(*static_cast<Run*>(user)->machine, "reads port " + Hex(port));
    return 0xFF;
}

void WritePort(Z80EX_CONTEXT*, Z80EX_WORD port, Z80EX_BYTE, void* user)
{
    Fault(*static_cast<Run*>(user)->machine, "writes port " + Hex(port));
}

Z80EX_BYTE ReadInterruptVector(Z80EX_CONTEXT*, void*) { return 0xFF; }

}  // namespace

bool LoadMzf(Mz700& m, const std::string& mzf, uint8_t vramFill)
{
    m = Mz700{};
    m.memory.assign(65536, kRamFill);
    std::fill(m.memory.begin(), m.memory.begin() + 0x1000, kHalt);  // no monitor ROM
    std::fill(m.memory.begin() + kTextVram, m.memory.begin() + kIoArea, vramFill);
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(mzf[i]); };
    const auto word = [&](size_t i) { return static_cast<uint16_t>(byte(i) | byte(i + 1) << 8); };
    if (mzf.size() < kHeaderBytes || byte(0) != 0x01) {
        m.fault = "not an MZF of a machine-code program";
        return false;
    }
    const uint16_t size = word(18), load = word(20);
    if (mzf.size() != kHeaderBytes + size || load < kUserArea || load + size > kTextVram) {
        m.fault = "a body of " + std::to_string(size) + " bytes at " + Hex(load) + " does not fit the user area";
        return false;
    }
    for (size_t i = 0; i < size; ++i) m.memory[load + i] = byte(kHeaderBytes + i);
    m.codeStart = load;
    m.codeEnd = static_cast<uint16_t>(load + size);
    m.pc = word(22);
    return true;
}

void RunMzf(Mz700& m, uint64_t states)
{
    Run run = {&m, nullptr};
    run.cpu = z80ex_create(ReadMemory, &run, WriteMemory, &run, ReadPort, &run, WritePort, &run, ReadInterruptVector,
                           &run);
    z80ex_set_reg(run.cpu, regPC, m.pc);
    z80ex_set_reg(run.cpu, regSP, kMonitorStack);
    z80ex_set_reg(run.cpu, regIM, 1);
    z80ex_set_reg(run.cpu, regIFF1, 1);
    z80ex_set_reg(run.cpu, regIFF2, 1);
    uint64_t interrupt = kInterruptEvery;
    while (m.clock < states && m.fault.empty()) {
        m.clock += static_cast<uint64_t>(z80ex_step(run.cpu));
        if (m.clock >= interrupt) {
            m.clock += static_cast<uint64_t>(z80ex_int(run.cpu));
            interrupt += kInterruptEvery;
        }
        m.pc = z80ex_get_reg(run.cpu, regPC);
    }
    z80ex_destroy(run.cpu);
}

std::vector<uint8_t> VisibleVram(const Mz700& m)
{
    std::vector<uint8_t> vram(2 * kCells);
    for (int i = 0; i < kCells; ++i) {
        vram[i] = m.memory[kTextVram + i];
        vram[kCells + i] = m.memory[kColourVram + i];
    }
    return vram;
}
