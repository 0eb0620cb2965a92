// The Pen: the two colours and the chosen palette entry that painting uses.
#pragma once
#include <cstdint>

constexpr int kColourCount = 8;
constexpr int kInitialForeground = 7;  // white
constexpr int kInitialBackground = 1;  // blue
constexpr int kInitialPaletteCursor = 112;

struct Pen {
    int32_t foreground;
    int32_t background;
    int32_t cursor;  // index of the chosen entry within the page, 0-351
    int32_t page;    // 0 main palette, 1 auxiliary palette
};

extern Pen gPen;

struct PenValue {
    int code;
    int attr;
};

enum class PaletteDirection { Left, Right, Up, Down };

// What changed, so the shell can update the colour buttons, the menu's
// check mark and the palette display.
enum class PenChange { Colours, Cursor, Page };

// Start-of-run state of the Pen (and of both palette pages).
void ResetPen();

PenValue PenCell();
// The cell an entry would paint with the Pen's colours (palette display and
// status bar).
PenValue PaletteEntryCell(uint32_t entry);

void SetForeground(int colour);
void SetBackground(int colour);
void SwapPenColours();
void MovePaletteCursor(PaletteDirection direction);
void SetPaletteCursor(int index);
void TogglePalettePage();
// The eyedropper: takes cell (x, y)'s colours unless ctrl, its character
// unless shift.
void PickUpCell(int x, int y, bool ctrl, bool shift);
