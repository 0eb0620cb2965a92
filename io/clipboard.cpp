#include "io/clipboard.h"

#include "io/block_text.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/selection.h"

namespace {

bool ReadClipboardCells(BlockCells& cells)
{
    std::string text;
    return gHost.getClipboardText(text) && ReadBlockText(text.data(), text.size(), cells);
}

}  // namespace

void CopyBlockText(const ScreenBuffer& screen, int x0, int y0, int x1, int y1)
{
    const int first = CellIndex(x0, y0);
    gHost.putClipboardText(
        WriteBlockText(screen.code + first, screen.attr + first, kScreenColumns, x1 - x0 + 1, y1 - y0 + 1));
}

void CopyFloatingBlockText()
{
    gHost.putClipboardText(WriteBlockText(gDoc.block.code, gDoc.block.attr, kBlockStride, BlockWidth(), BlockHeight()));
}

bool ReadClipboardBlock(int& w, int& h)
{
    BlockCells cells;
    if (!ReadClipboardCells(cells)) return false;
    w = cells.width;
    h = cells.height;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            gDoc.block.code[BlockIndex(c, r)] = cells.code[r * w + c];
            gDoc.block.attr[BlockIndex(c, r)] = cells.attr[r * w + c];
        }
    return true;
}

bool CanPasteBlock()
{
    BlockCells cells;
    return ReadClipboardCells(cells);
}
