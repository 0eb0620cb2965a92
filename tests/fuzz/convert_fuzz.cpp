// Pictures of any size and content into screens, with any options: every
// cell is a valid cell, semigraphic mode gives blocks only, characters keep
// to the glyphs allowed, and no pixel is read outside the picture.
#include <vector>

#include "render/font.h"
#include "render/picture_convert.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8) return 0;
    const int w = 1 + data[0] % 96, h = 1 + data[1] % 96;
    ConvertOptions options;
    options.mode = data[2] & 1 ? ConvertMode::Characters : ConvertMode::Semigraphic;
    options.fit = static_cast<ConvertFit>(data[2] / 2 % 3);
    options.dither = static_cast<ConvertDither>(data[3] % 3);
    options.brightness = static_cast<int8_t>(data[4]);
    options.contrast = static_cast<int8_t>(data[5]);
    // A few glyphs at a time keep each run short; which ones, the input says.
    for (int g = 0; g < kGlyphNumbers; ++g) options.glyphs[g] = (data[6] + g * (data[7] | 1)) % 64 == 0;
    // The font and the picture come from the input too.
    for (int i = 0; i < kFontBytes; ++i) gFontImage[i] = data[(i + 8) % size];
    std::vector<uint32_t> picture(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint32_t>(data[(3 * i) % size] << 16 | data[(3 * i + 1) % size] << 8 | data[(3 * i + 2) % size]);
    ConvertedScreen out;
    ConvertPicture(picture.data(), w, h, options, out);
    for (int i = 0; i < kCellCount; ++i) {
        FUZZ_CHECK(out.code[i] >= 0 && out.code[i] <= 255 && out.attr[i] >= 0 && out.attr[i] <= 255);
        FUZZ_CHECK((out.attr[i] & 0x08) == 0);
        const int glyph = out.code[i] + (out.attr[i] & 0x80 ? 256 : 0);
        if (options.mode == ConvertMode::Semigraphic)
            FUZZ_CHECK(out.code[i] >= 0xF0 && glyph == out.code[i]);
        else
            FUZZ_CHECK(options.glyphs[glyph] || (options.glyphs.none() && glyph == 0xF0));
    }
    return 0;
}
