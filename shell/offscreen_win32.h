// Off-screen 32-bit bottom-up bitmaps the program draws into pixel by pixel
// and that GDI can draw into and copy from.
#pragma once
#include <windows.h>

#include "render/pixels.h"

struct OffscreenBuffer {
    HBITMAP bitmap;
    HDC dc;
    uint32_t* pixels;
    HWND owner;
    int32_t width;
    int32_t height;
};

// False when the bitmap or its DC cannot be made; the record is then empty.
bool CreateOffscreenBuffer(HWND owner, int width, int height, OffscreenBuffer& buffer);
void FreeOffscreenBuffer(OffscreenBuffer& buffer);
inline PixelView ViewOf(const OffscreenBuffer& b) { return {b.pixels, b.width, b.height}; }

// The small font of the animation frame labels.
HFONT CreateLabelFont();
