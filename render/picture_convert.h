// A picture turned into a screen: each cell becomes the 2 x 2 block (or the
// character of either set) with the pair of MZ-700 colours that best shows
// its part of the picture. "Best" is what the eye sees: lightness pixel by
// pixel, and colour over areas by CIEDE2000 (see picture_convert.cpp).
#pragma once
#include <bitset>
#include <cstdint>

#include "screen/screen.h"

enum class ConvertMode { Semigraphic, Characters };
enum class ConvertFit { Letterbox, Crop, Stretch };
enum class ConvertDither { None, Pattern, Grain };

constexpr int kGlyphNumbers = 512;

struct ConvertOptions {
    ConvertMode mode = ConvertMode::Semigraphic;
    ConvertFit fit = ConvertFit::Letterbox;
    ConvertDither dither = ConvertDither::None;
    int brightness = 0;  // -100 to 100: added to every channel, in percent of full
    int contrast = 0;    // -100 to 100: percent more or less spread around the middle
    // Character mode: the glyphs (code + 256 x set) that may be used.
    std::bitset<kGlyphNumbers> glyphs = std::bitset<kGlyphNumbers>().set();
};

struct ConvertedScreen {
    int32_t code[kCellCount];
    int32_t attr[kCellCount];
};

// `pixels` is width x height, top row first, 0xRRGGBB. Character mode reads
// the glyphs from the loaded font. A picture of no pixels gives black cells.
void ConvertPicture(const uint32_t* pixels, int width, int height, const ConvertOptions& options,
                    ConvertedScreen& out);
