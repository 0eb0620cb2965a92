// The nine animation frames: rectangles of the screen shown one after the
// other by the player, and outlined on the canvas.
#pragma once
#include <cstdint>

#include "io/frames_file.h"
#include "render/pixels.h"
#include "render/view.h"

extern Frame gFrames[kFrameCount];

void ResetFrames();
inline bool FrameDefined(int k) { return gFrames[k].left >= 0; }
bool AnyFrameDefined();
// Whether an undefined frame could be set now: a selection lying wholly on
// the screen.
bool SelectionCanBeFrame();
// A defined frame is cancelled; an undefined one takes the selection when it
// lies wholly on the screen, after which the block is dropped and the
// selection cleared.
void SetOrCancelFrame(int k);
void CancelAllFrames();
// The frames of a frames file or a recovery copy take the place of all nine.
void ReplaceFrames(const Frame frames[kFrameCount]);
// How many times the frames have changed in this run.
uint64_t FrameChanges();

// The orange outline one pixel outside frame k's cells, and where its
// number goes (inside its top-left cell), in client coordinates.
struct FrameOutline {
    Rect outline;
    Point label;
};
FrameOutline FrameOutlineOf(int k, int T);

// The player: its picture buffer holds the largest frame width and the
// largest frame height at the zoom it opened with, which it keeps.
struct PlayerLayout {
    int k;  // zoom factor
    int bufferWidth, bufferHeight;
    int clientWidth, clientHeight;
    Point picture;  // where the buffer shows in the client area
};
// False when no frame is defined.
bool PlanPlayer(int k, PlayerLayout& layout);
// The first defined frame from `from` on, 0 following 8; -1 when none is.
int NextDefinedFrame(int from);
// The timer period for a speed slider position 0-100: slower to the right.
int FrameInterval(int position);
struct Player {
    bool open;
    int current;   // the frame the next step shows
    int interval;  // timer period in milliseconds
    PlayerLayout layout;
};
extern Player gPlayer;
constexpr int kPlayerStartPosition = 50;  // of the speed slider, 0-100

// The player opens at zoom factor k: false, and closed, when no frame is
// defined.
bool OpenPlayerState(int k);
// Playing (again) from the current frame, or the next defined one.
void StartPlayback();
// The frame to show now; the current frame moves on to the next defined one.
int PlayerStep();
// The slider moved: true when the interval changed, and playback restarts.
bool SetPlayerSpeed(int position);
// The player's speed now, as its interval: the one it opens with until it
// has been opened, then the one it had last.
int PlayerInterval();

// Frame k's cells from the Screen buffer, plain glyphs at zoom factor k of
// the layout, at the top-left of a black buffer.
void DrawFramePicture(const PixelView& buffer, int frame, const PlayerLayout& layout);
