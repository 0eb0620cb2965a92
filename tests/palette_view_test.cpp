// The character palette's drawing, hit test and rectangles.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/font.h"
#include "render/palette_view.h"
#include "render/view_settings.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "tests/test_support.h"

namespace {

// The colours a box shows: its top-left pixel is background and the pixel
// right of it foreground in a font where row 0 is 01111111.
struct BoxColours {
    uint32_t fg;
    uint32_t bg;
};
BoxColours ColoursAt(int n)
{
    const Point p = PaletteBox(n);
    return {*PixelAt(gBackBuffer, p.x + CurrentView().k, p.y), *PixelAt(gBackBuffer, p.x, p.y)};
}

std::vector<int> Edges(Rect r) { return {r.left, r.top, r.right, r.bottom}; }

void LoadRowZeroFont()
{
    std::memset(gFontImage, 0, sizeof gFontImage);
    for (int g = 0; g < kGlyphCount; ++g) gFontImage[g * 8] = 0x7F;
}

}  // namespace

TEST(PaletteView, EntriesLookLikeTheCellsTheyPaint)
{
    ResetCore();
    LoadRowZeroFont();
    gFontImage[0x10D * 8 + 1] = 0xFF;  // mark glyph 10D so its set is visible
    UseTestBackBuffer(1);
    DrawPalette();
    const Point p = PaletteBox(11 * 16 + 13);
    EXPECT_EQ(*PixelAt(gBackBuffer, p.x, p.y + 2), kColourTable[7]);  // glyph 10D row 1, white
    EXPECT_EQ(ColoursAt(11 * 16 + 13).bg, kColourTable[1]);

    TogglePalettePage();
    DrawPalette();
    // Reversed: blue on white.
    EXPECT_TRUE(ColoursAt(8 * 16 + 5).fg == kColourTable[1] && ColoursAt(8 * 16 + 5).bg == kColourTable[7]);
    for (int fg = 0; fg < 8; ++fg) {
        gPen.foreground = fg;
        gPen.background = 7 - fg;
        DrawPalette();
        // Own colours on the colour chart; the Pen's elsewhere.
        EXPECT_TRUE(ColoursAt(3 * 16 + 12).fg == kColourTable[4] && ColoursAt(3 * 16 + 12).bg == kColourTable[3]);
        EXPECT_EQ(ColoursAt(9 * 16 + 5).fg, kColourTable[fg]);
    }

    // Code-00 marks show on exactly the six blank entries of the main page.
    TogglePalettePage();
    MarkDispc0 = 1;
    MarkBit3 = 1;
    DrawPalette();
    int marked = 0;
    for (int n = 0; n < kPaletteEntries; ++n) {
        const Point b = PaletteBox(n);
        marked += *PixelAt(gBackBuffer, b.x + CurrentView().s - 1, b.y + CurrentView().s - 1) == gGridColour;
    }
    EXPECT_EQ(marked, 6);
}

TEST(PaletteView, HitTestAndRectangles)
{
    ResetCore();
    const int invalidRight[] = {160, 288}, invalidBottom[] = {255, 431};
    for (int z : {0, 1}) {
        Zoom = z;
        UpdateViewGeometry();
        const int P = CurrentView().P, s = CurrentView().s;
        // Each entry owns its box and the frame pixel above and left of it.
        for (int n = 0; n < kPaletteEntries; ++n) {
            const Point b = PaletteBox(n);
            ASSERT_EQ(PaletteHitTest(b.x - 1, b.y - 1), n) << z;
            ASSERT_EQ(PaletteHitTest(b.x + s, b.y + s), n) << z;
        }
        const Point last = PaletteBox(kPaletteEntries - 1);
        for (const Point& outside : {Point{P - 2, 5}, Point{last.x + s + 1, 5}, Point{P, 3}, Point{P, last.y + s + 1}})
            EXPECT_EQ(PaletteHitTest(outside.x, outside.y), -1) << z << ": " << outside.x - P << "," << outside.y;
        EXPECT_EQ(Edges(PaletteInvalidRect(30)), Edges({P - 2, 33, P + invalidRight[z], invalidBottom[z]})) << z;
        // The cursor's two frames: just around the box, and one pixel further out.
        const Point b = PaletteBox(17);
        EXPECT_EQ(b.x, P + (z ? 18 : 10));
        Rect frames[2];
        PaletteCursorFrames(17, 30, frames);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(Edges(frames[i]), Edges({b.x - 1 - i, 30 + b.y - 1 - i, b.x + s + 1 + i, 30 + b.y + s + 1 + i}));
    }
}
