// The Pen, the palette pages and the painting rules of pen and marker strokes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/strokes.h"
#include "screen/undo.h"
#include "render/font.h"
#include "render/view.h"
#include "tests/test_support.h"

namespace {

using CA = std::pair<int, int>;  // a cell's code and attribute
CA Cell(int x, int y) { return {CodeAt(x, y), AttrAt(x, y)}; }
CA PenValueNow() { return {PenCell().code, PenCell().attr}; }

// Puts the cursor on the first entry of the current page equal to `entry`.
void ChooseEntry(uint32_t entry)
{
    for (int n = 0; n < kPaletteEntries; ++n)
        if (gPalettePages[gPen.page][n] == entry) {
            gPen.cursor = n;
            return;
        }
    FAIL() << "entry not on page";
}

}  // namespace

TEST(Pen, PenCellFollowsTheEntryKind)
{
    ResetCore();
    EXPECT_TRUE(gPen.foreground == 7 && gPen.background == 1 && gPen.cursor == 112 && gPen.page == 0);
    ChooseEntry(0x10D);  // second set: attribute bit 7
    EXPECT_EQ(gPen.cursor, 11 * 16 + 13);
    EXPECT_EQ(PenValueNow(), CA(0x0D, 0x80 | 0x71));
    gPen.page = kAuxiliaryPalettePage;
    ChooseEntry(0x236);  // reversed: blue on white
    EXPECT_EQ(gPen.cursor, 8 * 16 + 5);
    EXPECT_EQ(PenValueNow(), CA(0x36, 0x17));
    // The colour chart: row 3, column 12 is code 58, green (12 mod 8) on
    // magenta, whatever the Pen says.
    gPen.cursor = 3 * 16 + 12;
    for (int fg = 0; fg < 8; ++fg) {
        gPen.foreground = fg;
        gPen.background = 7 - fg;
        EXPECT_EQ(PenValueNow(), CA(0x58, 0x43));
    }
}

TEST(Pen, CursorMovesWrapInTheRowAndStopAtTheEdges)
{
    // The colour keys and the page switch are checked on the real window.
    ResetCore();
    using D = PaletteDirection;
    // Left and right wrap within the row of 16; up and down stop at the edges.
    const std::tuple<int, D, int> moves[] = {{16, D::Left, 31},   {31, D::Right, 16},   {10, D::Up, 10},
                                             {15, D::Up, 15},     {16, D::Up, 0},       {336, D::Down, 336},
                                             {340, D::Down, 340}, {335, D::Down, 351},  {351, D::Right, 336},
                                             {0, D::Left, 15}};
    for (const auto& [from, direction, to] : moves) {
        gPen.cursor = from;
        MovePaletteCursor(direction);
        EXPECT_EQ(gPen.cursor, to) << "from " << from;
    }

    SetPaletteCursor(352);  // off the page: ignored
    EXPECT_EQ(gPen.cursor, 15);
}

TEST(Pen, PickUpFindsOrPlantsTheCharacter)
{
    ResetCore();
    Put(3, 4, 0x41, 0x80 | 0x25 | kAttrMark);  // glyph 141, red on cyan, marked
    PickUpCell(3, 4, false, false);
    EXPECT_EQ(gPen.foreground, 2);
    EXPECT_EQ(gPen.background, 5);
    // 141 is on neither page: it goes into entry 351; the mark is not picked up.
    EXPECT_EQ(gPen.cursor, kPaletteLastEntry);
    EXPECT_EQ(gPalettePages[0][kPaletteLastEntry], 0x141u);
    EXPECT_EQ(PenCell().attr & kAttrMark, 0);
    gPen.cursor = 0;
    PickUpCell(3, 4, false, false);  // found again, at 351
    EXPECT_EQ(gPen.cursor, kPaletteLastEntry);

    Put(0, 0, 0x0D, 0x80 | 0x34);
    PickUpCell(0, 0, true, false);  // Ctrl: colours stay
    EXPECT_EQ(gPen.foreground, 2);
    EXPECT_EQ(gPen.cursor, 11 * 16 + 13);
    gPen.cursor = 0;
    PickUpCell(0, 0, false, true);  // Shift: character stays
    EXPECT_EQ(gPen.foreground, 3);
    EXPECT_EQ(gPen.background, 4);
    EXPECT_EQ(gPen.cursor, 0);

    // On the auxiliary page, a reversed entry never matches: 0x36 is found
    // at its plain place, not at the reversed 0x236 before it.
    gPen.page = 1;
    Put(1, 1, 0x36, 0x71);
    PickUpCell(1, 1, false, false);
    EXPECT_EQ(gPen.cursor, 9 * 16 + 5);
    EXPECT_EQ(gPalettePages[1][gPen.cursor], 0x036u);
}

TEST(PenStroke, PlainStrokePaintsKeepsMarksAndUndoesAsOne)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(2);
    ChooseEntry(0x001);  // 'A', white on blue
    Put(5, 5, 0x20, kAttrMark);
    PenStrokePress(5, 5, 1, false, false);
    EXPECT_TRUE(PenStrokeMove(6, 5, 1, false));
    EXPECT_FALSE(PenStrokeMove(6, 5, 2, false));  // same cell: nothing
    EXPECT_TRUE(PenStrokeMove(7, 5, 1, false));
    EndStroke();
    EXPECT_FALSE(PenStrokeMove(8, 5, 1, false));  // released: no painting
    EXPECT_EQ(Cell(5, 5), CA(0x01, 0x71 | kAttrMark));
    EXPECT_EQ(Cell(6, 5), CA(0x01, 0x71));
    EXPECT_EQ(Cell(8, 5), CA(0, 0));
    EXPECT_EQ(gLastCell.x, 8);
    EXPECT_TRUE(BoxShowsCell(5, 5) && BoxShowsCell(7, 5));
    EXPECT_EQ(UndoAll(), 1);
    EXPECT_EQ(Cell(5, 5), CA(0x20, kAttrMark));
    EXPECT_TRUE(BoxShowsCell(5, 5));

    // Painting a cell with its own value is still a recorded change, and
    // the box is redrawn.
    ResetCore();
    UseTestBackBuffer(0, 0xABCDEF);
    ChooseEntry(0x001);
    Put(0, 0, 0x01, 0x71);
    PenStrokePress(0, 0, 1, false, false);
    EXPECT_TRUE(CanUndo() && IsModified());
    EXPECT_NE(*PixelAt(gBackBuffer, 8, 8), 0xABCDEFu);
    EXPECT_TRUE(BoxShowsCell(0, 0));
}

TEST(PenStroke, ModifiersDecideWhatChanges)
{
    ResetCore();
    ChooseEntry(0x001);  // 'A', Pen white on blue
    // Each row: the press with its Ctrl and Shift, then drags with Shift as
    // given. Shift alone: colours only, the cell keeps its character and
    // set. Ctrl: the character only. A plain stroke dragged with Shift keeps
    // the set but paints the character. Ctrl+Shift: the press keeps the
    // character, the drag paints it, keeping the set only while Shift is held.
    const struct {
        bool ctrl, shift;
        bool dragShift[2];
        CA before[3], after[3];
    } strokes[] = {
        {false, true, {false, false},
         {{0x0D, 0xA4}, {0x33, 0x00}, {0x33, 0x00}}, {{0x0D, 0xF1}, {0x33, 0x71}, {0x33, 0x71}}},
        {true, false, {false, false},
         {{0x0D, 0xAC}, {0x0E, 0xB5}, {0x0E, 0x00}}, {{0x01, 0xAC}, {0x01, 0xB5}, {0x01, 0x00}}},
        {false, false, {true, false},
         {{0x00, 0x00}, {0x44, 0x80}, {0x44, 0x80}}, {{0x01, 0x71}, {0x01, 0xF1}, {0x01, 0x71}}},
        {true, true, {false, true},
         {{0x44, 0x80}, {0x44, 0x80}, {0x44, 0x80}}, {{0x44, 0xF1}, {0x01, 0x71}, {0x01, 0xF1}}},
    };
    for (int y = 0; y < 4; ++y) {
        const auto& s = strokes[y];
        for (int x = 0; x < 3; ++x) Put(x, y, s.before[x].first, s.before[x].second);
        PenStrokePress(0, y, 1, s.ctrl, s.shift);
        for (int x = 1; x < 3; ++x) PenStrokeMove(x, y, 1, s.dragShift[x - 1]);
        EndStroke();
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Cell(x, y), s.after[x]) << "row " << y << " cell " << x;
    }
    EXPECT_EQ(gDragMode, kNoDrag);
}

TEST(PenStroke, SemigraphicStrokesDrawOrEraseForTheWholeStroke)
{
    ResetCore();
    ChooseEntry(0x001);
    gSemigraphicMode = kSemigraphicOn;
    // A non-semigraphic code takes its low bits as sub-blocks: 0x41 -> F1 | b.
    Put(0, 0, 0x41, 0);
    PenStrokePress(0, 0, 8, false, false);
    EXPECT_EQ(CodeAt(0, 0), 0xF9);
    EXPECT_TRUE(gSemigraphicMode & kSemigraphicDrawing);
    EXPECT_TRUE(PenStrokeMove(0, 0, 2, false));  // every report paints
    EXPECT_EQ(CodeAt(0, 0), 0xFB);
    EndStroke();

    // Pressing on a set sub-block erases; the drag keeps erasing. The erased
    // cell keeps its mark bit and takes the Pen's colours.
    Put(1, 0, 0xFF, 0x8F);
    Put(2, 0, 0xF4, 0);
    PenStrokePress(1, 0, 1, false, false);
    EXPECT_EQ(Cell(1, 0), CA(0xFE, 0x71 | kAttrMark));
    EXPECT_EQ(gSemigraphicMode, kSemigraphicOn);
    PenStrokeMove(2, 0, 1, false);  // not set there: stays clear, never drawn
    EXPECT_EQ(CodeAt(2, 0), 0xF4);
    PenStrokeMove(2, 0, 4, false);
    EXPECT_EQ(CodeAt(2, 0), 0xF0);
    EXPECT_FALSE(PenStrokeMove(2, 0, 0, false));  // no sub-block position: left alone
    EXPECT_EQ(CodeAt(2, 0), 0xF0);
    EndStroke();
}

TEST(MarkerStroke, TogglesByThePressedCellAndSkipsCrossedCells)
{
    ResetCore();
    Put(0, 0, 0x41, 0x70);
    Put(2, 0, 0x42, 0x71 | kAttrMark);
    MarkerStrokePress(0, 0);
    EXPECT_EQ(gBit3Choice, kBit3Sets);
    EXPECT_EQ(Cell(0, 0), CA(0x41, 0x70 | kAttrMark));
    EXPECT_FALSE(MarkerStrokeMove(1, 0));  // crossed by one report: untouched
    EXPECT_FALSE(MarkerStrokeMove(2, 0));
    EXPECT_TRUE(MarkerStrokeMove(2, 0));  // resting: one change per report
    EXPECT_TRUE(MarkerStrokeMove(2, 0));
    EndStroke();
    EXPECT_EQ(AttrAt(1, 0), 0);
    EXPECT_EQ(AttrAt(2, 0), 0x71 | kAttrMark);
    EXPECT_EQ(gHistory.SP, 3);  // one record per write
    EXPECT_EQ(UndoAll(), 1);

    // Pressing a marked cell makes a clearing stroke.
    Put(3, 3, 0, kAttrMark | 0x80);
    MarkerStrokePress(3, 3);
    EXPECT_EQ(gBit3Choice, kBit3Clears);
    EXPECT_EQ(AttrAt(3, 3), 0x80);
}
