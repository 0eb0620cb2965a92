// The exports of one screen: the machine files and the picture's pixels (the
// PNG encoding itself is the platform's).
#include <benchmark/benchmark.h>

#include "io/exports.h"
#include "render/font.h"
#include "screen/document.h"
#include "screen/screen.h"

namespace {

void PaintScreen()
{
    LoadFont(VEXA_FONT_FILE);
    for (int i = 0; i < kCellCount; ++i) {
        gDoc.screen.code[i] = (i * 7) & 0xFF;
        gDoc.screen.attr[i] = (i * 13) & 0xFF;
    }
}

template <typename Export>
void Run(benchmark::State& state, Export make)
{
    PaintScreen();
    for (auto _ : state) benchmark::DoNotOptimize(make());
}

void BM_ExportMzf(benchmark::State& state) { Run(state, [] { return MzfImage("TITLE", false); }); }
void BM_ExportAsm(benchmark::State& state) { Run(state, [] { return AssemblerSource("TITLE", false); }); }
void BM_ExportBin(benchmark::State& state) { Run(state, [] { return VramImage(true); }); }
void BM_ExportPicture(benchmark::State& state)
{
    const int k = static_cast<int>(state.range(0));
    Run(state, [k] { return ScreenPicture(k); });
}
BENCHMARK(BM_ExportMzf)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportAsm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportBin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportPicture)->Arg(2)->Arg(8)->Unit(benchmark::kMicrosecond);

}  // namespace
