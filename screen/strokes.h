// The painting rules of the two cell-painting tools: pen strokes and bit-3
// marker strokes, as functions of the cell, sub-block and modifiers that the
// mouse handling hands over.
#pragma once
#include <cstdint>

struct CellPos {
    int32_t x;
    int32_t y;
};
constexpr CellPos kNoCell = {-1, -1};

// Semigraphic mode: bit 0 the mode is on; bit 1 the current stroke draws
// (set) or erases (clear) sub-blocks.
constexpr int kSemigraphicOn = 1;
constexpr int kSemigraphicDrawing = 2;

// Drag modes of a pen stroke, decided by the modifiers at the press.
enum DragMode : int32_t {
    kNoDrag = 0,
    kDragPlain = 1,
    kDragCtrl = 2,
    kDragShift = 3,
    kDragCtrlShift = 4,
};

// Bit-3 choice of the current marker stroke.
constexpr int kBit3Sets = 3;
constexpr int kBit3Clears = 1;

// The tool state: the chosen tool, the drag in progress and what the mouse
// was last over.
struct ToolState {
    int32_t tool;              // IDT_SELECT, IDT_PEN, IDT_FILL or IDT_MARK
    int32_t semigraphicMode;   // kSemigraphicOn, kSemigraphicDrawing
    int32_t drag;              // DragMode of the pen or marker stroke in progress
    int32_t bit3Choice;
    int32_t dragZone;          // what a selection-tool drag holds: a SelectionZone
    CellPos anchor;            // where a rubber band began, kNoCell when none
    CellPos lastCell;          // the canvas cell of the previous mouse report, kNoCell when none
    int32_t hoverZone;         // selection zone under the mouse, 0-9: picks the cursor
    int32_t lastPaletteIndex;  // entry last described in the status bar, -1 none
};
extern ToolState gTool;

// subBit is the semigraphic sub-block bit (1, 2, 4 or 8) under the mouse, or
// of the nearest sub-block when the mouse is beyond the canvas; in
// semigraphic mode a 0 (no sub-block known) leaves the cell alone.
void PenStrokePress(int x, int y, int subBit, bool ctrl, bool shift);
// A mouse report during a pen stroke at (clamped) cell (x, y); returns
// whether a cell was painted. The cell becomes the remembered last cell.
bool PenStrokeMove(int x, int y, int subBit, bool shiftNow);

void MarkerStrokePress(int x, int y);
// A mouse report during a marker stroke; returns whether a cell was written.
bool MarkerStrokeMove(int x, int y);

void EndStroke();
// The start of a run: the pen tool, semigraphic mode off, no drag, nothing
// hovered or described.
void ResetTools();
