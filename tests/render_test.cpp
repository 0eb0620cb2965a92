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
            // The mark bit (8) changes nothing while its mark is off.
            const int attr = ((g >> 8) << 7) | (((g + 3) & 7) << 4) | (g & 15);
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

TEST(Rasteriser, MarksShowOverTheCharacter)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(0);
    ShowGrid = 0;
    // The bit-3 mark: a purple frame (but for the bottom row) and both diagonals.
    MarkBit3 = 1;
    DrawGlyph(8, 8, 0x41, 0x8A);
    std::vector<std::string> box = BoxPicture(8, 8, 8, kBlack, kRed);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(box[i][0] == 'm' && box[i][7] == 'm' && box[0][i] == 'm' && box[i][i] == 'm' &&
                    box[i][7 - i] == 'm')
            << i << ": " << box[i];
    // Code 0 with the mark bit and both marks on: purple wins.
    MarkDispc0 = 1;
    DrawGlyph(24, 8, 0x00, 0x08 | 0x71);
    box = BoxPicture(24, 8, 8, kWhite, kBlue);
    EXPECT_TRUE(box[0] == "mmmmmmmm" && box[3][3] == 'm') << box[0];
    for (const std::string& row : box) EXPECT_EQ(row.find('g'), std::string::npos);
    // Code 0 of the second set gets the grey crossed box.
    MarkBit3 = 0;
    DrawGlyph(32, 8, 0x00, 0x80 | 0x71);
    box = BoxPicture(32, 8, 8, kWhite, kBlue);
    EXPECT_TRUE(box[0] == "gggggggg" && box[2][5] == 'g') << box[0];
}

TEST(Rasteriser, GridCornersArmsAndThePaletteSide)
{
    ResetCore();
    std::memset(gFontImage, 0, sizeof gFontImage);  // blank glyphs: background only
    ShowGrid = 1;
    // x1 shows the corner only, whatever the shape; from x2 the cross has
    // arms of k pixels along the top and the left edge.
    for (int z = 0; z < 3; ++z)
        for (int type : {kGridDot, kGridCross}) {
            UseTestBackBuffer(z);
            GridType = type;
            DrawGlyph(8, 8, 0x01, 0x71);
            const int s = 8 * (z + 1), arm = z && type == kGridCross ? z + 1 : 0;
            const std::vector<std::string> box = BoxPicture(8, 8, s, kWhite, kBlue);
            EXPECT_EQ(box[0], "g" + std::string(arm, 'g') + std::string(s - 1 - 2 * arm, '.') + std::string(arm, 'g'))
                << z << " " << type;
            for (int y = 1; y < s; ++y) {
                EXPECT_EQ(box[y][0], (y <= arm || y >= s - arm) ? 'g' : '.') << z << " " << type << " " << y;
                EXPECT_EQ(box[y].substr(1), std::string(s - 1, '.'));
            }
        }
    // A palette entry never carries grid pixels, but does carry the code-0 mark.
    const int P = CurrentView().P;
    DrawGlyph(P, 5, 0x01, 0x71);
    for (const std::string& row : BoxPicture(P, 5, 24, kWhite, kBlue)) EXPECT_EQ(row, std::string(24, '.'));
    MarkDispc0 = 1;
    DrawGlyph(P, 5, 0x00, 0x71);
    EXPECT_EQ(BoxPicture(P, 5, 24, kWhite, kBlue)[0], std::string(24, 'g'));
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
    EXPECT_FALSE(LoadFont(path.c_str()));
    EXPECT_FALSE(LoadFont(testing::TempDir().c_str()));  // a folder is no font
}

TEST(CanvasView, GeometryAndConversions)
{
    ResetCore();
    const int W[] = {524, 952, 1415, 1878, 2341, 2804, 3267, 3730};
    const int H[] = {234, 416, 616, 816, 1016, 1216, 1416, 1616};
    const int P[] = {338, 658, 978, 1298, 1618, 1938, 2258, 2578};
    for (int z = 0; z < kZoomLevels; ++z) {
        const ViewGeometry g = ViewForZoom(z);
        EXPECT_EQ(std::vector<int>({g.W, g.H, g.P, g.s}), std::vector<int>({W[z], H[z], P[z], 8 * (z + 1)})) << z;
    }
    Zoom = 1;
    UpdateViewGeometry();
    Point c;
    ASSERT_TRUE(PixelToCell(8, 8, c));
    EXPECT_EQ(XY(c), XY({0, 0}));
    ASSERT_TRUE(PixelToCell(647, 407, c));
    EXPECT_EQ(XY(c), XY({39, 24}));
    for (const Point& outside : {Point{648, 100}, Point{7, 100}, Point{100, 408}})
        EXPECT_FALSE(PixelToCell(outside.x, outside.y, c)) << outside.x << "," << outside.y;
    EXPECT_EQ(XY(PixelToCellClamped(648, 2)), XY({39, 0}));
    ASSERT_TRUE(PixelToHalfCell(647, 407, c));
    EXPECT_EQ(XY(c), XY({79, 49}));
    EXPECT_EQ(SubBlockBit(c), 8);
    EXPECT_EQ(HalfCellToCell(c).x, 39);
    EXPECT_FALSE(PixelToHalfCell(648, 407, c));
    EXPECT_EQ(XY(PixelToHalfCellClamped(5000, -30)), XY({79, 0}));
    EXPECT_EQ(SubBlockBit({16, 3}), 4);
    EXPECT_EQ(XY(CellToPixel(-1, 40)), XY({-8, 648}));
    EXPECT_EQ(Edges(CanvasInvalidRect(30)), Edges({7, 37, 649, 30 + 409}));
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

    // The boundary points: grid colour with the grid on, black with it off;
    // at x2 the right side has arms of two pixels.
    const Point corner = CellToPixel(40, 25), right = CellToPixel(40, 3), bottom = CellToPixel(7, 25);
    const auto pixel = [](Point p, int dx, int dy) { return *PixelAt(gBackBuffer, p.x + dx, p.y + dy); };
    GridType = kGridCross;
    for (int on : {1, 0}) {
        ShowGrid = on;
        DrawGridFrame();
        const uint32_t want = on ? kGrid : kBlack;
        EXPECT_EQ(pixel(corner, 0, 0), want);
        EXPECT_EQ(pixel(right, 0, 2), want);
        EXPECT_EQ(pixel(right, 0, 14), want);
        EXPECT_EQ(pixel(bottom, 1, 0), want);
        EXPECT_NE(pixel(right, 0, 3), kGrid);
    }
    RedrawCanvas();
    const ViewGeometry& g = CurrentView();
    for (int y = 0; y < g.H; ++y)
        for (int x = 0; x < g.W; ++x) ASSERT_NE(*PixelAt(gBackBuffer, x, y), kGrid) << x << "," << y;

    // At x1 the boundary shows dots only, whatever the shape.
    UseTestBackBuffer(0, kBlack);
    ShowGrid = 1;
    DrawGridFrame();
    const Point r1 = CellToPixel(40, 3), b1 = CellToPixel(7, 25);
    EXPECT_EQ(pixel(r1, 0, 0), kGrid);
    EXPECT_EQ(pixel(r1, 0, 1), kBlack);
    EXPECT_EQ(pixel(r1, 0, 7), kBlack);
    EXPECT_EQ(pixel(b1, 1, 0), kBlack);
}

TEST(CanvasView, MarqueeSidesAndDashes)
{
    ResetCore();
    Zoom = 0;
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
    // A block pushed off the left and top edges shows neither side.
    ASSERT_EQ(MarqueeLines(-3, -1, 2, 2, T, lines), 2);
    EXPECT_EQ(lines[0].side, MarqueeSide::Right);
    EXPECT_EQ(lines[1].side, MarqueeSide::Bottom);
    EXPECT_EQ(lines[1].rect.left, 7);
    EXPECT_EQ(MarqueeLines(38, 23, 45, 30, T, lines), 2);

    // Dashes of four and four; as the phase advances they run down the left
    // side, right along the bottom, up the right side and left along the top.
    // (The shell's brushes are checked against these on the real window.)
    using S = MarqueeSide;
    for (int p = 0; p < 8; ++p) {
        int black = 0;
        const int next = (p + 1) & 7;
        for (int y = 0; y < 8; ++y) {
            black += MarqueePixelIsBlack(MarqueeSide::Left, 0, y, p);
            EXPECT_EQ(MarqueePixelIsBlack(S::Left, 0, y + 1, next), MarqueePixelIsBlack(S::Left, 0, y, p));
            EXPECT_EQ(MarqueePixelIsBlack(S::Right, 0, y, next), MarqueePixelIsBlack(S::Right, 0, y + 1, p));
            EXPECT_EQ(MarqueePixelIsBlack(S::Bottom, y + 1, 0, next), MarqueePixelIsBlack(S::Bottom, y, 0, p));
            EXPECT_EQ(MarqueePixelIsBlack(S::Top, y, 0, next), MarqueePixelIsBlack(S::Top, y + 1, 0, p));
        }
        EXPECT_EQ(black, 4);
    }
    EXPECT_TRUE(MarqueePixelIsBlack(MarqueeSide::Bottom, 4, 0, 0));
    EXPECT_FALSE(MarqueePixelIsBlack(MarqueeSide::Bottom, 3, 0, 0));
    EXPECT_TRUE(MarqueePixelIsBlack(MarqueeSide::Right, 0, 4, 0));
}
