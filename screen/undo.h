// The undo history: a fixed ring of 4096 eight-byte records, grouped so that
// one Undo or Redo takes back or replays one whole editing action.
#pragma once
#include <cstdint>

constexpr int kUndoRecords = 4096;
constexpr int kUndoMask = kUndoRecords - 1;

struct UndoRecord {
    uint8_t column;
    uint8_t row;
    uint8_t groupStart;
    uint8_t spare;
    uint8_t oldCode;
    uint8_t oldAttr;
    uint8_t newCode;
    uint8_t newAttr;
};
static_assert(sizeof(UndoRecord) == 8, "undo records are eight bytes");

struct UndoHistory {
    UndoRecord* ring;      // kUndoRecords records, allocated at start-up
    int32_t SP;            // slot of the next record to write
    int32_t top;           // end of the records that can be redone
    int32_t bottom;        // oldest record kept
    int32_t groupLatch;    // the next record starts a group
    int32_t savedPoint;    // SP at the last save or open
    bool savedReachable;   // the saved state can still be reached by undo/redo
    int32_t reportedModified;  // last state shown in the title; -1 forces a report
    uint32_t changes;          // counts every change recorded, undone or redone
};

bool CreateHistory();
void DestroyHistory();
void BeginUndoGroup();
void RecordChange(int column, int row, int oldCode, int oldAttr, int newCode, int newAttr);
bool CanUndo();
bool CanRedo();
// Both write the restored cells straight into the Screen buffer and redraw
// them; the caller invalidates the canvas.
void Undo();
void Redo();
void DropRedo();
void ClearHistory();
void MarkSaved();
// The screen differs from any saved state (a recovered picture): modified
// until the next save or open.
void MarkUnsaved();
bool IsModified();
// Opening a file: the next report refreshes the title whatever it says.
void ForceModifiedReport();
