// Text from other programs is read only within its own memory block.
#include "shell/clipboard_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "render/view.h"
#include "screen/host.h"
#include "shell/base/shell_win32.h"
#include "shell/panel_win32.h"

namespace {

// Empties the clipboard and hands it `data` in `format`; false when the
// clipboard cannot be opened (the caller still owns `data` then).
bool Hand(UINT format, HANDLE data)
{
    if (!OpenClipboard(gShell.main)) return false;
    EmptyClipboard();
    const bool taken = SetClipboardData(format, data) != nullptr;
    CloseClipboard();
    return taken;
}

}  // namespace

bool PutClipboardText(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);  // zero-terminated
    if (!memory) return false;
    char* p = static_cast<char*>(GlobalLock(memory));
    if (!p) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(p, text.data(), text.size());
    GlobalUnlock(memory);
    if (Hand(CF_TEXT, memory)) return true;
    GlobalFree(memory);
    return false;
}

bool GetClipboardText(std::string& text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(gShell.main)) return false;
    bool got = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const size_t size = std::min<size_t>(GlobalSize(data), kClipboardTextLimit);
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            // Another program's text need not end with a zero byte.
            const void* zero = std::memchr(p, '\0', size);
            text.assign(p, zero ? static_cast<const char*>(zero) - p : size);
            GlobalUnlock(data);
            got = true;
        }
    }
    CloseClipboard();
    return got;
}

void PutClipboardImage(int width, int height)
{
    if (!gBackBufferBitmap.dc || width <= 0 || height <= 0) return;
    HDC window = GetDC(gShell.main);
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(window, width, height);
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, gBackBufferBitmap.dc, 0, CurrentView().H, SRCCOPY);
        SelectObject(memory, old);
        if (Hand(CF_BITMAP, bitmap)) bitmap = nullptr;  // the clipboard owns it now
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(gShell.main, window);
}
