#include "render/palette_view.h"

#include "render/font.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"

namespace {
constexpr int kPaletteTop = 5;
constexpr int kPitchAt1 = 10;
}  // namespace

int PalettePitch()
{
    const ViewGeometry& g = CurrentView();
    return g.z == 0 ? kPitchAt1 : 9 * g.k;
}

Point PaletteBox(int n)
{
    const int e = PalettePitch();
    return {CurrentView().P + (n % kPaletteColumns) * e, kPaletteTop + (n / kPaletteColumns) * e};
}

void DrawPalette()
{
    // Each entry looks exactly like the cell it paints.
    const uint32_t* page = gPalettePages[gPen.page];
    for (int n = 0; n < kPaletteEntries; ++n) {
        const PenValue v = PaletteEntryCell(page[n]);
        const Point p = PaletteBox(n);
        DrawGlyph(p.x, p.y, v.code, v.attr);
    }
}

int PaletteHitTest(int x, int y)
{
    const int e = PalettePitch();
    const int left = CurrentView().P - 1;
    const int top = kPaletteTop - 1;
    if (x < left || x >= left + kPaletteColumns * e || y < top || y >= top + kPaletteRows * e) return -1;
    return ((y - top) / e) * kPaletteColumns + (x - left) / e;
}

Rect PaletteInvalidRect(int T)
{
    const ViewGeometry& g = CurrentView();
    if (g.z == 0) return {g.P - 2, T + 3, g.P + 160, T + 225};
    return {g.P - 2, T + 3, g.P + 144 * g.k, T + 198 * g.k + 5};
}

void PaletteCursorFrames(int n, int T, Rect frames[2])
{
    const int s = CurrentView().s;
    const Point p = PaletteBox(n);
    const int x = p.x;
    const int y = p.y + T;
    frames[0] = {x - 1, y - 1, x + s + 1, y + s + 1};
    frames[1] = {x - 2, y - 2, x + s + 2, y + s + 2};
}
