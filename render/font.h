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
// The grid colour follows the panel background as it was last filled.
extern uint32_t gGridColour;
extern uint32_t gMarkColour;

// The back buffer the canvas, the palette and the floating block are drawn
// into; the shell points it at its bitmap.
extern PixelView gBackBuffer;

// Reads up to 4096 bytes; a shorter file leaves the rest blank. False when
// the file cannot be opened or read.
bool LoadFont(const char* fileName);

// One decorated cell box (grid, code-00 and bit-3 marks as the view settings
// say) of the current zoom into the back buffer, top-left at (x, y).
void DrawGlyph(int x, int y, int code, int attr);
// The same box without decorations at zoom factor k into any buffer.
void DrawPlainGlyph(const PixelView& target, int x, int y, int code, int attr, int k);
