// Rasteriser hot paths against a plain fill of the same number of bytes.
// Run: build/native/vexa_bench   (the ratios are printed after the table)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "render/font.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/pen.h"
#include "screen/screen.h"

void InvalidateCanvas() {}
void OnPenChanged(PenChange) {}
void OnModifiedStateChanged(bool) {}

namespace {

std::vector<uint32_t> gPixels;

void SetUpView(int zoom)
{
    LoadFont(VEXA_FONT_FILE);
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = (i * 7) & 0xFF;
        gScreen.attr[i] = (i * 13) & 0xFF;
    }
    Zoom = zoom;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    gPixels.assign(static_cast<size_t>(g.W) * 2 * g.H, kPanelGrey);
    gBackBuffer = {gPixels.data(), g.W, 2 * g.H};
}

void BM_RedrawCanvas(benchmark::State& state)
{
    SetUpView(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RedrawCanvas();
        benchmark::ClobberMemory();
    }
    const int s = CurrentView().s;
    state.SetBytesProcessed(state.iterations() * int64_t{kCellCount} * s * s * 4);
}
BENCHMARK(BM_RedrawCanvas)->Arg(0)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

void BM_DrawPalette(benchmark::State& state)
{
    SetUpView(1);
    for (auto _ : state) {
        DrawPalette();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawPalette)->Unit(benchmark::kMicrosecond);

// The yardstick: filling as many bytes as a canvas redraw writes at zoom z.
void BM_PlainFill(benchmark::State& state)
{
    const int s = 8 * (static_cast<int>(state.range(0)) + 1);
    std::vector<uint32_t> pixels(static_cast<size_t>(kCellCount) * s * s);
    uint32_t value = 0;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), ++value);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(pixels.size()) * 4);
}
BENCHMARK(BM_PlainFill)->Arg(0)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

// Keeps each run's time so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const
    {
        for (const char* arg : {"0", "1", "7"}) {
            const auto redraw = times_.find(std::string("BM_RedrawCanvas/") + arg);
            const auto fill = times_.find(std::string("BM_PlainFill/") + arg);
            if (redraw == times_.end() || fill == times_.end() || fill->second <= 0) continue;
            std::printf("RedrawCanvas x%d / plain fill of the same bytes: %.2f\n", arg[0] - '0' + 1,
                        redraw->second / fill->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
