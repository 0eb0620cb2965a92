#include "render/overlay.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "render/font.h"

OverlayPicture gOverlay;

namespace {

constexpr uint32_t kSourceAlpha = 128;

int CanvasWidth() { return kCanvasWidthAt1 * CurrentView().k; }
int CanvasHeight() { return kCanvasHeightAt1 * CurrentView().k; }

// The source pixels [from, to) that dest pixel d of n covers out of m; at
// least one, so that enlarging repeats pixels and shrinking averages them.
void SourceSpan(int64_t d, int64_t n, int64_t m, int64_t& from, int64_t& to)
{
    from = d * m / n;
    to = std::max((d + 1) * m / n, from + 1);
}

// picture x 128/255 + canvas x 127/255 per channel, rounded: red and blue
// side by side in 16-bit lanes, then green. (x + (x >> 8)) >> 8 divides a
// lane by 255 once 128 is added.
uint32_t Blend(uint32_t picture, uint32_t canvas)
{
    constexpr uint32_t kRedBlue = 0x00FF00FF, kHalf = 0x00800080;
    uint32_t rb = (picture & kRedBlue) * kSourceAlpha + (canvas & kRedBlue) * (255 - kSourceAlpha) + kHalf;
    rb = ((rb + ((rb >> 8) & kRedBlue)) >> 8) & kRedBlue;
    uint32_t g = ((picture >> 8) & 0xFF) * kSourceAlpha + ((canvas >> 8) & 0xFF) * (255 - kSourceAlpha) + 0x80;
    g = (g + (g >> 8)) >> 8;
    return rb | g << 8;
}

}  // namespace

bool AllocatePicture(OverlayPicture& picture, int width, int height)
{
    picture = OverlayPicture();
    try {
        picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    picture.width = width;
    picture.height = height;
    return true;
}

void ReleaseOverlay()
{
    gOverlay.pixels.clear();
    gOverlay.pixels.shrink_to_fit();
    gOverlay.width = gOverlay.height = 0;
}

OverlayPlacement PlaceOverlay(int pictureWidth, int pictureHeight, int k)
{
    const double canvasWidth = kCanvasWidthAt1 * k, canvasHeight = kCanvasHeightAt1 * k;
    const double scale = canvasHeight / pictureHeight;
    const double width = pictureWidth * scale;
    return {static_cast<int64_t>((canvasWidth - width) * 0.5), static_cast<int64_t>(width)};
}

void DrawOverlay(const PixelView& buffer)
{
    const int wc = CanvasWidth(), hc = CanvasHeight(), top = CurrentView().H;
    if (!BoxFits(buffer, 0, top, wc, hc)) return;
    for (int y = 0; y < hc; ++y) std::fill(PixelAt(buffer, 0, top + y), PixelAt(buffer, 0, top + y) + wc, 0u);
    if (!OverlayLoaded() || gOverlay.height <= 0) return;
    const OverlayPlacement p = PlaceOverlay(gOverlay.width, gOverlay.height, CurrentView().k);
    const int64_t first = std::max<int64_t>(p.x, 0), last = std::min<int64_t>(p.x + p.width, wc);
    for (int y = 0; y < hc; ++y) {
        int64_t sy0, sy1;
        SourceSpan(y, hc, gOverlay.height, sy0, sy1);
        uint32_t* row = PixelAt(buffer, 0, top + y);
        for (int64_t x = first; x < last; ++x) {
            int64_t sx0, sx1;
            SourceSpan(x - p.x, p.width, gOverlay.width, sx0, sx1);
            uint64_t r = 0, g = 0, b = 0;
            for (int64_t sy = sy0; sy < sy1; ++sy)
                for (int64_t sx = sx0; sx < sx1; ++sx) {
                    const uint32_t c = gOverlay.pixels[static_cast<size_t>(sy * gOverlay.width + sx)];
                    r += (c >> 16) & 0xFF;
                    g += (c >> 8) & 0xFF;
                    b += c & 0xFF;
                }
            const uint64_t n = static_cast<uint64_t>((sy1 - sy0) * (sx1 - sx0));
            row[x] = static_cast<uint32_t>(((r + n / 2) / n) << 16 | ((g + n / 2) / n) << 8 | (b + n / 2) / n);
        }
    }
}

void ComposeOverlay(const PixelView& back, const PixelView& overlay, Rect area)
{
    const ViewGeometry& g = CurrentView();
    area = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, g.W), std::min(area.bottom, g.H)};
    if (area.left >= area.right || area.top >= area.bottom || !BoxFits(back, 0, 0, g.W, g.H) ||
        !BoxFits(overlay, 0, 0, g.W, 2 * g.H))
        return;
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(area.right - area.left);
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(PixelAt(overlay, area.left, y), PixelAt(back, area.left, y), bytes);
    const int left = std::max(area.left, kCanvasLeft), right = std::min(area.right, kCanvasLeft + CanvasWidth());
    const int top = std::max(area.top, kCanvasTop), bottom = std::min(area.bottom, kCanvasTop + CanvasHeight());
    for (int y = top; y < bottom; ++y) {
        // The two halves of the buffer never overlap.
        uint32_t* __restrict canvas = PixelAt(overlay, left, y);
        const uint32_t* __restrict picture = PixelAt(overlay, left - kCanvasLeft, g.H + y - kCanvasTop);
        for (int i = 0; i < right - left; ++i) canvas[i] = Blend(picture[i], canvas[i]);
    }
}
