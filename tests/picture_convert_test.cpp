// Pictures into screens: a picture drawn from known cells comes back cell for
// cell in both modes; flat fields keep their colour and brightness whatever
// the dithering; grain's order is pinned; the fits place the picture as they
// say. (How good conversions of real photos look is measured by
// bench/quality.)
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "render/font.h"
#include "render/picture_convert.h"
#include "tests/test_support.h"

namespace {

// The cells as the canvas draws them at x1, without grid or marks: 320 x 200,
// top row first.
std::vector<uint32_t> Render(const int32_t* codes, const int32_t* attrs)
{
    std::vector<uint32_t> bottomUp(320 * 200), picture(320 * 200);
    const PixelView view = {bottomUp.data(), 320, 200};
    for (int i = 0; i < kCellCount; ++i)
        DrawPlainGlyph(view, (i % 40) * 8, (i / 40) * 8, codes[i], attrs[i], 1);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) picture[y * 320 + x] = *PixelAt(view, x, y);
    return picture;
}

// Cells of `converted` that do not show what the picture shows there.
int CellsDiffering(const std::vector<uint32_t>& picture, const ConvertedScreen& converted)
{
    const std::vector<uint32_t> shown = Render(converted.code, converted.attr);
    int differing = 0;
    for (int i = 0; i < kCellCount; ++i) {
        bool same = true;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int at = ((i / 40) * 8 + y) * 320 + (i % 40) * 8 + x;
                same = same && picture[at] == shown[at];
            }
        differing += !same;
    }
    return differing;
}

std::vector<uint32_t> Flat(int w, int h, uint32_t colour) { return std::vector<uint32_t>(static_cast<size_t>(w) * h, colour); }

}  // namespace

// Every conversion here uses the real font.
class PictureConvert : public testing::Test {
protected:
    void SetUp() override
    {
        ResetCore();
        ASSERT_TRUE(LoadFont(VEXA_FONT_FILE));
    }
};

TEST_F(PictureConvert, APictureOfCellsComesBackCellForCell)
{
    std::mt19937 random(11);
    int32_t codes[kCellCount], attrs[kCellCount];
    for (ConvertMode mode : {ConvertMode::Semigraphic, ConvertMode::Characters}) {
        for (int i = 0; i < kCellCount; ++i) {
            const bool blocks = mode == ConvertMode::Semigraphic;
            codes[i] = blocks ? 0xF0 | (random() & 15) : random() & 0xFF;
            attrs[i] = (blocks ? 0 : random() & 0x80) | (random() & 0x77);
        }
        const std::vector<uint32_t> picture = Render(codes, attrs);
        ConvertOptions options;
        options.mode = mode;
        ConvertedScreen out;
        ConvertPicture(picture.data(), 320, 200, options, out);
        EXPECT_EQ(CellsDiffering(picture, out), 0) << (mode == ConvertMode::Semigraphic ? "blocks" : "characters");

        // Twice the size, letterboxed or not, it is the same picture.
        std::vector<uint32_t> doubled(640 * 400);
        for (int i = 0; i < 640 * 400; ++i) doubled[i] = picture[(i / 1280) * 320 + (i % 640) / 2];
        options.fit = ConvertFit::Stretch;
        ConvertPicture(doubled.data(), 640, 400, options, out);
        EXPECT_EQ(CellsDiffering(picture, out), 0);
    }
}

// L* of a screen's or a picture's mean light, from its pixels.
double MeanLightness(const std::vector<uint32_t>& pixels)
{
    double y = 0;
    for (uint32_t c : pixels) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        y += 0.2126 * linear(((c >> 16) & 0xFF) / 255.0) + 0.7152 * linear(((c >> 8) & 0xFF) / 255.0) +
             0.0722 * linear((c & 0xFF) / 255.0);
    }
    y /= pixels.size();
    return y > 0.008856 ? 116 * std::cbrt(y) - 16 : 903.3 * y;
}

// Flat fields in every mode and dithering: a dark navy never lights white or
// magenta, near-black stays black, a mid-grey in characters keeps its
// brightness; excluded characters never appear.
TEST_F(PictureConvert, FlatFieldsKeepTheirColourAndBrightness)
{
    const std::vector<uint32_t> navy = Flat(160, 100, Rgb(30, 35, 80)), grey = Flat(160, 100, Rgb(128, 128, 128)),
                                black = Flat(160, 100, Rgb(12, 12, 12));
    std::bitset<kGlyphNumbers> some;
    for (int g = 0; g < kGlyphNumbers; g += 3) some.set(g);
    for (ConvertMode mode : {ConvertMode::Semigraphic, ConvertMode::Characters})
        for (ConvertDither dither : {ConvertDither::None, ConvertDither::Pattern, ConvertDither::Grain}) {
            const std::string what = std::string(mode == ConvertMode::Semigraphic ? "blocks " : "characters ") +
                                     std::to_string(static_cast<int>(dither));
            ConvertOptions options;
            options.mode = mode;
            options.dither = dither;
            options.fit = ConvertFit::Stretch;
            ConvertedScreen out;
            ConvertPicture(navy.data(), 160, 100, options, out);
            std::vector<uint32_t> shown = Render(out.code, out.attr);
            int bright = 0;
            for (uint32_t c : shown) bright += c == kColourTable[7] || c == kColourTable[3];
            EXPECT_EQ(bright, 0) << what;

            // (Semigraphic cells can hold a mid-grey only as coarse blocks,
            // which show white; characters hold it as a fine pattern.)
            if (mode == ConvertMode::Characters) {
                ConvertPicture(grey.data(), 160, 100, options, out);
                EXPECT_NEAR(MeanLightness(Render(out.code, out.attr)), MeanLightness(grey), 4.0) << what;
            }

            ConvertPicture(black.data(), 160, 100, options, out);
            shown = Render(out.code, out.attr);
            EXPECT_EQ(std::count(shown.begin(), shown.end(), kColourTable[0]), static_cast<long>(shown.size())) << what;

            if (mode == ConvertMode::Semigraphic) continue;
            options.glyphs = some;
            for (const std::vector<uint32_t>* picture : {&navy, &grey})
                for (ConvertFit fit : {ConvertFit::Letterbox, ConvertFit::Stretch}) {
                    options.fit = fit;
                    ConvertPicture(picture->data(), 160, 100, options, out);
                    for (int i = 0; i < kCellCount; ++i)
                        ASSERT_TRUE(some[out.code[i] + (out.attr[i] & kAttrCharSet ? 256 : 0)]) << what << " cell " << i;
                }
        }
}

// Grain's order pinned: a small picture with a diagonal ramp, whose
// dithering runs left to right on even rows and right to left on odd ones,
// gives exactly these cells. (Made by this converter; any change to the
// order or the weights of the error shows here first.)
TEST_F(PictureConvert, GrainDithersInAFixedOrder)
{
    std::vector<uint32_t> ramp(80 * 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x) ramp[y * 80 + x] = Rgb((x * 3 + y) & 0xFF, (x + y * 4) & 0xFF, 96);
    uint64_t hash[2];
    for (ConvertMode mode : {ConvertMode::Semigraphic, ConvertMode::Characters}) {
        ConvertOptions options;
        options.mode = mode;
        options.dither = ConvertDither::Grain;
        ConvertedScreen out;
        ConvertPicture(ramp.data(), 80, 50, options, out);
        uint64_t h = 1469598103934665603ull;  // FNV-1a over every code and attribute
        for (int i = 0; i < kCellCount; ++i)
            for (int32_t v : {out.code[i], out.attr[i]}) h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
        hash[mode == ConvertMode::Characters] = h;
    }
    EXPECT_EQ(hash[0], 8555817992634028149u);
    EXPECT_EQ(hash[1], 3212008281627891652u);
}

TEST_F(PictureConvert, FitsColoursAndBrightness)
{
    ConvertedScreen out;
    // Fits: a tall white picture letterboxed leaves black bands; cropped or
    // stretched it fills the screen.
    const std::vector<uint32_t> tall = Flat(100, 400, 0xFFFFFF);
    const auto whiteAt = [&](int column) {
        const int i = CellIndex(column, 12);
        return out.code[i] == 0xFF ? (out.attr[i] >> 4) & 7 : out.attr[i] & 7;
    };
    ConvertOptions options;
    ConvertPicture(tall.data(), 100, 400, options, out);
    EXPECT_TRUE(whiteAt(0) == 0 && whiteAt(20) == 7 && whiteAt(39) == 0);
    for (ConvertFit fit : {ConvertFit::Crop, ConvertFit::Stretch}) {
        options.fit = fit;
        ConvertPicture(tall.data(), 100, 400, options, out);
        EXPECT_TRUE(whiteAt(0) == 7 && whiteAt(39) == 7);
    }

    // Dithered either way, each of the eight colours stays itself in every
    // sub-block.
    for (ConvertDither dither : {ConvertDither::Pattern, ConvertDither::Grain})
        for (int c = 0; c < 8; ++c) {
            const std::vector<uint32_t> flat = Flat(80, 50, kColourTable[c]);
            options = ConvertOptions();
            options.dither = dither;
            ConvertPicture(flat.data(), 80, 50, options, out);
            int wrong = 0;
            for (int i = 0; i < kCellCount; ++i)
                for (int q = 0; q < 4; ++q)
                    wrong += ((out.code[i] >> q) & 1 ? (out.attr[i] >> 4) & 7 : out.attr[i] & 7) != c;
            EXPECT_EQ(wrong, 0) << "colour " << c;
        }

    // Brightness all the way down makes even white black.
    options = ConvertOptions();
    options.brightness = -100;
    options.fit = ConvertFit::Stretch;
    ConvertPicture(tall.data(), 100, 400, options, out);
    for (int i = 0; i < kCellCount; ++i) ASSERT_EQ(out.attr[i] & 0x77, 0) << i;
}
