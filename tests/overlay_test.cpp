// The overlay's picture: which BMP files are trusted, where the picture lies
// on the canvas, how it is scaled and how it is blended over the canvas.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "io/picture_file.h"
#include "render/overlay.h"
#include "render/view_settings.h"
#include "tests/bmp_maker.h"
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
    // (What each variant shows is checked through the platform's decoder.)
    for (const BmpSpec& s : BmpVariants()) {
        std::vector<uint8_t> file = MakeBmp(s);
        EXPECT_TRUE(PrepareBitmap(file)) << s.bits << " bits, header " << s.headerSize;
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

    EXPECT_EQ(IdentifyPicture(reinterpret_cast<const uint8_t*>("\x89PNG\r\n\x1A\n...."), 12), PictureKind::Png);
    EXPECT_EQ(IdentifyPicture(reinterpret_cast<const uint8_t*>("\xFF\xD8\xFF\xE0"), 4), PictureKind::Jpeg);
    EXPECT_EQ(IdentifyPicture(reinterpret_cast<const uint8_t*>("GIF89a"), 6), PictureKind::Gif);
    EXPECT_EQ(IdentifyPicture(reinterpret_cast<const uint8_t*>("GIF8"), 4), PictureKind::Unknown);
    EXPECT_FALSE(PictureSizeAcceptable(kPictureMaxSide + 1, 1));
    EXPECT_FALSE(PictureSizeAcceptable(kPictureMaxSide, kPictureMaxSide));
    EXPECT_TRUE(PictureSizeAcceptable(4000, 3000));
}

TEST(Overlay, PlacementScaleAndBands)
{
    struct {
        int w, h, k;
        int64_t x, width;
    } const cases[] = {{640, 400, 2, 0, 640}, {400, 400, 1, 60, 200}, {1000, 200, 1, -340, 1000},
                       {1, 1000000, 1, 159, 0}, {16384, 1, 8, -(16384 * 1600 - 2560) / 2, 16384 * 1600}};
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
