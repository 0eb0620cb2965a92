#include "app/pointer.h"

#include <cstdio>

#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"

PointerState gPointer = {IDT_PEN, 0, -1};

namespace {

void SetStatus(PointerAnswer& a, int part, const char* text)
{
    a.statusChanged[part] = true;
    std::snprintf(a.status[part], kStatusChars, "%s", text);
}

void DescribeCell(PointerAnswer& a, int code, int attr)
{
    char text[kStatusChars];
    std::snprintf(text, sizeof text, "Chr: %02X h  Attr: %02X h", code & 0xFF, attr & 0xFF);
    SetStatus(a, 1, text);
}

bool SameCell(Point cell, CellPos last) { return cell.x == last.x && cell.y == last.y; }

// Over the palette with the button up: the entry is described as the cell it
// would paint. True when the report ends there.
bool DescribePaletteEntry(PointerAnswer& a, int x, int y, bool held)
{
    if (!ShowStatusBar || held || x < CurrentView().P) return false;
    const int entry = PaletteHitTest(x, y);
    if (entry < 0) return false;
    if (entry != gPointer.lastPaletteIndex) {
        const PenValue v = PaletteEntryCell(gPalettePages[gPen.page][entry]);
        SetStatus(a, 0, "");
        DescribeCell(a, v.code, v.attr);
        gPointer.lastPaletteIndex = entry;
        gLastCell = kNoCell;
    }
    return true;
}

}  // namespace

void ResetPointer() { gPointer = {IDT_PEN, 0, -1}; }

void SwitchTool(int tool)
{
    gPointer.tool = tool;
    gPointer.hoverZone = 0;
    OnToolChanged(tool);
}

PointerAnswer PointerPress(int x, int y, Modifiers keys)
{
    PointerAnswer a;
    const int entry = PaletteHitTest(x, y);
    if (entry >= 0) {
        EndStroke();  // a stroke never continues from the palette
        SetPaletteCursor(entry);
        return a;
    }
    Point cell;
    if (!PixelToCell(x, y, cell)) return a;
    switch (gPointer.tool) {
    case IDT_PEN:
        PenStrokePress(cell.x, cell.y, SubBlockBit(PixelToHalfCellClamped(x, y)), keys.ctrl, keys.shift);
        break;
    case IDT_MARK: MarkerStrokePress(cell.x, cell.y); break;
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
    if (DescribePaletteEntry(a, x, y, held)) return a;
    const Point cell = PixelToCellClamped(x, y);
    const bool moved = !SameCell(cell, gLastCell);
    if (gPointer.tool == IDT_MARK && held && !moved) {
        a.invalidateCanvas = MarkerStrokeMove(cell.x, cell.y);
        return a;
    }
    if (gPointer.tool == IDT_PEN && held && gDragMode != kNoDrag)
        a.invalidateCanvas = PenStrokeMove(cell.x, cell.y, SubBlockBit(PixelToHalfCellClamped(x, y)), keys.shift);
    if (ShowStatusBar && !held && moved) {
        char text[kStatusChars];
        std::snprintf(text, sizeof text, "(%2d, %2d)", cell.x, cell.y);
        SetStatus(a, 0, text);
        const int i = CellIndex(cell.x, cell.y);
        DescribeCell(a, gScreen.code[i], gScreen.attr[i]);
        gPointer.lastPaletteIndex = -1;
    }
    gLastCell = {cell.x, cell.y};
    return a;
}

PointerAnswer PointerRelease()
{
    PointerAnswer a;
    EndStroke();
    a.capture = Capture::Release;
    return a;
}

PointerAnswer RightPress(int x, int y, Modifiers keys)
{
    Point cell;
    if (PixelToCell(x, y, cell)) PickUpCell(cell.x, cell.y, keys.ctrl, keys.shift);
    return PointerAnswer();
}
