// The selection and the floating block: lifting, dropping with transparent
// marks, flips, half-cell shifts, paste placement and undo of block edits.
#include <gtest/gtest.h>

#include <random>

#include "app/edit_commands.h"
#include "render/block_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "screen/marks.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

int BlockCode(int c, int r) { return gDoc.block.code[BlockIndex(c, r)]; }
int BlockAttr(int c, int r) { return gDoc.block.attr[BlockIndex(c, r)]; }

// A floating block of w x h cells lifted from the top-left of the screen,
// cell (c, r) holding code(c, r) and attribute attr(c, r).
template <typename Code, typename Attr>
void Float(int w, int h, Code code, Attr attr)
{
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) Put(c, r, code(c, r), attr(c, r));
    SetSelection(0, 0, w - 1, h - 1);
    ASSERT_TRUE(LiftBlock());
}

}  // namespace

// (That every code flips to its mirror image is checked against the font.)
TEST(Block, FlipsMoveCellsAndCorrectTheSecondSet)
{
    ResetCore();
    // Cells trade places with their attributes and take their mirror; in
    // the second set 02 and 04, 10 and 11 trade too, the middle column
    // included. 1C and 1D are mirrors in the table.
    Float(3, 2, [](int c, int r) { return r == 0 ? 0x02 : 0x1C + (c == 2); },
          [](int c, int r) { return r == 0 ? 0x80 | c : c; });
    FlipLeftRight();
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(BlockCode(c, 0) == 0x04 && BlockAttr(c, 0) == (0x80 | (2 - c)) && BlockAttr(c, 1) == 2 - c) << c;
    // 1D from column 2 lands as 1C; the middle one is mirrored in place.
    EXPECT_TRUE(BlockCode(0, 1) == 0x1C && BlockCode(1, 1) == 0x1D && BlockCode(2, 1) == 0x1D);

    // Upside down, B8 of the first set becomes BD of the second.
    Float(1, 2, [](int, int r) { return r == 0 ? 0xB8 : 0x41; }, [](int, int r) { return r == 0 ? 0x70 : 0x17; });
    FlipUpDown();
    EXPECT_TRUE(BlockCode(0, 1) == 0xBD && BlockAttr(0, 1) == 0xF0 && BlockCode(0, 0) == 0x41 && BlockAttr(0, 0) == 0x17);
}

TEST(Block, HalfCellShiftsMoveTheSubBlockPicture)
{
    ResetCore();
    // Against a model on the sub-block grid: the picture moves one
    // sub-block, letters neither give nor take sub-blocks, and what crosses
    // the block's edge is lost.
    std::mt19937 random(7);
    const int codes[] = {0x00, 0x41, 0xF0, 0xF1, 0xF6, 0xF9, 0xFF, 0xFA, 0xE0};
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};  // where each sub-block comes from
    for (int trial = 0; trial < 40; ++trial) {
        const int w = 1 + trial % 6, h = 1 + trial / 6 % 5, direction = trial % 4;
        Float(w, h, [&](int, int) { return codes[random() % 9]; }, [&](int c, int r) { return (c * 16 + r) & 0xFF; });
        auto bit = [&](int sx, int sy) {
            if (sx < 0 || sy < 0 || sx >= 2 * w || sy >= 2 * h) return 0;
            const int v = CodeAt(sx / 2, sy / 2);
            return IsSemigraphic(v) ? (v >> ((sx & 1) + 2 * (sy & 1))) & 1 : 0;
        };
        ShiftHalfCell(direction);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) {
                const int before = CodeAt(c, r);
                int expected = before;
                if (IsSemigraphic(before) || before == 0) {
                    expected = kSemigraphicBase;
                    for (int b = 0; b < 4; ++b)
                        expected |= bit(2 * c + (b & 1) + dx[direction], 2 * r + b / 2 + dy[direction]) << b;
                }
                ASSERT_EQ(BlockCode(c, r), expected) << trial << " at " << c << "," << r;
                ASSERT_EQ(BlockAttr(c, r), AttrAt(c, r));
            }
        ClearSelection();
        gDoc.block.state = kNotFloating;
    }
}

TEST(Block, DropsLeaveOutTransparentCellsOnlyWhenAsked)
{
    for (int transparent : {0, 1})
        for (int code0 : {0, 1}) {
            ResetCore();
            gMarks.MarkIsTransparent = transparent;
            gMarks.MarkDispc0 = code0;
            gMarks.MarkBit3 = 1;
            for (int x = 10; x < 13; ++x) Put(x, 3, 0x41, 0x71);
            Float(3, 1, [](int c, int) { return c == 0 ? 0x00 : 0x42; }, [](int c, int) { return c == 2 ? 0x78 : 0x70; });
            SetSelection(10, 3, 12, 3);  // as a paste would place it
            gDoc.block.state = kFloatingNew;
            DropBlock();
            EXPECT_EQ(CodeAt(10, 3), transparent && code0 ? 0x41 : 0x00);
            EXPECT_TRUE(CodeAt(11, 3) == 0x42 && AttrAt(12, 3) == (transparent ? 0x71 : 0x78));
            EXPECT_TRUE(!BlockFloats() && gDoc.selection.active);  // the selection stays
        }

    // A flip or a shift of a selection that does not float writes every
    // cell back in one new group, marked or not: leaving the marked ones out
    // would leave the old cells behind.
    struct {
        void (*change)();
        int left, right;
    } const inPlace[] = {{[] { FlipBlock(true); }, 0x00, 0xF2}, {[] { ShiftBlockHalfCell(kShiftRight); }, 0xF2, 0xF0}};
    for (const auto& op : inPlace) {
        ResetCore();
        gMarks.MarkIsTransparent = gMarks.MarkBit3 = gMarks.MarkDispc0 = 1;
        Put(0, 0, 0xF1, 0x08);
        Put(1, 0, 0x00, 0x70);
        SetSelection(0, 0, 1, 0);
        op.change();
        EXPECT_TRUE(!BlockFloats() && gDoc.selection.active && CodeAt(0, 0) == op.left && CodeAt(1, 0) == op.right);
        EXPECT_EQ(UndoAll(), 1);
        EXPECT_EQ(CodeAt(0, 0), 0xF1);
    }
}

TEST(Block, PastePlacementCentresOnTheLastCellAndStaysOnTheScreen)
{
    ResetCore();
    struct {
        CellPos last;
        int w, h, x, y;
    } const cases[] = {
        {{38, 1}, 10, 4, 30, 0}, {{20, 12}, 5, 3, 18, 11}, {kNoCell, 40, 25, 0, 0}, {{39, 24}, 1, 1, 39, 24},
    };
    for (const auto& c : cases) {
        gTool.lastCell = c.last;
        int x, y;
        PastePlacement(c.w, c.h, x, y);
        EXPECT_TRUE(x == c.x && y == c.y) << c.last.x << "," << c.last.y << ": " << x << "," << y;
    }
}

TEST(Block, UndoThrowsAFloatingBlockAwayFirst)
{
    // A moved block: undo puts the source back and leaves nothing to redo.
    ResetCore();
    Put(2, 2, 0x41, 0x71);
    SetSelection(2, 2, 2, 2);
    ASSERT_TRUE(StartMove());
    EXPECT_TRUE(CodeAt(2, 2) == kBlankCode && AttrAt(2, 2) == kBlankAttr);
    UndoEdit();
    EXPECT_TRUE(CodeAt(2, 2) == 0x41 && AttrAt(2, 2) == 0x71);
    EXPECT_FALSE(CanUndo() || CanRedo() || IsModified());
}

TEST(Block, MovePasteAndCutAreEachOneUndoStepOfTheirOwn)
{
    // Each follows an edit of its own at (0, 0), which one undo must leave.
    ResetCore();
    const auto edit = [] {
        BeginUndoGroup();
        SetCell(0, 0, 0x41, 0x71);
    };
    for (int x = 0; x < kScreenColumns; ++x) Put(x, 10, 0x30, 0x07);  // where the paste lands
    Put(5, 5, 0x42, 0x72);
    Put(6, 5, 0x43, 0x73);

    // A move dropped elsewhere.
    edit();
    SetSelection(5, 5, 6, 5);
    ASSERT_TRUE(StartMove());
    SetSelection(5, 7, 6, 7);
    DropAndDeselect();
    EXPECT_TRUE(CodeAt(5, 7) == 0x42 && CodeAt(5, 5) == kBlankCode);
    UndoEdit();
    EXPECT_TRUE(CodeAt(5, 5) == 0x42 && CodeAt(5, 7) == 0x00 && CodeAt(0, 0) == 0x41);
    EXPECT_EQ(UndoAll(), 1);

    // A pasted block thrown away takes nothing else with it; dropped, it is
    // undone alone.
    SetSelection(5, 5, 6, 5);
    CopyBlock();
    edit();
    gTool.lastCell = {20, 10};
    PasteBlock();
    ASSERT_TRUE(BlockFloats());
    const int x = gDoc.selection.x0, y = gDoc.selection.y0;
    UndoEdit();
    EXPECT_TRUE(!BlockFloats() && CodeAt(0, 0) == 0x41 && CodeAt(x, y) == 0x30 && y == 10);
    PasteBlock();
    DropAndDeselect();
    EXPECT_TRUE(CodeAt(x, y) == 0x42 && AttrAt(x + 1, y) == 0x73);
    UndoEdit();
    EXPECT_TRUE(CodeAt(x, y) == 0x30 && AttrAt(x + 1, y) == 0x07 && CodeAt(0, 0) == 0x41);
    EXPECT_EQ(UndoAll(), 1);

    // A cut, of a moved block or of cells in place, leaves the source blank.
    for (bool moved : {false, true}) {
        edit();
        SetSelection(5, 5, 6, 5);
        ASSERT_TRUE(!moved || StartMove());
        CutBlock();
        EXPECT_EQ(gHostLog.clipboardText, " 2  1\n42 43\n72 73\n");
        EXPECT_TRUE(CodeAt(5, 5) == kBlankCode && AttrAt(6, 5) == kBlankAttr && !gDoc.selection.active);
        UndoEdit();
        EXPECT_TRUE(CodeAt(5, 5) == 0x42 && AttrAt(6, 5) == 0x73 && CodeAt(0, 0) == 0x41) << moved;
        EXPECT_EQ(UndoAll(), 1);
    }
}

TEST(Block, ASelectionOffTheScreenLiftsAndCopiesOnlyWhatIsOnIt)
{
    ResetCore();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) Put(x, y, 0x10 * y + x, 0x70 + x);

    // Left hanging over the top-left corner by the last move: lifting and
    // dropping again unmoved puts every cell where it was.
    SetSelection(-2, -1, 3, 2);
    ASSERT_TRUE(LiftBlock());
    EXPECT_TRUE(gDoc.selection.x0 == 0 && gDoc.selection.y0 == 0 && BlockCode(1, 2) == 0x21);
    DropBlock();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(CodeAt(x, y), 0x10 * y + x);

    // Copy and copy as image take the part on the screen, never more.
    SetSelection(-2, 1, 1, 30);
    CopyBlock();
    EXPECT_EQ(gHostLog.clipboardText.substr(0, 6), " 2 24\n");
    SetSelection(38, 23, 45, 28);
    CopyBlockAsImage();
    EXPECT_TRUE(gHostLog.imageWidth == 2 * CurrentView().s && gHostLog.imageHeight == 2 * CurrentView().s);
    EXPECT_FALSE(gDoc.selection.active);

    // Nothing of it on the screen: nothing to lift or copy.
    gHostLog.clipboardText.clear();
    SetSelection(41, 0, 45, 3);
    EXPECT_FALSE(LiftBlock());
    EXPECT_FALSE(gDoc.selection.active);
    SetSelection(-9, 0, -1, 3);
    CopyBlock();
    EXPECT_EQ(gHostLog.clipboardText, "");
}

TEST(Block, CopyThenPasteReproducesTheBlock)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) {
        gDoc.screen.code[i] = (i * 13) & 0xFF;
        gDoc.screen.attr[i] = (i * 7) & 0xFF;
    }
    SetSelection(3, 4, 19, 9);  // 17 x 6
    CopyBlock();
    EXPECT_FALSE(gDoc.selection.active);
    gTool.lastCell = {11, 7};
    PasteBlock();
    ASSERT_TRUE(BlockFloats());
    EXPECT_TRUE(gDoc.selection.x0 == 3 && gDoc.selection.y0 == 4 && SelectionWidth() == 17 && SelectionHeight() == 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 17; ++c)
            ASSERT_TRUE(BlockCode(c, r) == CodeAt(3 + c, 4 + r) && BlockAttr(c, r) == AttrAt(3 + c, 4 + r)) << c << "," << r;

    // Copy with a floating block keeps it floating and selected.
    CopyBlock();
    EXPECT_TRUE(BlockFloats() && gDoc.selection.active);
}

TEST(Block, PictureInTheScratchAreaShowsMarkedCellsThrough)
{
    ResetCore();
    LoadPatternFont();
    UseTestBackBuffer(1);
    // Whether the scratch box of block cell (c, r) shows (code, attr).
    const auto shows = [](int c, int r, int code, int attr) {
        const Point p = BlockImageBox(c, r);
        return BoxShows(p, [&] { DrawGlyph(p.x, p.y, code, attr); });
    };
    gMarks.MarkDispc0 = 1;
    Put(5, 5, 0x00, 0x70);
    Put(6, 5, 0x41, 0x17);
    Put(7, 5, 0x42, 0x26);
    SetSelection(5, 5, 6, 5);
    ASSERT_TRUE(LiftBlock());
    EXPECT_TRUE(shows(0, 0, 0x00, 0x70) && shows(1, 0, 0x41, 0x17));

    // Moved one cell right, the blank cell shows the screen beneath it while
    // marks are transparent.
    SetSelection(6, 5, 7, 5);
    gMarks.MarkIsTransparent = 1;
    ShowThroughMarkedCells();
    EXPECT_TRUE(shows(0, 0, 0x41, 0x17) && shows(1, 0, 0x41, 0x17));
    ToggleMarksTransparent();  // off: the block shows itself again
    EXPECT_TRUE(shows(0, 0, 0x00, 0x70));
}
