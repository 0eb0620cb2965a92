// Rasteriser hot paths against a plain fill of the same number of bytes.
// Run: build/native/vexa_bench   (the ratios are printed after the table)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/settings.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/screen.h"

namespace {

std::vector<uint32_t> gPixels;

void SetUpView(int zoom)
{
    LoadFont(VEXA_FONT_FILE);
    ResetSettings();
    for (int i = 0; i < kCellCount; ++i) {
        gDoc.screen.code[i] = (i * 7) & 0xFF;
        gDoc.screen.attr[i] = (i * 13) & 0xFF;
    }
    gView.Zoom = zoom;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    gPixels.assign(static_cast<size_t>(g.W) * 2 * g.H, kPanelGrey);
    gCanvas.pixels = {gPixels.data(), g.W, 2 * g.H};
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

// A paint with the overlay shown: the panel copied into the overlay buffer
// with the picture blended over the canvas.
void BM_ComposeOverlay(benchmark::State& state)
{
    SetUpView(static_cast<int>(state.range(0)));
    const ViewGeometry& g = CurrentView();
    std::vector<uint32_t> overlayPixels(static_cast<size_t>(g.W) * 2 * g.H, 0x00808080);
    const PixelView overlay = {overlayPixels.data(), g.W, 2 * g.H};
    AllocateOverlay(640, 400);
    DrawOverlay(overlay);
    for (auto _ : state) {
        ComposeOverlay(gCanvas.pixels, overlay, {0, 0, g.W, g.H});
        benchmark::ClobberMemory();
    }
    ReleaseOverlay();
}
BENCHMARK(BM_ComposeOverlay)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

// The yardstick of the composition: a plain copy of the panel's bytes.
void BM_PlainCopy(benchmark::State& state)
{
    SetUpView(static_cast<int>(state.range(0)));
    const ViewGeometry& g = CurrentView();
    std::vector<uint32_t> copy(static_cast<size_t>(g.W) * g.H);
    for (auto _ : state) {
        std::memcpy(copy.data(), PixelAt(gCanvas.pixels, 0, g.H - 1), copy.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy)->Arg(1)->Arg(7)->Unit(benchmark::kMicrosecond);

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
            Ratio("RedrawCanvas", "plain fill of the same bytes", "BM_RedrawCanvas/", "BM_PlainFill/", arg);
            Ratio("ComposeOverlay", "plain copy of the panel", "BM_ComposeOverlay/", "BM_PlainCopy/", arg);
        }
    }

private:
    void Ratio(const char* what, const char* against, const std::string& a, const std::string& b, const char* arg) const
    {
        const auto x = times_.find(a + arg), y = times_.find(b + arg);
        if (x == times_.end() || y == times_.end() || y->second <= 0) return;
        std::printf("%s x%d / %s: %.2f\n", what, arg[0] - '0' + 1, against, x->second / y->second);
    }
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
