// The selection rectangle and the floating block: a copy of cells that
// hovers over the screen until it is dropped, and the operations on both.
#pragma once
#include <cstdint>

#include "screen/screen.h"

struct Selection {
    int32_t x0, y0;  // top-left cell, inclusive
    int32_t x1, y1;  // bottom-right cell, inclusive; a moved block may hang off the screen
    bool active;
    int32_t phase;   // marquee step 0-7
};

enum FloatingState : int32_t {
    kNotFloating = 0,
    kFloatingNew = 1,    // lifted, pasted or typed: nothing recorded yet
    kFloatingMoved = 2,  // its source was cleared in an undo group still open
};

// Laid out like the Screen buffer: block cell (c, r) is element 40 r + c.
constexpr int kBlockStride = kScreenColumns;
struct FloatingBlock {
    int32_t code[kCellCount];
    int32_t attr[kCellCount];
    int32_t state;
};

void ResetSelection();
bool BlockFloats();
int SelectionWidth();
int SelectionHeight();
inline int BlockIndex(int c, int r) { return kBlockStride * r + c; }
// The floating block's size: the selection's, as far as the block's arrays
// hold it.
int BlockWidth();
int BlockHeight();

// Any two opposite corners; the marquee restarts.
void SetSelection(int a, int b, int c, int d);
// The floating state stays as it is.
void ClearSelection();
// The marquee's dashes move on one step every kMarqueePeriodMs.
constexpr int kMarqueePeriodMs = 100;
void AdvanceMarquee();
// The selection clipped to the screen; false when nothing of it is on it.
bool ClippedSelection(int& x0, int& y0, int& x1, int& y1);

// What a cut or a move leaves behind: blank cells, white on black.
constexpr int kBlankCode = 0x00;
constexpr int kBlankAttr = 0x70;

// SetCell on every cell of the selection on the screen, row by row; opens no
// undo group.
void FillSelection(int code, int attr);
// Copies the selected cells into the floating block (state new) and draws
// it. A selection hanging off the screen is first cut to the screen, so the
// block's origin is always the selection's. False, with the selection
// cleared, when none of it lies on the screen.
bool LiftBlock();
// Writes the floating block where the selection is, leaving out transparent
// cells and cells off the screen. A new block opens an undo group; a moved
// one records into its open group. The selection stays.
void DropBlock();
// The same, writing every cell: a block that was only lifted to be changed
// in place goes back whole.
void DropBlockWhole();
// What a tool switch, a save and closing the window do first.
void DropAndDeselect();
// The selection's contents start to move: lifted (state moved) and their
// place blanked, as the first changes of a new undo group. False when none
// of the selection lies on the screen.
bool StartMove();

void FlipLeftRight();
void FlipUpDown();
enum ShiftDirection { kShiftLeft = 0, kShiftRight = 1, kShiftUp = 2, kShiftDown = 3 };
// Moves the semigraphic picture by one sub-block: the floating block's, or
// the selection's in place (one new undo group). Nothing without either.
void ShiftHalfCell(int direction);

// Top-left cell for a pasted w x h block: centred on the cell last under the
// mouse and kept on the screen.
void PastePlacement(int w, int h, int& x, int& y);
