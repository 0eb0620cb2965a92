#include "shell/base/dialog_win32.h"

#include <string>

void CentreOnDesktop(HWND window)
{
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    SetWindowPos(window, nullptr, (desktop.right - desktop.left - w) / 2, (desktop.bottom - desktop.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitCheckBoxToText(HWND box)
{
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, &text[0], length + 1)));
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    RECT extent = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    // The box itself, then a gap the width of a digit before the text.
    INT digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    const int needed = GetSystemMetrics(SM_CXMENUCHECK) + digit + extent.right;
    RECT r;
    GetWindowRect(box, &r);
    if (r.right - r.left < needed)
        SetWindowPos(box, nullptr, 0, 0, needed, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
