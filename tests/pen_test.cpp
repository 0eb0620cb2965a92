// The Pen, the palette pages and their drawing and hit test, and the
// painting rules of pen and marker strokes.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>

#include "app/pointer.h"
#include "render/font.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/strokes.h"
#include "screen/undo.h"
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

TEST(Pen, EachEntryPaintsTheCellItShowsAndOwnsItsBox)
{
    ResetCore();
    // Row 0 of every glyph is 01111111, row 1 is lit in the second set only:
    // a box's first pixels show its background, foreground and set.
    std::memset(gFontImage, 0, sizeof gFontImage);
    for (int g = 0; g < kGlyphCount; ++g) {
        gFontImage[g * 8] = 0x7F;
        gFontImage[g * 8 + 1] = g >= 256 ? 0xFF : 0;
    }
    UseTestBackBuffer(1);
    const int k = CurrentView().k;
    EXPECT_TRUE(gPen.foreground == 7 && gPen.background == 1 && gPen.cursor == 112 && gPen.page == 0);
    // The second set (attribute bit 7); a reversed entry; the colour chart
    // (row 3, column 12: code 58, green on magenta whatever the Pen says).
    // Each with the Pen white on blue, then red on cyan.
    const struct {
        int page, cursor, code, attr[2];
    } entries[] = {{0, 11 * 16 + 13, 0x0D, {0xF1, 0xA5}}, {1, 8 * 16 + 5, 0x36, {0x17, 0x52}},
                   {1, 3 * 16 + 12, 0x58, {0x43, 0x43}}};
    for (const auto& e : entries)
        for (int pen : {0, 1}) {
            gPen = {pen ? 2 : 7, pen ? 5 : 1, e.cursor, e.page};
            DrawPalette();
            const int a = e.attr[pen];
            EXPECT_EQ(PenValueNow(), CA(e.code, a)) << e.cursor << " " << pen;
            const Point p = PaletteBox(e.cursor);
            EXPECT_EQ(*PixelAt(gCanvas.pixels, p.x, p.y), kColourTable[a & 7]);
            EXPECT_EQ(*PixelAt(gCanvas.pixels, p.x + k, p.y), kColourTable[(a >> 4) & 7]);
            EXPECT_EQ(*PixelAt(gCanvas.pixels, p.x, p.y + k), kColourTable[a & 0x80 ? (a >> 4) & 7 : a & 7]);
        }

    // Code-00 marks show on exactly the six blank entries of the main page.
    gPen.page = 0;
    gMarks.MarkDispc0 = gMarks.MarkBit3 = 1;
    DrawPalette();
    int marked = 0;
    for (int n = 0; n < kPaletteEntries; ++n) {
        const Point b = PaletteBox(n);
        marked += *PixelAt(gCanvas.pixels, b.x + CurrentView().s - 1, b.y + CurrentView().s - 1) == gCanvas.gridColour;
    }
    EXPECT_EQ(marked, 6);

    // Each entry owns its box and the frame pixel above and left of it.
    for (int z : {0, 1}) {
        gView.Zoom = z;
        UpdateViewGeometry();
        const int P = CurrentView().P, s = CurrentView().s;
        for (int n = 0; n < kPaletteEntries; ++n) {
            const Point b = PaletteBox(n);
            ASSERT_TRUE(PaletteHitTest(b.x - 1, b.y - 1) == n && PaletteHitTest(b.x + s, b.y + s) == n) << z << " " << n;
        }
        const Point last = PaletteBox(kPaletteEntries - 1);
        for (const Point& outside : {Point{P - 2, 5}, Point{last.x + s + 1, 5}, Point{P, 3}, Point{P, last.y + s + 1}})
            EXPECT_EQ(PaletteHitTest(outside.x, outside.y), -1) << z << ": " << outside.x - P << "," << outside.y;
    }
}

TEST(Pen, CursorMovesWrapInTheRowAndStopAtTheEdges)
{
    // The colour keys and the page switch are checked on the real window.
    ResetCore();
    using D = PaletteDirection;
    // Left and right wrap within the row of 16; up and down stop at the edges.
    const std::tuple<int, D, int> moves[] = {{16, D::Left, 31}, {31, D::Right, 16}, {0, D::Left, 15},
                                             {15, D::Up, 15},   {16, D::Up, 0},     {340, D::Down, 340},
                                             {335, D::Down, 351}};
    for (const auto& [from, direction, to] : moves) {
        gPen.cursor = from;
        MovePaletteCursor(direction);
        EXPECT_EQ(gPen.cursor, to) << "from " << from;
    }

    SetPaletteCursor(352);  // off the page: ignored
    EXPECT_EQ(gPen.cursor, 351);
}

TEST(Pen, PickUpFindsOrPlantsTheCharacter)
{
    ResetCore();
    // Glyph 141, red on cyan, marked: on neither page, it goes into entry
    // 351, and is found there again; the mark is not picked up.
    Put(3, 4, 0x41, 0x80 | 0x25 | kAttrMark);
    for (int again : {0, 1}) {
        gPen.cursor = 0;
        PickUpCell(3, 4, false, false);
        EXPECT_TRUE(gPen.foreground == 2 && gPen.background == 5 && gPen.cursor == kPaletteLastEntry) << again;
    }
    EXPECT_EQ(gPalettePages[0][kPaletteLastEntry], 0x141u);
    EXPECT_EQ(PenCell().attr & kAttrMark, 0);

    Put(0, 0, 0x0D, 0x80 | 0x34);
    PickUpCell(0, 0, true, false);  // Ctrl: colours stay
    EXPECT_TRUE(gPen.foreground == 2 && gPen.cursor == 11 * 16 + 13);
    gPen.cursor = 0;
    PickUpCell(0, 0, false, true);  // Shift: character stays
    EXPECT_TRUE(gPen.foreground == 3 && gPen.background == 4 && gPen.cursor == 0);
    // The right button picks up the cell under it; the keys held mean the same.
    const Point p = CellToPixel(3, 4);
    RightPress(p.x + 1, p.y + 1, {false, true});  // Ctrl: colours stay
    EXPECT_TRUE(gPen.foreground == 3 && gPen.background == 4 && gPen.cursor == kPaletteLastEntry);
    gPen.cursor = 0;
    RightPress(p.x + 1, p.y + 1, {true, false});  // Shift: character stays
    EXPECT_TRUE(gPen.foreground == 2 && gPen.background == 5 && gPen.cursor == 0);

    // On the auxiliary page, a reversed entry never matches: 0x36 is found
    // at its plain place, not at the reversed 0x236 before it.
    gPen.page = 1;
    Put(1, 1, 0x36, 0x71);
    PickUpCell(1, 1, false, false);
    EXPECT_TRUE(gPen.cursor == 9 * 16 + 5 && gPalettePages[1][gPen.cursor] == 0x036u);
}

TEST(PenStroke, PlainStrokePaintsKeepsMarksAndRecordsEvenTheSameValue)
{
    // (Strokes through mouse messages, one undo each, are checked on the
    // real window.)
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(0);
    ChooseEntry(0x001);  // 'A', white on blue
    Put(5, 5, 0x20, kAttrMark);
    Put(6, 5, 0x01, 0x71);
    PenStrokePress(5, 5, 1, false, false);
    EXPECT_TRUE(PenStrokeMove(6, 5, 1, false));  // its own value: still a recorded change, redrawn
    EXPECT_FALSE(PenStrokeMove(6, 5, 2, false));  // same cell: nothing
    EndStroke();
    EXPECT_EQ(Cell(5, 5), CA(0x01, 0x71 | kAttrMark));
    EXPECT_EQ(gDoc.history.SP, 2);
    EXPECT_TRUE(BoxShowsCell(5, 5) && BoxShowsCell(6, 5));
    EXPECT_EQ(UndoAll(), 1);
    EXPECT_EQ(Cell(5, 5), CA(0x20, kAttrMark));
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
    EXPECT_EQ(gTool.drag, kNoDrag);
}

TEST(PenStroke, SemigraphicStrokesDrawOrEraseForTheWholeStroke)
{
    ResetCore();
    ChooseEntry(0x001);
    gTool.semigraphicMode = kSemigraphicOn;
    // A non-semigraphic code takes its low bits as sub-blocks: 0x41 -> F1 | b.
    Put(0, 0, 0x41, 0);
    PenStrokePress(0, 0, 8, false, false);
    EXPECT_TRUE(CodeAt(0, 0) == 0xF9 && (gTool.semigraphicMode & kSemigraphicDrawing));
    EXPECT_TRUE(PenStrokeMove(0, 0, 2, false));  // every report paints
    EXPECT_EQ(CodeAt(0, 0), 0xFB);
    EndStroke();

    // Pressing on a set sub-block erases; the drag keeps erasing. The erased
    // cell keeps its mark bit and takes the Pen's colours.
    Put(1, 0, 0xFF, 0x8F);
    Put(2, 0, 0xF4, 0);
    PenStrokePress(1, 0, 1, false, false);
    EXPECT_TRUE(Cell(1, 0) == CA(0xFE, 0x71 | kAttrMark) && gTool.semigraphicMode == kSemigraphicOn);
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
    EXPECT_TRUE(gTool.bit3Choice == kBit3Sets && Cell(0, 0) == CA(0x41, 0x70 | kAttrMark));
    EXPECT_FALSE(MarkerStrokeMove(1, 0));  // crossed by one report: untouched
    EXPECT_FALSE(MarkerStrokeMove(2, 0));
    EXPECT_TRUE(MarkerStrokeMove(2, 0));  // resting: one change per report
    EXPECT_TRUE(MarkerStrokeMove(2, 0));
    EndStroke();
    EXPECT_TRUE(AttrAt(1, 0) == 0 && AttrAt(2, 0) == (0x71 | kAttrMark));
    EXPECT_EQ(gDoc.history.SP, 3);  // one record per write
    EXPECT_EQ(UndoAll(), 1);

    // Pressing a marked cell makes a clearing stroke.
    Put(3, 3, 0, kAttrMark | 0x80);
    MarkerStrokePress(3, 3);
    EXPECT_TRUE(gTool.bit3Choice == kBit3Clears && AttrAt(3, 3) == 0x80);
}
