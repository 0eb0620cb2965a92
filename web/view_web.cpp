// The page's pixels: the back and overlay buffers the core draws into, and
// the picture the canvas shows, composed as the Win32 shell paints.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "anim/frames.h"
#include "render/block_view.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "web/web.h"

namespace {

constexpr uint32_t kOrange = Rgb(255, 128, 0);
constexpr uint32_t kWhite = Rgb(255, 255, 255);

// Plain memory that may be refused, unlike a vector's.
struct Pixels {
    uint32_t* data = nullptr;
    size_t count = 0;
    bool Make(size_t n)
    {
        std::free(data);
        data = static_cast<uint32_t*>(std::calloc(n, sizeof(uint32_t)));
        count = data ? n : 0;
        return data != nullptr;
    }
};

struct WebView {
    Pixels back, overlay, shown;
    PixelView overlayView;
    int width, height;
    Rect dirty;  // empty when left == right
    Rect clip;   // the area being composed
};
WebView gWebView;

uint32_t Rgba(uint32_t rgb) { return 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

uint32_t* ShownAt(int x, int y) { return gWebView.shown.data + static_cast<size_t>(y) * gWebView.width + x; }

void Put(int x, int y, uint32_t rgb)
{
    const Rect& c = gWebView.clip;
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) *ShownAt(x, y) = Rgba(rgb);
}

void FrameRectangle(const Rect& r, uint32_t rgb)
{
    for (int x = r.left; x < r.right; ++x) {
        Put(x, r.top, rgb);
        Put(x, r.bottom - 1, rgb);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        Put(r.left, y, rgb);
        Put(r.right - 1, y, rgb);
    }
}

// Rows of `from` (panel coordinates there) into the shown picture at `to`,
// within the area being composed.
void CopyShown(const PixelView& from, Point source, Point to, int w, int h)
{
    const Rect& c = gWebView.clip;
    const int left = std::max(to.x, c.left), right = std::min(to.x + w, c.right);
    const int top = std::max(to.y, c.top), bottom = std::min(to.y + h, c.bottom);
    for (int y = top; y < bottom; ++y) {
        const uint32_t* in = PixelAt(from, source.x + left - to.x, source.y + y - to.y);
        uint32_t* out = ShownAt(left, y);
        for (int x = 0; x < right - left; ++x) out[x] = Rgba(in[x]);
    }
}

void DrawMarquee()
{
    MarqueeLine lines[4];
    const int n = SelectionMarqueeLines(0, lines);
    for (int i = 0; i < n; ++i) {
        const Rect& r = lines[i].rect;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                Put(x, y, MarqueePixelIsBlack(lines[i].side, x, y, gDoc.selection.phase) ? 0 : kWhite);
    }
}

// The panel's frame: a black rectangle whose corners are quarter ellipses.
void FillPanelFrame(const PixelView& v)
{
    const Rect f = PanelFrameRect();
    const int r = kPanelFrameCorner / 2;
    for (int y = f.top; y < f.bottom; ++y)
        for (int x = f.left; x < f.right; ++x) {
            const int dx = std::max({f.left + r - 1 - x, x - (f.right - r), 0});
            const int dy = std::max({f.top + r - 1 - y, y - (f.bottom - r), 0});
            if (dx * dx + dy * dy <= r * r) *PixelAt(v, x, y) = kColourTable[0];
        }
}

}  // namespace

WebClipboard gWebClipboard;

bool RebuildWebView()
{
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    const size_t panel = static_cast<size_t>(g.W) * g.H;
    WebView& v = gWebView;
    gCanvas.pixels = {nullptr, 0, 0};
    v.overlayView = {nullptr, 0, 0};
    if (!v.back.Make(2 * panel) || !v.overlay.Make(2 * panel) || !v.shown.Make(panel)) {
        v.back.Make(0);
        v.overlay.Make(0);
        v.shown.Make(0);
        v.width = v.height = 0;
        return false;
    }
    v.width = g.W;
    v.height = g.H;
    gCanvas.pixels = {v.back.data, g.W, 2 * g.H};
    v.overlayView = {v.overlay.data, g.W, 2 * g.H};
    DrawWebPanel();
    if (OverlayLoaded()) DrawOverlay(v.overlayView);
    NotifyPage(PageNotice::ViewSize);
    InvalidateArea({0, 0, g.W, g.H});
    return true;
}

void DrawWebPanel()
{
    const PixelView& v = gCanvas.pixels;
    if (!v.pixels) return;
    const ViewGeometry& g = CurrentView();
    for (int y = 0; y < g.H; ++y) std::fill(PixelAt(v, 0, y), PixelAt(v, 0, y) + g.W, kPanelGrey);
    gCanvas.gridColour = kPanelGrey;
    FillPanelFrame(v);
    DrawGridFrame();
    DrawPalette();
    InvalidateArea({0, 0, g.W, g.H});
}

void RedrawWebOverlay() { DrawOverlay(gWebView.overlayView); }

const PixelView& OverlayBufferView() { return gWebView.overlayView; }

void InvalidateArea(Rect a)
{
    WebView& v = gWebView;
    a = {std::max(a.left, 0), std::max(a.top, 0), std::min(a.right, v.width), std::min(a.bottom, v.height)};
    if (a.left >= a.right || a.top >= a.bottom) return;
    Rect& d = v.dirty;
    if (d.left >= d.right)
        d = a;
    else
        d = {std::min(d.left, a.left), std::min(d.top, a.top), std::max(d.right, a.right), std::max(d.bottom, a.bottom)};
    NotifyPage(PageNotice::Frame);
}

void InvalidateWebCanvas() { InvalidateArea(CanvasInvalidRect(0)); }

bool ComposeShown(Rect& drawn)
{
    WebView& v = gWebView;
    if (v.dirty.left >= v.dirty.right || !gCanvas.pixels.pixels) return false;
    drawn = v.clip = v.dirty;
    v.dirty = {0, 0, 0, 0};
    const Rect& a = drawn;
    PixelView source = gCanvas.pixels;
    // The overlay is blended once per picture, over the part being composed.
    if (gView.ShowOverlay && OverlayLoaded()) {
        ComposeOverlay(gCanvas.pixels, v.overlayView, a);
        source = v.overlayView;
    }
    CopyShown(source, {a.left, a.top}, {a.left, a.top}, a.right - a.left, a.bottom - a.top);
    Rect cursor[2];
    PaletteCursorFrames(gPen.cursor, 0, cursor);
    for (const Rect& r : cursor) FrameRectangle(r, kOrange);
    DrawMarquee();
    if (gMarks.MarkIsTransparent && BlockFloats() && (gMarks.MarkBit3 || gMarks.MarkDispc0)) ShowThroughMarkedCells();
    BlockCopy block;
    if (FloatingBlockCopy(block)) CopyShown(gCanvas.pixels, block.from, block.to, block.width, block.height);
    if (gView.ShowFrames)
        for (int k = 0; k < kFrameCount; ++k)
            if (FrameDefined(k)) FrameRectangle(FrameOutlineOf(k, 0).outline, kOrange);
    return true;
}

const uint8_t* ShownPixels() { return reinterpret_cast<const uint8_t*>(gWebView.shown.data); }
