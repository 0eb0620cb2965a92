// The keyboard and the mouse on the main window.
#include <windows.h>
#include <windowsx.h>

#include <cstdio>

#include "app/shell_win32.h"
#include "render/palette_view.h"
#include "render/panel_win32.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/strokes.h"

namespace {

constexpr LPARAM kAltHeld = 1 << 29;

const LPCWSTR kZoneCursors[10] = {IDC_ARROW,    IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE,
                                  IDC_SIZEALL,  IDC_SIZEWE,   IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW};

// Mouse position in panel coordinates.
Point PanelPoint(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) - gShell.Tb}; }

void DescribeCell(int code, int attr)
{
    wchar_t text[40];
    swprintf(text, 40, L"Chr: %02X h  Attr: %02X h", code & 0xFF, attr & 0xFF);
    SetStatusText(1, text);
}

void SetForegroundKey(int c)
{
    PressButton(IDT_FG0 + c);
    SetForeground(c);
}

void SetBackgroundKey(int c)
{
    PressButton(IDT_BG0 + c);
    SetBackground(c);
}

void ChooseTool(int button, int command)
{
    PressButton(button);
    HandleCommand(command);
}

bool OnChar(WPARAM wParam)
{
    const int c = static_cast<signed char>(wParam & 0xFF);
    if (wParam > 0xFF) return false;  // no key of ours lies beyond Latin-1
    if (c >= '1' && c <= '8') SetForegroundKey((c - '0') & 7);
    else if (c >= '!' && c <= '(') SetBackgroundKey((c - 0x20) & 7);
    else if (c == 'x' || c == '@') HandleCommand(IDT_SWAP);
    else if (c == 'y') ChooseTool(IDT_PEN, IDT_PEN);
    else if (c == 'm' || c == 0x1B) ChooseTool(IDT_SELECT, IDT_SELECT);
    else if (c == 'p') ChooseTool(IDT_FILL, IDT_FILL);
    else if (c == '9') ChooseTool(IDT_MARK, IDT_MARK);
    else if (c == ' ') HandleCommand(IDM_AUXPALETTE);
    else return false;
    return true;
}

// Alt with a lowercase letter or a digit never reaches the menu bar.
bool SwallowSysChar(WPARAM wParam, LPARAM lParam)
{
    return (lParam & kAltHeld) && ((wParam >= 'a' && wParam <= 'z') || (wParam >= '0' && wParam <= '9'));
}

bool OnKeyDown(WPARAM key)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    const bool ctrl = (keys[VK_CONTROL] & 0x80) != 0;
    if (ctrl) {
        switch (key) {
        case VK_LEFT: return HandleCommand(IDM_SHIFTLEFT);
        case VK_RIGHT: return HandleCommand(IDM_SHIFTRIGHT);
        case VK_UP: return HandleCommand(IDM_SHIFTUP);
        case VK_DOWN: return HandleCommand(IDM_SHIFTDOWN);
        default: return false;
        }
    }
    switch (key) {
    case VK_LEFT: MovePaletteCursor(PaletteDirection::Left); return true;
    case VK_RIGHT: MovePaletteCursor(PaletteDirection::Right); return true;
    case VK_UP: MovePaletteCursor(PaletteDirection::Up); return true;
    case VK_DOWN: MovePaletteCursor(PaletteDirection::Down); return true;
    case VK_F9: return HandleCommand(IDM_MARKBIT3);
    case VK_F11: return HandleCommand(IDM_MARKDISPC0);
    default: return false;
    }
}

void OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    const Point p = PanelPoint(lParam);
    const int entry = PaletteHitTest(p.x, p.y);
    if (entry >= 0) {
        EndStroke();
        SetPaletteCursor(entry);
        return;
    }
    Point cell;
    if (!PixelToCell(p.x, p.y, cell)) return;
    // The stroke follows the mouse outside the window too, and always ends
    // with the button's release.
    if (gShell.tool == IDT_PEN || gShell.tool == IDT_MARK) SetCapture(gShell.main);
    if (gShell.tool == IDT_PEN) {
        const Point half = PixelToHalfCellClamped(p.x, p.y);
        PenStrokePress(cell.x, cell.y, SubBlockBit(half), (wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0);
        InvalidateCanvas();
    } else if (gShell.tool == IDT_MARK) {
        MarkerStrokePress(cell.x, cell.y);
        InvalidateCanvas();
    }
}

void OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    const Point p = PanelPoint(lParam);
    const bool held = (wParam & MK_LBUTTON) != 0;
    const ViewGeometry& g = CurrentView();
    if (ShowStatusBar && p.x >= g.P && !held) {
        const int entry = PaletteHitTest(p.x, p.y);
        if (entry >= 0) {
            if (entry != gShell.lastPaletteIndex) {
                const PenValue v = PaletteEntryCell(gPalettePages[gPen.page][entry]);
                SetStatusText(0, L"");
                DescribeCell(v.code, v.attr);
                gShell.lastPaletteIndex = entry;
                gLastCell = kNoCell;
            }
            return;
        }
    }
    const Point cell = PixelToCellClamped(p.x, p.y);
    const bool moved = cell.x != gLastCell.x || cell.y != gLastCell.y;
    if (gShell.tool == IDT_MARK && held && !moved) {
        if (MarkerStrokeMove(cell.x, cell.y)) InvalidateCanvas();
        return;
    }
    if (gShell.tool == IDT_PEN && held && gDragMode != kNoDrag) {
        const Point half = PixelToHalfCellClamped(p.x, p.y);
        if (PenStrokeMove(cell.x, cell.y, SubBlockBit(half), (wParam & MK_SHIFT) != 0)) InvalidateCanvas();
    }
    if (ShowStatusBar && !held && moved) {
        wchar_t text[24];
        swprintf(text, 24, L"(%2d, %2d)", cell.x, cell.y);
        SetStatusText(0, text);
        const int i = CellIndex(cell.x, cell.y);
        DescribeCell(gScreen.code[i], gScreen.attr[i]);
        gShell.lastPaletteIndex = -1;
    }
    gLastCell = {cell.x, cell.y};
}

void OnRightButtonDown(WPARAM wParam, LPARAM lParam)
{
    const Point p = PanelPoint(lParam);
    Point cell;
    if (PixelToCell(p.x, p.y, cell)) PickUpCell(cell.x, cell.y, (wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0);
}

}  // namespace

LRESULT HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false;
    switch (message) {
    case WM_KEYDOWN:
        handled = OnKeyDown(wParam);
        return 0;
    case WM_CHAR:
        handled = OnChar(wParam) || SwallowSysChar(wParam, lParam);
        return 0;
    case WM_SYSCHAR:
        handled = SwallowSysChar(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        EndStroke();
        if (GetCapture() == hwnd) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        EndStroke();
        return 0;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT && gShell.hoverZone > 0 &&
            gShell.hoverZone < 10) {
            SetCursor(LoadCursorW(nullptr, kZoneCursors[gShell.hoverZone]));
            handled = true;
            return TRUE;
        }
        return 0;
    default:
        return 0;
    }
}
