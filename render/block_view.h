// The selection and the floating block on the canvas: the block's picture in
// the back buffer's scratch area, where it shows, the marquee's lines and the
// zones of the selection's border under the mouse.
#pragma once

#include <cstdint>

#include "render/font.h"
#include "render/view.h"

// Block cell (c, r) has its box at (c s, H + r s) in the back buffer.
Point BlockImageBox(int c, int r);
// The floating block's picture in the back buffer's scratch area, its cells
// drawn with `look`; nothing without a floating block.
void DrawBlockImage(const CellLook& look);
// Every transparent block cell over the screen shows the screen cell beneath
// in the scratch picture, as a drop would leave it.
void ShowThroughMarkedCells();

// The visible part of the floating block: where it lies in the scratch area
// and where it goes on the panel. False when nothing of it is on the canvas.
struct BlockCopy {
    Point from;  // back buffer
    Point to;    // panel coordinates
    int width;
    int height;
};
bool FloatingBlockCopy(BlockCopy& copy);

// The marquee's lines for the current selection (none without one).
int SelectionMarqueeLines(int T, MarqueeLine lines[4]);

// The parts of a selection under the mouse: outside its border band, inside
// it (or anywhere on a floating block), or one of its handles, numbered like
// a numeric keypad. The shell picks each zone's cursor by its number.
enum SelectionZone : int32_t {
    kHitOutside = 0,
    kHandleBottomLeft = 1,
    kHandleBottom = 2,
    kHandleBottomRight = 3,
    kHandleLeft = 4,
    kHitInside = 5,
    kHandleRight = 6,
    kHandleTopLeft = 7,
    kHandleTop = 8,
    kHandleTopRight = 9,
};
SelectionZone HitTestSelection(int x, int y);
