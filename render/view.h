// The canvas view: panel geometry for every zoom level, the conversions
// between panel pixels and cells, the grid, and the rectangles and patterns
// the shell needs to repaint. Positions are panel coordinates unless a
// toolbar height T is passed, which gives client coordinates.
#pragma once
#include <cstdint>

#include "render/pixels.h"

constexpr int kCanvasLeft = 8;
constexpr int kCanvasTop = 8;
constexpr int kCanvasWidthAt1 = 320;   // 40 cells of 8 pixels
constexpr int kCanvasHeightAt1 = 200;  // 25 cells of 8 pixels

struct ViewGeometry {
    int z;  // zoom index 0-7
    int k;  // zoom factor
    int s;  // cell size in pixels
    int W;  // panel width (also the client width)
    int H;  // panel height below the toolbar
    int P;  // palette's left edge
};

ViewGeometry ViewForZoom(int z);
// The geometry of the current Zoom setting.
const ViewGeometry& CurrentView();
// Recomputes the current geometry from the Zoom setting (after it changed).
void UpdateViewGeometry();

struct Point {
    int x;
    int y;
};
struct Rect {  // right and bottom exclusive
    int left;
    int top;
    int right;
    int bottom;
};

Point CellToPixel(int column, int row);
// False outside the canvas.
bool PixelToCell(int x, int y, Point& cell);
Point PixelToCellClamped(int x, int y);
// Sub-block position on the 80 x 50 grid; false outside the canvas.
bool PixelToHalfCell(int x, int y, Point& half);
// The nearest sub-block to any point (a semigraphic stroke dragged beyond the
// canvas keeps painting the edge cell's nearest sub-block).
Point PixelToHalfCellClamped(int x, int y);
// The cell and sub-block bit of a sub-block position.
inline Point HalfCellToCell(Point half) { return {half.x / 2, half.y / 2}; }
inline int SubBlockBit(Point half) { return 1 << ((half.x & 1) + 2 * (half.y & 1)); }

// Redraws every cell from the Screen buffer, then invalidates the canvas.
void RedrawCanvas();
// Cell (x, y)'s box in the back buffer, from the Screen buffer.
void DrawCanvasCell(int x, int y);
// Makes the back buffer follow the model: a changed cell redraws its box, a
// changed floating block its picture. Every front end that shows the canvas
// connects it; the rest of the host is the front end's own.
struct Host;
void ConnectCanvasView(Host& host);
// Grid points along the canvas, including its right and bottom boundary.
void DrawGridFrame();
// The grid's corner pixel of the box at (x, y), with arms when `cross`.
void DrawGridCorner(const PixelView& v, int x, int y, int z, bool cross, uint32_t colour);

Rect CanvasInvalidRect(int T);
// The black frame with rounded corners that the canvas lies on, panel
// coordinates, and the width and height of its corners' ellipses.
Rect PanelFrameRect();
constexpr int kPanelFrameCorner = 8;

// The selection marquee: one-pixel lines just outside the selected cells,
// dashed four black, four white, running as the phase advances.
enum class MarqueeSide { Left, Right, Top, Bottom };
struct MarqueeLine {
    MarqueeSide side;
    Rect rect;  // client coordinates
};
// Up to four lines for the inclusive cell rectangle x0..x1, y0..y1; sides
// off the canvas are left out. Returns the number of lines.
int MarqueeLines(int x0, int y0, int x1, int y1, int T, MarqueeLine lines[4]);
bool MarqueePixelIsBlack(MarqueeSide side, int clientX, int clientY, int phase);
// The 8 x 8 one-bit pattern of a side (bit 7 of a row is its left pixel,
// 1 = black), anchored at the client area's origin.
void MarqueePattern(MarqueeSide side, int phase, uint8_t rows[8]);
