// Whether the back buffer's box of canvas cell (column, row) shows exactly
// what drawing that Screen buffer cell now gives. Shared by the core's and
// the shell's tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/font.h"
#include "render/view.h"
#include "screen/screen.h"

// Whether the back buffer's cell-sized box at `p` already shows what `draw`
// puts there.
template <typename Draw>
bool BoxShows(Point p, Draw draw)
{
    const int s = CurrentView().s;
    std::vector<uint32_t> saved;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) saved.push_back(*PixelAt(gCanvas.pixels, p.x + x, p.y + y));
    draw();
    size_t n = 0;
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x)
            if (saved[n++] != *PixelAt(gCanvas.pixels, p.x + x, p.y + y)) return false;
    return true;
}

inline bool BoxShowsCell(int column, int row)
{
    return BoxShows(CellToPixel(column, row), [&] { DrawCanvasCell(column, row); });
}
