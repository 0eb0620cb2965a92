// The overlay's picture: which BMP files are trusted, where the picture lies
// on the canvas, how it is scaled and how it is blended over the canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "io/picture_file.h"
#include "render/overlay.h"
#include "render/view_settings.h"
#include "tests/bmp_maker.h"
#include "tests/png_maker.h"
#include "tests/test_support.h"

namespace {

void Write32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

void LoadPicture(int w, int h, uint32_t (*colour)(int x, int y))
{
    ASSERT_TRUE(AllocateOverlay(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) gOverlay.pixels[static_cast<size_t>(y) * w + x] = colour(x, y);
}

}  // namespace

TEST(Overlay, BitmapVariantsAreTrustedAndBrokenFilesAreNot)
{
    // Each variant shows its picture through the core's own decoder, as
    // through the platform's: 5-bit fields repeat their bits into 8 and so
    // keep the picture's levels; 6 bits of green come out a little off.
    for (const BmpSpec& s : BmpVariants()) {
        std::vector<uint8_t> file = MakeBmp(s);
        EXPECT_TRUE(PrepareBitmap(file)) << s.bits << " bits, header " << s.headerSize;
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        DecodeBitmap(file, pixels, w, h);
        ASSERT_TRUE(w == kBmpWidth && h == kBmpHeight && pixels.size() == size_t{kBmpWidth * kBmpHeight});
        const uint32_t mask = s.bits == 16 && s.bitFields ? 0xFFFCFF : 0xFFFFFF;
        int wrong = 0;
        for (int i = 0; i < kBmpWidth * kBmpHeight; ++i) {
            const int index = BmpIndex(i % kBmpWidth, i / kBmpWidth);
            wrong += ((pixels[i] ^ BmpPaletteColour(s.bits <= 8 ? index % (1 << s.bits) : index)) & mask) != 0;
        }
        EXPECT_EQ(wrong, 0) << s.bits << " bits, header " << s.headerSize << (s.rle ? " RLE" : "");
    }
    // RLE that jumps, runs past the row's end, copies indices as they are
    // and stops early: what it leaves out is black, what lies beyond the
    // picture is dropped.
    std::vector<uint8_t> rle = MakeBmp({8, 40, false, false, true});
    rle.resize(rle[10] | rle[11] << 8);
    rle.insert(rle.end(), {0, 2, 2, 1, 200, 5, 0, 0, 0, 3, 7, 8, 9, 0, 0, 1});
    ASSERT_TRUE(PrepareBitmap(rle));
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    DecodeBitmap(rle, pixels, w, h);
    ASSERT_EQ(pixels.size(), size_t{kBmpWidth * kBmpHeight});
    for (int y = 0; y < kBmpHeight; ++y)
        for (int x = 0; x < kBmpWidth; ++x) {
            const int row = kBmpHeight - 1 - y;  // as stored, from the bottom
            const uint32_t want = row == 1 && x >= 2 ? BmpPaletteColour(5)
                                  : row == 2 && x < 3 ? BmpPaletteColour(7 + x) : 0;
            EXPECT_EQ(pixels[static_cast<size_t>(y) * kBmpWidth + x], want) << x << "," << y;
        }

    // Broken files: each one a damage of a good 8-bit file. Cut short: in
    // the header, inside the colour table, inside the pixels.
    const std::vector<uint8_t> base = MakeBmp({8});
    for (size_t size : {size_t{0}, size_t{14}, size_t{14 + 40 + 100}, base.size() - 1}) {
        std::vector<uint8_t> file(base.begin(), base.begin() + size);
        EXPECT_FALSE(PrepareBitmap(file)) << size;
    }
    // A word of the headers changed: colour counts beyond the file and the
    // bits, height and width 0, a width beyond any canvas, rows
    // overflowing, pixels before the table and beyond the file, header
    // sizes 0 and huge, JPEG inside, RLE upside down.
    const std::vector<std::pair<size_t, uint32_t>> words[] = {
        {{46, 100000}}, {{46, 257}},        {{22, 0}},  {{18, 0}},          {{18, 0x7FFFFFFF}}, {{22, 0x80000000u}},
        {{10, 20}},     {{10, 0xFFFFFFF0u}}, {{14, 0}}, {{14, 0xFFFFFFFFu}}, {{30, 4}},
        {{30, 1}, {22, static_cast<uint32_t>(-kBmpHeight)}}};
    for (const auto& changes : words) {
        std::vector<uint8_t> file = base;
        for (const auto& [at, value] : changes) Write32(file, at, value);
        EXPECT_FALSE(PrepareBitmap(file)) << changes[0].first << ": " << changes[0].second;
    }
    // 2 planes, 7 bits, not BM.
    for (const auto& [at, value] : {std::pair{26, 2}, {28, 7}, {1, 'A'}}) {
        std::vector<uint8_t> file = base;
        file[at] = static_cast<uint8_t>(value);
        EXPECT_FALSE(PrepareBitmap(file)) << at;
    }
}

namespace {

PictureCheck Check(std::vector<uint8_t> file, int* width = nullptr, int* height = nullptr,
                   std::vector<uint8_t>* prepared = nullptr)
{
    PictureKind kind;
    int w = 0, h = 0;
    const PictureCheck c = PreparePicture(file, kind, w, h);
    if (width) *width = w;
    if (height) *height = h;
    if (prepared) *prepared = file;
    return c;
}
std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// A GIF of two pictures: a screen of sw x sh, the first picture w x h with
// a graphic control block before it.
std::vector<uint8_t> TwoPictureGif(int sw, int sh, int w, int h)
{
    const auto le = [](int v) { return std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)}; };
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    for (int v : {sw, sh}) for (uint8_t b : le(v)) g.push_back(b);
    g.insert(g.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // two global colours
    g.insert(g.end(), {0x21, 0xF9, 4, 1, 0, 0, 1, 0});       // colour 1 transparent
    for (int picture = 0; picture < 2; ++picture) {
        g.insert(g.end(), {0x2C, 0, 0, 0, 0});
        for (int v : {w, h}) for (uint8_t b : le(v)) g.push_back(b);
        g.insert(g.end(), {0, 2, 2, 0x4C, 0x01, 0});  // no local colours; code size 2; one sub-block
    }
    g.push_back(0x3B);
    return g;
}

}  // namespace

// Every kind is judged by the size its headers claim before a decoder sees
// a byte of it: a picture of 20000 x 20000 in a small file never reaches a
// decoder.
TEST(Overlay, PictureHeadersAreJudgedBeforeAnyDecoder)
{
    int w = 0, h = 0;
    std::vector<uint8_t> prepared;
    // PNG: bombs of both kinds.
    const std::string small = png_maker::ZeroPng(300, 200, 8, 2);
    ASSERT_EQ(Check(Bytes(small), &w, &h), PictureCheck::Accepted);
    EXPECT_TRUE(w == 300 && h == 200);
    EXPECT_EQ(Check(Bytes(png_maker::ZeroPng(20000, 20000, 8, 2))), PictureCheck::TooLarge);
    EXPECT_EQ(Check(Bytes(png_maker::ZeroPng(kPictureMaxSide, 2049, 1, 0))), PictureCheck::TooLarge);  // by pixels
    EXPECT_EQ(Check(Bytes(small.substr(0, 20))), PictureCheck::Damaged);
    EXPECT_EQ(Check(Bytes(png_maker::ZeroPng(0, 10))), PictureCheck::Damaged);

    // JPEG: the frame header after other segments; none, or one past the end.
    const std::vector<uint8_t> start = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xFF};
    const auto jpeg = [&](int height, int width) {
        std::vector<uint8_t> j = start;
        j.insert(j.end(), {0xC2, 0, 11, 8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), 1,
                           1, 0x11, 0, 0xFF, 0xDA});
        return j;
    };
    ASSERT_EQ(Check(jpeg(3000, 4000), &w, &h), PictureCheck::Accepted);
    EXPECT_TRUE(w == 4000 && h == 3000);
    EXPECT_EQ(Check(jpeg(20000, 20000)), PictureCheck::TooLarge);
    std::vector<uint8_t> scanFirst = start;
    scanFirst.insert(scanFirst.end(), {0xDA, 0, 2});
    EXPECT_EQ(Check(scanFirst), PictureCheck::Damaged);
    std::vector<uint8_t> cut = jpeg(30, 40);
    cut.resize(start.size() + 4);
    EXPECT_EQ(Check(cut), PictureCheck::Damaged);

    // GIF: the first picture alone goes on; its size and the screen's count.
    const std::vector<uint8_t> two = TwoPictureGif(10, 6, 10, 6);
    ASSERT_EQ(Check(two, &w, &h, &prepared), PictureCheck::Accepted);
    EXPECT_TRUE(w == 10 && h == 6 && prepared.size() == two.size() - 15 && prepared.back() == 0x3B);
    EXPECT_TRUE(std::equal(prepared.begin(), prepared.end() - 1, two.begin()));
    EXPECT_EQ(Check(TwoPictureGif(0, 0, 10, 6)), PictureCheck::Accepted);
    EXPECT_EQ(Check(TwoPictureGif(20000, 20000, 10, 6)), PictureCheck::TooLarge);
    EXPECT_EQ(Check(TwoPictureGif(10, 6, 20000, 20000)), PictureCheck::TooLarge);
    EXPECT_EQ(Check(TwoPictureGif(10, 6, 0, 6)), PictureCheck::Damaged);
    for (size_t size : {size_t{12}, size_t{22}, two.size() - 20})
        EXPECT_EQ(Check(std::vector<uint8_t>(two.begin(), two.begin() + size)), PictureCheck::Damaged) << size;
    std::vector<uint8_t> ended = two;
    ended[19] = 0x3B;  // the end before any picture
    EXPECT_EQ(Check(ended), PictureCheck::Damaged);

    // BMP: too large by its header, or headers that do not hold together.
    std::vector<uint8_t> bmp = MakeBmp({24});
    ASSERT_EQ(Check(bmp, &w, &h), PictureCheck::Accepted);
    EXPECT_TRUE(w == kBmpWidth && h == kBmpHeight);
    EXPECT_EQ(Check(std::vector<uint8_t>(bmp.begin(), bmp.begin() + 30)), PictureCheck::Damaged);
    Write32(bmp, 18, 20000);
    Write32(bmp, 22, static_cast<uint32_t>(-20000));
    EXPECT_EQ(Check(bmp), PictureCheck::TooLarge);
    EXPECT_EQ(Check(Bytes("hello, not a picture")), PictureCheck::Unknown);
    EXPECT_EQ(Check({}), PictureCheck::Unknown);

    // Kept: no larger than what covers the canvas at the largest zoom both
    // ways (2560 x 1600), shape kept; anything not larger as it is.
    struct {
        int w, h, keptW, keptH;
    } const kept[] = {{4000, 3000, 2560, 1920}, {16384, 2048, 12800, 1600}, {2561, 1601, 2560, 1601},
                      {2000, 16000, 2000, 16000}, {5000, 1600, 5000, 1600}, {10, 6, 10, 6}};
    for (const auto& k : kept) {
        PictureKeptSize(k.w, k.h, w, h);
        EXPECT_TRUE(w == k.keptW && h == k.keptH) << k.w << "x" << k.h << ": " << w << "x" << h;
    }
}

TEST(Overlay, PlacementScaleAndBands)
{
    // Extremes; the pictures drawn below pin ordinary placements.
    struct {
        int w, h, k;
        int64_t x, width;
    } const cases[] = {{1, 1000000, 1, 159, 0}, {16384, 1, 8, -(16384 * 1600 - 2560) / 2, 16384 * 1600}};
    for (const auto& c : cases) {
        const OverlayPlacement p = PlaceOverlay(c.w, c.h, c.k);
        EXPECT_TRUE(p.x == c.x && p.width == c.width) << c.w << "x" << c.h << ": " << p.x << " " << p.width;
    }

    // 640 x 400 at x2 fills the canvas pixel for pixel.
    ResetCore();
    UseTestBackBuffer(1);
    LoadPicture(640, 400, [](int x, int y) { return static_cast<uint32_t>(x * 7 + y * 1000); });
    DrawOverlay(gCanvas.pixels);
    int wrong = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) wrong += *PixelAt(gCanvas.pixels, x, CurrentView().H + y) != uint32_t(x * 7 + y * 1000);
    EXPECT_EQ(wrong, 0);

    // 400 x 400 at x1: halved by averaging 2 x 2 pixels, 60 black columns on
    // each side; the wide one shows its middle 320 columns.
    UseTestBackBuffer(0);
    LoadPicture(400, 400, [](int x, int y) { return ((x + y) & 1) ? 0xFFFFFFu : 0x000000u; });
    DrawOverlay(gCanvas.pixels);
    const auto at = [](int x, int y) { return *PixelAt(gCanvas.pixels, x, CurrentView().H + y); };
    EXPECT_TRUE(at(59, 100) == 0 && at(60, 100) == 0x808080u && at(259, 199) == 0x808080u && at(260, 0) == 0);
    LoadPicture(1000, 200, [](int x, int) { return static_cast<uint32_t>(x); });
    DrawOverlay(gCanvas.pixels);
    EXPECT_TRUE(at(0, 50) == 340 && at(319, 50) == 659);
    ReleaseOverlay();
}

TEST(Overlay, TheBlendRoundsEachChannelToTheNearest)
{
    // Over the canvas each channel is picture x 128/255 + canvas x 127/255,
    // to the nearest (never halfway, 255 being odd): white over black is
    // 0x80, black over white 0x7F. Red and green go through every pair of
    // values, the first 250 canvas values at least.
    ResetCore();
    UseTestBackBuffer(0);
    const ViewGeometry& g = CurrentView();
    std::vector<uint32_t> backPixels(static_cast<size_t>(g.W) * g.H, 0x0A0B0C);
    std::vector<uint32_t> overlayPixels(static_cast<size_t>(g.W) * 2 * g.H);
    const PixelView back = {backPixels.data(), g.W, g.H}, overlay = {overlayPixels.data(), g.W, 2 * g.H};
    const auto picture = [](uint32_t n) { return (n & 0xFF) << 16 | (n >> 8) << 8 | ((n * 7) & 0xFF); };
    const auto canvas = [](uint32_t n) { return (n >> 8) << 16 | (n & 0xFF) << 8 | ((n * 13 + 5) & 0xFF); };
    for (uint32_t n = 0; n < 320 * 200; ++n) {
        *PixelAt(overlay, n % 320, g.H + n / 320) = picture(n);
        *PixelAt(back, kCanvasLeft + n % 320, kCanvasTop + n / 320) = canvas(n);
    }
    ComposeOverlay(back, overlay, {0, 0, g.W, g.H});
    int wrong = 0;
    for (uint32_t n = 0; n < 320 * 200; ++n) {
        uint32_t expected = 0;
        for (int shift : {16, 8, 0}) {
            const uint32_t p = (picture(n) >> shift) & 0xFF, c = (canvas(n) >> shift) & 0xFF;
            expected |= (p * 128 + c * 127 + 127) / 255 << shift;
        }
        wrong += *PixelAt(overlay, kCanvasLeft + n % 320, kCanvasTop + n / 320) != expected;
    }
    EXPECT_EQ(wrong, 0);
    // Pixel 255: red 255 over 0, green 0 over 255, blue 249 over 248.
    EXPECT_EQ(*PixelAt(overlay, kCanvasLeft + 255, kCanvasTop), 0x807FF9u);
    // Off the canvas, left, right and below it: copied as it is.
    for (const Point& p : {Point{kCanvasLeft - 1, kCanvasTop}, Point{kCanvasLeft + 320, kCanvasTop},
                           Point{kCanvasLeft, kCanvasTop + 200}, Point{kCanvasLeft + 319, g.H - 1}})
        EXPECT_EQ(*PixelAt(overlay, p.x, p.y), 0x0A0B0Cu) << p.x << "," << p.y;
}
