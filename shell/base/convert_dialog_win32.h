// The dialog that turns a picture into a screen: mode, fit and dithering,
// with the result previewed at x1 as each choice changes.
#pragma once
#include <windows.h>

#include "app/commands.h"
#include "render/overlay.h"

// False when cancelled.
bool RunConvertDialog(HWND owner, const OverlayPicture& picture, ConvertChoice& choice);
