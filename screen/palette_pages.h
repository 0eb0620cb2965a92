// The two character palette pages the Pen picks from: 22 rows of 16 entries.
#pragma once
#include <cstdint>

constexpr int kPaletteColumns = 16;
constexpr int kPaletteRows = 22;
constexpr int kPaletteEntries = kPaletteColumns * kPaletteRows;  // 352
constexpr int kPaletteLastEntry = kPaletteEntries - 1;

// Palette entry bits: display code in 0-7, character set in 8.
constexpr uint32_t CPAL_CHARSET = 0x100;
constexpr uint32_t CPAL_REVERSE = 0x200;  // paint with the Pen's colours swapped
constexpr uint32_t CPAL_PRCOLOR = 0x400;  // the entry's own colours in bits 16-22

constexpr int kMainPalettePage = 0;
constexpr int kAuxiliaryPalettePage = 1;

// Constant data, except that a pick-up of a character a page lacks writes it
// into that page's last entry for the rest of the run.
extern uint32_t gPalettePages[2][kPaletteEntries];

// Puts both pages back to their built-in contents (start of the run).
void ResetPalettePages();

// The colour part of the attribute an entry paints with (no character set).
inline int PaletteEntryColours(uint32_t entry, int foreground, int background)
{
    if (entry & CPAL_PRCOLOR) return static_cast<int>((entry >> 16) & 0x77);
    if (entry & CPAL_REVERSE) return (background << 4) | foreground;
    return (foreground << 4) | background;
}
