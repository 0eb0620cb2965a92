// The character palette beside the canvas: its geometry, drawing, hit test
// and the rectangles the shell repaints.
#pragma once

#include "render/view.h"

// Distance between neighbouring entries.
int PalettePitch();
// Top-left corner of entry n's box, panel coordinates.
Point PaletteBox(int n);
// Draws all 352 entries of the current page in the Pen's colours.
void DrawPalette();
// Entry index under a panel point, or -1.
int PaletteHitTest(int x, int y);
// Client rectangle to invalidate when the palette changes.
Rect PaletteInvalidRect(int T);
// The two rectangles the orange cursor frame outlines around entry n
// (inner first), client coordinates.
void PaletteCursorFrames(int n, int T, Rect frames[2]);
