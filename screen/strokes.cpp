#include "screen/strokes.h"

#include "screen/document.h"
#include "res/resource.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/undo.h"

ToolState gTool;

namespace {

bool SemigraphicOn() { return (gTool.semigraphicMode & kSemigraphicOn) != 0; }

// The value one pen-stroke cell receives; `press` selects the rules that
// apply at the press rather than during the drag.
PenValue PenStrokeValue(int x, int y, int subBit, bool press, bool shiftNow)
{
    const int i = CellIndex(x, y);
    const int oldCode = gDoc.screen.code[i];
    const int oldAttr = gDoc.screen.attr[i];
    PenValue v = PenCell();
    v.attr |= oldAttr & kAttrMark;  // painting never touches the mark bit

    if (SemigraphicOn()) {
        if (gTool.semigraphicMode & kSemigraphicDrawing)
            v.code = oldCode | kSemigraphicBase | subBit;
        else
            v.code = (oldCode | kSemigraphicBase) & ~subBit;
    }

    // Shift paints only the colours (the character keeps its set); Ctrl
    // paints only the character. During the drag, a plain or Ctrl+Shift
    // stroke takes Shift as it is held at that moment, but still paints the
    // Pen's character.
    const bool shiftStroke = gTool.drag == kDragShift || gTool.drag == kDragCtrlShift;
    const bool keepCode = press ? shiftStroke : gTool.drag == kDragShift;
    const bool coloursOnly =
        press ? shiftStroke
              : gTool.drag == kDragShift ||
                    ((gTool.drag == kDragPlain || gTool.drag == kDragCtrlShift) && shiftNow);
    if (keepCode) v.code = oldCode;
    if (coloursOnly)
        v.attr = (v.attr & ~kAttrCharSet) | (oldAttr & kAttrCharSet);
    else if (gTool.drag == kDragCtrl)
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
    const int attr = gTool.bit3Choice == kBit3Sets ? gDoc.screen.attr[i] | kAttrMark
                                              : gDoc.screen.attr[i] & ~kAttrMark;
    SetCell(x, y, gDoc.screen.code[i], attr);
}

}  // namespace

void PenStrokePress(int x, int y, int subBit, bool ctrl, bool shift)
{
    gTool.drag = kDragPlain + (ctrl ? 1 : 0) + (shift ? 2 : 0);
    if (SemigraphicOn()) {
        const int oldCode = gDoc.screen.code[CellIndex(x, y)];
        const bool erasing = IsSemigraphic(oldCode) && (oldCode & subBit) != 0;
        gTool.semigraphicMode = erasing ? kSemigraphicOn : (kSemigraphicOn | kSemigraphicDrawing);
    }
    BeginUndoGroup();
    PaintPenCell(x, y, subBit, true, shift);
    gTool.lastCell = {x, y};
}

bool PenStrokeMove(int x, int y, int subBit, bool shiftNow)
{
    // Sub-blocks within one cell differ, so semigraphic strokes paint on
    // every report.
    const bool newCell = x != gTool.lastCell.x || y != gTool.lastCell.y || SemigraphicOn();
    const bool painted = newCell && gTool.drag != kNoDrag && PaintPenCell(x, y, subBit, false, shiftNow);
    gTool.lastCell = {x, y};
    return painted;
}

void MarkerStrokePress(int x, int y)
{
    gTool.bit3Choice = (gDoc.screen.attr[CellIndex(x, y)] & kAttrMark) ? kBit3Clears : kBit3Sets;
    gTool.drag = kDragPlain;
    BeginUndoGroup();
    WriteMarkBit(x, y);
    gTool.lastCell = {x, y};
}

bool MarkerStrokeMove(int x, int y)
{
    // A report that enters a new cell only remembers it: a cell crossed by a
    // single report stays as it was.
    if (x != gTool.lastCell.x || y != gTool.lastCell.y) {
        gTool.lastCell = {x, y};
        return false;
    }
    if (gTool.drag == kNoDrag) return false;
    WriteMarkBit(x, y);
    return true;
}

void EndStroke() { gTool.drag = kNoDrag; }

void ResetTools()
{
    gTool = {IDT_PEN, 0, kNoDrag, 0, 0, kNoCell, kNoCell, 0, -1};
}
