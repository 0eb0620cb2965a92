#include "shell/base/dialog_win32.h"

void CentreOnDesktop(HWND window)
{
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    SetWindowPos(window, nullptr, (desktop.right - desktop.left - w) / 2, (desktop.bottom - desktop.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
