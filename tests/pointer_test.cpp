// What the mouse does with the selection tool: the zones of the border, the
// rubber band and its size text, the handles, moving a block over the edge,
// and commands during a drag, driven through the pointer calls the shell
// makes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/edit_commands.h"
#include "app/pointer.h"
#include "render/block_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
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
    EXPECT_TRUE(gSelection.active) << why;
    EXPECT_EQ(gSelection.x0, r.x0) << why;
    EXPECT_EQ(gSelection.y0, r.y0) << why;
    EXPECT_EQ(gSelection.x1, r.x1) << why;
    EXPECT_EQ(gSelection.y1, r.y1) << why;
}

void StartWithSelectionTool()
{
    ResetCore();
    UseTestBackBuffer(1);
    SwitchTool(IDT_SELECT);
}

}  // namespace

TEST(Pointer, BorderZonesAtX1AndX2)
{
    for (int zoom : {0, 1}) {
        StartWithSelectionTool();
        UseTestBackBuffer(zoom);
        SetSelection(5, 5, 10, 8);
        const Point a = CellToPixel(5, 5), b = CellToPixel(11, 9);
        const int left = a.x, top = a.y, right = b.x - 1, bottom = b.y - 1;
        const int midX = (left + right) / 2, midY = (top + bottom) / 2;
        struct {
            int x, y, zone;
        } const probes[] = {
            {left - 4, top - 4, 7}, {midX, top + 3, 8},    {right + 3, top, 9},     {left + 3, midY, 4},
            {midX, midY, 5},        {right - 3, midY, 6},  {left, bottom + 3, 1},   {midX, bottom - 3, 2},
            {right, bottom, 3},     {left - 5, midY, 0},   {right + 4, midY, 0},    {midX, top - 5, 0},
            {midX, bottom + 4, 0},  {left + 4, top + 4, 5}, {right - 4, bottom - 4, 5},
        };
        for (const auto& p : probes) EXPECT_EQ(HitTestSelection(p.x, p.y), p.zone) << zoom << ": " << p.x << "," << p.y;

        // The hover zone follows the mouse with the button up, and its cursor
        // shows at once.
        EXPECT_EQ(PointerMove(right, midY, false, {}).cursorZone, 6);
        EXPECT_EQ(gPointer.hoverZone, 6);
        EXPECT_EQ(PointerMove(right, midY + 1, false, {}).cursorZone, -1);
        EXPECT_EQ(PointerMove(midX, midY, true, {}).cursorZone, -1);  // not while dragging

        // A floating block has no handles: the whole band moves it.
        ASSERT_TRUE(LiftBlock());
        for (const auto& p : probes) EXPECT_EQ(HitTestSelection(p.x, p.y), p.zone ? 5 : 0);
    }
}

TEST(Pointer, RubberBandAndHandles)
{
    StartWithSelectionTool();
    const PointerAnswer pressed = PointerPress(Centre(10, 5).x, Centre(10, 5).y, {});
    EXPECT_EQ(pressed.capture, Capture::Take);
    PointerAnswer a;
    for (Point c : {Point{7, 6}, Point{3, 8}}) a = PointerMove(Centre(c.x, c.y).x, Centre(c.x, c.y).y, true, {});
    ExpectSelection({3, 5, 10, 8}, "rubber band");
    EXPECT_TRUE(a.statusChanged[0]);
    EXPECT_STREQ(a.status[0], "[ 8,  4]");
    EXPECT_EQ(PointerRelease().capture, Capture::Release);
    EXPECT_EQ(gPointer.anchor.x, -1);

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
        Drag(grab, {d.to});
        ExpectSelection(d.expected, "handle " + std::to_string(d.handle) + " to " + std::to_string(d.to.x) + "," +
                                        std::to_string(d.to.y));
    }

    // A click on a cell without dragging leaves no selection; a press off
    // the canvas changes nothing.
    Drag(Centre(20, 20), {});
    EXPECT_FALSE(gSelection.active);
    SetSelection(1, 1, 2, 2);
    const Point grey = {CurrentView().P - 4, 4};
    EXPECT_EQ(PointerPress(grey.x, grey.y, {}).capture, Capture::Keep);
    EXPECT_TRUE(gSelection.active);
}

TEST(Pointer, AMoveCarriesTheBlockOverTheLeftEdgeAndOneUndoTakesItBack)
{
    StartWithSelectionTool();
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = 0x20 + i % 64;
        gScreen.attr[i] = 0x71;
    }
    const ScreenBuffer before = gScreen;
    SetSelection(5, 2, 15, 4);
    const PointerAnswer a = Drag(Centre(8, 3), {{4, 3}, {0, 3}});
    EXPECT_EQ(gBlock.state, kFloatingMoved);
    ExpectSelection({-3, 2, 7, 4}, "moved");
    EXPECT_STREQ(a.status[0], "[11,  3]");
    for (int x = 5; x <= 15; ++x) EXPECT_EQ(gScreen.code[CellIndex(x, 3)], kBlankCode) << x;
    BlockCopy copy;
    ASSERT_TRUE(FloatingBlockCopy(copy));
    EXPECT_EQ(copy.from.x, 3 * CurrentView().s);
    EXPECT_EQ(copy.to.x, CellToPixel(0, 2).x);
    EXPECT_EQ(copy.width, 8 * CurrentView().s);

    // A press outside drops it: only the columns that land on the screen.
    Drag(Centre(30, 20), {});
    EXPECT_FALSE(BlockFloats());
    EXPECT_FALSE(gSelection.active);
    // Block column c came from screen column 5 + c and lands on -3 + c.
    for (int y = 2; y <= 4; ++y)
        for (int x = 0; x <= 15; ++x) {
            const int expected = x <= 7 ? before.code[CellIndex(x + 8, y)] : kBlankCode;
            EXPECT_EQ(gScreen.code[CellIndex(x, y)], expected) << x << "," << y;
        }
    UndoEdit();
    EXPECT_EQ(0, std::memcmp(&gScreen, &before, sizeof before));
    EXPECT_FALSE(CanUndo());
}

TEST(Pointer, CommandsDuringADragEndIt)
{
    // A tool key in the middle of a move: the rest of the drag paints
    // nothing with the new tool.
    StartWithSelectionTool();
    Put(5, 5, 0x41, 0x71);
    SetSelection(5, 5, 6, 6);
    PointerPress(Centre(5, 5).x, Centre(5, 5).y, {});
    PointerMove(Centre(8, 5).x, Centre(8, 5).y, true, {});
    SwitchTool(IDT_PEN);
    EXPECT_EQ(gSeams.toolChanges.back(), IDT_PEN);
    const int recorded = gHistory.SP;
    PointerMove(Centre(12, 9).x, Centre(12, 9).y, true, {});
    PointerMove(Centre(13, 9).x, Centre(13, 9).y, true, {});
    EXPECT_EQ(gHistory.SP, recorded);
    EXPECT_EQ(CodeAt(8, 5), 0x41);  // the block was dropped where it was carried

    // A paste in the middle of a rubber band: the pasted block keeps its size.
    StartWithSelectionTool();
    gSeams.hasText = true;
    gSeams.clipboardText = " 2  1\n41 42\n70 70\n";
    PointerPress(Centre(1, 1).x, Centre(1, 1).y, {});
    PointerMove(Centre(3, 3).x, Centre(3, 3).y, true, {});
    PasteBlock();
    PointerMove(Centre(20, 20).x, Centre(20, 20).y, true, {});
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(SelectionWidth(), 2);
    EXPECT_EQ(SelectionHeight(), 1);
}
