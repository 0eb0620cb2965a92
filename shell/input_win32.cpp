#include "shell/input_win32.h"

#include <windowsx.h>

#include "app/keys.h"
#include "app/pointer.h"
#include "render/view.h"
#include "screen/pen.h"
#include "shell/base/shell_win32.h"
#include "shell/commands_win32.h"
#include "shell/panel_win32.h"
#include "shell/window_win32.h"

namespace {

constexpr LPARAM kAltHeld = 1 << 29;

const LPCWSTR kZoneCursors[10] = {IDC_ARROW,   IDC_SIZENESW, IDC_SIZENS,   IDC_SIZENWSE, IDC_SIZEWE,
                                  IDC_SIZEALL, IDC_SIZEWE,   IDC_SIZENWSE, IDC_SIZENS,   IDC_SIZENESW};

// Signed, so that a captured drag left of or above the window clamps to the
// nearest cell instead of wrapping to the far edge.
int PanelX(LPARAM lParam) { return GET_X_LPARAM(lParam); }
int PanelY(LPARAM lParam) { return GET_Y_LPARAM(lParam) - gShell.Tb; }
Modifiers KeysOf(WPARAM wParam) { return {(wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0}; }

void ShowZoneCursor(int zone) { SetCursor(LoadCursorW(nullptr, kZoneCursors[zone])); }

void CarryOut(const PointerAnswer& a)
{
    if (a.invalidateCanvas) InvalidateCanvas();
    if (a.capture == Capture::Take) SetCapture(gShell.main);
    if (a.capture == Capture::Release && GetCapture() == gShell.main) ReleaseCapture();
    if (a.cursorZone >= 0 && a.cursorZone < 10) ShowZoneCursor(a.cursorZone);
    for (int part = 0; part < kStatusParts; ++part)
        if (a.statusChanged[part]) ShowStatus(part, a.status[part]);
    RefreshStatusHint();
}

// Alt with a lowercase letter or a digit never reaches the menu bar.
bool SwallowSysChar(WPARAM wParam, LPARAM lParam)
{
    return (lParam & kAltHeld) && ((wParam >= 'a' && wParam <= 'z') || (wParam >= '0' && wParam <= '9'));
}

bool OnChar(WPARAM wParam)
{
    const int id = wParam <= 0xFFFF ? CommandForCharacter(static_cast<int>(wParam)) : 0;
    return id && HandleCommand(id);
}

Key KeyOf(WPARAM key)
{
    switch (key) {
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_F9: return Key::F9;
    case VK_F11: return Key::F11;
    default: return Key::Other;
    }
}

bool OnKeyDown(WPARAM wParam)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const bool ctrl = (keys[VK_CONTROL] & 0x80) != 0;
    const Key key = KeyOf(wParam);
    const int id = CommandForKey(key, ctrl);
    return id ? HandleCommand(id) : MovePaletteByKey(key, ctrl);
}

}  // namespace

LRESULT HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    switch (message) {
    case WM_KEYDOWN: handled = OnKeyDown(wParam); return 0;
    case WM_CHAR: handled = OnChar(wParam) || SwallowSysChar(wParam, lParam); return 0;
    case WM_SYSCHAR: handled = SwallowSysChar(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: CarryOut(PointerPress(PanelX(lParam), PanelY(lParam), KeysOf(wParam))); break;
    case WM_MOUSEMOVE:
        CarryOut(PointerMove(PanelX(lParam), PanelY(lParam), (wParam & MK_LBUTTON) != 0, KeysOf(wParam)));
        break;
    case WM_LBUTTONUP: CarryOut(PointerRelease()); break;
    case WM_CAPTURECHANGED:  // the drag lost the mouse: it ends as if released
        if (reinterpret_cast<HWND>(lParam) != hwnd) PointerRelease();
        break;
    case WM_RBUTTONDOWN: CarryOut(RightPress(PanelX(lParam), PanelY(lParam), KeysOf(wParam))); break;
    case WM_SETCURSOR:
        // The zone's cursor, wherever the mouse is, until a report over the
        // client area changes the zone.
        if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT && gTool.hoverZone > 0 &&
            gTool.hoverZone < 10) {
            ShowZoneCursor(gTool.hoverZone);
            return TRUE;
        }
        break;
    default: break;
    }
    // Mouse messages go on to the default procedure as well.
    handled = false;
    return 0;
}
