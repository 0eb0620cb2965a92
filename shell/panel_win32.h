// The panel on screen: the back and overlay buffers, the panel drawing and
// the paint of the main window.
#pragma once
#include <windows.h>

#include "shell/offscreen_win32.h"

extern OffscreenBuffer gBackBufferBitmap;
extern OffscreenBuffer gOverlayBuffer;

// Recomputes the geometry for Zoom, re-creates both buffers and redraws the
// panel (without the canvas cells: RedrawCanvas follows). False when the
// buffers cannot be made.
bool RebuildView(HWND window);
void FreeViewBuffers();
// Background, rounded canvas frame, grid frame and palette.
void DrawPanel();
void PaintWindow(HWND window);
// The selection's dashed frame, drawn straight on the window.
void DrawMarquee(HDC dc);
// Timer 1 steps the marquee; false for any other timer.
bool StepMarquee(UINT_PTR timer);
void InvalidatePalette();
// Invalidates, without erasing, the canvas's client rectangle.
void InvalidateCanvas();
// The marquee starts (drawn at once, then stepped by a timer) or stops (its
// dashes are painted over).
void OnSelectionChanged(bool active);
void DrawPaletteCursor(HDC dc);
