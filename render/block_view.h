// The selection and the floating block on the canvas: the block's picture in
// the back buffer's scratch area, where it shows, the marquee's lines and the
// zones of the selection's border under the mouse.
#pragma once

#include "render/view.h"

// Block cell (c, r) has its box at (c s, H + r s) in the back buffer.
Point BlockImageBox(int c, int r);
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

// 0 outside the selection's border band, 5 inside (or anywhere on a
// floating block), else the handle under (x, y), numbered like a numeric
// keypad: 7 top-left, 8 top, 9 top-right, 4 left, 6 right, 1 bottom-left,
// 2 bottom, 3 bottom-right.
int HitTestSelection(int x, int y);
constexpr int kHitOutside = 0;
constexpr int kHitInside = 5;
