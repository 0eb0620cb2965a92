#include "render/view.h"

#include <algorithm>

#include "render/block_view.h"
#include "render/font.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/screen.h"

namespace {

static_assert(kCanvasWidthAt1 == kScreenColumns * kCellPixels && kCanvasHeightAt1 == kScreenRows * kCellPixels,
              "the canvas is the screen's cells");

ViewGeometry gCurrentView = ViewForZoom(1);

int ClampZoom(int z) { return std::min(std::max(z, 0), kZoomLevels - 1); }

// The marquee's dash rule per side: black when the pattern value < 4.
int MarqueeValue(MarqueeSide side, int i, int j, int p)
{
    switch (side) {
    case MarqueeSide::Left: return (i - p) & 7;
    case MarqueeSide::Right: return (7 - i - p) & 7;
    case MarqueeSide::Top: return (j + p) & 7;
    case MarqueeSide::Bottom: return ((j - p) & 7) ^ 4;  // black when >= 4
    }
    return 0;
}

}  // namespace

ViewGeometry ViewForZoom(int z)
{
    z = ClampZoom(z);
    const int k = z + 1;
    ViewGeometry g;
    g.z = z;
    g.k = k;
    g.s = kCellPixels * k;
    g.W = z == 0 ? 524 : 463 * z + 489;
    g.H = z == 0 ? 234 : 200 * z + 216;
    g.P = 320 * z + 338;
    return g;
}

const ViewGeometry& CurrentView() { return gCurrentView; }

void UpdateViewGeometry() { gCurrentView = ViewForZoom(gView.Zoom); }

Point CellToPixel(int column, int row)
{
    const int s = gCurrentView.s;
    return {kCanvasLeft + column * s, kCanvasTop + row * s};
}

bool PixelToCell(int x, int y, Point& cell)
{
    const ViewGeometry& g = gCurrentView;
    if (x < kCanvasLeft || x >= kCanvasLeft + kCanvasWidthAt1 * g.k || y < kCanvasTop ||
        y >= kCanvasTop + kCanvasHeightAt1 * g.k)
        return false;
    cell = {(x - kCanvasLeft) / g.s, (y - kCanvasTop) / g.s};
    return true;
}

Point PixelToCellClamped(int x, int y)
{
    const int s = gCurrentView.s;
    return {std::min((std::max(x, kCanvasLeft) - kCanvasLeft) / s, kScreenColumns - 1),
            std::min((std::max(y, kCanvasTop) - kCanvasTop) / s, kScreenRows - 1)};
}

bool PixelToHalfCell(int x, int y, Point& half)
{
    Point cell;
    if (!PixelToCell(x, y, cell)) return false;
    const int h = gCurrentView.s / 2;
    half = {(x - kCanvasLeft) / h, (y - kCanvasTop) / h};
    return true;
}

Point PixelToHalfCellClamped(int x, int y)
{
    const int h = gCurrentView.s / 2;
    return {std::min((std::max(x, kCanvasLeft) - kCanvasLeft) / h, 2 * kScreenColumns - 1),
            std::min((std::max(y, kCanvasTop) - kCanvasTop) / h, 2 * kScreenRows - 1)};
}

void DrawCanvasCell(int column, int row)
{
    const Point p = CellToPixel(column, row);
    const int i = CellIndex(column, row);
    DrawGlyph(p.x, p.y, gDoc.screen.code[i], gDoc.screen.attr[i]);
}

void RedrawCanvas()
{
    const CellLook look = CanvasLook();
    for (int row = 0; row < kScreenRows; ++row)
        for (int column = 0; column < kScreenColumns; ++column) {
            const Point p = CellToPixel(column, row);
            const int i = CellIndex(column, row);
            DrawGlyph(p.x, p.y, gDoc.screen.code[i], gDoc.screen.attr[i], look);
        }
    gHost.invalidateCanvas();
}

void ConnectCanvasView(Host& host)
{
    host.cellChanged = DrawCanvasCell;
    host.blockChanged = [] { DrawBlockImage(CanvasLook()); };
}

void DrawGridCorner(const PixelView& v, int x, int y, int z, bool cross, uint32_t colour)
{
    const int s = kCellPixels * (z + 1);
    *PixelAt(v, x, y) = colour;
    if (!cross) return;
    for (int i = 0; i <= z; ++i) {
        *PixelAt(v, x + 1 + i, y) = colour;
        *PixelAt(v, x + s - 1 - i, y) = colour;
        *PixelAt(v, x, y + 1 + i) = colour;
        *PixelAt(v, x, y + s - 1 - i) = colour;
    }
}

void DrawGridFrame()
{
    const ViewGeometry& g = gCurrentView;
    const PixelView& v = gCanvas.pixels;
    // The boundary points lie on the black frame: switching the grid off
    // paints them black again.
    const uint32_t c = gView.ShowGrid ? gCanvas.gridColour : kColourTable[0];
    if (!BoxFits(v, 0, 0, g.W, g.H)) return;
    if (gView.ShowGrid)
        for (int row = 0; row < kScreenRows; ++row)
            for (int column = 0; column < kScreenColumns; ++column) {
                const Point p = CellToPixel(column, row);
                DrawGridCorner(v, p.x, p.y, g.z, gView.GridType == kGridCross, gCanvas.gridColour);
            }
    const bool arms = g.z >= 1 && gView.GridType == kGridCross;
    for (int row = 0; row < kScreenRows; ++row) {
        const Point p = CellToPixel(kScreenColumns, row);
        *PixelAt(v, p.x, p.y) = c;
        if (arms)
            for (int i = 0; i <= g.z; ++i) {
                *PixelAt(v, p.x, p.y + 1 + i) = c;
                *PixelAt(v, p.x, p.y + g.s - 1 - i) = c;
            }
    }
    for (int column = 0; column < kScreenColumns; ++column) {
        const Point p = CellToPixel(column, kScreenRows);
        *PixelAt(v, p.x, p.y) = c;
        if (arms)
            for (int i = 0; i <= g.z; ++i) {
                *PixelAt(v, p.x + 1 + i, p.y) = c;
                *PixelAt(v, p.x + g.s - 1 - i, p.y) = c;
            }
    }
    const Point corner = CellToPixel(kScreenColumns, kScreenRows);
    *PixelAt(v, corner.x, corner.y) = c;
}

Rect CanvasInvalidRect(int T)
{
    const int z = gCurrentView.z;
    return {7, T + 7, 320 * z + 329, T + 200 * z + 209};
}

Rect PanelFrameRect()
{
    const int z = gCurrentView.z;
    return {5, 5, 320 * z + 332, 200 * z + 212};
}

int MarqueeLines(int x0, int y0, int x1, int y1, int T, MarqueeLine lines[4])
{
    const int s = gCurrentView.s;
    const int L = kCanvasLeft + std::max(x0, 0) * s;
    const int U = T + kCanvasTop + std::max(y0, 0) * s;
    const int R = kCanvasLeft + std::min(x1 + 1, kScreenColumns) * s;
    const int B = T + kCanvasTop + std::min(y1 + 1, kScreenRows) * s;
    int n = 0;
    if (x0 >= 0) lines[n++] = {MarqueeSide::Left, {L - 1, U - 1, L, B}};
    if (x1 < kScreenColumns) lines[n++] = {MarqueeSide::Right, {R, U, R + 1, B + 1}};
    if (y0 >= 0) lines[n++] = {MarqueeSide::Top, {L, U - 1, R + 1, U}};
    if (y1 < kScreenRows) lines[n++] = {MarqueeSide::Bottom, {L - 1, B, R, B + 1}};
    return n;
}

bool MarqueePixelIsBlack(MarqueeSide side, int clientX, int clientY, int phase)
{
    return MarqueeValue(side, clientY & 7, clientX & 7, phase) < 4;
}

void MarqueePattern(MarqueeSide side, int phase, uint8_t rows[8])
{
    for (int i = 0; i < 8; ++i) {
        rows[i] = 0;
        for (int j = 0; j < 8; ++j)
            if (MarqueePixelIsBlack(side, j, i, phase)) rows[i] |= static_cast<uint8_t>(0x80 >> j);
    }
}
