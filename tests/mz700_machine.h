// An MZ-700 for the exported programs: a complete Z80 (libz80ex) that counts
// T-states, RAM below D000H, the text VRAM at D000H and the colour VRAM at
// D800H, and no monitor ROM. A program may read RAM and VRAM and write the
// 1000 visible cells of each VRAM; executing outside its own code (the ROM's
// place holds HALTs), writing anywhere else, touching E000H and above or any
// I/O port is a fault, and the run stops there. It starts as the monitor
// may leave it, interrupts enabled, and an interrupt comes now and then: a
// program that lets one in ends in the ROM's place.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct VramWrite {
    uint64_t when;  // T-states from the program's start to the write
    uint16_t at;
    uint8_t value;
};

struct Mz700 {
    std::vector<uint8_t> memory;
    uint16_t codeStart = 0, codeEnd = 0;  // where the loaded program lies
    uint64_t clock = 0;
    uint16_t pc = 0;  // where it stopped
    std::vector<VramWrite> writes;
    std::string fault;  // the first thing the program did that it must not
};

// The machine with an MZF loaded as the monitor loads it: false, and the
// reason in `fault`, when the header or the size is wrong. VRAM starts
// with `vramFill`, so that what the program leaves unwritten shows.
bool LoadMzf(Mz700& machine, const std::string& mzf, uint8_t vramFill = 0x55);
// Runs the loaded program from its start for at least `states` T-states, or
// until a fault.
void RunMzf(Mz700& machine, uint64_t states);

// The 1000 display codes then the 1000 attributes that show.
std::vector<uint8_t> VisibleVram(const Mz700& machine);
