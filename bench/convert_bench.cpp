// Pictures into screens: a 640 x 400 picture in each mode, as the editor's
// preview and vexa-cli convert it.
#include <benchmark/benchmark.h>

#include <vector>

#include "render/font.h"
#include "render/picture_convert.h"

namespace {

std::vector<uint32_t> Scene()
{
    std::vector<uint32_t> pixels(640 * 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            pixels[y * 640 + x] = static_cast<uint32_t>((x * 255 / 639) << 16 | (y * 255 / 399) << 8 | ((x ^ y) & 0xFF));
    return pixels;
}

void BM_Convert(benchmark::State& state)
{
    LoadFont(VEXA_FONT_FILE);
    const std::vector<uint32_t> picture = Scene();
    ConvertOptions options;
    options.mode = state.range(0) ? ConvertMode::Characters : ConvertMode::Semigraphic;
    options.dither = static_cast<ConvertDither>(state.range(1));
    ConvertedScreen out;
    for (auto _ : state) {
        ConvertPicture(picture.data(), 640, 400, options, out);
        benchmark::DoNotOptimize(out);
    }
}
// Mode (0 blocks, 1 characters with all 512 glyphs) and dithering.
BENCHMARK(BM_Convert)->Args({0, 0})->Args({0, 2})->Args({1, 0})->Args({1, 2})->Unit(benchmark::kMillisecond);

}  // namespace
