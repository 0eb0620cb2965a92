// The editing operations that run within one click: both flood fills over
// a whole screen and the conversion of a full text buffer, each with the
// cells drawn into a back buffer at x2 as in the editor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"
#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/fill.h"
#include "screen/host.h"
#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/text_input.h"
#include "screen/undo.h"

namespace {

std::vector<uint32_t> gEditPixels;

void SetUpEditing()
{
    if (!gDoc.history.ring) CreateHistory();
    ConnectCanvasView(gHost);
    ResetSettings();
    gView.Zoom = 1;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    gEditPixels.assign(static_cast<size_t>(g.W) * 2 * g.H, kPanelGrey);
    gCanvas.pixels = {gEditPixels.data(), g.W, 2 * g.H};
}

void BM_FillCellsEmptyScreen(benchmark::State& state)
{
    SetUpEditing();
    for (auto _ : state) {
        std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
        FillCells(20, 12, 0x43, 0x71);  // all 1000 cells
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillCellsEmptyScreen)->Unit(benchmark::kMicrosecond);

void BM_FillSubBlocksEmptyScreen(benchmark::State& state)
{
    SetUpEditing();
    for (auto _ : state) {
        std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
        FillSubBlocks(40, 25, 0x71);  // all 4000 sub-blocks
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillSubBlocksEmptyScreen)->Unit(benchmark::kMicrosecond);

// 1023 bytes of Shift-JIS: Latin letters, half-width kana with their marks,
// katakana, hiragana and kanji, and line breaks.
std::string MixedText()
{
    const std::string pieces[] = {"HELLO, MZ-700! ", "\xB6\xDE\xDD\xC0\xDE\xD1 ", "\x83\x4B\x83\x93\x83\x5F\x83\x80",
                                  "\x82\xAA\x82\xF1\x82\xCE", "\x93\xFA\x8C\x8E\x89\x7E", "\r\n"};
    std::string text;
    for (size_t n = 0; text.size() < kTextBufferSize - 1; ++n) text += pieces[n % 6];
    while (text.size() > kTextBufferSize - 1) text.pop_back();
    return text;
}

void BM_ConvertText(benchmark::State& state)
{
    SetUpEditing();
    KeepText(MixedText(), false);
    for (auto _ : state) {
        ConvertText();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ConvertText)->Unit(benchmark::kMicrosecond);

}  // namespace
