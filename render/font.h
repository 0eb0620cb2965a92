// The character font and the glyph rasteriser that writes cell boxes into the
// back buffer.
#pragma once
#include <cstdint>

#include "render/pixels.h"

constexpr int kGlyphCount = 512;
constexpr int kGlyphBytes = 8;
constexpr int kFontBytes = kGlyphCount * kGlyphBytes;  // 4096
constexpr int kCellPixels = 8;

extern uint8_t gFontImage[kFontBytes];

// The eight MZ-700 colours by colour number.
extern const uint32_t kColourTable[8];
constexpr uint32_t kPanelGrey = Rgb(64, 64, 64);
constexpr uint32_t kMarkPurple = Rgb(204, 0, 204);
// The back buffer the canvas, the palette and the floating block are drawn
// into, which the front end points at its bitmap, and the colours of the
// decorations drawn over cells.
struct CanvasTarget {
    PixelView pixels;
    uint32_t gridColour;  // follows the panel background as it was last filled
    uint32_t markColour;
};
extern CanvasTarget gCanvas;

// Reads up to 4096 bytes; a shorter file leaves the rest blank. False when
// the file cannot be opened or read.
bool LoadFont(const char* fileName);

// What a cell box shows over its glyph.
struct CellLook {
    bool grid;       // the grid's corner
    bool crossGrid;  // ... with arms (from x2 up)
    bool markCode0;  // a crossed box over display code 00
    bool markBit3;   // a crossed box over attribute bit 3
};
// The look the view settings and the marks give the canvas.
CellLook CanvasLook();
// One decorated cell box of the current zoom into the back buffer, top-left
// at (x, y).
void DrawGlyph(int x, int y, int code, int attr, const CellLook& look);
inline void DrawGlyph(int x, int y, int code, int attr) { DrawGlyph(x, y, code, attr, CanvasLook()); }
// The same box without decorations at zoom factor k into any buffer.
void DrawPlainGlyph(const PixelView& target, int x, int y, int code, int attr, int k);
