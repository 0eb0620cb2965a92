#include "io/clipboard.h"

#include <algorithm>

#include "io/block_text.h"
#include "screen/selection.h"

namespace {

bool ReadClipboardCells(BlockCells& cells)
{
    std::string text;
    return GetClipboardText(text) && ReadBlockText(text.data(), text.size(), cells);
}

}  // namespace

void CopyBlockText(int x0, int y0, int x1, int y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, kScreenColumns - 1);
    y1 = std::min(y1, kScreenRows - 1);
    if (x0 > x1 || y0 > y1) return;
    const int first = CellIndex(x0, y0);
    PutClipboardText(WriteBlockText(gScreen.code + first, gScreen.attr + first, kScreenColumns, x1 - x0 + 1, y1 - y0 + 1));
}

void CopyFloatingBlockText()
{
    PutClipboardText(WriteBlockText(gBlock.code, gBlock.attr, kBlockStride, BlockWidth(), BlockHeight()));
}

bool ReadClipboardBlock(int& w, int& h)
{
    BlockCells cells;
    if (!ReadClipboardCells(cells)) return false;
    w = cells.width;
    h = cells.height;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            gBlock.code[BlockIndex(c, r)] = cells.code[r * w + c];
            gBlock.attr[BlockIndex(c, r)] = cells.attr[r * w + c];
        }
    return true;
}

bool CanPasteBlock()
{
    BlockCells cells;
    return ReadClipboardCells(cells);
}
