// The dialog that turns a picture into a screen: mode, fit and dithering,
// with the result previewed at x1 as each choice changes.
#pragma once
#include <windows.h>

#include "render/overlay.h"
#include "render/picture_convert.h"

struct ConvertChoice {
    ConvertOptions options;
    bool asOverlay = true;  // the original picture also becomes the overlay
};

// False when cancelled.
bool RunConvertDialog(HWND owner, const OverlayPicture& picture, ConvertChoice& choice);
