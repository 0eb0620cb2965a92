// The overlay's picture: which BMP files are trusted, where the picture lies
// on the canvas, how it is scaled, and the blend.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "io/picture_file.h"
#include "render/overlay.h"
#include "render/view_settings.h"
#include "tests/bmp_maker.h"
#include "tests/test_support.h"

namespace {

uint32_t Read32(const std::vector<uint8_t>& v, size_t at)
{
    return v[at] | v[at + 1] << 8 | v[at + 2] << 16 | static_cast<uint32_t>(v[at + 3]) << 24;
}
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
    for (const BmpSpec& s : BmpVariants()) {
        std::vector<uint8_t> file = MakeBmp(s);
        EXPECT_TRUE(PrepareBitmap(file)) << s.bits << " bits, header " << s.headerSize;
        if (s.bits <= 8) {
            EXPECT_EQ(Read32(file, 14 + 32), 1u << s.bits) << "the colour count the layout implies";
        }
    }

    // Broken files: each one a damage of a good 8-bit file.
    const std::vector<uint8_t> base = MakeBmp({8});
    const size_t pixels = Read32(base, 10);
    struct Damage {
        const char* what;
        void (*apply)(std::vector<uint8_t>&, size_t pixels);
    } const damages[] = {
        {"14 bytes", [](std::vector<uint8_t>& f, size_t) { f.resize(14); }},
        {"cut inside the colour table", [](std::vector<uint8_t>& f, size_t) { f.resize(14 + 40 + 100); }},
        {"cut inside the pixels", [](std::vector<uint8_t>& f, size_t) { f.pop_back(); }},
        {"colour count beyond the file", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 32, 100000); }},
        {"colour count beyond the bits", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 32, 257); }},
        {"height 0", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 8, 0); }},
        {"width 0", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 4, 0); }},
        {"width beyond any canvas", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 4, 0x7FFFFFFF); }},
        {"rows overflowing", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 8, 0x80000000u); }},
        {"pixels before the table", [](std::vector<uint8_t>& f, size_t) { Write32(f, 10, 20); }},
        {"pixels beyond the file", [](std::vector<uint8_t>& f, size_t) { Write32(f, 10, 0xFFFFFFF0u); }},
        {"header size 0", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14, 0); }},
        {"header size huge", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14, 0xFFFFFFFFu); }},
        {"2 planes", [](std::vector<uint8_t>& f, size_t) { f[14 + 12] = 2; }},
        {"7 bits", [](std::vector<uint8_t>& f, size_t) { f[14 + 14] = 7; }},
        {"JPEG inside", [](std::vector<uint8_t>& f, size_t) { Write32(f, 14 + 16, 4); }},
        {"RLE upside down", [](std::vector<uint8_t>& f, size_t) {
             Write32(f, 14 + 16, 1);
             Write32(f, 14 + 8, static_cast<uint32_t>(-kBmpHeight));
         }},
        {"not BM", [](std::vector<uint8_t>& f, size_t) { f[1] = 'A'; }},
    };
    for (const Damage& d : damages) {
        std::vector<uint8_t> file = base;
        d.apply(file, pixels);
        EXPECT_FALSE(PrepareBitmap(file)) << d.what;
    }
    std::vector<uint8_t> empty;
    EXPECT_FALSE(PrepareBitmap(empty));

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
        EXPECT_EQ(p.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(p.width, c.width) << c.w << "x" << c.h;
    }

    // 640 x 400 at x2 fills the canvas pixel for pixel.
    ResetCore();
    UseTestBackBuffer(1);
    LoadPicture(640, 400, [](int x, int y) { return static_cast<uint32_t>(x * 7 + y * 1000); });
    DrawOverlay(gBackBuffer);
    const int H = CurrentView().H;
    int wrong = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) wrong += *PixelAt(gBackBuffer, x, H + y) != static_cast<uint32_t>(x * 7 + y * 1000);
    EXPECT_EQ(wrong, 0);

    // 400 x 400 at x1: halved by averaging 2 x 2 pixels, 60 black columns on
    // each side; the wide one shows its middle 320 columns.
    UseTestBackBuffer(0);
    LoadPicture(400, 400, [](int x, int y) { return ((x + y) & 1) ? 0xFFFFFFu : 0x000000u; });
    DrawOverlay(gBackBuffer);
    const int H1 = CurrentView().H;
    EXPECT_EQ(*PixelAt(gBackBuffer, 59, H1 + 100), 0u);
    EXPECT_EQ(*PixelAt(gBackBuffer, 60, H1 + 100), 0x808080u);
    EXPECT_EQ(*PixelAt(gBackBuffer, 259, H1 + 199), 0x808080u);
    EXPECT_EQ(*PixelAt(gBackBuffer, 260, H1), 0u);
    LoadPicture(1000, 200, [](int x, int) { return static_cast<uint32_t>(x); });
    DrawOverlay(gBackBuffer);
    EXPECT_EQ(*PixelAt(gBackBuffer, 0, H1 + 50), 340u);
    EXPECT_EQ(*PixelAt(gBackBuffer, 319, H1 + 50), 659u);
    ReleaseOverlay();
}

TEST(Overlay, BlendMixesOnlyTheCanvas)
{
    ResetCore();
    for (int zoom : {0, 1}) {
        UseTestBackBuffer(zoom, 0x00406080);
        std::vector<uint32_t> overlayPixels(static_cast<size_t>(CurrentView().W) * 2 * CurrentView().H, 0x00FFFFFF);
        const PixelView overlay = {overlayPixels.data(), CurrentView().W, 2 * CurrentView().H};
        LoadPicture(64, 40, [](int x, int y) { return static_cast<uint32_t>((x * 4) << 16 | (y * 6) << 8 | 0xC8); });
        DrawOverlay(overlay);
        const ViewGeometry& g = CurrentView();
        ComposeOverlay(gBackBuffer, overlay, {0, 0, g.W, g.H});
        int wrong = 0;
        for (int y = 0; y < g.H; ++y)
            for (int x = 0; x < g.W; ++x) {
                const uint32_t canvas = *PixelAt(gBackBuffer, x, y), got = *PixelAt(overlay, x, y);
                const bool onCanvas = x >= 8 && y >= 8 && x < 8 + 320 * g.k && y < 8 + 200 * g.k;
                if (!onCanvas) {
                    wrong += got != canvas;
                    continue;
                }
                const uint32_t picture = *PixelAt(overlay, x - 8, g.H + y - 8);
                for (int shift = 0; shift < 24; shift += 8) {
                    const double s = (picture >> shift) & 0xFF, d = (canvas >> shift) & 0xFF;
                    const double want = s * 128 / 255 + d * (255 - 128) / 255;
                    wrong += std::fabs(((got >> shift) & 0xFF) - want) > 1;
                }
            }
        EXPECT_EQ(wrong, 0) << zoom;
    }
    ReleaseOverlay();
}
