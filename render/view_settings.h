// The view settings: what the canvas shows and how large. Commands change
// them; drawing reads them. Their defaults and ranges are in kSettingsTable.
#pragma once
#include <cstdint>

#include "screen/marks.h"

constexpr int kZoomLevels = 8;

struct ViewSettings {
    // Kept in the settings file, each under its own name.
    int32_t ShowGrid;
    int32_t Zoom;       // zoom index 0-7, magnification index + 1
    int32_t ZoomRatio;  // 1-7, the zoom Ctrl+E returns to
    int32_t ShowStatusBar;
    int32_t GridType;   // 0 dot, 1 cross
    // For this run only.
    int32_t ShowOverlay;
    int32_t ShowFrames;
};
extern ViewSettings gView;

constexpr int kGridDot = 0;
constexpr int kGridCross = 1;
