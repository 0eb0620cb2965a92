// The glyph rasteriser, the canvas geometry, the grid and the marquee.
#include <gtest/gtest.h>

#include <cstring>

#include <cstdio>
#include <string>
#include <vector>

#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/screen.h"
#include "tests/test_support.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kBlue = 0x0000FF, kRed = 0xFF0000, kWhite = 0xFFFFFF;
constexpr uint32_t kGrid = 0x404040, kPurple = 0xCC00CC;

// Font pixel (px, py) of glyph g, straight from the image.
bool FontBit(int g, int px, int py) { return (gFontImage[g * 8 + py] >> (7 - px)) & 1; }

// The box at (x, y) as rows of characters: '#' foreground, '.' background,
// 'g' grid colour, 'm' mark colour, '?' anything else.
std::vector<std::string> BoxPicture(int x, int y, int s, uint32_t fg, uint32_t bg)
{
    std::vector<std::string> rows;
    for (int j = 0; j < s; ++j) {
        std::string row;
        for (int i = 0; i < s; ++i) {
            const uint32_t p = *PixelAt(gBackBuffer, x + i, y + j);
            row += p == kGrid ? 'g' : p == kPurple ? 'm' : p == fg ? '#' : p == bg ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(Rasteriser, EveryGlyphAtEveryZoomMatchesAPerPixelReference)
{
    ResetCore();
    LoadPatternFont();
    ShowGrid = 0;
    for (int z = 0; z < kZoomLevels; ++z) {
        UseTestBackBuffer(z);
        const int k = z + 1, s = 8 * k;
        for (int g = 0; g < kGlyphCount; ++g) {
            const int attr = ((g >> 8) << 7) | (((g + 3) & 7) << 4) | (g & 7);
            const uint32_t fg = kColourTable[(g + 3) & 7], bg = kColourTable[g & 7];
            // Alternate the two entry points and positions in the panel.
            const int x = 8 + (g % 40) * s, y = 8 + ((g / 40) % 25) * s;
            if (g & 1)
                DrawGlyph(x, y, g & 0xFF, attr);
            else
                DrawPlainGlyph(gBackBuffer, x, y, g & 0xFF, attr, k);
            for (int py = 0; py < s; ++py)
                for (int px = 0; px < s; ++px) {
                    const uint32_t want = FontBit(g, px / k, py / k) ? fg : bg;
                    ASSERT_EQ(*PixelAt(gBackBuffer, x + px, y + py), want)
                        << "glyph " << g << " zoom " << k << " at " << px << "," << py;
                }
        }
    }
    // Boxes that would not fit the target are not drawn at all.
    UseTestBackBuffer(0, 0x010203);
    DrawPlainGlyph(gBackBuffer, gBackBuffer.width - 7, 0, 0x41, 0x70, 1);
    DrawPlainGlyph(gBackBuffer, -1, 0, 0x41, 0x70, 1);
    DrawGlyph(0, gBackBuffer.height - 7, 0x41, 0x70);
    for (int i = 0; i < gBackBuffer.width * gBackBuffer.height; ++i) ASSERT_EQ(gBackBuffer.pixels[i], 0x010203u);
}

TEST(Rasteriser, CharacterSetColoursAndMarks)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(0);
    ShowGrid = 0;
    // Attribute 0x8A: second set, black on red, mark bit.
    DrawGlyph(8, 8, 0x41, 0x8A);
    for (int py = 0; py < 8; ++py)
        for (int px = 0; px < 8; ++px)
            ASSERT_EQ(*PixelAt(gBackBuffer, 8 + px, 8 + py), FontBit(0x141, px, py) ? kBlack : kRed);
    MarkBit3 = 1;
    DrawGlyph(8, 8, 0x41, 0x8A);
    std::vector<std::string> box = BoxPicture(8, 8, 8, kBlack, kRed);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(box[i][0], 'm');
        EXPECT_EQ(box[i][7], 'm');
        EXPECT_EQ(box[0][i], 'm');
        EXPECT_EQ(box[i][i], 'm');
        EXPECT_EQ(box[i][7 - i], 'm');
    }
    // Same colour twice: a solid box.
    MarkBit3 = 0;
    DrawGlyph(16, 8, 0x41, 0x22);
    for (const std::string& row : BoxPicture(16, 8, 8, kRed, kRed)) EXPECT_EQ(row, "########");
    // Code 0 with the mark bit and both marks on: purple wins.
    MarkBit3 = MarkDispc0 = 1;
    DrawGlyph(24, 8, 0x00, 0x08 | 0x71);
    box = BoxPicture(24, 8, 8, kWhite, kBlue);
    EXPECT_EQ(box[0], "mmmmmmmm");
    EXPECT_EQ(box[3][3], 'm');
    for (const std::string& row : box) EXPECT_EQ(row.find('g'), std::string::npos);
    // Code 0 of the second set gets the grey crossed box.
    MarkBit3 = 0;
    DrawGlyph(32, 8, 0x00, 0x80 | 0x71);
    box = BoxPicture(32, 8, 8, kWhite, kBlue);
    EXPECT_EQ(box[0], "gggggggg");
    EXPECT_EQ(box[2][5], 'g');
}

TEST(Rasteriser, GridCornersArmsAndThePaletteSide)
{
    ResetCore();
    std::memset(gFontImage, 0, sizeof gFontImage);  // blank glyphs: background only
    ShowGrid = 1;
    GridType = kGridCross;

    UseTestBackBuffer(0);
    DrawGlyph(8, 8, 0x01, 0x71);
    std::vector<std::string> box = BoxPicture(8, 8, 8, kWhite, kBlue);
    EXPECT_EQ(box[0], "g.......");  // x1: the corner only, whatever the shape
    EXPECT_EQ(box[1], "........");

    UseTestBackBuffer(1);  // x2: arms of two pixels
    DrawGlyph(8, 8, 0x01, 0x71);
    box = BoxPicture(8, 8, 16, kWhite, kBlue);
    EXPECT_EQ(box[0], "ggg...........gg");
    EXPECT_EQ(box[2][0], 'g');
    EXPECT_EQ(box[3][0], '.');
    EXPECT_EQ(box[14][0], 'g');

    UseTestBackBuffer(2);  // x3: arms of three pixels
    DrawGlyph(8, 8, 0x01, 0x71);
    box = BoxPicture(8, 8, 24, kWhite, kBlue);
    EXPECT_EQ(box[0], "gggg.................ggg");
    for (int y = 1; y < 24; ++y) EXPECT_EQ(box[y][0], (y <= 3 || y >= 21) ? 'g' : '.') << y;
    EXPECT_EQ(box[1].substr(1), std::string(23, '.'));

    GridType = kGridDot;
    DrawGlyph(8, 8, 0x01, 0x71);
    box = BoxPicture(8, 8, 24, kWhite, kBlue);
    EXPECT_EQ(box[0], "g" + std::string(23, '.'));

    // A palette entry never carries grid pixels, but does carry the code-0 mark.
    GridType = kGridCross;
    const int P = CurrentView().P;
    DrawGlyph(P, 5, 0x01, 0x71);
    for (const std::string& row : BoxPicture(P, 5, 24, kWhite, kBlue)) EXPECT_EQ(row, std::string(24, '.'));
    MarkDispc0 = 1;
    DrawGlyph(P, 5, 0x00, 0x71);
    EXPECT_EQ(BoxPicture(P, 5, 24, kWhite, kBlue)[0], std::string(24, 'g'));
}

TEST(Rasteriser, FontFileLoadingAndBottomUpAddressing)
{
    ResetCore();
    const std::string path = testing::TempDir() + "vexa-short-font.dat";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < 100; ++i) std::fputc(0xA5, f);
    std::fclose(f);
    std::memset(gFontImage, 0xFF, sizeof gFontImage);
    ASSERT_TRUE(LoadFont(path.c_str()));
    EXPECT_EQ(gFontImage[99], 0xA5);   // glyph 12, row 3
    EXPECT_EQ(gFontImage[100], 0x00);  // glyph 12, row 4: blank
    EXPECT_EQ(gFontImage[4095], 0x00);
    std::remove(path.c_str());
    EXPECT_FALSE(LoadFont(path.c_str()));
    EXPECT_FALSE(LoadFont(testing::TempDir().c_str()));  // a folder is no font

    std::vector<uint32_t> pixels(524 * 468);
    const PixelView v = {pixels.data(), 524, 468};
    EXPECT_EQ(PixelAt(v, 0, 0), pixels.data() + 467 * 524);
    EXPECT_EQ(PixelAt(v, 3, 467), pixels.data() + 3);
}

TEST(CanvasView, GeometryAndConversions)
{
    ResetCore();
    const int W[] = {524, 952, 1415, 1878, 2341, 2804, 3267, 3730};
    const int H[] = {234, 416, 616, 816, 1016, 1216, 1416, 1616};
    const int P[] = {338, 658, 978, 1298, 1618, 1938, 2258, 2578};
    for (int z = 0; z < kZoomLevels; ++z) {
        const ViewGeometry g = ViewForZoom(z);
        EXPECT_EQ(g.W, W[z]);
        EXPECT_EQ(g.H, H[z]);
        EXPECT_EQ(g.P, P[z]);
        EXPECT_EQ(g.s, 8 * (z + 1));
    }
    Zoom = 1;
    UpdateViewGeometry();
    Point c;
    ASSERT_TRUE(PixelToCell(8, 8, c));
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    ASSERT_TRUE(PixelToCell(647, 407, c));
    EXPECT_EQ(c.x, 39);
    EXPECT_EQ(c.y, 24);
    EXPECT_FALSE(PixelToCell(648, 100, c));
    EXPECT_FALSE(PixelToCell(7, 100, c));
    EXPECT_FALSE(PixelToCell(100, 408, c));
    c = PixelToCellClamped(648, 2);
    EXPECT_EQ(c.x, 39);
    EXPECT_EQ(c.y, 0);
    ASSERT_TRUE(PixelToHalfCell(647, 407, c));
    EXPECT_EQ(c.x, 79);
    EXPECT_EQ(c.y, 49);
    EXPECT_EQ(SubBlockBit(c), 8);
    EXPECT_EQ(HalfCellToCell(c).x, 39);
    EXPECT_FALSE(PixelToHalfCell(648, 407, c));
    c = PixelToHalfCellClamped(5000, -30);
    EXPECT_EQ(c.x, 79);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(SubBlockBit({16, 3}), 4);
    const Point p = CellToPixel(-1, 40);
    EXPECT_EQ(p.x, -8);
    EXPECT_EQ(p.y, 648);
    const Rect r = CanvasInvalidRect(30);
    EXPECT_EQ(r.left, 7);
    EXPECT_EQ(r.top, 37);
    EXPECT_EQ(r.right, 649);
    EXPECT_EQ(r.bottom, 30 + 409);
}

TEST(CanvasView, RedrawAndGridFrame)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = i & 0xFF;
        gScreen.attr[i] = (i * 5) & 0xF7;
    }
    RedrawCanvas();
    EXPECT_EQ(gSeams.canvasInvalidations, 1);
    for (int y = 0; y < kScreenRows; ++y)
        for (int x = 0; x < kScreenColumns; ++x) ASSERT_TRUE(BoxShowsCell(x, y)) << x << "," << y;

    // The boundary points: grid colour with the grid on, black with it off.
    GridType = kGridCross;
    DrawGridFrame();
    const Point corner = CellToPixel(40, 25);
    EXPECT_EQ(*PixelAt(gBackBuffer, corner.x, corner.y), kGrid);
    const Point right = CellToPixel(40, 3);
    EXPECT_EQ(*PixelAt(gBackBuffer, right.x, right.y + 2), kGrid);  // arm of k = 2
    EXPECT_EQ(*PixelAt(gBackBuffer, right.x, right.y + 14), kGrid);
    EXPECT_NE(*PixelAt(gBackBuffer, right.x, right.y + 3), kGrid);
    const Point bottom = CellToPixel(7, 25);
    EXPECT_EQ(*PixelAt(gBackBuffer, bottom.x + 1, bottom.y), kGrid);
    ShowGrid = 0;
    DrawGridFrame();
    RedrawCanvas();
    EXPECT_EQ(*PixelAt(gBackBuffer, corner.x, corner.y), kBlack);
    EXPECT_EQ(*PixelAt(gBackBuffer, right.x, right.y + 2), kBlack);
    EXPECT_EQ(*PixelAt(gBackBuffer, bottom.x + 1, bottom.y), kBlack);
    const ViewGeometry& g = CurrentView();
    for (int y = 0; y < g.H; ++y)
        for (int x = 0; x < g.W; ++x) ASSERT_NE(*PixelAt(gBackBuffer, x, y), kGrid) << x << "," << y;

    // At x1 the boundary shows dots only, whatever the shape.
    UseTestBackBuffer(0, kBlack);
    ShowGrid = 1;
    DrawGridFrame();
    const Point r1 = CellToPixel(40, 3), b1 = CellToPixel(7, 25);
    EXPECT_EQ(*PixelAt(gBackBuffer, r1.x, r1.y), kGrid);
    EXPECT_EQ(*PixelAt(gBackBuffer, r1.x, r1.y + 1), kBlack);
    EXPECT_EQ(*PixelAt(gBackBuffer, r1.x, r1.y + 7), kBlack);
    EXPECT_EQ(*PixelAt(gBackBuffer, b1.x + 1, b1.y), kBlack);
}

TEST(CanvasView, MarqueeSidesAndDashes)
{
    ResetCore();
    Zoom = 0;
    UpdateViewGeometry();
    const int T = 28;
    MarqueeLine lines[4];
    ASSERT_EQ(MarqueeLines(0, 0, 39, 24, T, lines), 4);
    // One pixel outside the canvas, on the black frame, closing at the corners.
    EXPECT_EQ(lines[0].side, MarqueeSide::Left);
    EXPECT_EQ(lines[0].rect.left, 7);
    EXPECT_EQ(lines[0].rect.top, T + 7);
    EXPECT_EQ(lines[0].rect.bottom, T + 208);
    EXPECT_EQ(lines[1].rect.left, 328);
    EXPECT_EQ(lines[1].rect.bottom, T + 209);
    EXPECT_EQ(lines[2].rect.top, T + 7);
    EXPECT_EQ(lines[2].rect.right, 329);
    EXPECT_EQ(lines[3].rect.top, T + 208);
    EXPECT_EQ(lines[3].rect.left, 7);

    // A block pushed off the left and top edges shows neither side.
    ASSERT_EQ(MarqueeLines(-3, -1, 2, 2, T, lines), 2);
    EXPECT_EQ(lines[0].side, MarqueeSide::Right);
    EXPECT_EQ(lines[1].side, MarqueeSide::Bottom);
    EXPECT_EQ(lines[1].rect.left, 7);
    EXPECT_EQ(MarqueeLines(38, 23, 45, 30, T, lines), 2);

    // Dashes of four and four; as the phase advances they run down the left
    // side, right along the bottom, up the right side and left along the top.
    for (int p = 0; p < 8; ++p) {
        int black = 0;
        for (int y = 0; y < 8; ++y) {
            black += MarqueePixelIsBlack(MarqueeSide::Left, 0, y, p);
            EXPECT_EQ(MarqueePixelIsBlack(MarqueeSide::Left, 0, y + 1, (p + 1) & 7),
                      MarqueePixelIsBlack(MarqueeSide::Left, 0, y, p));
            EXPECT_EQ(MarqueePixelIsBlack(MarqueeSide::Right, 0, y, (p + 1) & 7),
                      MarqueePixelIsBlack(MarqueeSide::Right, 0, y + 1, p));
            EXPECT_EQ(MarqueePixelIsBlack(MarqueeSide::Bottom, y + 1, 0, (p + 1) & 7),
                      MarqueePixelIsBlack(MarqueeSide::Bottom, y, 0, p));
            EXPECT_EQ(MarqueePixelIsBlack(MarqueeSide::Top, y, 0, (p + 1) & 7),
                      MarqueePixelIsBlack(MarqueeSide::Top, y + 1, 0, p));
        }
        EXPECT_EQ(black, 4);
        uint8_t rows[8];
        MarqueePattern(MarqueeSide::Bottom, p, rows);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ((rows[y] >> (7 - x)) & 1, MarqueePixelIsBlack(MarqueeSide::Bottom, x + 16, y + 8, p) ? 1 : 0);
    }
    EXPECT_TRUE(MarqueePixelIsBlack(MarqueeSide::Bottom, 4, 0, 0));
    EXPECT_FALSE(MarqueePixelIsBlack(MarqueeSide::Bottom, 3, 0, 0));
    EXPECT_TRUE(MarqueePixelIsBlack(MarqueeSide::Right, 0, 4, 0));
}
