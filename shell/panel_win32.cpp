#include "shell/panel_win32.h"

#include "shell/base/shell_win32.h"
#include "render/font.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/pen.h"

OffscreenBuffer gBackBufferBitmap;
OffscreenBuffer gOverlayBuffer;

namespace {
constexpr int kFrameCorner = 8;
}

void FreeViewBuffers()
{
    FreeOffscreenBuffer(gBackBufferBitmap);
    FreeOffscreenBuffer(gOverlayBuffer);
    gBackBuffer = {nullptr, 0, 0};
}

bool RebuildView(HWND window)
{
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    FreeViewBuffers();
    if (!CreateOffscreenBuffer(window, g.W, 2 * g.H, gBackBufferBitmap) ||
        !CreateOffscreenBuffer(window, g.W, 2 * g.H, gOverlayBuffer)) {
        FreeViewBuffers();
        return false;
    }
    gBackBuffer = ViewOf(gBackBufferBitmap);
    DrawPanel();
    return true;
}

void DrawPanel()
{
    if (!gBackBufferBitmap.dc) return;
    const ViewGeometry& g = CurrentView();
    HDC dc = gBackBufferBitmap.dc;
    RECT all = {0, 0, g.W, g.H};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    GdiFlush();
    // The grid takes the background's exact colour, whatever the brush gave.
    gGridColour = *PixelAt(gBackBuffer, 0, 0) & 0xFFFFFF;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    RoundRect(dc, 5, 5, 320 * g.z + 332, 200 * g.z + 212, kFrameCorner, kFrameCorner);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    GdiFlush();
    DrawGridFrame();
    DrawPalette();
}

void InvalidateCanvas()
{
    if (!gShell.main) return;
    const Rect r = CanvasInvalidRect(gShell.Tb);
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(gShell.main, &rc, FALSE);
}

void InvalidatePalette()
{
    if (!gShell.main) return;
    const Rect r = PaletteInvalidRect(gShell.Tb);
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    InvalidateRect(gShell.main, &rc, FALSE);
}

void DrawPaletteCursor(HDC dc)
{
    Rect frames[2];
    PaletteCursorFrames(gPen.cursor, gShell.Tb, frames);
    for (const Rect& f : frames) {
        const RECT rc = {f.left, f.top, f.right, f.bottom};
        FrameRect(dc, &rc, gShell.orangeBrush);
    }
}

void PaintWindow(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const ViewGeometry& g = CurrentView();
    if (gBackBufferBitmap.dc) BitBlt(dc, 0, gShell.Tb, g.W, g.H, gBackBufferBitmap.dc, 0, 0, SRCCOPY);
    DrawPaletteCursor(dc);
    EndPaint(window, &ps);
}
