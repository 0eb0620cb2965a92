// The frames as an MZ-700 program, run on the test machine: the screen
// first, then each frame's picture in turn at the first frame's place, one
// every delay, for ever, and nothing written anywhere else.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "anim/animation_mzf.h"
#include "anim/frames.h"
#include "io/exports.h"
#include "tests/mz700_machine.h"
#include "tests/test_support.h"

namespace {

constexpr uint8_t kVramFill = 0x55;
constexpr double kStatesPerMs = 3579.545;
constexpr double kPeriodTolerance = 0.02;

struct Area {
    int left, top, columns, rows;
    bool Holds(int cell) const
    {
        const int x = cell % 40, y = cell / 40;
        return x >= left && x < left + columns && y >= top && y < top + rows;
    }
};

// A screen whose every cell differs from its neighbours, marks included.
void PaintVariedScreen()
{
    ResetCore();
    ResetFrames();
    for (int i = 0; i < 1000; ++i) Put(i % 40, i / 40, (i * 37 + 5) & 0xFF, (i * 11) & 0xFF);
}

void SetFrame(int number, int left, int top, int right, int bottom)
{
    gFrames[number - 1] = {left, top, right, bottom};
}

// The screen with frame `number`'s picture in `area`: its cells from the
// top-left, black on black past its right or bottom edge.
std::vector<uint8_t> WithFrame(const std::vector<uint8_t>& screen, const Area& area, int number)
{
    std::vector<uint8_t> vram = screen;
    const Frame& f = gFrames[number - 1];
    for (int y = 0; y < area.rows; ++y)
        for (int x = 0; x < area.columns; ++x) {
            const int to = (area.left + x) + 40 * (area.top + y);
            const bool inside = x <= f.right - f.left && y <= f.bottom - f.top;
            const int from = (f.left + x) + 40 * (f.top + y);
            vram[to] = inside ? screen[from] : 0;
            vram[1000 + to] = inside ? screen[1000 + from] : 0;
        }
    return vram;
}

// One picture put into VRAM: when its last cell was written, what showed
// then, and whether any write since the one before fell outside `area`.
struct Shown {
    uint64_t done;
    std::vector<uint8_t> vram;
    bool outsideArea;
};

// The screen is done when all 2000 cells have been written, each picture
// after it when all cells of `area` have been written again.
std::vector<Shown> Pictures(const Mz700& machine, const Area& area)
{
    std::vector<Shown> shown;
    std::vector<uint8_t> vram(2000, kVramFill);
    std::vector<bool> wanted(2000, true);
    int missing = 2000;
    bool outside = false;
    for (const VramWrite& w : machine.writes) {
        const int cell = w.at - (w.at >= 0xD800 ? 0xD800 : 0xD000), index = cell + (w.at >= 0xD800 ? 1000 : 0);
        vram[index] = w.value;
        outside |= !area.Holds(cell);
        if (wanted[index]) {
            wanted[index] = false;
            --missing;
        }
        if (missing > 0) continue;
        shown.push_back({w.when, vram, outside});
        for (int i = 0; i < 2000; ++i) wanted[i] = area.Holds(i % 1000);
        missing = 2 * area.columns * area.rows;
        outside = false;
    }
    return shown;
}

// Runs `mzf` for `count` pictures and checks them: the screen, then the
// frames `order` in turn, each done `delayMs` after the one before. Only
// the screen writes outside `area`.
void ExpectPlays(const std::string& mzf, const Area& area, const std::vector<int>& order, int delayMs, bool clearMarks,
                 int count)
{
    Mz700 machine;
    ASSERT_TRUE(LoadMzf(machine, mzf, kVramFill)) << machine.fault;
    const double period = delayMs * kStatesPerMs;
    RunMzf(machine, static_cast<uint64_t>((count + 0.5) * period));
    ASSERT_EQ(machine.fault, "");
    const std::vector<Shown> shown = Pictures(machine, area);
    ASSERT_GE(shown.size(), static_cast<size_t>(count));
    const std::vector<uint8_t> screen = ScreenVram(clearMarks);
    EXPECT_TRUE(shown[0].vram == screen) << "the screen shows first";
    for (int i = 1; i < count; ++i) {
        const int number = order[(i - 1) % order.size()];
        SCOPED_TRACE("picture " + std::to_string(i) + ", frame " + std::to_string(number));
        EXPECT_TRUE(shown[i].vram == WithFrame(screen, area, number));
        EXPECT_FALSE(shown[i].outsideArea);
        EXPECT_NEAR(static_cast<double>(shown[i].done - shown[i - 1].done), period, kPeriodTolerance * period);
    }
}

uint16_t Word(const std::string& mzf, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(mzf[at]) | static_cast<uint8_t>(mzf[at + 1]) << 8);
}

}  // namespace

TEST(AnimationMzf, PlaysTheFramesInTheirOrderWhereTheFirstLiesAndLoops)
{
    // Frames 2, 5 and 9 of 6 x 4 cells: the player shows 2, 5, 9, 2 ...
    PaintVariedScreen();
    SetFrame(2, 3, 2, 8, 5);
    SetFrame(5, 12, 2, 17, 5);
    SetFrame(9, 30, 18, 35, 21);
    for (bool clearMarks : {false, true}) {
        SCOPED_TRACE(clearMarks ? "marks cleared" : "marks kept");
        std::string mzf;
        ASSERT_EQ(AnimationMzfImage("walk cycle", 96, clearMarks, mzf), AnimationRefusal::None);
        // A machine-code program named as the screen's MZF is, loaded and
        // run at 1200H.
        EXPECT_EQ(mzf.substr(0, 18), "\x01WALK CYCLE" + std::string(7, '\x0D'));
        EXPECT_EQ(Word(mzf, 18), mzf.size() - kMzfHeaderBytes);
        EXPECT_EQ(Word(mzf, 20), 0x1200);
        EXPECT_EQ(Word(mzf, 22), 0x1200);
        ExpectPlays(mzf, {3, 2, 6, 4}, {2, 5, 9}, 96, clearMarks, 1 + 3 * 3);
    }
}

TEST(AnimationMzf, FramesOfOtherSizesShowAsThePlayerDrawsThemCutAtTheScreensEdge)
{
    // The area is the largest width and height, 8 x 5, from frame 1's
    // corner: the screen's edges leave 4 x 3 of it. Frame 1 is black past its
    // 3 x 2 cells, frame 4 loses what lies beyond.
    PaintVariedScreen();
    SetFrame(1, 36, 22, 38, 23);
    SetFrame(4, 0, 0, 7, 4);
    SetFrame(6, 10, 10, 10, 10);
    std::string mzf;
    ASSERT_EQ(AnimationMzfImage("sizes", 32, false, mzf), AnimationRefusal::None);
    ExpectPlays(mzf, {36, 22, 4, 3}, {1, 4, 6}, 32, false, 1 + 2 * 3);

    // Nine frames of 40 x 24, the largest an animation gets: the player's
    // fastest speed is allowed, and the shortest delay the copy allows is
    // still kept; anything shorter is refused.
    PaintVariedScreen();
    for (int n = 1; n <= 9; ++n) SetFrame(n, 0, n % 2, 39, 23 + n % 2);
    EXPECT_EQ(AnimationMzfImage("big", 32, false, mzf), AnimationRefusal::None);
    const int shortest = ShortestAnimationDelay();
    EXPECT_GT(shortest, 10);
    ASSERT_EQ(AnimationMzfImage("big", shortest, false, mzf), AnimationRefusal::None);
    ExpectPlays(mzf, {0, 1, 40, 24}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, shortest, false, 1 + 9 + 2);
    const std::string kept = mzf;
    for (int delay : {shortest - 1, 0, -5})
        EXPECT_EQ(AnimationMzfImage("big", delay, false, mzf), AnimationRefusal::DelayTooShort) << delay;
    EXPECT_EQ(mzf, kept) << "a refusal writes nothing";
}

TEST(AnimationMzf, OneFrameStaysAndLongDelaysAndNoFramesAreHandled)
{
    // One frame: after the screen, the same picture comes back every second
    // and nothing that shows changes.
    PaintVariedScreen();
    SetFrame(7, 5, 5, 14, 9);
    std::string mzf;
    ASSERT_EQ(AnimationMzfImage("still", 1000, false, mzf), AnimationRefusal::None);
    ExpectPlays(mzf, {5, 5, 10, 5}, {7}, 1000, false, 4);
    EXPECT_EQ(ShortestAnimationDelay(), 1) << "a frame of 50 cells copies in well under a millisecond";

    // The longest delay the loop can count; beyond it, a refusal.
    EXPECT_EQ(AnimationMzfImage("still", kLongestAnimationDelay, false, mzf), AnimationRefusal::None);
    const std::string kept = mzf;
    EXPECT_EQ(AnimationMzfImage("still", kLongestAnimationDelay + 1, false, mzf), AnimationRefusal::DelayTooLong);
    ResetFrames();
    EXPECT_EQ(AnimationMzfImage("still", 192, false, mzf), AnimationRefusal::NoFrames);
    EXPECT_EQ(ShortestAnimationDelay(), 0);
    EXPECT_EQ(mzf, kept);
}
