#include "screen/undo.h"

#include <cstdlib>

#include "screen/host.h"
#include "screen/screen.h"

UndoHistory gHistory;

namespace {

int Next(int slot) { return (slot + 1) & kUndoMask; }
int Prev(int slot) { return (slot - 1) & kUndoMask; }
// Ring position counted from the oldest kept record.
int Age(int slot) { return (slot - gHistory.bottom) & kUndoMask; }

void ReportModified(int modified)
{
    if (modified == gHistory.reportedModified) return;
    gHistory.reportedModified = modified;
    gHost.modifiedChanged(modified != 0);
}

// Drops the oldest group to make room; `newest` is the record just written.
// When the group being recorded fills the whole ring by itself, only its
// oldest record goes, and the oldest kept one becomes its start, so Undo
// still ends cleanly at bottom.
void DropOldestGroup(int newest)
{
    UndoRecord* ring = gHistory.ring;
    const int oldBottom = gHistory.bottom;
    int b = oldBottom;
    do {
        b = Next(b);
    } while (b != newest && !ring[b].groupStart);
    if (b == newest && !ring[b].groupStart) {
        b = Next(oldBottom);
        ring[b].groupStart = 1;
    }
    // The saved state lies behind the dropped records: no way back to it.
    if (gHistory.savedReachable && Age(gHistory.savedPoint) < ((b - oldBottom) & kUndoMask))
        gHistory.savedReachable = false;
    gHistory.bottom = b;
}

// Forgets the redo records; a saved state among them can no longer be reached.
void DiscardRedo()
{
    if (gHistory.savedReachable && Age(gHistory.savedPoint) > Age(gHistory.SP))
        gHistory.savedReachable = false;
    gHistory.top = gHistory.SP;
}

void RestoreCell(const UndoRecord& r, bool newValues)
{
    const int i = CellIndex(r.column, r.row);
    gScreen.code[i] = newValues ? r.newCode : r.oldCode;
    gScreen.attr[i] = newValues ? r.newAttr : r.oldAttr;
    ++gHistory.changes;
    gHost.cellChanged(r.column, r.row);
}

}  // namespace

bool CreateHistory()
{
    gHistory.ring = static_cast<UndoRecord*>(std::calloc(kUndoRecords, sizeof(UndoRecord)));
    if (!gHistory.ring) return false;
    gHistory.SP = gHistory.top = gHistory.bottom = gHistory.savedPoint = 0;
    gHistory.groupLatch = 0;
    gHistory.savedReachable = true;
    gHistory.reportedModified = 0;
    return true;
}

void DestroyHistory()
{
    std::free(gHistory.ring);
    gHistory.ring = nullptr;
}

void BeginUndoGroup() { gHistory.groupLatch = 1; }

void RecordChange(int column, int row, int oldCode, int oldAttr, int newCode, int newAttr)
{
    DiscardRedo();  // recording always discards whatever could have been redone
    const int slot = gHistory.SP;
    gHistory.ring[slot] = {static_cast<uint8_t>(column), static_cast<uint8_t>(row),
                           static_cast<uint8_t>(gHistory.groupLatch), 0,
                           static_cast<uint8_t>(oldCode), static_cast<uint8_t>(oldAttr),
                           static_cast<uint8_t>(newCode), static_cast<uint8_t>(newAttr)};
    gHistory.groupLatch = 0;
    ++gHistory.changes;
    gHistory.SP = gHistory.top = Next(slot);
    if (gHistory.SP == gHistory.bottom) DropOldestGroup(slot);
    ReportModified(IsModified());
}

bool CanUndo() { return gHistory.SP != gHistory.bottom; }
bool CanRedo() { return gHistory.SP != gHistory.top; }

void Undo()
{
    while (gHistory.SP != gHistory.bottom) {
        gHistory.SP = Prev(gHistory.SP);
        const UndoRecord& r = gHistory.ring[gHistory.SP];
        RestoreCell(r, false);
        ReportModified(IsModified());
        if (r.groupStart) break;
    }
}

void Redo()
{
    while (gHistory.SP != gHistory.top) {
        const UndoRecord& r = gHistory.ring[gHistory.SP];
        gHistory.SP = Next(gHistory.SP);
        RestoreCell(r, true);
        ReportModified(IsModified());
        if (gHistory.SP == gHistory.top || gHistory.ring[gHistory.SP].groupStart) break;
    }
}

void DropRedo() { DiscardRedo(); }

void ClearHistory()
{
    gHistory.SP = gHistory.top = gHistory.bottom = gHistory.savedPoint = 0;
    gHistory.savedReachable = true;
    ReportModified(0);
}

void MarkSaved()
{
    gHistory.savedPoint = gHistory.SP;
    gHistory.savedReachable = true;
    ReportModified(0);
}

void MarkUnsaved()
{
    gHistory.savedReachable = false;
    ReportModified(1);
}

bool IsModified() { return !gHistory.savedReachable || gHistory.SP != gHistory.savedPoint; }

void ForceModifiedReport() { gHistory.reportedModified = -1; }
