// What the mouse does with the selection tool: the rubber band and its size
// text, the zones of the border and its handles, and commands during a drag,
// driven through the pointer calls the shell makes. (Moving a block over the
// edge is checked on the real window.)
#include <gtest/gtest.h>

#include <string>

#include "app/edit_commands.h"
#include "app/pointer.h"
#include "render/block_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/selection.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

Point Centre(int column, int row)
{
    const Point p = CellToPixel(column, row);
    return {p.x + CurrentView().s / 2, p.y + CurrentView().s / 2};
}

// A drag with the selection tool from panel point `from` through the
// centres of `cells`; returns the last answer.
PointerAnswer Drag(Point from, std::initializer_list<Point> cells)
{
    PointerMove(from.x, from.y, false, {});
    PointerPress(from.x, from.y, {});
    PointerAnswer last;
    for (Point c : cells) {
        const Point p = Centre(c.x, c.y);
        last = PointerMove(p.x, p.y, true, {});
    }
    PointerRelease();
    return last;
}

struct Rectangle {
    int x0, y0, x1, y1;
};

void ExpectSelection(Rectangle r, const std::string& why)
{
    const Selection& s = gDoc.selection;
    EXPECT_TRUE(s.active && s.x0 == r.x0 && s.y0 == r.y0 && s.x1 == r.x1 && s.y1 == r.y1)
        << why << ": " << s.x0 << "," << s.y0 << " - " << s.x1 << "," << s.y1;
}

void StartWithSelectionTool()
{
    ResetCore();
    UseTestBackBuffer(1);
    SwitchTool(IDT_SELECT);
}

}  // namespace

TEST(Pointer, RubberBandAndHandles)
{
    StartWithSelectionTool();
    const PointerAnswer pressed = PointerPress(Centre(10, 5).x, Centre(10, 5).y, {});
    EXPECT_EQ(pressed.capture, Capture::Take);
    PointerAnswer a;
    for (Point c : {Point{7, 6}, Point{3, 8}}) a = PointerMove(Centre(c.x, c.y).x, Centre(c.x, c.y).y, true, {});
    ExpectSelection({3, 5, 10, 8}, "rubber band");
    EXPECT_TRUE(a.statusChanged[0] && a.status[0].format == IDS_STATUS_SIZE);
    EXPECT_TRUE(a.status[0].values[0] == 8 && a.status[0].values[1] == 4);
    EXPECT_EQ(PointerRelease().capture, Capture::Release);
    EXPECT_EQ(gTool.anchor.x, -1);

    // Each handle moves its own edges, each only up to the opposite edge.
    struct {
        int handle;
        Point to;
        Rectangle expected;
    } const drags[] = {
        {4, {0, 6}, {0, 5, 10, 8}},    {6, {39, 0}, {3, 5, 39, 8}},   {8, {9, 0}, {3, 0, 10, 8}},
        {2, {0, 24}, {3, 5, 10, 24}},  {7, {1, 2}, {1, 2, 10, 8}},    {9, {20, 3}, {3, 3, 20, 8}},
        {1, {2, 20}, {2, 5, 10, 20}},  {3, {30, 9}, {3, 5, 30, 9}},   {4, {10, 6}, {10, 5, 10, 8}},
        {4, {12, 6}, {3, 5, 10, 8}},   {7, {12, 12}, {3, 5, 10, 8}},  {7, {12, 2}, {3, 2, 10, 8}},
        {3, {1, 1}, {3, 5, 10, 8}},    {8, {4, 8}, {3, 8, 10, 8}},
    };
    for (const auto& d : drags) {
        SetSelection(3, 5, 10, 8);
        const Point a0 = CellToPixel(3, 5), b0 = CellToPixel(11, 9);
        const int xs[3] = {a0.x, (a0.x + b0.x) / 2, b0.x - 1}, ys[3] = {b0.y - 1, (a0.y + b0.y) / 2, a0.y};
        const Point grab = {xs[(d.handle - 1) % 3], ys[(d.handle - 1) / 3]};
        ASSERT_EQ(HitTestSelection(grab.x, grab.y), d.handle);
        PointerMove(grab.x, grab.y, false, {});
        EXPECT_EQ(gTool.hoverZone, d.handle);  // its cursor follows the mouse
        Drag(grab, {d.to});
        ExpectSelection(d.expected, "handle " + std::to_string(d.handle) + " to " + std::to_string(d.to.x) + "," +
                                        std::to_string(d.to.y));
    }

    // Five pixels left of or above the band, four right of or below its last
    // pixel, is outside it; inside, away from the handles, is the band. A
    // floating block has no handles: the whole band moves it.
    SetSelection(3, 5, 10, 8);
    const Point a0 = CellToPixel(3, 5), b0 = CellToPixel(11, 9), mid = {(a0.x + b0.x) / 2, (a0.y + b0.y) / 2};
    for (const Point& p : {Point{a0.x - 5, mid.y}, Point{b0.x + 3, mid.y}, Point{mid.x, a0.y - 5}, Point{mid.x, b0.y + 3}})
        EXPECT_EQ(HitTestSelection(p.x, p.y), 0) << p.x << "," << p.y;
    EXPECT_TRUE(HitTestSelection(mid.x, mid.y) == 5 && HitTestSelection(a0.x + 4, a0.y + 4) == 5);
    ASSERT_TRUE(LiftBlock());
    EXPECT_TRUE(HitTestSelection(a0.x, a0.y) == 5 && HitTestSelection(b0.x - 1, mid.y) == 5);

    // A click on a cell without dragging leaves no selection; a press off
    // the canvas changes nothing.
    Drag(Centre(20, 20), {});
    EXPECT_FALSE(gDoc.selection.active);
    SetSelection(1, 1, 2, 2);
    const Point grey = {CurrentView().P - 4, 4};
    EXPECT_EQ(PointerPress(grey.x, grey.y, {}).capture, Capture::Keep);
    EXPECT_TRUE(gDoc.selection.active);
}

TEST(Pointer, CommandsDuringADragEndIt)
{
    // A tool key in the middle of a move: the rest of the drag paints
    // nothing with the new tool.
    const auto press = [](int c, int r) { PointerPress(Centre(c, r).x, Centre(c, r).y, {}); };
    const auto drag = [](int c, int r) { PointerMove(Centre(c, r).x, Centre(c, r).y, true, {}); };
    StartWithSelectionTool();
    Put(5, 5, 0x41, 0x71);
    SetSelection(5, 5, 6, 6);
    press(5, 5);
    drag(8, 5);
    SwitchTool(IDT_PEN);
    EXPECT_EQ(gHostLog.toolChanges.back(), IDT_PEN);
    const int recorded = gDoc.history.SP;
    drag(12, 9);
    drag(13, 9);
    EXPECT_EQ(gDoc.history.SP, recorded);
    EXPECT_EQ(CodeAt(8, 5), 0x41);  // the block was dropped where it was carried

    // A paste in the middle of a rubber band: the pasted block keeps its size.
    StartWithSelectionTool();
    gHostLog.hasText = true;
    gHostLog.clipboardText = " 2  1\n41 42\n70 70\n";
    press(1, 1);
    drag(3, 3);
    PasteBlock();
    drag(20, 20);
    EXPECT_TRUE(BlockFloats() && SelectionWidth() == 2 && SelectionHeight() == 1);

    // Select all in the middle of a rubber band: the rest of the drag leaves
    // the whole screen selected.
    StartWithSelectionTool();
    press(1, 1);
    drag(3, 3);
    SelectAll();
    drag(20, 20);
    ExpectSelection({0, 0, 39, 24}, "select all during a rubber band");
}
