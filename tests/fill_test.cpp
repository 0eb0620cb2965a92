// The flood fills against a plain breadth-first reference on random
// screens, their undo groups, and the exact order the cell fill sets cells.
#include <gtest/gtest.h>

#include <cstring>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "screen/fill.h"
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

int RecordsSince(int sp) { return (gHistory.SP - sp) & kUndoMask; }

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
            gScreen.code[i] = k == 2 ? 0x41 : 0x20;
            gScreen.attr[i] = k == 1 ? 0x78 : 0x70;
        }
        const ScreenBuffer before = gScreen;
        const int x = static_cast<int>(random() % kScreenColumns), y = static_cast<int>(random() % kScreenRows);
        const int i0 = CellIndex(x, y);
        const std::vector<bool> region = Region(kScreenColumns, kScreenRows, {x, y}, [&](int cx, int cy) {
            const int i = CellIndex(cx, cy);
            return before.code[i] == before.code[i0] && before.attr[i] == before.attr[i0];
        });
        FillCells(x, y, 0xF5, 0x16);
        for (int i = 0; i < kCellCount; ++i) {
            ASSERT_EQ(gScreen.code[i], region[i] ? 0xF5 : before.code[i]) << trial << " cell " << i;
            ASSERT_EQ(gScreen.attr[i], region[i] ? 0x16 : before.attr[i]) << trial << " cell " << i;
        }
        EXPECT_EQ(UndoAll(), 1);
        EXPECT_EQ(0, std::memcmp(&gScreen, &before, sizeof before));
    }

    // Filling with the cell's own value changes and records nothing; an
    // empty screen fills whole in one group.
    ResetCore();
    FillCells(5, 5, 0x00, 0x00);
    EXPECT_FALSE(CanUndo());
    FillCells(5, 5, 0x43, 0x71);
    for (int i = 0; i < kCellCount; ++i) ASSERT_EQ(gScreen.code[i], 0x43);
    EXPECT_EQ(UndoAll(), 1);
}

TEST(Fill, CellFillSetsCellsInScanlineOrder)
{
    // A ring of eight cells round a different centre, walled at column 3 and
    // row 3. The left cell of the middle row is reached from both sides and
    // set twice, as the stack meets it twice.
    ResetCore();
    for (int y = 0; y < kScreenRows; ++y)
        for (int x = 0; x < kScreenColumns; ++x) Put(x, y, x >= 3 || y >= 3 ? 0x41 : 0x20, 0x70);
    Put(1, 1, 0x42, 0x70);
    const int sp = gHistory.SP;
    FillCells(0, 0, 0x43, 0x70);
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 2},
                                                       {1, 2}, {2, 2}, {0, 1}, {0, 1}};
    ASSERT_EQ(RecordsSince(sp), static_cast<int>(expected.size()));
    for (size_t n = 0; n < expected.size(); ++n) {
        const UndoRecord& record = gHistory.ring[(sp + n) & kUndoMask];
        EXPECT_EQ(std::make_pair(int(record.column), int(record.row)), expected[n]) << n;
        EXPECT_EQ(record.groupStart, n == 0 ? 1 : 0);
    }
}

TEST(Fill, SubBlockFillFillsTheEmptySubBlocksBehindWalls)
{
    std::mt19937 random(5);
    const int codes[] = {0x00, 0x00, 0xF0, 0xF3, 0xF6, 0xF9, 0xFC, 0xFF, 0x41};
    for (int trial = 0; trial < 60; ++trial) {
        ResetCore();
        for (int i = 0; i < kCellCount; ++i) Put(i % kScreenColumns, i / kScreenColumns, codes[random() % 9], 0x80 | i % 0x78);
        const ScreenBuffer before = gScreen;
        auto fillable = [&](int sx, int sy) {
            const int v = before.code[CellIndex(sx / 2, sy / 2)];
            const int bit = 1 << ((sx & 1) + 2 * (sy & 1));
            return v == 0 || (IsSemigraphic(v) && !(v & bit));
        };
        const int sx = static_cast<int>(random() % 80), sy = static_cast<int>(random() % 50);
        const std::vector<bool> region = Region(80, 50, {sx, sy}, fillable);
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

    // A ring of blocks with a letter inside: the inside fills, the letter
    // blocks it and stays; a blank cell reached in one sub-block only holds
    // that one.
    ResetCore();
    for (int x = 10; x <= 14; ++x) {
        Put(x, 10, 0xFF, 0x70);
        Put(x, 14, 0xFF, 0x70);
    }
    for (int y = 11; y <= 13; ++y) {
        Put(10, y, 0xFF, 0x70);
        Put(14, y, 0xFF, 0x70);
    }
    Put(12, 12, 0x41, 0x17);
    Put(13, 13, 0xFE, 0x70);  // only its top-left sub-block is empty
    FillSubBlocks(2 * 11, 2 * 11, 0x52);
    EXPECT_EQ(CodeAt(11, 11), 0xFF);
    EXPECT_EQ(AttrAt(11, 11), 0x52);
    EXPECT_EQ(CodeAt(12, 12), 0x41);
    EXPECT_EQ(AttrAt(12, 12), 0x17);
    EXPECT_EQ(CodeAt(13, 13), 0xFF);
    EXPECT_EQ(CodeAt(9, 9), 0x00);  // outside the ring
    EXPECT_EQ(CodeAt(15, 12), 0x00);

    // On a set sub-block or on a letter, nothing happens.
    const int sp = gHistory.SP;
    FillSubBlocks(2 * 10, 2 * 10, 0x52);
    FillSubBlocks(2 * 12, 2 * 12 + 1, 0x52);
    EXPECT_EQ(RecordsSince(sp), 0);
}
