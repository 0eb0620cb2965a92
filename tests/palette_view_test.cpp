// The character palette's drawing, hit test and rectangles.
#include <gtest/gtest.h>

#include <cstring>

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
    EXPECT_EQ(p.x, CurrentView().P + 13 * 18);
    EXPECT_EQ(*PixelAt(gBackBuffer, p.x, p.y + 2), kColourTable[7]);  // glyph 10D row 1, white
    EXPECT_EQ(ColoursAt(11 * 16 + 13).bg, kColourTable[1]);

    TogglePalettePage();
    DrawPalette();
    EXPECT_EQ(ColoursAt(8 * 16 + 5).fg, kColourTable[1]);  // reversed: blue on white
    EXPECT_EQ(ColoursAt(8 * 16 + 5).bg, kColourTable[7]);
    for (int fg = 0; fg < 8; ++fg) {
        gPen.foreground = fg;
        gPen.background = 7 - fg;
        DrawPalette();
        EXPECT_EQ(ColoursAt(3 * 16 + 12).fg, kColourTable[4]);  // own colours
        EXPECT_EQ(ColoursAt(3 * 16 + 12).bg, kColourTable[3]);
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
        const int s = CurrentView().s;
        if (*PixelAt(gBackBuffer, b.x + s - 1, b.y + s - 1) == gGridColour) ++marked;
    }
    EXPECT_EQ(marked, 6);
}

TEST(PaletteView, HitTestAndRectangles)
{
    ResetCore();
    Zoom = 0;
    UpdateViewGeometry();
    const int P = CurrentView().P;
    EXPECT_EQ(PaletteHitTest(P - 1, 4), 0);
    EXPECT_EQ(PaletteHitTest(P - 2, 4), -1);
    EXPECT_EQ(PaletteHitTest(P + 158, 223), 351);
    EXPECT_EQ(PaletteHitTest(P + 159, 4), -1);
    EXPECT_EQ(PaletteHitTest(P, 3), -1);
    EXPECT_EQ(PaletteHitTest(P, 224), -1);
    Rect r = PaletteInvalidRect(30);
    EXPECT_EQ(r.left, P - 2);
    EXPECT_EQ(r.top, 33);
    EXPECT_EQ(r.right, P + 160);
    EXPECT_EQ(r.bottom, 255);

    Zoom = 1;
    UpdateViewGeometry();
    const int P2 = CurrentView().P;
    const Point b = PaletteBox(17);
    EXPECT_EQ(b.x, P2 + 18);
    EXPECT_EQ(b.y, 23);
    EXPECT_EQ(PaletteHitTest(P2 + 17, 22), 17);
    EXPECT_EQ(PaletteHitTest(P2 + 34, 39), 17);
    EXPECT_EQ(PaletteHitTest(P2 + 35, 39), 18);
    EXPECT_EQ(PaletteHitTest(P2 + 16, 22), 16);
    r = PaletteInvalidRect(30);
    EXPECT_EQ(r.right, P2 + 288);
    EXPECT_EQ(r.bottom, 30 + 401);

    Rect frames[2];
    PaletteCursorFrames(17, 30, frames);
    EXPECT_EQ(frames[0].left, P2 + 17);
    EXPECT_EQ(frames[0].top, 30 + 22);
    EXPECT_EQ(frames[0].right, P2 + 18 + 17);
    EXPECT_EQ(frames[1].left, P2 + 16);
    EXPECT_EQ(frames[1].bottom, 30 + 23 + 18);
}
