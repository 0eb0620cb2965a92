#include "screen/undo.h"

#include <cstdlib>

#include "screen/document.h"
#include "screen/host.h"
#include "screen/screen.h"


namespace {

int Next(int slot) { return (slot + 1) & kUndoMask; }
int Prev(int slot) { return (slot - 1) & kUndoMask; }
// Ring position counted from the oldest kept record.
int Age(int slot) { return (slot - gDoc.history.bottom) & kUndoMask; }

void ReportModified(int modified)
{
    if (modified == gDoc.history.reportedModified) return;
    gDoc.history.reportedModified = modified;
    gHost.modifiedChanged(modified != 0);
}

// Drops the oldest group to make room; `newest` is the record just written.
// When the group being recorded fills the whole ring by itself, only its
// oldest record goes, and the oldest kept one becomes its start, so Undo
// still ends cleanly at bottom.
void DropOldestGroup(int newest)
{
    UndoRecord* ring = gDoc.history.ring;
    const int oldBottom = gDoc.history.bottom;
    int b = oldBottom;
    do {
        b = Next(b);
    } while (b != newest && !ring[b].groupStart);
    if (b == newest && !ring[b].groupStart) {
        b = Next(oldBottom);
        ring[b].groupStart = 1;
    }
    // The saved state lies behind the dropped records: no way back to it.
    if (gDoc.history.savedReachable && Age(gDoc.history.savedPoint) < ((b - oldBottom) & kUndoMask))
        gDoc.history.savedReachable = false;
    gDoc.history.bottom = b;
}

// Forgets the redo records; a saved state among them can no longer be reached.
void DiscardRedo()
{
    if (gDoc.history.savedReachable && Age(gDoc.history.savedPoint) > Age(gDoc.history.SP))
        gDoc.history.savedReachable = false;
    gDoc.history.top = gDoc.history.SP;
}

void RestoreCell(const UndoRecord& r, bool newValues)
{
    const int i = CellIndex(r.column, r.row);
    gDoc.screen.code[i] = newValues ? r.newCode : r.oldCode;
    gDoc.screen.attr[i] = newValues ? r.newAttr : r.oldAttr;
    ++gDoc.history.changes;
    gHost.cellChanged(r.column, r.row);
}

}  // namespace

bool CreateHistory()
{
    gDoc.history.ring = static_cast<UndoRecord*>(std::calloc(kUndoRecords, sizeof(UndoRecord)));
    if (!gDoc.history.ring) return false;
    gDoc.history.SP = gDoc.history.top = gDoc.history.bottom = gDoc.history.savedPoint = 0;
    gDoc.history.groupLatch = 0;
    gDoc.history.savedReachable = true;
    gDoc.history.reportedModified = 0;
    return true;
}

void DestroyHistory()
{
    std::free(gDoc.history.ring);
    gDoc.history.ring = nullptr;
}

void BeginUndoGroup() { gDoc.history.groupLatch = 1; }

void RecordChange(int column, int row, int oldCode, int oldAttr, int newCode, int newAttr)
{
    DiscardRedo();  // recording always discards whatever could have been redone
    const int slot = gDoc.history.SP;
    gDoc.history.ring[slot] = {static_cast<uint8_t>(column), static_cast<uint8_t>(row),
                           static_cast<uint8_t>(gDoc.history.groupLatch), 0,
                           static_cast<uint8_t>(oldCode), static_cast<uint8_t>(oldAttr),
                           static_cast<uint8_t>(newCode), static_cast<uint8_t>(newAttr)};
    gDoc.history.groupLatch = 0;
    ++gDoc.history.changes;
    gDoc.history.SP = gDoc.history.top = Next(slot);
    if (gDoc.history.SP == gDoc.history.bottom) DropOldestGroup(slot);
    ReportModified(IsModified());
}

bool CanUndo() { return gDoc.history.SP != gDoc.history.bottom; }
bool CanRedo() { return gDoc.history.SP != gDoc.history.top; }

void Undo()
{
    while (gDoc.history.SP != gDoc.history.bottom) {
        gDoc.history.SP = Prev(gDoc.history.SP);
        const UndoRecord& r = gDoc.history.ring[gDoc.history.SP];
        RestoreCell(r, false);
        ReportModified(IsModified());
        if (r.groupStart) break;
    }
}

void Redo()
{
    while (gDoc.history.SP != gDoc.history.top) {
        const UndoRecord& r = gDoc.history.ring[gDoc.history.SP];
        gDoc.history.SP = Next(gDoc.history.SP);
        RestoreCell(r, true);
        ReportModified(IsModified());
        if (gDoc.history.SP == gDoc.history.top || gDoc.history.ring[gDoc.history.SP].groupStart) break;
    }
}

void DropRedo() { DiscardRedo(); }

void ClearHistory()
{
    gDoc.history.SP = gDoc.history.top = gDoc.history.bottom = gDoc.history.savedPoint = 0;
    gDoc.history.savedReachable = true;
    ReportModified(0);
}

void MarkSaved()
{
    gDoc.history.savedPoint = gDoc.history.SP;
    gDoc.history.savedReachable = true;
    ReportModified(0);
}

void MarkUnsaved()
{
    gDoc.history.savedReachable = false;
    ReportModified(1);
}

bool IsModified() { return !gDoc.history.savedReachable || gDoc.history.SP != gDoc.history.savedPoint; }

void ForceModifiedReport() { gDoc.history.reportedModified = -1; }
