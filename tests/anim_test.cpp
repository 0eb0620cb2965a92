// The animation frames: what may become a frame, the order the player shows
// them in, its sizes and speeds, and the picture of one frame.
#include <gtest/gtest.h>

#include <vector>

#include "anim/frames.h"
#include "render/font.h"
#include "render/view_settings.h"
#include "screen/selection.h"
#include "tests/test_support.h"

TEST(Frames, OnlyASelectionWhollyOnTheScreenBecomesAFrame)
{
    ResetCore();
    ResetFrames();
    EXPECT_FALSE(AnyFrameDefined());
    SetOrCancelFrame(0);  // no selection: nothing
    EXPECT_FALSE(FrameDefined(0));

    SetSelection(-1, 2, 5, 4);  // hanging over the left edge
    SetOrCancelFrame(0);
    EXPECT_FALSE(FrameDefined(0));
    SetSelection(35, 20, 39, 24);
    gBlock.state = kFloatingNew;  // a floating block is dropped, the selection ends
    for (int i = 0; i < kCellCount; ++i) gBlock.code[i] = 0x41;
    SetOrCancelFrame(4);
    ASSERT_TRUE(FrameDefined(4));
    EXPECT_EQ(gFrames[4].left, 35);
    EXPECT_EQ(gFrames[4].bottom, 24);
    EXPECT_FALSE(gSelection.active);
    EXPECT_FALSE(BlockFloats());
    EXPECT_EQ(CodeAt(39, 24), 0x41);

    // A defined frame is cancelled whatever is selected; all go at once.
    SetSelection(0, 0, 1, 1);
    SetOrCancelFrame(4);
    EXPECT_FALSE(FrameDefined(4));
    EXPECT_TRUE(gSelection.active);
    SetOrCancelFrame(1);
    SetSelection(0, 0, 1, 1);
    SetOrCancelFrame(8);
    EXPECT_TRUE(FrameDefined(1) && FrameDefined(8));
    const FrameOutline o = FrameOutlineOf(1, 30);
    const Point cell = CellToPixel(0, 0), end = CellToPixel(2, 2);
    EXPECT_EQ(o.outline.left, cell.x - 1);
    EXPECT_EQ(o.outline.top, cell.y + 30 - 1);
    EXPECT_EQ(o.outline.right, end.x + 1);
    EXPECT_EQ(o.outline.bottom, end.y + 30 + 1);
    EXPECT_EQ(o.label.y, cell.y + 30);
    CancelAllFrames();
    EXPECT_FALSE(AnyFrameDefined());
}

TEST(Frames, PlayerOrderSizesAndSpeeds)
{
    ResetCore();
    ResetFrames();
    gFrames[1] = {3, 3, 3, 3};
    gFrames[4] = {10, 2, 14, 3};  // 5 x 2
    PlayerLayout layout;
    ASSERT_TRUE(OpenPlayerState(2));
    layout = gPlayer.layout;
    EXPECT_EQ(layout.bufferWidth, 5 * 16);
    EXPECT_EQ(layout.bufferHeight, 2 * 16);
    EXPECT_EQ(layout.clientWidth, 5 * 16 + 48);
    EXPECT_EQ(layout.clientHeight, 2 * 16 + 96);
    EXPECT_EQ(gPlayer.interval, 192);

    // Frames 2 and 5 only: 2, 5, 2, 5 ...
    StartPlayback();
    std::vector<int> shown;
    for (int n = 0; n < 5; ++n) shown.push_back(PlayerStep());
    EXPECT_EQ(shown, (std::vector<int>{1, 4, 1, 4, 1}));

    // Speed bands of ten positions, slower to the right; a move within a
    // band changes nothing.
    const int bands[][2] = {{0, 32}, {9, 32}, {10, 64}, {49, 160}, {50, 192}, {99, 320}, {100, 352}};
    for (const auto& b : bands) EXPECT_EQ(FrameInterval(b[0]), b[1]) << b[0];
    EXPECT_FALSE(SetPlayerSpeed(55));
    EXPECT_TRUE(SetPlayerSpeed(60));
    EXPECT_EQ(gPlayer.interval, 224);

    // One one-cell frame at x2: a 16 x 16 picture in a 100 x 120 client area.
    ResetFrames();
    gFrames[0] = {7, 7, 7, 7};
    ASSERT_TRUE(PlanPlayer(2, layout));
    EXPECT_EQ(layout.bufferWidth, 16);
    EXPECT_EQ(layout.clientWidth, 100);
    EXPECT_EQ(layout.clientHeight, 120);
    EXPECT_EQ(layout.picture.x, 42);
    EXPECT_EQ(layout.picture.y, 8);
    ResetFrames();
    EXPECT_FALSE(PlanPlayer(2, layout));
}

TEST(Frames, APictureHoldsTheFramesCellsOnBlack)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    ShowGrid = 0;
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = (i * 5) & 0xFF;
        gScreen.attr[i] = (i * 3) & 0xF7;  // no mark bits: the canvas then draws plain boxes
    }
    ResetFrames();
    gFrames[0] = {4, 5, 6, 5};  // 3 x 1
    gFrames[2] = {0, 0, 0, 1};  // 1 x 2
    PlayerLayout layout;
    ASSERT_TRUE(PlanPlayer(2, layout));
    std::vector<uint32_t> pixels(static_cast<size_t>(layout.bufferWidth) * layout.bufferHeight, 0x123456);
    const PixelView picture = {pixels.data(), layout.bufferWidth, layout.bufferHeight};
    DrawFramePicture(picture, 0, layout);
    RedrawCanvas();
    const int s = CurrentView().s;
    int wrong = 0;
    for (int y = 0; y < layout.bufferHeight; ++y)
        for (int x = 0; x < layout.bufferWidth; ++x) {
            const Point cell = CellToPixel(4, 5);
            const uint32_t want = y < s ? *PixelAt(gBackBuffer, cell.x + x, cell.y + y) : kColourTable[0];
            wrong += *PixelAt(picture, x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}
