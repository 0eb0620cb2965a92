// The tracing template from a picture file: chosen, read, checked and
// decoded by the platform's imaging component, then scaled into the overlay
// buffer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/overlay.h"

// The open dialog and the load: true when a picture was loaded and drawn.
// Whatever was loaded before is gone once a file was chosen.
bool LoadOverlayBitmap(HWND owner);
// The same without the dialog.
bool LoadOverlayFile(const std::wstring& path);
// A picture file read, checked and decoded; false, with `picture` empty,
// when it cannot be trusted or read.
bool DecodePictureFile(const std::wstring& path, OverlayPicture& picture);
// The loaded picture scaled into the overlay buffer again.
void RedrawOverlay();
