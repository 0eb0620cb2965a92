#include "render/block_view.h"

#include "render/font.h"
#include "screen/document.h"
#include "screen/marks.h"
#include "screen/selection.h"

namespace {
constexpr int kBand = 4;  // pixels either side of an edge that grab it
// Handle by edge flags: 1 near the left, 2 the right, 4 the top, 8 the
// bottom edge. Near both opposite edges of a narrow selection grabs nothing.
constexpr SelectionZone kHandles[16] = {
    kHitOutside,   kHandleLeft,       kHandleRight,       kHitOutside,   // neither, left, right, both
    kHandleTop,    kHandleTopLeft,    kHandleTopRight,    kHitOutside,   // near the top
    kHandleBottom, kHandleBottomLeft, kHandleBottomRight, kHitOutside,   // near the bottom
    kHitOutside,   kHitOutside,       kHitOutside,        kHitOutside};  // near both
}  // namespace

Point BlockImageBox(int c, int r)
{
    const ViewGeometry& g = CurrentView();
    return {c * g.s, g.H + r * g.s};
}

void DrawBlockImage(const CellLook& look)
{
    if (!gDoc.selection.active || !BlockFloats()) return;
    const int w = BlockWidth(), h = BlockHeight();
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const Point p = BlockImageBox(c, r);
            DrawGlyph(p.x, p.y, gDoc.block.code[BlockIndex(c, r)], gDoc.block.attr[BlockIndex(c, r)], look);
        }
}

void ShowThroughMarkedCells()
{
    if (!gDoc.selection.active || !BlockFloats()) return;
    int x0, y0, x1, y1;
    if (!ClippedSelection(x0, y0, x1, y1)) return;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int c = x - gDoc.selection.x0, r = y - gDoc.selection.y0, i = BlockIndex(c, r);
            if (!IsTransparentCell(gDoc.block.code[i], gDoc.block.attr[i])) continue;
            const Point p = BlockImageBox(c, r);
            DrawGlyph(p.x, p.y, gDoc.screen.code[CellIndex(x, y)], gDoc.screen.attr[CellIndex(x, y)]);
        }
}

bool FloatingBlockCopy(BlockCopy& copy)
{
    int x0, y0, x1, y1;
    if (!BlockFloats() || !ClippedSelection(x0, y0, x1, y1)) return false;
    const int s = CurrentView().s;
    copy.from = BlockImageBox(x0 - gDoc.selection.x0, y0 - gDoc.selection.y0);
    copy.to = CellToPixel(x0, y0);
    copy.width = (x1 - x0 + 1) * s;
    copy.height = (y1 - y0 + 1) * s;
    return true;
}

int SelectionMarqueeLines(int T, MarqueeLine lines[4])
{
    if (!gDoc.selection.active) return 0;
    return MarqueeLines(gDoc.selection.x0, gDoc.selection.y0, gDoc.selection.x1, gDoc.selection.y1, T, lines);
}

SelectionZone HitTestSelection(int a, int b)
{
    if (!gDoc.selection.active) return kHitOutside;
    const Point topLeft = CellToPixel(gDoc.selection.x0, gDoc.selection.y0);
    const Point end = CellToPixel(gDoc.selection.x1 + 1, gDoc.selection.y1 + 1);
    const int left = topLeft.x, top = topLeft.y, right = end.x - 1, bottom = end.y - 1;
    if (a < left - kBand || a >= right + kBand || b < top - kBand || b >= bottom + kBand) return kHitOutside;
    if (a >= left + kBand && a <= right - kBand && b >= top + kBand && b <= bottom - kBand) return kHitInside;
    if (BlockFloats()) return kHitInside;  // a floating block has no handles
    const int near = 8 * (b > bottom - kBand) + 4 * (b < top + kBand) + 2 * (a > right - kBand) + (a < left + kBand);
    return kHandles[near];
}
