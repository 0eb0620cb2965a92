// The Screen buffer: the one document, 40 x 25 cells of display code and
// attribute, and SetCell, the one way editing changes a cell.
#pragma once
#include <cstdint>

constexpr int kScreenColumns = 40;
constexpr int kScreenRows = 25;
constexpr int kCellCount = kScreenColumns * kScreenRows;

// Attribute bits.
constexpr int kAttrCharSet = 0x80;     // second character set
constexpr int kAttrForeground = 0x70;  // foreground colour << 4
constexpr int kAttrMark = 0x08;        // the editor's own marker bit
constexpr int kAttrBackground = 0x07;

// Display codes 0xF0-0xFF are 2 x 2 block characters; the low four bits
// are the sub-blocks: top-left, top-right, bottom-left, bottom-right.
constexpr int kSemigraphicBase = 0xF0;
inline bool IsSemigraphic(int code) { return (code & 0xF0) == 0xF0; }

struct ScreenBuffer {
    int32_t code[kCellCount];
    int32_t attr[kCellCount];
};

inline int CellIndex(int x, int y) { return x + kScreenColumns * y; }

// Stores a cell, records the change for undo and redraws the cell's box.
// The caller invalidates the canvas once after a batch of cells.
void SetCell(int x, int y, int code, int attr);
bool CellEquals(int x, int y, int code, int attr);
