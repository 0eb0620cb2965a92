// What each command does to the editor and what it asks of the front end,
// the menu states that follow, and the keys that run commands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "anim/animation_mzf.h"
#include "anim/frames.h"
#include "app/commands.h"
#include "app/keys.h"
#include "app/pointer.h"
#include "app/settings.h"
#include "io/exports.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/host.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/text_input.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

// How the front end's view buffers fare: rebuilt at which zooms, and
// whether the memory is there.
int gRebuildsLeft;  // successful rebuilds before memory runs out
std::string gRebuilds;

void CountRebuilds(int succeeding)
{
    gRebuildsLeft = succeeding;
    gRebuilds.clear();
    gHost.rebuildView = [] {
        gRebuilds += std::to_string(CurrentView().z);
        return gRebuildsLeft-- > 0;
    };
}

bool Enabled(int id) { return MenuStateOf(id).enabled.value_or(true); }
bool Checked(int id) { return MenuStateOf(id).checked.value_or(false); }

}  // namespace

TEST(Commands, EveryIdOfTheMenusAndToolbarIsACommandAndNoOtherIs)
{
    const int runs[][2] = {{1000, 1002}, {1004, 1005}, {1010, 1031}, {1040, 1049}, {1060, 1072},
                           {1080, 1084}, {1090, 1097}, {1100, 1107}, {1110, 1111}, {1999, 1999}, {2000, 2021}};
    for (int id = 900; id < 2100; ++id) {
        bool listed = false;
        for (const auto& r : runs) listed = listed || (id >= r[0] && id <= r[1]);
        EXPECT_EQ(IsCommand(id), listed) << id;
    }
}

TEST(Commands, MenuStatesFollowTheEditor)
{
    ResetCore();
    ResetFrames();
    // A fresh editor: nothing to undo, redo, cut, paste, shift or play.
    for (int id : {IDM_UNDO, IDM_REDO, IDM_CUT, IDM_COPY, IDM_COPYIMAGE, IDM_FILL, IDM_FLIPLR, IDM_FLIPUD, IDM_PASTE,
                   IDM_SHIFTLEFT, IDM_SHIFTDOWN, IDM_ANIMSTART, IDM_FRAMECANCELALL, IDM_FRAME1, IDM_FRAME9,
                   IDM_FRAMESSAVE, IDM_EXPORTGIF, IDM_EXPORTMZFANIM})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(MenuStateOf(IDM_TEXTINPUT).enabled.value() && MenuStateOf(IDM_MARKBIT3).enabled.value() &&
                MenuStateOf(IDM_FRAMESLOAD).enabled.value());
    // Items without a rule keep what the menu resource gives them.
    for (int id : {IDM_OPEN, IDM_SAVE, IDM_EXIT, IDM_EXPORTPNG, IDM_SELECTALL, IDM_ABOUT, IDM_RECENT1})
        EXPECT_FALSE(MenuStateOf(id).enabled || MenuStateOf(id).checked) << id;
    // Check marks as the settings start: grid, frames and cross grid on.
    for (int id : {IDM_GRID, IDM_SHOWFRAMES, IDM_GRIDCROSS, IDM_ZOOM2}) EXPECT_TRUE(Checked(id)) << id;
    for (int id : {IDM_SHOWOVERLAY, IDM_STATUSBAR, IDM_MARKBIT3, IDM_MARKDISPC0, IDM_MARKTRANSPARENT, IDM_AUXPALETTE,
                   IDM_SEMIGRAPHIC, IDM_EXPORTCLEARMARKS, IDM_GRIDDOT, IDM_ZOOM1, IDM_ZOOM8})
        EXPECT_TRUE(MenuStateOf(id).checked.has_value() && !Checked(id)) << id;
    EXPECT_TRUE(MenuStateOf(IDM_ZOOM2).radio && MenuStateOf(IDM_GRIDDOT).radio && !MenuStateOf(IDM_GRID).radio);

    // Each toggle's check mark follows it.
    for (int id : {IDM_GRID, IDM_SHOWFRAMES, IDM_SHOWOVERLAY, IDM_STATUSBAR, IDM_MARKBIT3, IDM_MARKDISPC0,
                   IDM_MARKTRANSPARENT, IDM_AUXPALETTE, IDM_SEMIGRAPHIC, IDM_EXPORTCLEARMARKS}) {
        const bool before = Checked(id);
        RunCommand(id);
        EXPECT_NE(Checked(id), before) << id;
        RunCommand(id);
        EXPECT_EQ(Checked(id), before) << id;
    }
    RunCommand(IDM_GRIDDOT);
    EXPECT_TRUE(Checked(IDM_GRIDDOT) && !Checked(IDM_GRIDCROSS) && gView.GridType == kGridDot);

    // A selection wholly on the screen: block commands and frames open up.
    SetSelection(2, 2, 5, 5);
    for (int id : {IDM_CUT, IDM_COPY, IDM_COPYIMAGE, IDM_FILL, IDM_FLIPUD, IDM_SHIFTUP, IDM_FRAME1, IDM_FRAME9})
        EXPECT_TRUE(Enabled(id)) << id;
    RunCommand(IDM_FRAME3);
    EXPECT_TRUE(FrameDefined(2) && !gDoc.selection.active);
    // Frame 3 can still be cancelled; the others need a selection again.
    EXPECT_TRUE(Enabled(IDM_FRAME3) && !Enabled(IDM_FRAME4) && Enabled(IDM_ANIMSTART) && Enabled(IDM_FRAMECANCELALL) &&
                Enabled(IDM_FRAMESSAVE) && Enabled(IDM_EXPORTGIF));
    EXPECT_EQ(RunCommand(IDM_FRAMESSAVE).ask, Ask::SaveFrames);
    // While the player runs, no frame changes and it cannot open twice; the
    // frames can still leave as a GIF or an MZF.
    gPlayer.open = true;
    EXPECT_FALSE(Enabled(IDM_FRAME3) || Enabled(IDM_ANIMSTART) || Enabled(IDM_FRAMECANCELALL) ||
                 Enabled(IDM_FRAMESSAVE) || Enabled(IDM_FRAMESLOAD));
    EXPECT_TRUE(Enabled(IDM_EXPORTGIF) && Enabled(IDM_EXPORTMZFANIM));
    for (int id : {IDM_ANIMSTART, IDM_FRAMESSAVE, IDM_FRAMESLOAD}) EXPECT_EQ(RunCommand(id).ask, Ask::Nothing) << id;
    gPlayer.open = false;
    EXPECT_EQ(RunCommand(IDM_ANIMSTART).ask, Ask::Player);

    // A floating block can be undone (thrown away) and shifted without a selection.
    gHostLog.hasText = true;
    gHostLog.clipboardText = "2,1\n41,42\n70,70\n";
    EXPECT_TRUE(Enabled(IDM_PASTE));
    RunCommand(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    gDoc.selection.active = false;
    EXPECT_TRUE(Enabled(IDM_UNDO) && Enabled(IDM_SHIFTLEFT) && !Enabled(IDM_CUT));
    gHostLog.clipboardText = "2,1\n41,100\n70,70\n";  // a value above FF is never pasted
    EXPECT_FALSE(Enabled(IDM_PASTE));
}

TEST(Commands, TheMarkerAndTheBit3MarksGoTogether)
{
    ResetCore();
    gTool.bit3Choice = kBit3Sets;
    RunCommand(IDT_MARK);
    EXPECT_TRUE(gTool.tool == IDT_MARK && gTool.bit3Choice == kBit3Clears && gMarks.MarkBit3 == 1);
    EXPECT_EQ(gHostLog.toolChanges, std::vector<int>{IDT_MARK});
    // Hiding the marks puts the marker away; showing them again does not
    // bring it back, and another tool stays.
    RunCommand(IDM_MARKBIT3);
    EXPECT_TRUE(gMarks.MarkBit3 == 0 && gTool.tool == IDT_PEN);
    RunCommand(IDT_FILL);
    RunCommand(IDM_MARKBIT3);
    RunCommand(IDM_MARKBIT3);
    EXPECT_EQ(gTool.tool, IDT_FILL);
    EXPECT_EQ(gHostLog.toolChanges, (std::vector<int>{IDT_MARK, IDT_PEN, IDT_FILL}));

    // Semigraphic mode toggles only its own bit; a stroke's drawing bit goes.
    gTool.semigraphicMode = kSemigraphicOn | kSemigraphicDrawing;
    RunCommand(IDM_SEMIGRAPHIC);
    EXPECT_EQ(gTool.semigraphicMode, 0);
    RunCommand(IDM_SEMIGRAPHIC);
    EXPECT_EQ(gTool.semigraphicMode, kSemigraphicOn);

    // The colour buttons, the swap and the page switch reach the Pen.
    RunCommand(IDT_FG0 + 3);
    RunCommand(IDT_BG0 + 6);
    RunCommand(IDT_SWAP);
    RunCommand(IDM_AUXPALETTE);
    EXPECT_TRUE(gPen.foreground == 6 && gPen.background == 3 && gPen.page == 1);
}

// The language items choose the interface's language and ask the front end
// for its texts anew; Japanese by default and after a reset.
TEST(Commands, TheLanguageItemsChooseTheInterfacesLanguage)
{
    ResetCore();
    EXPECT_EQ(gInterface.Language, kJapanese);
    for (int id : {IDM_LANG_ENGLISH, IDM_LANG_JAPANESE, IDM_LANG_ENGLISH}) {
        const CommandAnswer a = RunCommand(id);
        EXPECT_TRUE(a.relanguage && !a.relayout && a.ask == Ask::Nothing) << id;
        EXPECT_EQ(gInterface.Language, id == IDM_LANG_ENGLISH ? kEnglish : kJapanese);
        for (int item : {IDM_LANG_JAPANESE, IDM_LANG_ENGLISH})
            EXPECT_TRUE(MenuStateOf(item).radio && Checked(item) == (item == id)) << item;
    }
    ResetSettings();
    EXPECT_EQ(gInterface.Language, kJapanese);
}

// While marked cells of a floating block are left out of its drop, the
// status bar's hint names the marks that do it, whichever way the block
// came to float and whichever switch changed.
TEST(Commands, TheHintNamesTheMarksThatMakeAFloatingBlocksCellsTransparent)
{
    ResetCore();
    RunCommand(IDM_MARKTRANSPARENT);
    RunCommand(IDM_MARKBIT3);
    EXPECT_EQ(TransparencyHint(), 0) << "no block floats";
    SetSelection(0, 0, 1, 1);
    RunCommand(IDM_COPY);
    RunCommand(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(TransparencyHint(), IDS_HINT_BIT3);
    RunCommand(IDM_MARKDISPC0);
    EXPECT_EQ(TransparencyHint(), IDS_HINT_BOTH);
    RunCommand(IDM_MARKBIT3);
    EXPECT_EQ(TransparencyHint(), IDS_HINT_CODE0);
    RunCommand(IDM_MARKDISPC0);
    EXPECT_EQ(TransparencyHint(), IDS_HINT_NONE);
    RunCommand(IDM_MARKTRANSPARENT);
    EXPECT_EQ(TransparencyHint(), 0) << "marked cells drop like any other";
    RunCommand(IDM_MARKTRANSPARENT);
    RunCommand(IDT_PEN);  // drops the block
    EXPECT_EQ(TransparencyHint(), 0);

    // A block lifted by a move drag floats too.
    RunCommand(IDT_MARK);
    RunCommand(IDT_SELECT);
    SetSelection(2, 2, 4, 4);
    const Point inside = CellToPixel(3, 3);
    PointerPress(inside.x + 2, inside.y + 2, {false, false});
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(TransparencyHint(), IDS_HINT_BIT3);
}

TEST(Commands, ZoomKeepsTheRatioToReturnToAndFallsBackWithoutMemory)
{
    ResetCore();
    CountRebuilds(100);
    CommandAnswer a = RunCommand(IDM_ZOOM1 + 3);
    EXPECT_TRUE(gView.Zoom == 3 && gView.ZoomRatio == 3 && CurrentView().z == 3 && a.relayout && a.repaintPanel);
    RunCommand(IDM_ZOOMTOGGLE);
    EXPECT_TRUE(gView.Zoom == 0 && gView.ZoomRatio == 3);
    RunCommand(IDM_ZOOMTOGGLE);
    EXPECT_EQ(gView.Zoom, 3);
    RunCommand(IDM_ZOOM1);  // x1 is never the ratio
    RunCommand(IDM_ZOOMTOGGLE);
    EXPECT_EQ(gView.Zoom, 3);
    EXPECT_EQ(gRebuilds, "30303");

    // No memory for x8: the view goes back to x4; none at all: the user is told.
    gRebuilds.clear();
    gHost.rebuildView = [] {
        gRebuilds += std::to_string(CurrentView().z);
        return CurrentView().z != 7;
    };
    a = RunCommand(IDM_ZOOM8);
    EXPECT_TRUE(gView.Zoom == 3 && gView.ZoomRatio == 3 && CurrentView().z == 3 && a.ask == Ask::Nothing);
    EXPECT_EQ(gRebuilds, "73");
    CountRebuilds(0);
    EXPECT_EQ(RunCommand(IDM_ZOOM2).ask, Ask::NoMemoryForView);
    EXPECT_TRUE(gView.Zoom == 3 && gView.ZoomRatio == 3);

    // Read from a settings file, the ends of the ranges stay (zoom 0-7, the
    // ratio to return to 1-7, switches 0-1); anything beyond falls back to
    // the default.
    ResetSettings();
    const ViewSettings defaults = gView;
    struct {
        int zoom, ratio, statusBar;
        bool kept;
    } const read[] = {{0, 1, 0, true}, {7, 7, 1, true}, {-1, 0, -1, false}, {8, 8, 2, false}};
    for (const auto& r : read) {
        gView.Zoom = r.zoom;
        gView.ZoomRatio = r.ratio;
        gView.ShowStatusBar = r.statusBar;
        SanitizeSettings();
        EXPECT_TRUE(gView.Zoom == (r.kept ? r.zoom : defaults.Zoom) &&
                    gView.ZoomRatio == (r.kept ? r.ratio : defaults.ZoomRatio) &&
                    gView.ShowStatusBar == (r.kept ? r.statusBar : defaults.ShowStatusBar))
            << r.zoom << " " << r.ratio << " " << r.statusBar;
    }
}

TEST(Commands, CommandsThatNeedTheUserAskTheFrontEndAfterTheirOwnSteps)
{
    ResetCore();
    const struct {
        int id;
        Ask ask;
        int detail;
    } asks[] = {
        {IDM_OPEN, Ask::OpenFile, 0},     {IDM_SAVE, Ask::SaveFile, 0},         {IDT_SAVE, Ask::SaveFile, 0},
        {IDM_SAVEAS, Ask::SaveFileAs, 0}, {IDM_EXIT, Ask::Close, 0},            {IDM_EXPORTMZF, Ask::Export, 0},
        {IDM_EXPORTPNG, Ask::Export, static_cast<int>(ExportFormat::Png)},     {IDM_RECENT5, Ask::OpenRecent, 4},
        {IDM_LOADOVERLAY, Ask::OverlayFile, 0}, {IDM_CONVERTPICTURE, Ask::ConvertPicture, 0},
        {IDM_EXPORTGIF, Ask::Export, static_cast<int>(ExportFormat::Gif)}, {IDM_FRAMESLOAD, Ask::LoadFrames, 0},
        {IDM_FRAMESSAVE, Ask::Nothing, 0},  // no frame to save
        {IDM_ABOUT, Ask::About, 0},       {IDM_TEXTINPUT, Ask::Text, 0},        {IDM_RECENT_NONE, Ask::Nothing, 0},
        {IDM_EXPORTMZFANIM, Ask::ExportAnimation, 0},
    };
    for (const auto& c : asks) {
        const CommandAnswer a = RunCommand(c.id);
        EXPECT_TRUE(a.ask == c.ask && a.detail == c.detail) << c.id;
    }

    // Saving, exporting and converting drop a floating block and end the
    // selection first: what is saved is the picture as it will stay.
    for (int id : {IDM_SAVE, IDT_SAVE, IDM_SAVEAS, IDM_EXPORTBIN, IDM_EXPORTGIF, IDM_EXPORTMZFANIM, IDM_CONVERTPICTURE}) {
        ResetCore();
        SetSelection(1, 1, 2, 1);
        ASSERT_TRUE(LiftBlock());
        gDoc.block.code[0] = 0x55;
        RunCommand(id);
        EXPECT_TRUE(CodeAt(1, 1) == 0x55 && !BlockFloats() && !gDoc.selection.active) << id;
    }
    // Text input drops the block but keeps the selection, with its tool; the
    // text comes back as a floating block at the top left.
    ResetCore();
    SetSelection(1, 1, 2, 1);
    LiftBlock();
    RunCommand(IDM_TEXTINPUT);
    EXPECT_TRUE(!BlockFloats() && gDoc.selection.active && gTool.tool == IDT_SELECT);
    AcceptText("AB", false);
    EXPECT_TRUE(BlockFloats() && gDoc.selection.x0 == 1 && gDoc.selection.y0 == 1 && gDoc.selection.x1 == 2);
    EXPECT_EQ(std::string(gTextInput.text), "AB");

    // The grid shape redraws the panel (its frame's arms), then the cells.
    ResetCore();
    static int panelRedraws;
    panelRedraws = 0;
    gHost.redrawPanel = [] { ++panelRedraws; };
    EXPECT_TRUE(RunCommand(IDM_GRIDDOT).repaintPanel);
    EXPECT_TRUE(panelRedraws == 1 && gView.GridType == kGridDot && gHostLog.canvasInvalidations == 1);
    EXPECT_TRUE(RunCommand(IDM_MARKDISPC0).repaintPalette && RunCommand(IDM_STATUSBAR).relayout);
    EXPECT_TRUE(RunCommand(IDM_SHOWFRAMES).repaintPanel && RunCommand(IDM_FRAMECANCELALL).repaintPanel);
}

TEST(Commands, AFramesFileReplacesAllNineFramesOrNone)
{
    ResetCore();
    ResetFrames();
    gFrames[7] = {1, 1, 2, 2};
    const std::string good = "# two\n2 3 4 9 8\n5 0 0 0 0\n", damaged = "2 3 4 9 8\n\n5 0 0 40 0\n";
    CommandAnswer a = AcceptFramesFile(good.data(), good.size());
    EXPECT_TRUE(a.ask == Ask::Nothing && a.repaintPanel && gHostLog.canvasInvalidations == 1);
    EXPECT_TRUE(gFrames[1].left == 3 && gFrames[1].bottom == 8 && FrameDefined(4) && !FrameDefined(7));
    Frame loaded[kFrameCount];
    std::memcpy(loaded, gFrames, sizeof loaded);
    // A damaged file changes nothing and names the line at fault; while
    // the player runs, nothing is read at all.
    a = AcceptFramesFile(damaged.data(), damaged.size());
    EXPECT_TRUE(a.ask == Ask::DamagedFrames && a.detail == 3 && !a.repaintPanel);
    gPlayer.open = true;
    a = AcceptFramesFile("9 0 0 0 0", 9);
    EXPECT_TRUE(a.ask == Ask::Nothing && !a.repaintPanel && !FrameDefined(8));
    EXPECT_EQ(std::memcmp(gFrames, loaded, sizeof loaded), 0);
}

// The MZF animation goes at the player's speed: the one it opens with until
// it has been opened, then the last one set, and clears the marks on request.
TEST(Commands, TheAnimationMzfGoesAtThePlayersSpeed)
{
    ResetCore();
    ResetFrames();
    const AnimationExport none = MakeAnimationMzf("WALK");
    EXPECT_TRUE(none.bytes.empty());
    EXPECT_EQ(none.refusal, IDS_ANIM_NO_FRAMES);

    gFrames[1] = {2, 2, 5, 4};
    gFrames[3] = {10, 2, 13, 4};
    const auto expect = [](int delay, bool clearMarks) {
        std::string mzf;
        ASSERT_EQ(AnimationMzfImage("WALK", delay, clearMarks, mzf), AnimationRefusal::None);
        EXPECT_TRUE(MakeAnimationMzf("WALK").bytes == mzf) << delay;
    };
    expect(192, false);
    ASSERT_TRUE(OpenPlayerState(1));
    ASSERT_TRUE(SetPlayerSpeed(100));
    expect(352, false);
    gPlayer.open = false;  // closed: its speed stays the last one set
    RunCommand(IDM_EXPORTCLEARMARKS);
    expect(352, true);
    gExportChoice.clearMarks = false;
}

TEST(Commands, APictureBecomesTheScreenInOneStepAndMayStayAsTheOverlay)
{
    ResetCore();
    ReleaseOverlay();
    static int overlayRedraws;
    overlayRedraws = 0;
    gHost.redrawOverlay = [] { ++overlayRedraws; };
    OverlayPicture picture;
    picture.width = 320;
    picture.height = 200;
    picture.pixels.assign(320 * 200, 0xFF0000);
    Put(0, 0, 0x41, 0x71);
    SetCell(1, 0, 0x42, 0x71);  // an edit before: not part of the conversion's step
    PlaceConvertedPicture(OverlayPicture(picture), ConvertOptions(), false);
    EXPECT_TRUE(!OverlayLoaded() && gView.ShowOverlay == 0 && overlayRedraws == 0);
    // Every sub-block of every cell shows red.
    for (int i = 0; i < kCellCount; ++i) {
        const int code = CodeAt(i % 40, i / 40), attr = AttrAt(i % 40, i / 40);
        ASSERT_TRUE(IsSemigraphic(code)) << i;
        for (int bit = 0; bit < 4; ++bit) EXPECT_EQ((code >> bit) & 1 ? (attr >> 4) & 7 : attr & 7, 2) << i;
    }
    Undo();
    EXPECT_TRUE(CodeAt(0, 0) == 0x41 && CodeAt(1, 0) == 0x42);

    PlaceConvertedPicture(std::move(picture), ConvertOptions(), true);
    EXPECT_TRUE(OverlayLoaded() && gOverlay.width == 320 && gView.ShowOverlay == 1 && overlayRedraws == 1);
    // A loaded overlay already shown repaints the panel; a hidden one shows.
    EXPECT_TRUE(ShowLoadedOverlay().repaintPanel);
    gView.ShowOverlay = 0;
    EXPECT_FALSE(ShowLoadedOverlay().repaintPanel);
    EXPECT_EQ(gView.ShowOverlay, 1);
    ReleaseOverlay();
}

TEST(Keys, CharactersAndKeysRunTheirCommands)
{
    const std::pair<int, int> characters[] = {
        {'m', IDT_SELECT}, {0x1B, IDT_SELECT}, {'y', IDT_PEN},     {'p', IDT_FILL},   {'9', IDT_MARK},
        {'x', IDT_SWAP},   {'@', IDT_SWAP},    {' ', IDM_AUXPALETTE}, {'8', IDT_FG0}, {'1', IDT_FG1},
        {'7', IDT_FG7},    {'(', IDT_BG0},     {'!', IDT_BG1},     {'\'', IDT_BG7},   {'"', IDT_BG2},
        {'M', 0},          {'a', 0},           {'0', 0},           {0, 0},            {-1, 0},
        {0x179, 0},        {0x120, 0},         {0xE9, 0},          {0x3079, 0},       {0xFF38, 0},
    };
    for (const auto& [c, id] : characters) EXPECT_EQ(CommandForCharacter(c), id) << c;

    EXPECT_TRUE(CommandForKey(Key::F9, false) == IDM_MARKBIT3 && CommandForKey(Key::F11, false) == IDM_MARKDISPC0);
    EXPECT_TRUE(CommandForKey(Key::F9, true) == 0 && CommandForKey(Key::Left, false) == 0);
    EXPECT_TRUE(CommandForKey(Key::Left, true) == IDM_SHIFTLEFT && CommandForKey(Key::Right, true) == IDM_SHIFTRIGHT &&
                CommandForKey(Key::Up, true) == IDM_SHIFTUP && CommandForKey(Key::Down, true) == IDM_SHIFTDOWN);

    // Plain arrows move the palette cursor (how far, the Pen's tests say).
    ResetCore();
    gPen.cursor = 17;
    EXPECT_TRUE(MovePaletteByKey(Key::Left, false) && MovePaletteByKey(Key::Down, false) &&
                MovePaletteByKey(Key::Down, false) && MovePaletteByKey(Key::Up, false) &&
                MovePaletteByKey(Key::Right, false) && MovePaletteByKey(Key::Right, false));
    EXPECT_EQ(gPen.cursor, 34);
    EXPECT_FALSE(MovePaletteByKey(Key::Left, true) || MovePaletteByKey(Key::F9, false));
    EXPECT_EQ(gPen.cursor, 34);
}
