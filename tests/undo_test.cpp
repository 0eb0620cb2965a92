// The undo ring: groups, wrapping, and the modified state the title shows.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "screen/screen.h"
#include "screen/document.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

// One action of `cells` changes along row y, as a stroke would make it.
void Paint(int y, int cells, int code)
{
    BeginUndoGroup();
    for (int x = 0; x < cells; ++x) SetCell(x % kScreenColumns, y, code, 0x71);
}

// The title must always agree with IsModified.
void ExpectModified(bool modified, const std::string& where = "")
{
    EXPECT_EQ(IsModified(), modified) << where;
    EXPECT_EQ(!gHostLog.modifiedReports.empty() && gHostLog.modifiedReports.back(), modified) << "title " << where;
}

// Runs `script` word by word: p paints a new value into cell (0, 1) as a
// group of its own, s marks the file saved, u undoes, r redoes, d drops the
// redo records, c clears the history. A trailing + or - says whether the
// document must then be modified.
void Steps(const std::string& script)
{
    static int code = 0;
    std::istringstream words(script);
    std::string done;
    for (std::string w; words >> w;) {
        switch (w[0]) {
        case 'p': Paint(1, 1, ++code & 0xFF); break;
        case 's': MarkSaved(); break;
        case 'u': Undo(); break;
        case 'r': Redo(); break;
        case 'd': DropRedo(); break;
        case 'c': ClearHistory(); break;
        default: ADD_FAILURE() << "bad step " << w; return;
        }
        done += w + " ";
        if (w.size() > 1) ExpectModified(w[1] == '+', "after " + done);
    }
}

}  // namespace

TEST(Undo, GroupsAreUndoneAndRedoneWholeInOrderAndTheBackBufferFollows)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    Put(0, 0, 0x33, 0);
    // A group of ten cells that writes one of them twice, then a group of one.
    std::vector<ScreenBuffer> states = {gDoc.screen};
    BeginUndoGroup();
    for (int x = 0; x < 10; ++x) SetCell(x, 0, 0x10 + x, 0x71);
    SetCell(0, 0, 0x20, 0x8F);
    states.push_back(gDoc.screen);
    Paint(1, 1, 0x55);
    states.push_back(gDoc.screen);
    const auto shows = [](const ScreenBuffer& state) {
        for (int x = 0; x < 10; ++x)
            if (!BoxShowsCell(x, 0)) return false;
        return BoxShowsCell(0, 1) && std::memcmp(&gDoc.screen, &state, sizeof state) == 0;
    };
    Undo();
    EXPECT_TRUE(shows(states[1]));
    Undo();
    EXPECT_TRUE(shows(states[0]));
    EXPECT_FALSE(CanUndo());
    Redo();
    EXPECT_TRUE(shows(states[1]) && CanRedo());
    Redo();
    EXPECT_TRUE(shows(states[2]) && !CanRedo());

    // A new change after an undo discards all redo records.
    Undo();
    Undo();
    Paint(2, 1, 0x66);
    EXPECT_TRUE(!CanRedo() && gDoc.history.top == gDoc.history.SP);
    EXPECT_EQ(UndoAll(), 1);
}

TEST(Undo, ModifiedStateFollowsSavesUndoAndRedo)
{
    ResetCore();
    Steps("p+ s- p+ u- r+");
    // Only changes of the state are reported.
    const size_t reports = gHostLog.modifiedReports.size();
    Paint(1, 3, 5);
    EXPECT_EQ(gHostLog.modifiedReports.size(), reports);
    ForceModifiedReport();
    Paint(1, 1, 6);
    EXPECT_EQ(gHostLog.modifiedReports.size(), reports + 1);

    // Save, undo twice, paint twice: SP meets the saved point again, but the
    // screen differs from the file.
    ResetCore();
    Steps("p p s- u u+ p p+");
    EXPECT_EQ(gDoc.history.SP, gDoc.history.savedPoint);
    Steps("u+ u+");
    // Save, undo, redo: back at the saved state. Saving at the newest state
    // and recording on top keeps it reachable; DropRedo forgets a saved
    // state that lay among the redo records.
    ResetCore();
    Steps("p s- u+ r- p+ u- u+ d+ c- p+ u- u-");
}

TEST(Undo, WrappingDropsOldestGroupsAndTheWayBackToTheSave)
{
    // 4097 groups of one change: the ring holds only the newest 4095, and
    // the saved state is gone.
    ResetCore();
    Paint(0, 1, 1);
    MarkSaved();
    for (int i = 0; i < kUndoRecords; ++i) Paint(1 + i % 24, 1, (i & 0x7F) + 1);
    EXPECT_EQ(UndoAll(), kUndoRecords - 1);
    ExpectModified(true);
    MarkSaved();
    ExpectModified(false);

    // After exactly 4096 groups the oldest is gone, 4095 remain; the wrap
    // drops only what lies before the saved state: undoing back to it is
    // still "not modified".
    ResetCore();
    Paint(0, 1, 1);
    MarkSaved();
    for (int i = 0; i < kUndoRecords - 1; ++i) Paint(1 + i % 24, 1, 2);
    EXPECT_EQ(gDoc.history.bottom, gDoc.history.savedPoint);
    EXPECT_EQ(UndoAll(), kUndoRecords - 1);
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
    EXPECT_TRUE(!CanUndo() && gDoc.history.SP == gDoc.history.bottom);
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
    EXPECT_TRUE(CodeAt(0, 0) == 9 && !CanUndo());
}
