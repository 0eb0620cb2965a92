#include "app/edit_commands.h"

#include "anim/frames.h"
#include "app/pointer.h"
#include "io/clipboard.h"
#include "render/block_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/text_input.h"
#include "screen/undo.h"

void UndoEdit()
{
    const int state = gBlock.state;
    if (state != kNotFloating) {
        gBlock.state = kNotFloating;
        ClearSelection();
        if (state == kFloatingNew) return;
    }
    Undo();
    // The move's redo records would replay only the clearing of its source.
    if (state == kFloatingMoved) DropRedo();
    InvalidateCanvas();
}

void CutBlock()
{
    if (!gSelection.active) return;
    if (BlockFloats()) {
        CopyFloatingBlockText();
        gBlock.state = kNotFloating;
    } else {
        CopyBlockText(gSelection.x0, gSelection.y0, gSelection.x1, gSelection.y1);
        BeginUndoGroup();
        FillSelection(kBlankCode, kBlankAttr);
    }
    ClearSelection();
}

void CopyBlock()
{
    if (!gSelection.active) return;
    if (BlockFloats()) {
        CopyFloatingBlockText();
        return;
    }
    CopyBlockText(gSelection.x0, gSelection.y0, gSelection.x1, gSelection.y1);
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
    gBlock.state = kFloatingNew;
    DrawBlockImage();
    InvalidateCanvas();
}

void CopyBlockAsImage()
{
    if (!gSelection.active) return;
    const bool floating = BlockFloats();
    // The picture shows the cells as the canvas does, without the grid.
    const int grid = ShowGrid;
    ShowGrid = 0;
    bool drawn = true;
    if (floating)
        DrawBlockImage();
    else if ((drawn = LiftBlock()))
        gBlock.state = kNotFloating;  // only the picture was wanted
    ShowGrid = grid;
    if (!drawn) return;
    const int s = CurrentView().s;
    PutClipboardImage(SelectionWidth() * s, SelectionHeight() * s);
    if (floating) {
        DrawBlockImage();
        InvalidateCanvas();
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
    if (!gSelection.active) return;
    DropBlock();
    BeginUndoGroup();
    const PenValue v = PenCell();
    FillSelection(v.code, v.attr);
    ClearSelection();
}

void FlipBlock(bool leftRight)
{
    if (!gSelection.active) return;
    const bool liftedHere = !BlockFloats();
    if (liftedHere && !LiftBlock()) return;
    if (leftRight)
        FlipLeftRight();
    else
        FlipUpDown();
    if (liftedHere) DropBlockWhole();  // the changed cells go back whole, marks or not
    InvalidateCanvas();
}

void ShiftBlockHalfCell(int direction)
{
    if (!gSelection.active && !BlockFloats()) return;
    ShiftHalfCell(direction);
    InvalidateCanvas();
}

void ToggleMarksTransparent()
{
    MarkIsTransparent = !MarkIsTransparent;
    // The picture's marked cells showed the screen beneath; now they show
    // themselves again.
    if (!MarkIsTransparent) DrawBlockImage();
    InvalidateCanvas();
}

void PlaceConvertedScreen(const ConvertedScreen& screen)
{
    BeginUndoGroup();
    for (int i = 0; i < kCellCount; ++i) SetCell(i % kScreenColumns, i / kScreenColumns, screen.code[i], screen.attr[i]);
    InvalidateCanvas();
}

void ResetEditing()
{
    gScreen = ScreenBuffer{};
    ResetPen();
    ResetStrokes();
    ResetPointer();
    ResetSelection();
    ResetTextInput();
    ResetFrames();
}
