#include "shell/offscreen_win32.h"

bool CreateOffscreenBuffer(HWND owner, int width, int height, OffscreenBuffer& buffer)
{
    buffer = {nullptr, nullptr, nullptr, owner, width, height};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows stored bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC windowDc = GetDC(owner);
    void* bits = nullptr;
    buffer.bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    buffer.dc = CreateCompatibleDC(windowDc);
    ReleaseDC(owner, windowDc);
    if (!buffer.bitmap || !buffer.dc) {
        FreeOffscreenBuffer(buffer);
        buffer.width = buffer.height = 0;
        return false;
    }
    buffer.pixels = static_cast<uint32_t*>(bits);
    SelectObject(buffer.dc, buffer.bitmap);
    return true;
}

void FreeOffscreenBuffer(OffscreenBuffer& buffer)
{
    if (buffer.dc) DeleteDC(buffer.dc);
    if (buffer.bitmap) DeleteObject(buffer.bitmap);
    buffer.dc = nullptr;
    buffer.bitmap = nullptr;
    buffer.pixels = nullptr;
}

HFONT CreateLabelFont()
{
    return CreateFontW(8, 0, 0, 0, 0, FALSE, FALSE, FALSE, OEM_CHARSET, 0, 0, 0, 0, L"Terminal");
}
