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

inline bool BoxShowsCell(int column, int row)
{
    const ViewGeometry& g = CurrentView();
    const Point p = CellToPixel(column, row);
    std::vector<uint32_t> saved;
    for (int y = 0; y < g.s; ++y)
        for (int x = 0; x < g.s; ++x) saved.push_back(*PixelAt(gBackBuffer, p.x + x, p.y + y));
    const int i = CellIndex(column, row);
    DrawCanvasCell(column, row, gScreen.code[i], gScreen.attr[i]);
    size_t n = 0;
    for (int y = 0; y < g.s; ++y)
        for (int x = 0; x < g.s; ++x)
            if (saved[n++] != *PixelAt(gBackBuffer, p.x + x, p.y + y)) return false;
    return true;
}
