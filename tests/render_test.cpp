// The glyph rasteriser, the canvas geometry, the grid and the marquee.
#include <gtest/gtest.h>

#include <cstring>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/screen.h"
#include "tests/test_support.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kBlue = 0x0000FF, kRed = 0xFF0000, kWhite = 0xFFFFFF;
constexpr uint32_t kGrid = 0x404040, kPurple = 0xCC00CC;

std::pair<int, int> XY(Point p) { return {p.x, p.y}; }
std::vector<int> Edges(Rect r) { return {r.left, r.top, r.right, r.bottom}; }

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
            const uint32_t p = *PixelAt(gCanvas.pixels, x + i, y + j);
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
    gView.ShowGrid = 0;
    for (int z = 0; z < kZoomLevels; ++z) {
        UseTestBackBuffer(z);
        const int k = z + 1, s = 8 * k;
        for (int g = 0; g < kGlyphCount; ++g) {
            // The mark bit (8) changes nothing while its mark is off.
            const int attr = ((g >> 8) << 7) | (((g + 3) & 7) << 4) | (g & 15);
            const uint32_t fg = kColourTable[(g + 3) & 7], bg = kColourTable[g & 7];
            // Alternate the two entry points and positions in the panel.
            const int x = 8 + (g % 40) * s, y = 8 + ((g / 40) % 25) * s;
            if (g & 1)
                DrawGlyph(x, y, g & 0xFF, attr);
            else
                DrawPlainGlyph(gCanvas.pixels, x, y, g & 0xFF, attr, k);
            for (int py = 0; py < s; ++py)
                for (int px = 0; px < s; ++px) {
                    const uint32_t want = FontBit(g, px / k, py / k) ? fg : bg;
                    ASSERT_EQ(*PixelAt(gCanvas.pixels, x + px, y + py), want)
                        << "glyph " << g << " zoom " << k << " at " << px << "," << py;
                }
        }
    }
    // Boxes that would not fit the target are not drawn at all.
    UseTestBackBuffer(0, 0x010203);
    DrawPlainGlyph(gCanvas.pixels, gCanvas.pixels.width - 7, 0, 0x41, 0x70, 1);
    DrawPlainGlyph(gCanvas.pixels, -1, 0, 0x41, 0x70, 1);
    DrawGlyph(0, gCanvas.pixels.height - 7, 0x41, 0x70);
    for (int i = 0; i < gCanvas.pixels.width * gCanvas.pixels.height; ++i) ASSERT_EQ(gCanvas.pixels.pixels[i], 0x010203u);
}

TEST(Rasteriser, MarksAndGridShowOverTheCharacter)
{
    ResetCore();
    std::memset(gFontImage, 0, sizeof gFontImage);  // blank glyphs: background only
    UseTestBackBuffer(0);
    // A mark is a frame with both diagonals: purple for the bit-3 mark, also
    // over code 0 with both marks on; grey for code 0 of the second set.
    gView.ShowGrid = 0;
    const auto crossed = [](char c) {
        std::vector<std::string> rows(8, std::string(8, '.'));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (x == 0 || y == 0 || x == 7 || y == 7 || x == y || x == 7 - y) rows[y][x] = c;
        return rows;
    };
    gMarks.MarkBit3 = 1;
    DrawGlyph(8, 8, 0x41, 0x8A);
    EXPECT_EQ(BoxPicture(8, 8, 8, kBlack, kRed), crossed('m'));
    gMarks.MarkDispc0 = 1;
    DrawGlyph(24, 8, 0x00, 0x08 | 0x71);
    EXPECT_EQ(BoxPicture(24, 8, 8, kWhite, kBlue), crossed('m'));
    gMarks.MarkBit3 = 0;
    DrawGlyph(32, 8, 0x00, 0x80 | 0x71);
    EXPECT_EQ(BoxPicture(32, 8, 8, kWhite, kBlue), crossed('g'));

    // x1 shows the grid's corner only, whatever the shape; from x2 the
    // cross has arms of k pixels along the top and the left edge.
    gMarks.MarkDispc0 = 0;
    gView.ShowGrid = 1;
    std::vector<std::string> box;
    for (int z = 0; z < 3; ++z)
        for (int type : {kGridDot, kGridCross}) {
            UseTestBackBuffer(z);
            gView.GridType = type;
            DrawGlyph(8, 8, 0x01, 0x71);
            const int s = 8 * (z + 1), arm = z && type == kGridCross ? z + 1 : 0;
            box = BoxPicture(8, 8, s, kWhite, kBlue);
            EXPECT_EQ(box[0], "g" + std::string(arm, 'g') + std::string(s - 1 - 2 * arm, '.') + std::string(arm, 'g'))
                << z << " " << type;
            for (int y = 1; y < s; ++y)
                EXPECT_EQ(box[y], ((y <= arm || y >= s - arm) ? "g" : ".") + std::string(s - 1, '.')) << z << " " << y;
        }
    // A palette entry never carries grid pixels (its code-0 marks are
    // checked with the palette).
    const int P = CurrentView().P;
    DrawGlyph(P, 5, 0x01, 0x71);
    for (const std::string& row : BoxPicture(P, 5, 24, kWhite, kBlue)) EXPECT_EQ(row, std::string(24, '.'));
}

TEST(Rasteriser, AShortFontFileLeavesTheRestBlank)
{
    ResetCore();
    const std::string path = testing::TempDir() + "vexa-short-font.dat";
    std::ofstream(path, std::ios::binary) << std::string(100, '\xA5');
    std::memset(gFontImage, 0xFF, sizeof gFontImage);
    ASSERT_TRUE(LoadFont(path.c_str()));
    // Glyph 12's row 3 is read, its row 4 and everything after are blank.
    EXPECT_TRUE(gFontImage[99] == 0xA5 && gFontImage[100] == 0 && gFontImage[4095] == 0);
    std::remove(path.c_str());
    EXPECT_FALSE(LoadFont(path.c_str()) || LoadFont(testing::TempDir().c_str()));  // gone; a folder is no font
}

TEST(CanvasView, GeometryAndConversions)
{
    ResetCore();
    // The panel's width, height and the palette's left edge at each zoom.
    const int W[] = {524, 952, 1415, 1878, 2341, 2804, 3267, 3730}, H[] = {234, 416, 616, 816, 1016, 1216, 1416, 1616},
              P[] = {338, 658, 978, 1298, 1618, 1938, 2258, 2578};
    for (int z = 0; z < kZoomLevels; ++z) {
        const ViewGeometry g = ViewForZoom(z);
        EXPECT_TRUE(g.W == W[z] && g.H == H[z] && g.P == P[z] && g.s == 8 * (z + 1)) << z;
    }
    gView.Zoom = 1;
    UpdateViewGeometry();
    Point c;
    EXPECT_TRUE(PixelToCell(8, 8, c) && XY(c) == XY({0, 0}));
    EXPECT_TRUE(PixelToCell(647, 407, c) && XY(c) == XY({39, 24}));
    for (const Point& outside : {Point{648, 100}, Point{7, 100}, Point{100, 408}})
        EXPECT_FALSE(PixelToCell(outside.x, outside.y, c)) << outside.x << "," << outside.y;
    EXPECT_EQ(XY(PixelToCellClamped(648, 2)), XY({39, 0}));
    EXPECT_TRUE(PixelToHalfCell(647, 407, c) && XY(c) == XY({79, 49}) && SubBlockBit(c) == 8 && HalfCellToCell(c).x == 39);
    EXPECT_FALSE(PixelToHalfCell(648, 407, c));
    EXPECT_EQ(XY(PixelToHalfCellClamped(5000, -30)), XY({79, 0}));
    EXPECT_EQ(SubBlockBit({16, 3}), 4);
    EXPECT_EQ(XY(CellToPixel(-1, 40)), XY({-8, 648}));
}

TEST(CanvasView, RedrawAndGridFrame)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, i & 0xFF, (i * 5) & 0xF7);
    RedrawCanvas();
    EXPECT_EQ(gHostLog.canvasInvalidations, 1);
    for (int y = 0; y < kScreenRows; ++y)
        for (int x = 0; x < kScreenColumns; ++x) ASSERT_TRUE(BoxShowsCell(x, y)) << x << "," << y;

    // The boundary points: grid colour with the grid on, black with it off;
    // at x2 the right side has arms of two pixels.
    const Point corner = CellToPixel(40, 25), right = CellToPixel(40, 3), bottom = CellToPixel(7, 25);
    const auto pixel = [](Point p, int dx, int dy) { return *PixelAt(gCanvas.pixels, p.x + dx, p.y + dy); };
    gView.GridType = kGridCross;
    for (int on : {1, 0}) {
        gView.ShowGrid = on;
        DrawGridFrame();
        for (const uint32_t p : {pixel(corner, 0, 0), pixel(right, 0, 2), pixel(right, 0, 14), pixel(bottom, 1, 0)})
            EXPECT_EQ(p, on ? kGrid : kBlack) << on;
        EXPECT_NE(pixel(right, 0, 3), kGrid);
    }
    RedrawCanvas();
    const ViewGeometry& g = CurrentView();
    for (int y = 0; y < g.H; ++y)
        for (int x = 0; x < g.W; ++x) ASSERT_NE(*PixelAt(gCanvas.pixels, x, y), kGrid) << x << "," << y;

    // At x1 the boundary shows dots only, whatever the shape.
    UseTestBackBuffer(0, kBlack);
    gView.ShowGrid = 1;
    DrawGridFrame();
    const Point r1 = CellToPixel(40, 3), b1 = CellToPixel(7, 25);
    EXPECT_TRUE(pixel(r1, 0, 0) == kGrid && pixel(r1, 0, 1) == kBlack && pixel(r1, 0, 7) == kBlack &&
                pixel(b1, 1, 0) == kBlack);
}

TEST(CanvasView, MarqueeSidesAndDashes)
{
    ResetCore();
    gView.Zoom = 0;
    UpdateViewGeometry();
    const int T = 28;
    MarqueeLine lines[4];
    // One pixel outside the canvas, on the black frame: the four lines
    // cover the ring around it once each, corners included.
    ASSERT_EQ(MarqueeLines(0, 0, 39, 24, T, lines), 4);
    EXPECT_EQ(lines[0].side, MarqueeSide::Left);
    EXPECT_EQ(Edges(lines[0].rect), Edges({7, T + 7, 8, T + 208}));
    for (int y = T + 6; y <= T + 209; ++y)
        for (int x = 6; x <= 329; ++x) {
            int covered = 0;
            for (const MarqueeLine& l : lines)
                covered += x >= l.rect.left && x < l.rect.right && y >= l.rect.top && y < l.rect.bottom;
            const bool ring = (x == 7 || x == 328 || y == T + 7 || y == T + 208) && x >= 7 && x <= 328 && y >= T + 7 &&
                              y <= T + 208;
            ASSERT_EQ(covered, ring ? 1 : 0) << x << "," << y;
        }
    // A block pushed off the right and bottom edges shows neither side.
    EXPECT_EQ(MarqueeLines(38, 23, 45, 30, T, lines), 2);
    // Hanging off by a single cell is off all the same: the sides drawn, one
    // bit each (left, right, top, bottom).
    const auto sides = [&](int x0, int y0, int x1, int y1) {
        int drawn = 0;
        const int n = MarqueeLines(x0, y0, x1, y1, T, lines);
        for (int i = 0; i < n; ++i) drawn |= 1 << static_cast<int>(lines[i].side);
        return drawn;
    };
    EXPECT_EQ(sides(-1, 2, 3, 5), 0b1110);
    EXPECT_EQ(sides(36, 2, 40, 5), 0b1101);
    EXPECT_EQ(sides(2, -1, 5, 3), 0b1011);
    EXPECT_EQ(sides(2, 21, 5, 25), 0b0111);
    // (Its dashes are checked against the shell's brushes on the real window.)
}
