#include "screen/strokes.h"

#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/undo.h"

int32_t gSemigraphicMode = 0;
int32_t gDragMode = kNoDrag;
int32_t gBit3Choice = 0;
CellPos gLastCell = kNoCell;

namespace {

bool SemigraphicOn() { return (gSemigraphicMode & kSemigraphicOn) != 0; }

// The value one pen-stroke cell receives; `press` selects the rules that
// apply at the press rather than during the drag.
PenValue PenStrokeValue(int x, int y, int subBit, bool press, bool shiftNow)
{
    const int i = CellIndex(x, y);
    const int oldCode = gScreen.code[i];
    const int oldAttr = gScreen.attr[i];
    PenValue v = PenCell();
    v.attr |= oldAttr & kAttrMark;  // painting never touches the mark bit

    if (SemigraphicOn()) {
        if (gSemigraphicMode & kSemigraphicDrawing)
            v.code = oldCode | kSemigraphicBase | subBit;
        else
            v.code = (oldCode | kSemigraphicBase) & ~subBit;
    }

    // Shift paints only the colours (the character keeps its set); Ctrl
    // paints only the character. During the drag, a plain or Ctrl+Shift
    // stroke takes Shift as it is held at that moment, but still paints the
    // Pen's character.
    const bool shiftStroke = gDragMode == kDragShift || gDragMode == kDragCtrlShift;
    const bool keepCode = press ? shiftStroke : gDragMode == kDragShift;
    const bool coloursOnly =
        press ? shiftStroke
              : gDragMode == kDragShift ||
                    ((gDragMode == kDragPlain || gDragMode == kDragCtrlShift) && shiftNow);
    if (keepCode) v.code = oldCode;
    if (coloursOnly)
        v.attr = (v.attr & ~kAttrCharSet) | (oldAttr & kAttrCharSet);
    else if (gDragMode == kDragCtrl)
        v.attr = oldAttr;
    return v;
}

// Returns whether the cell was written.
bool PaintPenCell(int x, int y, int subBit, bool press, bool shiftNow)
{
    if (SemigraphicOn() && subBit == 0) return false;
    const PenValue v = PenStrokeValue(x, y, subBit, press, shiftNow);
    SetCell(x, y, v.code, v.attr);
    return true;
}

void WriteMarkBit(int x, int y)
{
    const int i = CellIndex(x, y);
    const int attr = gBit3Choice == kBit3Sets ? gScreen.attr[i] | kAttrMark
                                              : gScreen.attr[i] & ~kAttrMark;
    SetCell(x, y, gScreen.code[i], attr);
}

}  // namespace

void PenStrokePress(int x, int y, int subBit, bool ctrl, bool shift)
{
    gDragMode = kDragPlain + (ctrl ? 1 : 0) + (shift ? 2 : 0);
    if (SemigraphicOn()) {
        const int oldCode = gScreen.code[CellIndex(x, y)];
        const bool erasing = IsSemigraphic(oldCode) && (oldCode & subBit) != 0;
        gSemigraphicMode = erasing ? kSemigraphicOn : (kSemigraphicOn | kSemigraphicDrawing);
    }
    BeginUndoGroup();
    PaintPenCell(x, y, subBit, true, shift);
    gLastCell = {x, y};
}

bool PenStrokeMove(int x, int y, int subBit, bool shiftNow)
{
    // Sub-blocks within one cell differ, so semigraphic strokes paint on
    // every report.
    const bool newCell = x != gLastCell.x || y != gLastCell.y || SemigraphicOn();
    const bool painted = newCell && gDragMode != kNoDrag && PaintPenCell(x, y, subBit, false, shiftNow);
    gLastCell = {x, y};
    return painted;
}

void MarkerStrokePress(int x, int y)
{
    gBit3Choice = (gScreen.attr[CellIndex(x, y)] & kAttrMark) ? kBit3Clears : kBit3Sets;
    gDragMode = kDragPlain;
    BeginUndoGroup();
    WriteMarkBit(x, y);
    gLastCell = {x, y};
}

bool MarkerStrokeMove(int x, int y)
{
    // A report that enters a new cell only remembers it: a cell crossed by a
    // single report stays as it was.
    if (x != gLastCell.x || y != gLastCell.y) {
        gLastCell = {x, y};
        return false;
    }
    if (gDragMode == kNoDrag) return false;
    WriteMarkBit(x, y);
    return true;
}

void EndStroke() { gDragMode = kNoDrag; }

void ResetStrokes()
{
    gSemigraphicMode = 0;
    gDragMode = kNoDrag;
    gBit3Choice = 0;
    gLastCell = kNoCell;
}
