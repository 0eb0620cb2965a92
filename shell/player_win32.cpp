#include "shell/player_win32.h"

#include <commctrl.h>

#include "anim/frames.h"
#include "render/view.h"
#include "res/resource.h"
#include "shell/base/dialog_win32.h"
#include "shell/base/language_win32.h"
#include "shell/base/shell_win32.h"
#include "shell/offscreen_win32.h"

namespace {

constexpr UINT_PTR kStepTimer = 99;
constexpr int kButtonFromBottom = 32;
constexpr int kSliderFromBottom = 80;
constexpr int kSliderMargin = 8;
constexpr int kSliderTicks = 10;
constexpr int kSliderPage = 10;
constexpr int kSliderMax = 100;

HWND gPlayerWindow = nullptr;
OffscreenBuffer gAnimationBuffer = {};

// One frame drawn into the buffer and copied to the window; the current
// frame moves on.
void ShowFrameStep(HWND player)
{
    DrawFramePicture(ViewOf(gAnimationBuffer), PlayerStep(), gPlayer.layout);
    HDC dc = GetDC(player);
    const PlayerLayout& l = gPlayer.layout;
    BitBlt(dc, l.picture.x, l.picture.y, l.bufferWidth, l.bufferHeight, gAnimationBuffer.dc, 0, 0, SRCCOPY);
    ReleaseDC(player, dc);
}

void StartPlaying(HWND player)
{
    StartPlayback();
    ShowFrameStep(player);
    SetTimer(player, kStepTimer, static_cast<UINT>(gPlayer.interval), nullptr);
}

// The client size the layout asks for, centred on the desktop, with the
// button and the slider placed along its bottom.
void Arrange(HWND player)
{
    const PlayerLayout& l = gPlayer.layout;
    RECT frame = {0, 0, l.clientWidth, l.clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(player, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(player, GWL_EXSTYLE)));
    SetWindowPos(player, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    CentreOnDesktop(player);
    RECT r;
    HWND button = GetDlgItem(player, IDOK);
    GetWindowRect(button, &r);
    const int bw = r.right - r.left, bh = r.bottom - r.top;
    MoveWindow(button, (l.clientWidth - bw) / 2, l.clientHeight - kButtonFromBottom, bw, bh, TRUE);
    HWND slider = GetDlgItem(player, IDC_SPEED);
    GetWindowRect(slider, &r);
    MoveWindow(slider, kSliderMargin, l.clientHeight - kSliderFromBottom, l.clientWidth - 2 * kSliderMargin,
               r.bottom - r.top, TRUE);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kSliderMax));
    SendMessageW(slider, TBM_SETTICFREQ, kSliderTicks, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, kPlayerStartPosition);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, kSliderPage);
    ShowWindow(player, SW_SHOW);
}

INT_PTR CALLBACK PlayerProc(HWND player, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Arrange(player);
        StartPlaying(player);
        return TRUE;
    case WM_TIMER:
        if (wParam != kStepTimer) return FALSE;
        ShowFrameStep(player);
        return TRUE;
    case WM_PAINT: {  // uncovered: the frame last shown comes back at once
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(player, &ps);
        const PlayerLayout& l = gPlayer.layout;
        BitBlt(dc, l.picture.x, l.picture.y, l.bufferWidth, l.bufferHeight, gAnimationBuffer.dc, 0, 0, SRCCOPY);
        EndPaint(player, &ps);
        return TRUE;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(player, IDC_SPEED)) return FALSE;
        if (SetPlayerSpeed(static_cast<int>(SendMessageW(GetDlgItem(player, IDC_SPEED), TBM_GETPOS, 0, 0)))) {
            KillTimer(player, kStepTimer);
            StartPlaying(player);
        }
        return TRUE;
    case WM_COMMAND:  // only its button closes it
        if (LOWORD(wParam) == IDOK) DestroyWindow(player);
        return TRUE;
    case WM_CLOSE: DestroyWindow(player); return TRUE;
    case WM_DESTROY:  // also when the main window goes first
        KillTimer(player, kStepTimer);
        FreeOffscreenBuffer(gAnimationBuffer);
        gPlayer.open = false;
        gPlayerWindow = nullptr;
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void OpenPlayer(HWND owner)
{
    if (gPlayer.open || !OpenPlayerState(CurrentView().k)) return;
    const PlayerLayout& l = gPlayer.layout;
    if (!CreateOffscreenBuffer(owner, l.bufferWidth, l.bufferHeight, gAnimationBuffer)) {
        gPlayer.open = false;
        return;
    }
    gPlayerWindow = CreateInterfaceDialog(IDD_PLAYER, owner, PlayerProc, 0);
    if (!gPlayerWindow) {
        FreeOffscreenBuffer(gAnimationBuffer);
        gPlayer.open = false;
    }
}

HWND PlayerWindow() { return gPlayerWindow; }
