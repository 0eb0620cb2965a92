// The view settings: what the canvas shows and how large. The shell changes
// them; drawing reads them.
#pragma once
#include <cstdint>

#include "screen/marks.h"  // MarkBit3, MarkDispc0 and MarkIsTransparent

constexpr int kZoomLevels = 8;

// Kept in the settings file, each under its own name.
extern int32_t ShowGrid;
extern int32_t Zoom;       // zoom index 0-7, magnification index + 1
extern int32_t ZoomRatio;  // 1-7, the zoom Ctrl+E returns to
extern int32_t ShowStatusBar;
extern int32_t GridType;   // 0 dot, 1 cross
// For this run only.
extern int32_t ShowOverlay;
extern int32_t ShowFrames;

constexpr int kGridDot = 0;
constexpr int kGridCross = 1;
