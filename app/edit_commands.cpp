#include "app/edit_commands.h"

#include "anim/frames.h"
#include "app/commands.h"
#include "app/pointer.h"
#include "io/clipboard.h"
#include "render/block_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/text_input.h"
#include "screen/undo.h"

namespace {

// The selected cells that lie on the screen, as block text.
void CopySelectedCells()
{
    int x0, y0, x1, y1;
    if (ClippedSelection(x0, y0, x1, y1)) CopyBlockText(gDoc.screen, x0, y0, x1, y1);
}

}  // namespace

void UndoEdit()
{
    const int state = gDoc.block.state;
    if (state != kNotFloating) {
        gDoc.block.state = kNotFloating;
        ClearSelection();
        if (state == kFloatingNew) return;
    }
    Undo();
    // The move's redo records would replay only the clearing of its source.
    if (state == kFloatingMoved) DropRedo();
    gHost.invalidateCanvas();
}

void CutBlock()
{
    if (!gDoc.selection.active) return;
    if (BlockFloats()) {
        CopyFloatingBlockText();
        gDoc.block.state = kNotFloating;
    } else {
        CopySelectedCells();
        BeginUndoGroup();
        FillSelection(kBlankCode, kBlankAttr);
    }
    ClearSelection();
}

void CopyBlock()
{
    if (!gDoc.selection.active) return;
    if (BlockFloats()) {
        CopyFloatingBlockText();
        return;
    }
    CopySelectedCells();
    ClearSelection();
}

void PasteBlock()
{
    UseSelectionTool();
    DropAndDeselect();
    int w, h, x, y;
    if (!ReadClipboardBlock(w, h)) return;
    PastePlacement(w, h, x, y);
    SetSelection(x, y, x + w - 1, y + h - 1);
    gDoc.block.state = kFloatingNew;
    gHost.blockChanged();
    gHost.invalidateCanvas();
}

void CopyBlockAsImage()
{
    if (!gDoc.selection.active) return;
    const bool floating = BlockFloats();
    if (!floating && !LiftBlock()) return;
    // The picture shows the cells as the canvas does, without the grid.
    CellLook look = CanvasLook();
    look.grid = false;
    DrawBlockImage(look);
    if (!floating) gDoc.block.state = kNotFloating;  // only the picture was wanted
    const int s = CurrentView().s;
    gHost.putClipboardImage(SelectionWidth() * s, SelectionHeight() * s);
    if (floating) {
        DrawBlockImage(CanvasLook());
        gHost.invalidateCanvas();
    } else {
        ClearSelection();
    }
}

void SelectAll()
{
    UseSelectionTool();
    DropBlock();
    SetSelection(0, 0, kScreenColumns - 1, kScreenRows - 1);
}

void FillSelectionWithPen()
{
    if (!gDoc.selection.active) return;
    DropBlock();
    BeginUndoGroup();
    const PenValue v = PenCell();
    FillSelection(v.code, v.attr);
    ClearSelection();
}

void FlipBlock(bool leftRight)
{
    if (!gDoc.selection.active) return;
    const bool liftedHere = !BlockFloats();
    if (liftedHere && !LiftBlock()) return;
    if (leftRight)
        FlipLeftRight();
    else
        FlipUpDown();
    if (liftedHere) DropBlockWhole();  // the changed cells go back whole, marks or not
    gHost.invalidateCanvas();
}

void ShiftBlockHalfCell(int direction)
{
    if (!gDoc.selection.active && !BlockFloats()) return;
    ShiftHalfCell(direction);
    gHost.invalidateCanvas();
}

void ToggleMarksTransparent()
{
    gMarks.MarkIsTransparent = !gMarks.MarkIsTransparent;
    // The picture's marked cells showed the screen beneath; now they show
    // themselves again.
    if (!gMarks.MarkIsTransparent) DrawBlockImage(CanvasLook());
    gHost.invalidateCanvas();
}

void PlaceConvertedScreen(const ConvertedScreen& screen)
{
    BeginUndoGroup();
    for (int i = 0; i < kCellCount; ++i) SetCell(i % kScreenColumns, i / kScreenColumns, screen.code[i], screen.attr[i]);
    gHost.invalidateCanvas();
}

void ResetEditing()
{
    gDoc.screen = ScreenBuffer{};
    ResetPen();
    ResetTools();
    ResetSelection();
    ResetTextInput();
    ResetFrames();
    gExportChoice = ExportChoice{};
}
