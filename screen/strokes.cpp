#include "screen/strokes.h"

#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/undo.h"

StrokeState gStroke = {0, kNoDrag, 0, kNoCell};

namespace {

bool SemigraphicOn() { return (gStroke.semigraphicMode & kSemigraphicOn) != 0; }

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
        if (gStroke.semigraphicMode & kSemigraphicDrawing)
            v.code = oldCode | kSemigraphicBase | subBit;
        else
            v.code = (oldCode | kSemigraphicBase) & ~subBit;
    }

    // Shift paints only the colours (the character keeps its set); Ctrl
    // paints only the character. During the drag, a plain or Ctrl+Shift
    // stroke takes Shift as it is held at that moment, but still paints the
    // Pen's character.
    const bool shiftStroke = gStroke.drag == kDragShift || gStroke.drag == kDragCtrlShift;
    const bool keepCode = press ? shiftStroke : gStroke.drag == kDragShift;
    const bool coloursOnly =
        press ? shiftStroke
              : gStroke.drag == kDragShift ||
                    ((gStroke.drag == kDragPlain || gStroke.drag == kDragCtrlShift) && shiftNow);
    if (keepCode) v.code = oldCode;
    if (coloursOnly)
        v.attr = (v.attr & ~kAttrCharSet) | (oldAttr & kAttrCharSet);
    else if (gStroke.drag == kDragCtrl)
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
    const int attr = gStroke.bit3Choice == kBit3Sets ? gScreen.attr[i] | kAttrMark
                                              : gScreen.attr[i] & ~kAttrMark;
    SetCell(x, y, gScreen.code[i], attr);
}

}  // namespace

void PenStrokePress(int x, int y, int subBit, bool ctrl, bool shift)
{
    gStroke.drag = kDragPlain + (ctrl ? 1 : 0) + (shift ? 2 : 0);
    if (SemigraphicOn()) {
        const int oldCode = gScreen.code[CellIndex(x, y)];
        const bool erasing = IsSemigraphic(oldCode) && (oldCode & subBit) != 0;
        gStroke.semigraphicMode = erasing ? kSemigraphicOn : (kSemigraphicOn | kSemigraphicDrawing);
    }
    BeginUndoGroup();
    PaintPenCell(x, y, subBit, true, shift);
    gStroke.lastCell = {x, y};
}

bool PenStrokeMove(int x, int y, int subBit, bool shiftNow)
{
    // Sub-blocks within one cell differ, so semigraphic strokes paint on
    // every report.
    const bool newCell = x != gStroke.lastCell.x || y != gStroke.lastCell.y || SemigraphicOn();
    const bool painted = newCell && gStroke.drag != kNoDrag && PaintPenCell(x, y, subBit, false, shiftNow);
    gStroke.lastCell = {x, y};
    return painted;
}

void MarkerStrokePress(int x, int y)
{
    gStroke.bit3Choice = (gScreen.attr[CellIndex(x, y)] & kAttrMark) ? kBit3Clears : kBit3Sets;
    gStroke.drag = kDragPlain;
    BeginUndoGroup();
    WriteMarkBit(x, y);
    gStroke.lastCell = {x, y};
}

bool MarkerStrokeMove(int x, int y)
{
    // A report that enters a new cell only remembers it: a cell crossed by a
    // single report stays as it was.
    if (x != gStroke.lastCell.x || y != gStroke.lastCell.y) {
        gStroke.lastCell = {x, y};
        return false;
    }
    if (gStroke.drag == kNoDrag) return false;
    WriteMarkBit(x, y);
    return true;
}

void EndStroke() { gStroke.drag = kNoDrag; }

void ResetStrokes()
{
    gStroke = {0, kNoDrag, 0, kNoCell};
}
