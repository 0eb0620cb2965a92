// Pictures into screens: a picture drawn from known cells comes back cell for
// cell in both modes; a grey ramp stays a ramp when dithered in order; error
// diffusion goes where it should; the fits place the picture as they say. (A flat colour giving uniform cells is checked
// through vexa-cli import.)
#include <gtest/gtest.h>

#include <random>
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

TEST(PictureConvert, APictureOfCellsComesBackCellForCell)
{
    ResetCore();
    ASSERT_TRUE(LoadFont(VEXA_FONT_FILE));
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

TEST(PictureConvert, FloydSteinbergSpreadsEachErrorToItsFourNeighbours)
{
    // A grey picture of one pixel per sub-block, against error diffusion
    // written out plainly: row by row from the left, each pixel white above
    // the middle, its error going 7/16 right, 3/16 below left, 5/16 below
    // and 1/16 below right. Every cell then holds black and white only, so
    // its sub-blocks show exactly what was dithered.
    ResetCore();
    constexpr int w = 80, h = 50;
    std::mt19937 random(5);
    std::vector<uint32_t> picture(w * h);
    std::vector<float> grey(w * h);
    for (int i = 0; i < w * h; ++i) {
        grey[i] = static_cast<float>(random() & 0xFF);
        picture[i] = static_cast<uint32_t>(grey[i]) * 0x010101u;
    }
    std::vector<bool> white(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float v = grey[y * w + x];
            white[y * w + x] = v > 127.5f;
            const float error = v - (white[y * w + x] ? 255 : 0);
            const auto give = [&](int dx, int dy, float part) {
                if (x + dx >= 0 && x + dx < w && y + dy < h) grey[(y + dy) * w + x + dx] += error * part;
            };
            give(1, 0, 7 / 16.0f);
            give(-1, 1, 3 / 16.0f);
            give(0, 1, 5 / 16.0f);
            give(1, 1, 1 / 16.0f);
        }
    ConvertOptions options;
    options.dither = ConvertDither::Grain;
    ConvertedScreen out;
    ConvertPicture(picture.data(), w, h, options, out);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = CellIndex(x / 2, y / 2), q = (x & 1) + 2 * (y & 1);
            const int colour = (out.code[i] >> q) & 1 ? (out.attr[i] >> 4) & 7 : out.attr[i] & 7;
            wrong += colour != (white[y * w + x] ? 7 : 0);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(PictureConvert, RampsFitsAndBrightness)
{
    ResetCore();
    ASSERT_TRUE(LoadFont(VEXA_FONT_FILE));
    ConvertedScreen out;
    // A grey ramp, dithered in order, lights more sub-blocks from left to right.
    std::vector<uint32_t> ramp(320 * 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) ramp[y * 320 + x] = (x * 255 / 319) * 0x010101u;
    {
        ConvertOptions options;
        options.dither = ConvertDither::Pattern;
        ConvertPicture(ramp.data(), 320, 200, options, out);
        std::vector<int> lit(10, 0);  // white sub-blocks in each group of four cell columns
        for (int i = 0; i < kCellCount; ++i) {
            const int f = (out.attr[i] >> 4) & 7, b = out.attr[i] & 7;
            for (int q = 0; q < 4; ++q) lit[(i % 40) / 4] += ((out.code[i] >> q) & 1 ? f : b) == 7;
        }
        for (int g = 1; g < 10; ++g) EXPECT_GE(lit[g], lit[g - 1]) << "group " << g;
        EXPECT_EQ(lit[0] < 40 && lit[9] > 360, true) << lit[0] << " .. " << lit[9];
    }

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

    // Brightness all the way down makes everything black.
    options = ConvertOptions();
    options.brightness = -100;
    ConvertPicture(ramp.data(), 320, 200, options, out);
    for (int i = 0; i < kCellCount; ++i) ASSERT_EQ(whiteAt(i % 40), 0);
}
