#include "screen/selection.h"

#include <algorithm>

#include "screen/host.h"
#include "screen/marks.h"
#include "screen/mirror_tables.h"
#include "screen/strokes.h"
#include "screen/undo.h"

Selection gSelection;
FloatingBlock gBlock;

namespace {

constexpr int kMarqueePhases = 8;
constexpr int kEmptySemigraphic = kSemigraphicBase;  // 0xF0: no sub-block set

bool OnScreen(int x, int y) { return x >= 0 && x < kScreenColumns && y >= 0 && y < kScreenRows; }

void SwapCells(int a, int b)
{
    std::swap(gBlock.code[a], gBlock.code[b]);
    std::swap(gBlock.attr[a], gBlock.attr[b]);
}

// The second character set has its own left-right pairs among the codes the
// table keeps.
void MirrorLeftRightCell(int i)
{
    int m = MirrorLeftRight[gBlock.code[i] & 0xFF];
    if (gBlock.attr[i] & kAttrCharSet) {
        if (m == 0x02) m = 0x04;
        else if (m == 0x04) m = 0x02;
        else if (m == 0x10) m = 0x11;
        else if (m == 0x11) m = 0x10;
    }
    gBlock.code[i] = m;
}

// Upside down, BD exists only in the second character set.
void MirrorUpDownCell(int i)
{
    const int m = MirrorUpDown[gBlock.code[i] & 0xFF];
    gBlock.code[i] = m;
    if (m == 0xBD) gBlock.attr[i] |= kAttrCharSet;
}

void DropCells(bool leaveOutTransparent)
{
    if (!gSelection.active || !BlockFloats()) return;
    if (gBlock.state == kFloatingNew) BeginUndoGroup();
    for (int r = 0; r < BlockHeight(); ++r)
        for (int c = 0; c < BlockWidth(); ++c) {
            const int x = gSelection.x0 + c, y = gSelection.y0 + r, i = BlockIndex(c, r);
            if (!OnScreen(x, y)) continue;
            if (leaveOutTransparent && IsTransparentCell(gBlock.code[i], gBlock.attr[i])) continue;
            SetCell(x, y, gBlock.code[i], gBlock.attr[i]);
        }
    gBlock.state = kNotFloating;
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
        int& v = gBlock.code[at(k)];
        if (!IsSemigraphic(v) && v != 0) continue;
        const int neighbour = k + 1 < n ? gBlock.code[at(k + 1)] : kEmptySemigraphic;
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

int BlockWidth() { return std::min(SelectionWidth(), kScreenColumns); }
int BlockHeight() { return std::min(SelectionHeight(), kScreenRows); }

void ResetSelection()
{
    gSelection = Selection{0, 0, 0, 0, false, 0};
    gBlock.state = kNotFloating;
}

void SetSelection(int a, int b, int c, int d)
{
    ClearSelection();
    gSelection.x0 = std::min(a, c);
    gSelection.x1 = std::max(a, c);
    gSelection.y0 = std::min(b, d);
    gSelection.y1 = std::max(b, d);
    gSelection.active = true;
    gSelection.phase = 0;
    gHost.selectionChanged(true);
}

void ClearSelection()
{
    if (!gSelection.active) return;
    gSelection.active = false;
    gHost.selectionChanged(false);
}

void AdvanceMarquee() { gSelection.phase = (gSelection.phase + 1) % kMarqueePhases; }

bool ClippedSelection(int& x0, int& y0, int& x1, int& y1)
{
    x0 = std::max(gSelection.x0, 0);
    y0 = std::max(gSelection.y0, 0);
    x1 = std::min(gSelection.x1, kScreenColumns - 1);
    y1 = std::min(gSelection.y1, kScreenRows - 1);
    return gSelection.active && x0 <= x1 && y0 <= y1;
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
    if (!gSelection.active) return false;
    int x0, y0, x1, y1;
    if (!ClippedSelection(x0, y0, x1, y1)) {
        ClearSelection();
        return false;
    }
    if (x0 != gSelection.x0 || y0 != gSelection.y0 || x1 != gSelection.x1 || y1 != gSelection.y1)
        SetSelection(x0, y0, x1, y1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int i = BlockIndex(x - x0, y - y0);
            gBlock.code[i] = gScreen.code[CellIndex(x, y)];
            gBlock.attr[i] = gScreen.attr[CellIndex(x, y)];
        }
    gBlock.state = kFloatingNew;
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
    gBlock.state = kFloatingMoved;
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
    x = std::max(gStroke.lastCell.x - w / 2, 0);
    y = std::max(gStroke.lastCell.y - h / 2, 0);
    if (x + w > kScreenColumns) x = kScreenColumns - w;
    if (y + h > kScreenRows) y = kScreenRows - h;
}
