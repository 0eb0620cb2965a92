#include "shell/panel_win32.h"

#include <cwchar>

#include "anim/frames.h"
#include "render/block_view.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "shell/base/shell_win32.h"

OffscreenBuffer gBackBufferBitmap;
OffscreenBuffer gOverlayBuffer;

namespace {

constexpr UINT_PTR kMarqueeTimer = 1;

// One side of the marquee: a one-pixel line filled with its 8 x 8 dash
// pattern, bits 1 black (the DC's background colour) and 0 white.
void FillMarqueeLine(HDC dc, const MarqueeLine& line, int phase)
{
    uint8_t rows[8];
    MarqueePattern(line.side, phase, rows);
    WORD words[8];  // monochrome bitmap rows are WORD-aligned
    for (int i = 0; i < 8; ++i) words[i] = rows[i];
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, words);
    HBRUSH brush = CreatePatternBrush(pattern);
    if (brush) {
        const RECT r = {line.rect.left, line.rect.top, line.rect.right, line.rect.bottom};
        HGDIOBJ old = SelectObject(dc, brush);
        PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
        SelectObject(dc, old);
        DeleteObject(brush);
    }
    if (pattern) DeleteObject(pattern);
}

// The visible part of the floating block, straight from the scratch area.
void DrawFloatingBlock(HDC dc)
{
    BlockCopy copy;
    if (!gBackBufferBitmap.dc || !FloatingBlockCopy(copy)) return;
    BitBlt(dc, copy.to.x, gShell.Tb + copy.to.y, copy.width, copy.height, gBackBufferBitmap.dc, copy.from.x,
           copy.from.y, SRCCOPY);
}

}  // namespace

void FreeViewBuffers()
{
    FreeOffscreenBuffer(gBackBufferBitmap);
    FreeOffscreenBuffer(gOverlayBuffer);
    gCanvas.pixels = {nullptr, 0, 0};
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
    gCanvas.pixels = ViewOf(gBackBufferBitmap);
    DrawPanel();
    if (OverlayLoaded()) DrawOverlay(ViewOf(gOverlayBuffer));
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
    gCanvas.gridColour = *PixelAt(gCanvas.pixels, 0, 0) & 0xFFFFFF;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    const Rect frame = PanelFrameRect();
    RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, kPanelFrameCorner, kPanelFrameCorner);
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

void DrawMarquee(HDC dc)
{
    MarqueeLine lines[4];
    const int n = SelectionMarqueeLines(gShell.Tb, lines);
    if (n == 0) return;
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    for (int i = 0; i < n; ++i) FillMarqueeLine(dc, lines[i], gDoc.selection.phase);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

// The marquee starts at once and steps with timer 1; when it stops, a paint
// of the canvas removes its dashes.
void OnSelectionChanged(bool active)
{
    if (!gShell.main) return;
    if (!active) {
        KillTimer(gShell.main, kMarqueeTimer);
        InvalidateCanvas();
        return;
    }
    HDC dc = GetDC(gShell.main);
    DrawMarquee(dc);
    ReleaseDC(gShell.main, dc);
    SetTimer(gShell.main, kMarqueeTimer, kMarqueePeriodMs, nullptr);
}

bool StepMarquee(UINT_PTR timer)
{
    if (timer != kMarqueeTimer) return false;
    AdvanceMarquee();
    HDC dc = GetDC(gShell.main);
    DrawMarquee(dc);
    ReleaseDC(gShell.main, dc);
    return true;
}

// Each defined frame's orange outline and its number, in frame order.
void DrawFrameOutlines(HDC dc)
{
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 128, 0));
    const int oldMode = SetBkMode(dc, OPAQUE);
    HGDIOBJ oldFont = SelectObject(dc, gShell.labelFont ? gShell.labelFont : GetStockObject(SYSTEM_FONT));
    for (int k = 0; k < kFrameCount; ++k) {
        if (!FrameDefined(k)) continue;
        const FrameOutline f = FrameOutlineOf(k, gShell.Tb);
        const RECT r = {f.outline.left, f.outline.top, f.outline.right, f.outline.bottom};
        FrameRect(dc, &r, gShell.orangeBrush);
        wchar_t label[4];
        swprintf(label, 4, L"%d ", k + 1);
        TextOutW(dc, f.label.x, f.label.y, label, 2);
    }
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

void PaintWindow(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const ViewGeometry& g = CurrentView();
    // The overlay is blended once per paint, over the part being painted.
    const Rect area = {ps.rcPaint.left, ps.rcPaint.top - gShell.Tb, ps.rcPaint.right, ps.rcPaint.bottom - gShell.Tb};
    if (gView.ShowOverlay && OverlayLoaded() && gOverlayBuffer.dc) {
        GdiFlush();
        ComposeOverlay(gCanvas.pixels, ViewOf(gOverlayBuffer), area);
        BitBlt(dc, 0, gShell.Tb, g.W, g.H, gOverlayBuffer.dc, 0, 0, SRCCOPY);
    } else if (gBackBufferBitmap.dc) {
        BitBlt(dc, 0, gShell.Tb, g.W, g.H, gBackBufferBitmap.dc, 0, 0, SRCCOPY);
    }
    DrawPaletteCursor(dc);
    DrawMarquee(dc);
    if (gMarks.MarkIsTransparent && BlockFloats() && (gMarks.MarkBit3 || gMarks.MarkDispc0)) {
        ShowThroughMarkedCells();
        GdiFlush();
    }
    DrawFloatingBlock(dc);
    if (gView.ShowFrames) DrawFrameOutlines(dc);
    EndPaint(window, &ps);
}
