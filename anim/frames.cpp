#include "anim/frames.h"

#include <algorithm>

#include "render/font.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/screen.h"
#include "screen/selection.h"

Frame gFrames[kFrameCount];
Player gPlayer;

namespace {

uint64_t gFrameChanges = 0;

constexpr int kLeastClientWidth = 100;
constexpr int kLeastClientHeight = 120;
constexpr int kClientMarginWidth = 48;
constexpr int kClientMarginHeight = 96;
constexpr int kControlsHeight = 88;  // below the picture: the slider and the button
constexpr int kIntervalStep = 32;    // milliseconds per band of ten slider positions

}  // namespace

void ResetFrames() { std::fill(gFrames, gFrames + kFrameCount, kUndefinedFrame); }

bool AnyFrameDefined() { return NextDefinedFrame(0) >= 0; }

bool SelectionCanBeFrame()
{
    const Selection& s = gDoc.selection;
    return s.active && s.x0 >= 0 && s.y0 >= 0 && s.x1 < kScreenColumns && s.y1 < kScreenRows;
}

void SetOrCancelFrame(int k)
{
    if (k < 0 || k >= kFrameCount) return;
    if (FrameDefined(k)) {
        gFrames[k] = kUndefinedFrame;
        ++gFrameChanges;
        gHost.invalidateCanvas();
        return;
    }
    if (!SelectionCanBeFrame()) return;
    gFrames[k] = {gDoc.selection.x0, gDoc.selection.y0, gDoc.selection.x1, gDoc.selection.y1};
    ++gFrameChanges;
    DropAndDeselect();
}

void CancelAllFrames()
{
    ResetFrames();
    ++gFrameChanges;
    gHost.invalidateCanvas();
}

void ReplaceFrames(const Frame frames[kFrameCount])
{
    std::copy(frames, frames + kFrameCount, gFrames);
    ++gFrameChanges;
    gHost.invalidateCanvas();
}

uint64_t FrameChanges() { return gFrameChanges; }

FrameOutline FrameOutlineOf(int k, int T)
{
    const Frame& f = gFrames[k];
    const Point a = CellToPixel(f.left, f.top), b = CellToPixel(f.right + 1, f.bottom + 1);
    return {{a.x - 1, a.y + T - 1, b.x + 1, b.y + T + 1}, {a.x, a.y + T}};
}

bool PlanPlayer(int k, PlayerLayout& layout)
{
    int w = 0, h = 0;
    for (const Frame& f : gFrames)
        if (f.left >= 0) {
            w = std::max(w, f.right - f.left + 1);
            h = std::max(h, f.bottom - f.top + 1);
        }
    if (w == 0) return false;
    layout.k = k;
    layout.bufferWidth = w * kCellPixels * k;
    layout.bufferHeight = h * kCellPixels * k;
    layout.clientWidth = std::max(layout.bufferWidth + kClientMarginWidth, kLeastClientWidth);
    layout.clientHeight = std::max(layout.bufferHeight + kClientMarginHeight, kLeastClientHeight);
    layout.picture = {(layout.clientWidth - layout.bufferWidth) / 2,
                      (layout.clientHeight - layout.bufferHeight - kControlsHeight) / 2};
    return true;
}

int NextDefinedFrame(int from)
{
    for (int n = 0; n < kFrameCount; ++n) {
        const int k = (from + n) % kFrameCount;
        if (FrameDefined(k)) return k;
    }
    return -1;
}

int FrameInterval(int position) { return (position / 10 + 1) * kIntervalStep; }

void DrawFramePicture(const PixelView& buffer, int frame, const PlayerLayout& layout)
{
    if (!buffer.pixels) return;
    std::fill(buffer.pixels, buffer.pixels + static_cast<size_t>(buffer.width) * buffer.height, kColourTable[0]);
    if (frame < 0 || frame >= kFrameCount || !FrameDefined(frame)) return;
    const Frame& f = gFrames[frame];
    const int s = kCellPixels * layout.k;
    for (int i = 0; i <= f.bottom - f.top; ++i)
        for (int j = 0; j <= f.right - f.left; ++j) {
            const int cell = CellIndex(f.left + j, f.top + i);
            DrawPlainGlyph(buffer, j * s, i * s, gDoc.screen.code[cell], gDoc.screen.attr[cell], layout.k);
        }
}

bool OpenPlayerState(int k)
{
    gPlayer = Player{};
    if (!PlanPlayer(k, gPlayer.layout)) return false;
    gPlayer.open = true;
    gPlayer.interval = FrameInterval(kPlayerStartPosition);
    return true;
}

void StartPlayback() { gPlayer.current = std::max(NextDefinedFrame(gPlayer.current), 0); }

int PlayerStep()
{
    const int shown = gPlayer.current;
    gPlayer.current = std::max(NextDefinedFrame(shown + 1), 0);
    return shown;
}

int PlayerInterval() { return gPlayer.interval > 0 ? gPlayer.interval : FrameInterval(kPlayerStartPosition); }

bool SetPlayerSpeed(int position)
{
    const int interval = FrameInterval(position);
    if (interval == gPlayer.interval) return false;
    gPlayer.interval = interval;
    StartPlayback();
    return true;
}
