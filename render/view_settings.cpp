#include "render/view_settings.h"

int32_t ShowGrid = 1;
int32_t Zoom = 1;
int32_t ZoomRatio = 1;
int32_t ShowStatusBar = 0;
int32_t GridType = kGridCross;
int32_t ShowOverlay = 0;
int32_t ShowFrames = 1;
