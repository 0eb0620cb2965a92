// The overlay's scaling and blend: no picture size or painted area writes
// outside a buffer.
#include <vector>

#include "render/overlay.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "tests/fuzz/fuzz_support.h"

// Pictures up to 300 pixels a side at zoom x1 (a 200-pixel canvas height)
// are both shrunk and enlarged, wide ones are cut; the arithmetic is the
// same at every zoom, and each run stays short.
constexpr int kMostSide = 300;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12) return 0;
    gView.Zoom = 0;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    static std::vector<uint32_t> back(static_cast<size_t>(g.W) * g.H), overlay(static_cast<size_t>(g.W) * 2 * g.H);
    const int w = 1 + (data[0] | data[1] << 8) % kMostSide, h = 1 + (data[2] | data[3] << 8) % kMostSide;
    const PixelView b = {back.data(), g.W, g.H}, o = {overlay.data(), g.W, 2 * g.H};
    if (!AllocateOverlay(w, h)) return 0;
    for (size_t i = 0; i < gOverlay.pixels.size(); i += 97) gOverlay.pixels[i] = data[i % size] * 0x010101u;
    DrawOverlay(o);
    const auto coordinate = [&](int at) { return static_cast<int8_t>(data[at]) * 8; };
    ComposeOverlay(b, o, {coordinate(5), coordinate(6), coordinate(7) + g.W / 2, coordinate(8) + g.H / 2});
    ReleaseOverlay();
    return 0;
}
