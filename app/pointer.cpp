#include "app/pointer.h"

#include "render/block_view.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/fill.h"
#include "screen/host.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/selection.h"

namespace {

void SetStatus(PointerAnswer& a, int part, int format, int first = 0, int second = 0)
{
    a.statusChanged[part] = true;
    a.status[part] = {format, {first, second}};
}

void DescribeCell(PointerAnswer& a, int code, int attr) { SetStatus(a, 1, IDS_STATUS_CHR, code & 0xFF, attr & 0xFF); }

bool SameCell(Point cell, CellPos last) { return cell.x == last.x && cell.y == last.y; }

// Over the palette with the button up: the entry is described as the cell it
// would paint. True when the report ends there.
bool DescribePaletteEntry(PointerAnswer& a, int x, int y, bool held)
{
    if (!gView.ShowStatusBar || held || x < CurrentView().P) return false;
    const int entry = PaletteHitTest(x, y);
    if (entry < 0) return false;
    if (entry != gTool.lastPaletteIndex) {
        const PenValue v = PaletteEntryCell(gPalettePages[gPen.page][entry]);
        SetStatus(a, 0, 0);
        DescribeCell(a, v.code, v.attr);
        gTool.lastPaletteIndex = entry;
        gTool.lastCell = kNoCell;
    }
    return true;
}

// The selection tool's press: a move of the selection's contents, a handle
// grabbed, or a new rubber band begun on the cell pressed. True when a drag
// begins.
bool SelectionPress(int x, int y)
{
    const int h = HitTestSelection(x, y);
    const Point at = PixelToCellClamped(x, y);
    if (h == kHitInside) {
        if (!BlockFloats() && !StartMove()) return false;
    } else if (h == kHitOutside) {
        Point cell;
        if (!PixelToCell(x, y, cell)) return false;
        DropAndDeselect();
        gTool.anchor = {cell.x, cell.y};
    }
    gTool.dragZone = h;
    gTool.lastCell = {at.x, at.y};
    return true;
}

// A handle drag moves the edges it holds, each only as far as the opposite
// edge; nothing happens when no edge can move.
void DragHandle(int handle, Point cell)
{
    const bool left = handle == kHandleTopLeft || handle == kHandleLeft || handle == kHandleBottomLeft;
    const bool right = handle == kHandleTopRight || handle == kHandleRight || handle == kHandleBottomRight;
    const bool top = handle == kHandleTopLeft || handle == kHandleTop || handle == kHandleTopRight;
    const bool bottom = handle == kHandleBottomLeft || handle == kHandleBottom || handle == kHandleBottomRight;
    Selection s = gDoc.selection;
    bool moves = false;
    if (left && cell.x <= s.x1) s.x0 = cell.x, moves = true;
    if (right && cell.x >= s.x0) s.x1 = cell.x, moves = true;
    if (top && cell.y <= s.y1) s.y0 = cell.y, moves = true;
    if (bottom && cell.y >= s.y0) s.y1 = cell.y, moves = true;
    if (moves) SetSelection(s.x0, s.y0, s.x1, s.y1);
}

void SelectionDrag(PointerAnswer& a, Point cell)
{
    // A floating block keeps the selection's size: only a move drag acts.
    if (BlockFloats() && gTool.dragZone != kHitInside) return;
    if (gTool.dragZone == kHitOutside) {
        if (gTool.anchor.x >= 0) SetSelection(gTool.anchor.x, gTool.anchor.y, cell.x, cell.y);
    } else if (!gDoc.selection.active) {
        return;  // an undo during the drag ended the selection
    } else if (gTool.dragZone == kHitInside) {
        // No clamping: the block may hang over the edges.
        const int dx = cell.x - gTool.lastCell.x, dy = cell.y - gTool.lastCell.y;
        SetSelection(gDoc.selection.x0 + dx, gDoc.selection.y0 + dy, gDoc.selection.x1 + dx, gDoc.selection.y1 + dy);
    } else {
        DragHandle(gTool.dragZone, cell);
    }
    if (!gDoc.selection.active) return;
    SetStatus(a, 0, IDS_STATUS_SIZE, SelectionWidth(), SelectionHeight());
}

// A tool chosen or a selection made by a command during a drag ends the
// drag: its later reports would otherwise paint without a press, or reshape
// the new selection.
void EndDrag()
{
    EndStroke();
    gTool.anchor = kNoCell;
    gTool.dragZone = kHitOutside;
}

}  // namespace

void SwitchTool(int tool)
{
    EndDrag();
    gTool.tool = tool;
    DropAndDeselect();
    gTool.hoverZone = 0;
    gHost.toolChanged(tool);
}

void UseSelectionTool()
{
    EndDrag();
    if (gTool.tool == IDT_SELECT) return;
    gTool.tool = IDT_SELECT;
    gTool.hoverZone = 0;
    gHost.toolChanged(IDT_SELECT);
}

PointerAnswer PointerPress(int x, int y, Modifiers keys)
{
    PointerAnswer a;
    const int entry = PaletteHitTest(x, y);
    if (entry >= 0) {
        EndDrag();  // a drag never continues from the palette
        SetPaletteCursor(entry);
        return a;
    }
    if (gTool.tool == IDT_SELECT) {
        if (SelectionPress(x, y)) {
            a.invalidateCanvas = true;
            a.capture = Capture::Take;
        }
        return a;
    }
    Point cell;
    if (!PixelToCell(x, y, cell)) return a;
    switch (gTool.tool) {
    case IDT_PEN:
        PenStrokePress(cell.x, cell.y, SubBlockBit(PixelToHalfCellClamped(x, y)), keys.ctrl, keys.shift);
        break;
    case IDT_MARK: MarkerStrokePress(cell.x, cell.y); break;
    case IDT_FILL: {
        // The Pen's cell without the mark bit; no drag follows.
        const PenValue v = PenCell();
        Point half;
        if (gTool.semigraphicMode & kSemigraphicOn) {
            if (PixelToHalfCell(x, y, half)) FillSubBlocks(half.x, half.y, v.attr);
        } else {
            FillCells(cell.x, cell.y, v.code, v.attr);
        }
        a.invalidateCanvas = true;
        return a;
    }
    default: return a;
    }
    // The stroke follows the mouse outside the window too, and always ends
    // with the button's release.
    a.invalidateCanvas = true;
    a.capture = Capture::Take;
    return a;
}

PointerAnswer PointerMove(int x, int y, bool held, Modifiers keys)
{
    PointerAnswer a;
    const int zone = HitTestSelection(x, y);
    if (gTool.tool == IDT_SELECT && !held && zone != gTool.hoverZone) {
        gTool.hoverZone = zone;
        a.cursorZone = zone;
    }
    if (DescribePaletteEntry(a, x, y, held)) return a;
    const Point cell = PixelToCellClamped(x, y);
    const bool moved = !SameCell(cell, gTool.lastCell);
    if (gTool.tool == IDT_MARK && held && !moved) {
        a.invalidateCanvas = MarkerStrokeMove(cell.x, cell.y);
        return a;
    }
    if (gTool.tool == IDT_PEN && held && gTool.drag != kNoDrag)
        a.invalidateCanvas = PenStrokeMove(cell.x, cell.y, SubBlockBit(PixelToHalfCellClamped(x, y)), keys.shift);
    if (gTool.tool == IDT_SELECT && held && moved) SelectionDrag(a, cell);
    if (gView.ShowStatusBar && !held && moved) {
        SetStatus(a, 0, IDS_STATUS_CELL, cell.x, cell.y);
        const int i = CellIndex(cell.x, cell.y);
        DescribeCell(a, gDoc.screen.code[i], gDoc.screen.attr[i]);
        gTool.lastPaletteIndex = -1;
    }
    gTool.lastCell = {cell.x, cell.y};
    return a;
}

PointerAnswer PointerRelease()
{
    PointerAnswer a;
    EndDrag();
    a.capture = Capture::Release;
    return a;
}

PointerAnswer RightPress(int x, int y, Modifiers keys)
{
    Point cell;
    if (PixelToCell(x, y, cell)) PickUpCell(cell.x, cell.y, keys.ctrl, keys.shift);
    return PointerAnswer();
}

int TransparencyHint()
{
    if (!gMarks.MarkIsTransparent || !BlockFloats()) return 0;
    if (gMarks.MarkBit3 && gMarks.MarkDispc0) return IDS_HINT_BOTH;
    if (gMarks.MarkBit3) return IDS_HINT_BIT3;
    return gMarks.MarkDispc0 ? IDS_HINT_CODE0 : IDS_HINT_NONE;
}
