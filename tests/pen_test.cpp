// The Pen, the palette pages and the painting rules of pen and marker strokes.
#include <gtest/gtest.h>

#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/strokes.h"
#include "screen/undo.h"
#include "render/font.h"
#include "render/view.h"
#include "tests/test_support.h"

namespace {


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

int UndoSteps()
{
    int steps = 0;
    while (CanUndo()) {
        Undo();
        ++steps;
    }
    return steps;
}

}  // namespace

TEST(PalettePages, LayoutsMatchTheirDocumentedCells)
{
    ResetCore();
    const uint32_t* main = gPalettePages[kMainPalettePage];
    const uint32_t* aux = gPalettePages[kAuxiliaryPalettePage];
    EXPECT_EQ(main[11 * 16 + 13], 0x10Du);
    EXPECT_EQ(main[4 * 16 + 0], 0x0F0u);
    EXPECT_EQ(main[4 * 16 + 15], 0x0FFu);
    EXPECT_EQ(main[21 * 16 + 12], 0x0DCu);
    EXPECT_EQ(aux[8 * 16 + 5], 0x236u);
    EXPECT_EQ(aux[19 * 16 + 15], 0x0DDu);
    EXPECT_EQ(aux[21 * 16 + 15], 0x08Eu);
    // The colour chart: row 3, column 12 is code 58, green (12 mod 8) on magenta.
    EXPECT_EQ(aux[3 * 16 + 12], CPAL_PRCOLOR | 0x58u | ((4u * 16 + 3) << 16));
    EXPECT_EQ(aux[7 * 16 + 7], CPAL_PRCOLOR | 0x5Au | ((7u * 16 + 7) << 16));
    int blanks = 0;
    for (int n = 0; n < kPaletteEntries; ++n) {
        EXPECT_EQ(main[n] & (CPAL_REVERSE | CPAL_PRCOLOR), 0u) << n;
        if (main[n] == 0) ++blanks;
    }
    EXPECT_EQ(blanks, 6);
}

TEST(Pen, PenCellFollowsTheEntryKind)
{
    ResetCore();
    EXPECT_EQ(gPen.foreground, 7);
    EXPECT_EQ(gPen.background, 1);
    EXPECT_EQ(gPen.cursor, 112);
    EXPECT_EQ(gPen.page, 0);

    ChooseEntry(0x10D);  // second set: attribute bit 7
    EXPECT_EQ(PenCell().code, 0x0D);
    EXPECT_EQ(PenCell().attr, 0x80 | 0x71);

    gPen.page = kAuxiliaryPalettePage;
    ChooseEntry(0x236);  // reversed: blue on white
    EXPECT_EQ(PenCell().code, 0x36);
    EXPECT_EQ(PenCell().attr, 0x17);

    gPen.cursor = 3 * 16 + 12;  // own colours whatever the Pen says
    for (int fg = 0; fg < 8; ++fg) {
        gPen.foreground = fg;
        gPen.background = 7 - fg;
        EXPECT_EQ(PenCell().code, 0x58);
        EXPECT_EQ(PenCell().attr, 0x43);
    }
}

TEST(Pen, ColourAndCursorOperations)
{
    ResetCore();
    SetForeground(2);
    SetBackground(6);
    SwapPenColours();
    EXPECT_EQ(gPen.foreground, 6);
    EXPECT_EQ(gPen.background, 2);
    EXPECT_EQ(gSeams.penChanges.size(), 3u);

    using D = PaletteDirection;
    // Left and right wrap within the row of 16; up and down stop at the edges.
    const struct {
        int from;
        D direction;
        int to;
    } moves[] = {{16, D::Left, 31}, {31, D::Right, 16}, {10, D::Up, 10},   {15, D::Up, 15},
                 {16, D::Up, 0},    {336, D::Down, 336}, {340, D::Down, 340}, {335, D::Down, 351},
                 {351, D::Right, 336}, {0, D::Left, 15}};
    for (const auto& m : moves) {
        gPen.cursor = m.from;
        MovePaletteCursor(m.direction);
        EXPECT_EQ(gPen.cursor, m.to) << "from " << m.from;
    }

    SetPaletteCursor(352);  // off the page: ignored
    EXPECT_EQ(gPen.cursor, 15);
    TogglePalettePage();
    EXPECT_EQ(gPen.page, 1);
    TogglePalettePage();
    EXPECT_EQ(gPen.page, 0);
    EXPECT_EQ(gSeams.penChanges.back(), PenChange::Page);
}

TEST(Pen, PickUpFindsOrPlantsTheCharacter)
{
    ResetCore();
    Put(3, 4, 0x41, 0x80 | 0x25 | kAttrMark);  // glyph 141, red on cyan, marked
    PickUpCell(3, 4, false, false);
    EXPECT_EQ(gPen.foreground, 2);
    EXPECT_EQ(gPen.background, 5);
    // 141 is on neither page: it goes into entry 351.
    EXPECT_EQ(gPen.cursor, kPaletteLastEntry);
    EXPECT_EQ(gPalettePages[0][kPaletteLastEntry], 0x141u);
    EXPECT_EQ(PenCell().attr & kAttrMark, 0);  // the mark is not picked up

    gPen.cursor = 0;
    PickUpCell(3, 4, false, false);  // found again, at 351
    EXPECT_EQ(gPen.cursor, kPaletteLastEntry);

    Put(0, 0, 0x0D, 0x80 | 0x34);
    PickUpCell(0, 0, true, false);  // Ctrl: colours stay
    EXPECT_EQ(gPen.foreground, 2);
    EXPECT_EQ(gPen.cursor, 11 * 16 + 13);
    PickUpCell(0, 0, false, true);  // Shift: character stays
    EXPECT_EQ(gPen.foreground, 3);
    EXPECT_EQ(gPen.background, 4);
    EXPECT_EQ(gPen.cursor, 11 * 16 + 13);

    // On the auxiliary page, a reversed entry never matches: 0x36 is found
    // at its plain place, not at the reversed 0x236 before it.
    gPen.page = 1;
    Put(1, 1, 0x36, 0x71);
    PickUpCell(1, 1, false, false);
    EXPECT_EQ(gPalettePages[1][gPen.cursor], 0x036u);
    EXPECT_EQ(gPen.cursor, 9 * 16 + 5);
}

TEST(PenStroke, PlainStrokePaintsKeepsMarksAndUndoesAsOne)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(2);
    ChooseEntry(0x001);  // 'A', white on blue
    Put(5, 5, 0x20, kAttrMark);
    Put(6, 5, 0x20, 0);
    PenStrokePress(5, 5, 1, false, false);
    EXPECT_TRUE(PenStrokeMove(6, 5, 1, false));
    EXPECT_FALSE(PenStrokeMove(6, 5, 2, false));  // same cell: nothing
    EXPECT_TRUE(PenStrokeMove(7, 5, 1, false));
    EndStroke();
    EXPECT_FALSE(PenStrokeMove(8, 5, 1, false));  // released: no painting
    EXPECT_EQ(CodeAt(5, 5), 0x01);
    EXPECT_EQ(AttrAt(5, 5), 0x71 | kAttrMark);
    EXPECT_EQ(AttrAt(6, 5), 0x71);
    EXPECT_EQ(gLastCell.x, 8);
    EXPECT_TRUE(BoxShowsCell(5, 5));
    EXPECT_TRUE(BoxShowsCell(7, 5));
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(CodeAt(5, 5), 0x20);
    EXPECT_EQ(AttrAt(5, 5), kAttrMark);

    EXPECT_TRUE(BoxShowsCell(5, 5));

    // Painting a cell with its own value is still a recorded change, and
    // the box is redrawn.
    ResetCore();
    UseTestBackBuffer(0, 0xABCDEF);
    ChooseEntry(0x001);
    Put(0, 0, 0x01, 0x71);
    PenStrokePress(0, 0, 1, false, false);
    EXPECT_TRUE(CanUndo());
    EXPECT_TRUE(IsModified());
    EXPECT_NE(*PixelAt(gBackBuffer, 8, 8), 0xABCDEFu);
    EXPECT_TRUE(BoxShowsCell(0, 0));
}

TEST(PenStroke, ModifiersDecideWhatChanges)
{
    ResetCore();
    ChooseEntry(0x001);  // 'A', Pen white on blue
    // Shift: colours only; the cell keeps its character and character set.
    Put(0, 0, 0x0D, 0x80 | 0x24);
    PenStrokePress(0, 0, 1, false, true);
    EXPECT_EQ(CodeAt(0, 0), 0x0D);
    EXPECT_EQ(AttrAt(0, 0), 0x80 | 0x71);
    Put(1, 0, 0x33, 0x00);
    PenStrokeMove(1, 0, 1, false);  // Shift stroke stays colours-only
    EXPECT_EQ(CodeAt(1, 0), 0x33);
    EXPECT_EQ(AttrAt(1, 0), 0x71);
    EndStroke();

    // Ctrl: character only, at the press and through the drag.
    Put(0, 1, 0x0D, 0x80 | 0x24 | kAttrMark);
    Put(1, 1, 0x0E, 0x80 | 0x35);
    PenStrokePress(0, 1, 1, true, false);
    EXPECT_EQ(CodeAt(0, 1), 0x01);
    EXPECT_EQ(AttrAt(0, 1), 0x80 | 0x24 | kAttrMark);
    PenStrokeMove(1, 1, 1, true);
    EXPECT_EQ(CodeAt(1, 1), 0x01);
    EXPECT_EQ(AttrAt(1, 1), 0x80 | 0x35);
    EndStroke();

    // Plain stroke: Shift held during the drag keeps the character set of
    // that cell but still paints the Pen's character.
    Put(0, 2, 0x00, 0);
    Put(1, 2, 0x44, 0x80);
    PenStrokePress(0, 2, 1, false, false);
    PenStrokeMove(1, 2, 1, true);
    EXPECT_EQ(CodeAt(1, 2), 0x01);
    EXPECT_EQ(AttrAt(1, 2), 0x80 | 0x71);
    EndStroke();

    // Ctrl+Shift: the press keeps the character, the drag paints it, and
    // keeps the character set only while Shift is held.
    Put(0, 3, 0x44, 0x80);
    Put(1, 3, 0x44, 0x80);
    Put(2, 3, 0x44, 0x80);
    PenStrokePress(0, 3, 1, true, true);
    EXPECT_EQ(CodeAt(0, 3), 0x44);
    PenStrokeMove(1, 3, 1, false);
    EXPECT_EQ(CodeAt(1, 3), 0x01);
    EXPECT_EQ(AttrAt(1, 3), 0x71);
    PenStrokeMove(2, 3, 1, true);
    EXPECT_EQ(CodeAt(2, 3), 0x01);
    EXPECT_EQ(AttrAt(2, 3), 0x80 | 0x71);
    EndStroke();
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

    // Pressing on a set sub-block erases; the drag keeps erasing.
    Put(1, 0, 0xFF, 0x8F);
    Put(2, 0, 0xF4, 0);
    PenStrokePress(1, 0, 1, false, false);
    EXPECT_EQ(CodeAt(1, 0), 0xFE);
    EXPECT_EQ(gSemigraphicMode, kSemigraphicOn);
    PenStrokeMove(2, 0, 1, false);  // not set there: stays clear, never drawn
    EXPECT_EQ(CodeAt(2, 0), 0xF4);
    PenStrokeMove(2, 0, 4, false);
    EXPECT_EQ(CodeAt(2, 0), 0xF0);
    // The erased cell keeps its mark bit, takes the Pen's colours.
    EXPECT_EQ(AttrAt(1, 0), 0x71 | kAttrMark);
    // No sub-block position: the cell is left alone.
    const int before = CodeAt(2, 0);
    EXPECT_FALSE(PenStrokeMove(2, 0, 0, false));
    EXPECT_EQ(CodeAt(2, 0), before);
    EndStroke();
}

TEST(MarkerStroke, TogglesByThePressedCellAndSkipsCrossedCells)
{
    ResetCore();
    Put(0, 0, 0x41, 0x70);
    Put(2, 0, 0x42, 0x71 | kAttrMark);
    MarkerStrokePress(0, 0);
    EXPECT_EQ(gBit3Choice, kBit3Sets);
    EXPECT_EQ(AttrAt(0, 0), 0x70 | kAttrMark);
    EXPECT_EQ(CodeAt(0, 0), 0x41);
    EXPECT_FALSE(MarkerStrokeMove(1, 0));  // crossed by one report: untouched
    EXPECT_FALSE(MarkerStrokeMove(2, 0));
    EXPECT_TRUE(MarkerStrokeMove(2, 0));   // resting: one change per report
    EXPECT_TRUE(MarkerStrokeMove(2, 0));
    EndStroke();
    EXPECT_EQ(AttrAt(1, 0), 0);
    EXPECT_EQ(AttrAt(2, 0), 0x71 | kAttrMark);
    EXPECT_EQ(gHistory.SP, 3);  // one record per write
    EXPECT_EQ(UndoSteps(), 1);

    // Pressing a marked cell makes a clearing stroke.
    Put(3, 3, 0, kAttrMark | 0x80);
    MarkerStrokePress(3, 3);
    EXPECT_EQ(gBit3Choice, kBit3Clears);
    EXPECT_EQ(AttrAt(3, 3), 0x80);
}
