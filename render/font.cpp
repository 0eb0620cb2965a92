#include "render/font.h"

#include <cstdio>
#include <cstring>

#include "render/view.h"
#include "render/view_settings.h"
#include "screen/screen.h"

uint8_t gFontImage[kFontBytes];

const uint32_t kColourTable[8] = {
    Rgb(0, 0, 0),   Rgb(0, 0, 255),   Rgb(255, 0, 0),   Rgb(255, 0, 255),
    Rgb(0, 255, 0), Rgb(0, 255, 255), Rgb(255, 255, 0), Rgb(255, 255, 255),
};
CanvasTarget gCanvas = {{nullptr, 0, 0}, kPanelGrey, kMarkPurple};

namespace {

constexpr int kMaxZoomFactor = 8;

int GlyphNumber(int code, int attr) { return (code & 0xFF) + ((attr & kAttrCharSet) ? 256 : 0); }

// Each font pixel becomes a k x k block: one row of the box is built once
// and copied k times.
void WriteBox(const PixelView& v, int x, int y, int code, int attr, int k)
{
    const int s = kCellPixels * k;
    const uint32_t fg = kColourTable[(attr >> 4) & 7];
    const uint32_t bg = kColourTable[attr & 7];
    const uint8_t* glyph = gFontImage + kGlyphBytes * GlyphNumber(code, attr);
    uint32_t row[kCellPixels * kMaxZoomFactor];
    for (int r = 0; r < kCellPixels; ++r) {
        uint32_t* p = row;
        for (int bit = 7; bit >= 0; --bit) {
            const uint32_t c = (glyph[r] >> bit) & 1 ? fg : bg;
            for (int i = 0; i < k; ++i) *p++ = c;
        }
        for (int j = 0; j < k; ++j) std::memcpy(PixelAt(v, x, y + r * k + j), row, sizeof(uint32_t) * s);
    }
}

// The box outline with both diagonals.
void DrawCrossedBox(const PixelView& v, int x, int y, int s, uint32_t colour)
{
    for (int i = 0; i < s; ++i) {
        *PixelAt(v, x, y + i) = colour;
        *PixelAt(v, x + s - 1, y + i) = colour;
        *PixelAt(v, x + i, y) = colour;
        *PixelAt(v, x + i, y + s - 1) = colour;
        *PixelAt(v, x + i, y + i) = colour;
        *PixelAt(v, x + s - 1 - i, y + i) = colour;
    }
}

}  // namespace

bool LoadFont(const char* fileName)
{
    FILE* f = std::fopen(fileName, "rb");
    if (!f) return false;
    std::memset(gFontImage, 0, sizeof gFontImage);
    std::fread(gFontImage, 1, sizeof gFontImage, f);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return !failed;
}

void DrawPlainGlyph(const PixelView& target, int x, int y, int code, int attr, int k)
{
    if (k < 1 || k > kMaxZoomFactor || !BoxFits(target, x, y, kCellPixels * k, kCellPixels * k)) return;
    WriteBox(target, x, y, code, attr, k);
}

CellLook CanvasLook()
{
    return {gView.ShowGrid != 0, gView.GridType == kGridCross, gMarks.MarkDispc0 != 0, gMarks.MarkBit3 != 0};
}

void DrawGlyph(int x, int y, int code, int attr, const CellLook& look)
{
    const ViewGeometry& g = CurrentView();
    const PixelView& v = gCanvas.pixels;
    if (!BoxFits(v, x, y, g.s, g.s)) return;
    WriteBox(v, x, y, code, attr, g.k);
    // Palette entries (right of P) never carry grid pixels; at x1 the grid is dots.
    if (look.grid && x < g.P) DrawGridCorner(v, x, y, g.z, look.crossGrid && g.z >= 1, gCanvas.gridColour);
    if (look.markCode0 && (code & 0xFF) == 0) DrawCrossedBox(v, x, y, g.s, gCanvas.gridColour);
    if (look.markBit3 && (attr & kAttrMark)) DrawCrossedBox(v, x, y, g.s, gCanvas.markColour);
}
