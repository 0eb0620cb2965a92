#include "screen/selection.h"

#include <algorithm>

#include "screen/document.h"
#include "screen/host.h"
#include "screen/marks.h"
#include "screen/mirror_tables.h"
#include "screen/strokes.h"
#include "screen/undo.h"


namespace {

constexpr int kMarqueePhases = 8;
constexpr int kEmptySemigraphic = kSemigraphicBase;  // 0xF0: no sub-block set

bool OnScreen(int x, int y) { return x >= 0 && x < kScreenColumns && y >= 0 && y < kScreenRows; }

void SwapCells(int a, int b)
{
    std::swap(gDoc.block.code[a], gDoc.block.code[b]);
    std::swap(gDoc.block.attr[a], gDoc.block.attr[b]);
}

// The second character set has its own left-right pairs among the codes the
// table keeps.
void MirrorLeftRightCell(int i)
{
    int m = MirrorLeftRight[gDoc.block.code[i] & 0xFF];
    if (gDoc.block.attr[i] & kAttrCharSet) {
        if (m == 0x02) m = 0x04;
        else if (m == 0x04) m = 0x02;
        else if (m == 0x10) m = 0x11;
        else if (m == 0x11) m = 0x10;
    }
    gDoc.block.code[i] = m;
}

// Upside down, BD exists only in the second character set.
void MirrorUpDownCell(int i)
{
    const int m = MirrorUpDown[gDoc.block.code[i] & 0xFF];
    gDoc.block.code[i] = m;
    if (m == 0xBD) gDoc.block.attr[i] |= kAttrCharSet;
}

void DropCells(bool leaveOutTransparent)
{
    if (!gDoc.selection.active || !BlockFloats()) return;
    if (gDoc.block.state == kFloatingNew) BeginUndoGroup();
    for (int r = 0; r < BlockHeight(); ++r)
        for (int c = 0; c < BlockWidth(); ++c) {
            const int x = gDoc.selection.x0 + c, y = gDoc.selection.y0 + r, i = BlockIndex(c, r);
            if (!OnScreen(x, y)) continue;
            if (leaveOutTransparent && IsTransparentCell(gDoc.block.code[i], gDoc.block.attr[i])) continue;
            SetCell(x, y, gDoc.block.code[i], gDoc.block.attr[i]);
        }
    gDoc.block.state = kNotFloating;
}

// One sub-block step of the picture along a line of n cells, walked from the
// side the picture moves towards (`at(k)` is the k-th cell of the walk), so
// that each cell's neighbour is read before it changes. A cell keeps its
// sub-blocks `keep`, moved by `shift` bits towards bit 0, and takes its
// neighbour's sub-blocks `enter`, moved `shift` bits the other way. Cells
// that are neither semigraphic nor blank stay.
template <typename At>
void ShiftLine(int n, At at, int keep, int enter, int shift)
{
    auto move = [](int bits, int by) { return by > 0 ? bits << by : bits >> -by; };
    for (int k = 0; k < n; ++k) {
        int& v = gDoc.block.code[at(k)];
        if (!IsSemigraphic(v) && v != 0) continue;
        const int neighbour = k + 1 < n ? gDoc.block.code[at(k + 1)] : kEmptySemigraphic;
        int code = kSemigraphicBase | move(v & keep, -shift);
        if (IsSemigraphic(neighbour)) code |= move(neighbour & enter, shift);
        v = code;
    }
}

void ShiftBlock(int direction)
{
    const int w = BlockWidth(), h = BlockHeight();
    // Masks: bit 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
    switch (direction) {
    case kShiftLeft:
        for (int r = 0; r < h; ++r) ShiftLine(w, [&](int k) { return BlockIndex(k, r); }, 0x0A, 0x05, 1);
        break;
    case kShiftRight:
        for (int r = 0; r < h; ++r) ShiftLine(w, [&](int k) { return BlockIndex(w - 1 - k, r); }, 0x05, 0x0A, -1);
        break;
    case kShiftUp:
        for (int c = 0; c < w; ++c) ShiftLine(h, [&](int k) { return BlockIndex(c, k); }, 0x0C, 0x03, 2);
        break;
    case kShiftDown:
        for (int c = 0; c < w; ++c) ShiftLine(h, [&](int k) { return BlockIndex(c, h - 1 - k); }, 0x03, 0x0C, -2);
        break;
    default: return;
    }
    gHost.blockChanged();
}

}  // namespace

bool BlockFloats() { return gDoc.block.state != kNotFloating; }
int SelectionWidth() { return gDoc.selection.x1 - gDoc.selection.x0 + 1; }
int SelectionHeight() { return gDoc.selection.y1 - gDoc.selection.y0 + 1; }

int BlockWidth() { return std::min(SelectionWidth(), kScreenColumns); }
int BlockHeight() { return std::min(SelectionHeight(), kScreenRows); }

void ResetSelection()
{
    gDoc.selection = Selection{0, 0, 0, 0, false, 0};
    gDoc.block.state = kNotFloating;
}

void SetSelection(int a, int b, int c, int d)
{
    ClearSelection();
    gDoc.selection.x0 = std::min(a, c);
    gDoc.selection.x1 = std::max(a, c);
    gDoc.selection.y0 = std::min(b, d);
    gDoc.selection.y1 = std::max(b, d);
    gDoc.selection.active = true;
    gDoc.selection.phase = 0;
    gHost.selectionChanged(true);
}

void ClearSelection()
{
    if (!gDoc.selection.active) return;
    gDoc.selection.active = false;
    gHost.selectionChanged(false);
}

void AdvanceMarquee() { gDoc.selection.phase = (gDoc.selection.phase + 1) % kMarqueePhases; }

bool ClippedSelection(int& x0, int& y0, int& x1, int& y1)
{
    x0 = std::max(gDoc.selection.x0, 0);
    y0 = std::max(gDoc.selection.y0, 0);
    x1 = std::min(gDoc.selection.x1, kScreenColumns - 1);
    y1 = std::min(gDoc.selection.y1, kScreenRows - 1);
    return gDoc.selection.active && x0 <= x1 && y0 <= y1;
}

void FillSelection(int code, int attr)
{
    int x0, y0, x1, y1;
    if (!ClippedSelection(x0, y0, x1, y1)) return;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) SetCell(x, y, code, attr);
}

bool LiftBlock()
{
    if (!gDoc.selection.active) return false;
    int x0, y0, x1, y1;
    if (!ClippedSelection(x0, y0, x1, y1)) {
        ClearSelection();
        return false;
    }
    if (x0 != gDoc.selection.x0 || y0 != gDoc.selection.y0 || x1 != gDoc.selection.x1 || y1 != gDoc.selection.y1)
        SetSelection(x0, y0, x1, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int i = BlockIndex(x - x0, y - y0);
            gDoc.block.code[i] = gDoc.screen.code[CellIndex(x, y)];
            gDoc.block.attr[i] = gDoc.screen.attr[CellIndex(x, y)];
        }
    gDoc.block.state = kFloatingNew;
    gHost.blockChanged();
    return true;
}

void DropBlock() { DropCells(true); }
void DropBlockWhole() { DropCells(false); }

void DropAndDeselect()
{
    DropBlock();
    ClearSelection();
}

bool StartMove()
{
    if (!LiftBlock()) return false;
    gDoc.block.state = kFloatingMoved;
    BeginUndoGroup();
    FillSelection(kBlankCode, kBlankAttr);
    return true;
}

void FlipLeftRight()
{
    const int w = BlockWidth(), h = BlockHeight();
    for (int r = 0; r < h; ++r) {
        for (int j = 0; j < w / 2; ++j) {
            const int a = BlockIndex(j, r), b = BlockIndex(w - 1 - j, r);
            SwapCells(a, b);
            MirrorLeftRightCell(a);
            MirrorLeftRightCell(b);
        }
        if (w % 2) MirrorLeftRightCell(BlockIndex(w / 2, r));
    }
    gHost.blockChanged();
}

void FlipUpDown()
{
    const int w = BlockWidth(), h = BlockHeight();
    for (int c = 0; c < w; ++c) {
        for (int j = 0; j < h / 2; ++j) {
            const int a = BlockIndex(c, j), b = BlockIndex(c, h - 1 - j);
            SwapCells(a, b);
            MirrorUpDownCell(a);
            MirrorUpDownCell(b);
        }
        if (h % 2) MirrorUpDownCell(BlockIndex(c, h / 2));
    }
    gHost.blockChanged();
}

void ShiftHalfCell(int direction)
{
    if (BlockFloats()) {
        ShiftBlock(direction);
        return;
    }
    if (!LiftBlock()) return;
    ShiftBlock(direction);
    DropBlockWhole();
}

void PastePlacement(int w, int h, int& x, int& y)
{
    x = std::max(gTool.lastCell.x - w / 2, 0);
    y = std::max(gTool.lastCell.y - h / 2, 0);
    if (x + w > kScreenColumns) x = kScreenColumns - w;
    if (y + h > kScreenRows) y = kScreenRows - h;
}
