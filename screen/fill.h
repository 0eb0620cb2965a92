// The flood fills: a region of equal cells, or of empty semigraphic
// sub-blocks, filled with the Pen in one undo group.
#pragma once

// Fills the cells 4-connected to (x, y) that hold exactly its code and
// attribute (mark bit included) with (code, attr). Nothing happens, and no
// undo group opens, when the cell already holds them. A region too ragged
// for the span stack is filled as far as it got.
void FillCells(int x, int y, int code, int attr);
// Sets the empty sub-blocks 4-connected to sub-block (sx, sy) of the 80 x 50
// grid; cells that are neither semigraphic nor blank are walls. Changed
// cells take `attr` whole. A region too ragged for the span stack changes
// nothing.
void FillSubBlocks(int sx, int sy, int attr);
