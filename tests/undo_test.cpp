// The undo ring: groups, wrapping, and the modified state the title shows.
#include <gtest/gtest.h>

#include "screen/screen.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {


// One action of `cells` changes along row y, as a stroke would make it.
void Paint(int y, int cells, int code)
{
    BeginUndoGroup();
    for (int x = 0; x < cells; ++x) SetCell(x % kScreenColumns, y, code, 0x71);
}

bool TitleSaysModified() { return !gSeams.modifiedReports.empty() && gSeams.modifiedReports.back(); }

// The title must always agree with IsModified.
void ExpectModified(bool modified)
{
    EXPECT_EQ(IsModified(), modified);
    EXPECT_EQ(TitleSaysModified(), modified);
}

}  // namespace

TEST(Undo, GroupsAreUndoneAndRedoneWhole)
{
    ResetCore();
    EXPECT_FALSE(CanUndo());
    EXPECT_FALSE(IsModified());
    BeginUndoGroup();
    for (int x = 0; x < 10; ++x) SetCell(x, 0, 0x10 + x, 0x71);
    Paint(1, 1, 0x55);

    Undo();
    EXPECT_EQ(CodeAt(0, 1), 0);
    EXPECT_EQ(CodeAt(9, 0), 0x19);
    Undo();
    for (int x = 0; x < 10; ++x) EXPECT_EQ(CodeAt(x, 0), 0);
    EXPECT_FALSE(CanUndo());

    Redo();
    for (int x = 0; x < 10; ++x) EXPECT_EQ(CodeAt(x, 0), 0x10 + x);
    EXPECT_EQ(CodeAt(0, 1), 0);
    EXPECT_TRUE(CanRedo());
    Redo();
    EXPECT_EQ(CodeAt(0, 1), 0x55);
    EXPECT_FALSE(CanRedo());

    // A new change after an undo discards all redo records.
    Undo();
    Undo();
    Paint(2, 1, 0x66);
    EXPECT_FALSE(CanRedo());
    EXPECT_EQ(gHistory.top, gHistory.SP);
    Undo();
    EXPECT_FALSE(CanUndo());
}

TEST(Undo, RecordsReplayInOrderAndTheBackBufferFollows)
{
    // A group that writes one cell twice: undo must restore in reverse
    // order, redo replay forwards.
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    gScreen.code[0] = 0x33;
    BeginUndoGroup();
    SetCell(0, 0, 0x10, 0x71);
    SetCell(1, 0, 0x11, 0x72);
    SetCell(0, 0, 0x20, 0x8F);
    EXPECT_TRUE(BoxShowsCell(0, 0));
    Undo();
    EXPECT_EQ(CodeAt(0, 0), 0x33);
    EXPECT_EQ(gScreen.attr[0], 0);
    EXPECT_TRUE(BoxShowsCell(0, 0));
    EXPECT_TRUE(BoxShowsCell(1, 0));
    Redo();
    EXPECT_EQ(CodeAt(0, 0), 0x20);
    EXPECT_EQ(gScreen.attr[0], 0x8F);
    EXPECT_TRUE(BoxShowsCell(0, 0));
    EXPECT_TRUE(BoxShowsCell(1, 0));
}

TEST(Undo, ModifiedStateFollowsSavesUndoAndRedo)
{
    ResetCore();
    Paint(0, 1, 1);
    ExpectModified(true);
    MarkSaved();
    ExpectModified(false);
    Paint(0, 1, 2);
    ExpectModified(true);
    Undo();
    ExpectModified(false);
    Redo();
    ExpectModified(true);

    // Only changes of the state are reported.
    const size_t reports = gSeams.modifiedReports.size();
    Paint(1, 3, 5);
    EXPECT_EQ(gSeams.modifiedReports.size(), reports);
    ForceModifiedReport();
    Paint(1, 1, 6);
    EXPECT_EQ(gSeams.modifiedReports.size(), reports + 1);
}

TEST(Undo, SavedStateLostAmongDiscardedRedoStaysModified)
{
    // Save, undo twice, paint twice: SP meets the saved point again, but the
    // screen differs from the file.
    ResetCore();
    Paint(0, 1, 1);
    Paint(0, 1, 2);
    MarkSaved();
    Undo();
    Undo();
    ExpectModified(true);
    Paint(0, 1, 3);
    Paint(0, 1, 4);
    EXPECT_EQ(gHistory.SP, gHistory.savedPoint);
    ExpectModified(true);
    Undo();
    Undo();
    ExpectModified(true);

    // Save, undo, redo: back at the saved state.
    ResetCore();
    Paint(0, 1, 1);
    MarkSaved();
    Undo();
    ExpectModified(true);
    Redo();
    ExpectModified(false);

    // Saving at the newest state and recording on top keeps it reachable.
    Paint(0, 1, 7);
    Undo();
    ExpectModified(false);

    // DropRedo forgets a saved state that lay among the redo records.
    Undo();
    DropRedo();
    ExpectModified(true);

    ClearHistory();
    ExpectModified(false);
    Paint(0, 1, 9);
    Undo();
    Undo();
    ExpectModified(false);
}

TEST(Undo, WrappingDropsOldestGroupsAndTheWayBackToTheSave)
{
    ResetCore();
    Paint(0, 1, 1);
    MarkSaved();
    for (int i = 0; i < kUndoRecords; ++i) Paint(1 + i % 24, 1, (i & 0x7F) + 1);
    // 4097 groups of one change: the ring holds only the newest 4095.
    int steps = 0;
    while (CanUndo()) {
        Undo();
        ++steps;
    }
    EXPECT_EQ(steps, kUndoRecords - 1);
    ExpectModified(true);
    MarkSaved();
    ExpectModified(false);

    // After exactly 4096 single changes the oldest is gone, 4095 remain.
    ResetCore();
    for (int i = 0; i < kUndoRecords; ++i) Paint(i % 25, 1, 1);
    EXPECT_TRUE(CanUndo());
    steps = 0;
    while (CanUndo()) {
        Undo();
        ++steps;
    }
    EXPECT_EQ(steps, kUndoRecords - 1);
    ExpectModified(true);
}

TEST(Undo, SavedStateAtTheNewOldestRecordStaysReachable)
{
    // The wrap drops only what lies before the saved state: undoing back to
    // it is still "not modified".
    ResetCore();
    Paint(0, 1, 1);
    MarkSaved();
    for (int i = 0; i < kUndoRecords - 1; ++i) Paint(1 + i % 24, 1, 2);
    EXPECT_EQ(gHistory.bottom, gHistory.savedPoint);
    while (CanUndo()) Undo();
    ExpectModified(false);
    Redo();
    ExpectModified(true);
}

TEST(Undo, GroupLargerThanTheRingStaysConsistent)
{
    ResetCore();
    Paint(0, 1, 9);
    // One stroke of 10000 changes: more than the ring holds.
    BeginUndoGroup();
    for (int i = 0; i < 10000; ++i) SetCell(i % kScreenColumns, 1 + (i / kScreenColumns) % 24, i & 0xFF, 0x70);
    EXPECT_TRUE(CanUndo());
    Undo();  // takes back what the ring kept of the stroke, in one step
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(gHistory.SP, gHistory.bottom);
    ExpectModified(true);
    Redo();
    EXPECT_FALSE(CanRedo());
    // Recording goes on normally afterwards; the full ring makes room by
    // dropping the kept part of the long stroke, the oldest group.
    Paint(0, 1, 3);
    Paint(0, 1, 4);
    Undo();
    EXPECT_EQ(CodeAt(0, 0), 3);
    Undo();
    EXPECT_EQ(CodeAt(0, 0), 9);
    EXPECT_FALSE(CanUndo());
}
