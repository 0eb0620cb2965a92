// The animation frames: what may become a frame, its outline, the picture of
// one frame, and the player's layout, order and speeds.
#include <gtest/gtest.h>

#include <vector>

#include "anim/frames.h"
#include "render/font.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/selection.h"
#include "tests/test_support.h"

TEST(Frames, OnlyASelectionWhollyOnTheScreenBecomesAFrame)
{
    ResetCore();
    ResetFrames();
    EXPECT_FALSE(AnyFrameDefined());
    SetOrCancelFrame(0);  // no selection: nothing
    EXPECT_FALSE(FrameDefined(0));

    // One cell over any edge is refused; touching all four is whole.
    const int over[][4] = {{-1, 0, 39, 24}, {0, -1, 39, 24}, {0, 0, 40, 24}, {0, 0, 39, 25}};
    for (const auto& s : over) {
        SetSelection(s[0], s[1], s[2], s[3]);
        EXPECT_FALSE(SelectionCanBeFrame());
        SetOrCancelFrame(0);
        EXPECT_FALSE(FrameDefined(0)) << s[0] << "," << s[1] << " " << s[2] << "," << s[3];
    }
    SetSelection(0, 0, 39, 24);
    EXPECT_TRUE(SelectionCanBeFrame());
    SetSelection(35, 20, 39, 24);
    gDoc.block.state = kFloatingNew;  // a floating block is dropped, the selection ends
    for (int i = 0; i < kCellCount; ++i) gDoc.block.code[i] = 0x41;
    SetOrCancelFrame(4);
    ASSERT_TRUE(FrameDefined(4));
    EXPECT_TRUE(gFrames[4].left == 35 && gFrames[4].bottom == 24);
    EXPECT_TRUE(!gDoc.selection.active && !BlockFloats() && CodeAt(39, 24) == 0x41);

    // A defined frame is cancelled whatever is selected; all go at once.
    SetSelection(0, 0, 1, 1);
    SetOrCancelFrame(4);
    EXPECT_TRUE(!FrameDefined(4) && gDoc.selection.active);
    SetOrCancelFrame(1);
    SetSelection(0, 0, 1, 1);
    SetOrCancelFrame(8);
    EXPECT_TRUE(FrameDefined(1) && FrameDefined(8));
    CancelAllFrames();
    EXPECT_FALSE(AnyFrameDefined());
}

TEST(Frames, APictureHoldsTheFramesCellsOnBlack)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    gView.ShowGrid = 0;
    // No mark bits: the canvas then draws plain boxes.
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, (i * 5) & 0xFF, (i * 3) & 0xF7);
    ResetFrames();
    gFrames[0] = {4, 5, 6, 5};  // 3 x 1
    gFrames[2] = {0, 0, 0, 1};  // 1 x 2
    PlayerLayout layout;
    ASSERT_TRUE(PlanPlayer(2, layout));
    // The buffer holds the widest frame and the tallest one at x2; the
    // picture is centred across the client area, and over the slider and
    // button (88 pixels) below it.
    EXPECT_TRUE(layout.bufferWidth == 3 * 16 && layout.bufferHeight == 2 * 16);
    EXPECT_EQ(2 * layout.picture.x + layout.bufferWidth, layout.clientWidth);
    EXPECT_EQ(2 * layout.picture.y + layout.bufferHeight + 88, layout.clientHeight);

    // The outline lies one pixel outside the frame's cells all round; the
    // number goes inside its top-left cell.
    const int T = 28;
    const Point first = CellToPixel(4, 5), past = CellToPixel(7, 6);
    const FrameOutline o = FrameOutlineOf(0, T);
    EXPECT_TRUE(o.outline.left == first.x - 1 && o.outline.top == first.y + T - 1 && o.outline.right == past.x + 1 &&
                o.outline.bottom == past.y + T + 1);
    EXPECT_TRUE(o.label.x == first.x && o.label.y == first.y + T);
    std::vector<uint32_t> pixels(static_cast<size_t>(layout.bufferWidth) * layout.bufferHeight, 0x123456);
    const PixelView picture = {pixels.data(), layout.bufferWidth, layout.bufferHeight};
    DrawFramePicture(picture, 0, layout);
    RedrawCanvas();
    const Point cell = CellToPixel(4, 5);
    int wrong = 0;
    for (int y = 0; y < layout.bufferHeight; ++y)
        for (int x = 0; x < layout.bufferWidth; ++x)
            wrong += *PixelAt(picture, x, y) !=
                     (y < CurrentView().s ? *PixelAt(gCanvas.pixels, cell.x + x, cell.y + y) : kColourTable[0]);
    EXPECT_EQ(wrong, 0);
}

TEST(Frames, ThePlayerShowsTheDefinedFramesInTurnAtTheSpeedOfItsBand)
{
    ResetCore();
    ResetFrames();
    EXPECT_FALSE(OpenPlayerState(1));
    for (int k : {2, 5, 8}) gFrames[k] = {k, 0, k, 0};
    ASSERT_TRUE(OpenPlayerState(1));
    // It starts at the first defined frame and goes round from the last.
    StartPlayback();
    std::vector<int> shown;
    for (int n = 0; n < 7; ++n) shown.push_back(PlayerStep());
    EXPECT_EQ(shown, (std::vector<int>{2, 5, 8, 2, 5, 8, 2}));

    // The slider's positions fall in bands of ten, 32 ms apart and 32 ms the
    // fastest; 100 is a band of its own.
    for (int band = 0; band < 10; ++band) {
        EXPECT_EQ(FrameInterval(10 * band), 32 * (band + 1)) << band;
        EXPECT_EQ(FrameInterval(10 * band + 9), 32 * (band + 1)) << band;
    }
    EXPECT_EQ(FrameInterval(100), 352);
    // It opens in the middle band; only a move into another band restarts it.
    EXPECT_EQ(gPlayer.interval, 192);
    EXPECT_FALSE(SetPlayerSpeed(59));
    EXPECT_TRUE(SetPlayerSpeed(60) && gPlayer.interval == 224);
    EXPECT_EQ(PlayerStep(), 5);  // it goes on from where it was
}
