// The flood fills against a plain breadth-first reference on random
// screens, and their undo groups.
#include <gtest/gtest.h>

#include <cstring>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "screen/fill.h"
#include "screen/document.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

// Cells or sub-blocks 4-connected to `start` within a w x h grid where
// `inside` holds.
template <typename Inside>
std::vector<bool> Region(int w, int h, std::pair<int, int> start, Inside inside)
{
    std::vector<bool> in(static_cast<size_t>(w) * h, false);
    std::queue<std::pair<int, int>> todo;
    todo.push(start);
    while (!todo.empty()) {
        const auto [x, y] = todo.front();
        todo.pop();
        if (x < 0 || y < 0 || x >= w || y >= h || in[y * w + x] || !inside(x, y)) continue;
        in[y * w + x] = true;
        todo.push({x + 1, y});
        todo.push({x - 1, y});
        todo.push({x, y + 1});
        todo.push({x, y - 1});
    }
    return in;
}

}  // namespace

TEST(Fill, CellFillFillsExactlyTheRegionInOneGroup)
{
    std::mt19937 random(3);
    for (int trial = 0; trial < 60; ++trial) {
        ResetCore();
        // Two or three cell values, marks included: same code with another
        // mark bit is a wall.
        const int kinds = 2 + trial % 2;
        for (int i = 0; i < kCellCount; ++i) {
            const int k = static_cast<int>(random() % kinds);
            Put(i % 40, i / 40, k == 2 ? 0x41 : 0x20, k == 1 ? 0x78 : 0x70);
        }
        const ScreenBuffer before = gDoc.screen;
        const int x = static_cast<int>(random() % kScreenColumns), y = static_cast<int>(random() % kScreenRows);
        const int i0 = CellIndex(x, y);
        const std::vector<bool> region = Region(kScreenColumns, kScreenRows, {x, y}, [&](int cx, int cy) {
            const int i = CellIndex(cx, cy);
            return before.code[i] == before.code[i0] && before.attr[i] == before.attr[i0];
        });
        FillCells(x, y, 0xF5, 0x16);
        for (int i = 0; i < kCellCount; ++i)
            ASSERT_TRUE(gDoc.screen.code[i] == (region[i] ? 0xF5 : before.code[i]) &&
                        gDoc.screen.attr[i] == (region[i] ? 0x16 : before.attr[i])) << trial << " cell " << i;
        EXPECT_EQ(UndoAll(), 1);
        EXPECT_EQ(0, std::memcmp(&gDoc.screen, &before, sizeof before));
    }

    // Filling with the cell's own value changes and records nothing; an
    // empty screen fills whole in one group, by cells or by sub-blocks.
    ResetCore();
    FillCells(5, 5, 0x00, 0x00);
    EXPECT_FALSE(CanUndo());
    for (bool blocks : {false, true}) {
        blocks ? FillSubBlocks(10, 10, 0x71) : FillCells(5, 5, 0xFF, 0x71);
        for (int i = 0; i < kCellCount; ++i) ASSERT_TRUE(gDoc.screen.code[i] == 0xFF && gDoc.screen.attr[i] == 0x71) << i;
        EXPECT_EQ(UndoAll(), 1);
    }
}

TEST(Fill, SubBlockFillFillsTheEmptySubBlocksBehindWalls)
{
    // Letters and set sub-blocks are walls; started on a wall, nothing
    // changes and nothing is recorded.
    std::mt19937 random(5);
    const int codes[] = {0x00, 0x00, 0xF0, 0xF3, 0xF6, 0xF9, 0xFC, 0xFF, 0x41};
    int onWalls = 0;
    for (int trial = 0; trial < 60; ++trial) {
        ResetCore();
        for (int i = 0; i < kCellCount; ++i) Put(i % kScreenColumns, i / kScreenColumns, codes[random() % 9], 0x80 | i % 0x78);
        const ScreenBuffer before = gDoc.screen;
        auto fillable = [&](int sx, int sy) {
            const int v = before.code[CellIndex(sx / 2, sy / 2)];
            const int bit = 1 << ((sx & 1) + 2 * (sy & 1));
            return v == 0 || (IsSemigraphic(v) && !(v & bit));
        };
        const int sx = static_cast<int>(random() % 80), sy = static_cast<int>(random() % 50);
        const std::vector<bool> region = Region(80, 50, {sx, sy}, fillable);
        onWalls += !fillable(sx, sy);
        FillSubBlocks(sx, sy, 0x25);
        bool changed = false;
        for (int y = 0; y < kScreenRows; ++y)
            for (int x = 0; x < kScreenColumns; ++x) {
                int code = before.code[CellIndex(x, y)];
                for (int b = 0; b < 4; ++b)
                    if (region[(2 * y + b / 2) * 80 + 2 * x + (b & 1)]) code |= 0xF0 | 1 << b;
                const bool differs = code != before.code[CellIndex(x, y)];
                changed |= differs;
                ASSERT_EQ(CodeAt(x, y), code) << trial << " at " << x << "," << y;
                ASSERT_EQ(AttrAt(x, y), differs ? 0x25 : before.attr[CellIndex(x, y)]);
            }
        EXPECT_EQ(UndoAll(), changed ? 1 : 0) << trial;
    }
    EXPECT_GT(onWalls, 5);
}
