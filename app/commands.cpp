#include "app/commands.h"

#include "anim/animation_mzf.h"
#include "anim/frames.h"
#include "io/frames_file.h"
#include "app/edit_commands.h"
#include "app/pointer.h"
#include "app/settings.h"
#include "io/clipboard.h"
#include "io/exports.h"
#include "render/block_view.h"
#include "render/palette_view.h"
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

ExportChoice gExportChoice;

namespace {

static_assert(static_cast<int>(ExportFormat::Png) == IDM_EXPORTPNG - IDM_EXPORTMZF, "one export item per format");

CommandAnswer AskFor(Ask ask, int detail = 0)
{
    CommandAnswer a;
    a.ask = ask;
    a.detail = detail;
    return a;
}

CommandAnswer RepaintPanel()
{
    CommandAnswer a;
    a.repaintPanel = true;
    return a;
}

void Toggle(int32_t& setting) { setting = !setting; }

// The floating block's picture carries the grid and the marks as the canvas
// does: view changes draw both again.
void RedrawCells()
{
    DrawBlockImage(CanvasLook());
    RedrawCanvas();
}

// A larger view may not find the memory: the view stays where it was, and
// only when even that fails is the user told.
CommandAnswer ChangeZoom(int zoom)
{
    const int previous = gView.Zoom;
    gView.Zoom = zoom;
    UpdateViewGeometry();
    CommandAnswer a;
    if (gHost.rebuildView()) {
        if (zoom != 0) gView.ZoomRatio = zoom;
    } else {
        gView.Zoom = previous;
        UpdateViewGeometry();
        if (!gHost.rebuildView()) a.ask = Ask::NoMemoryForView;
    }
    RedrawCells();
    a.relayout = a.repaintPanel = true;
    return a;
}

bool InRange(int id, int first, int last) { return id >= first && id <= last; }

// Every command ID, as runs of consecutive numbers.
const int kCommandRuns[][2] = {
    {IDM_OPEN, IDM_SAVEAS},        {IDM_EXIT, IDM_LOADOVERLAY},   {IDM_RECENT_NONE, IDM_RECENT9},
    {IDM_UNDO, IDM_MARKTRANSPARENT}, {IDM_GRID, IDM_GRIDCROSS},   {IDM_ANIMSTART, IDM_FRAMESLOAD},
    {IDM_SEMIGRAPHIC, IDM_SHIFTDOWN}, {IDM_EXPORTMZF, IDM_EXPORTMZFANIM}, {IDM_ZOOM1, IDM_ZOOM8},
    {IDM_LANG_JAPANESE, IDM_LANG_ENGLISH}, {IDM_ABOUT, IDM_ABOUT}, {IDT_SELECT, IDT_MARK},
};

}  // namespace

bool IsCommand(int id)
{
    for (const auto& run : kCommandRuns)
        if (InRange(id, run[0], run[1])) return true;
    return false;
}

CommandAnswer RunCommand(int id)
{
    if (id == IDT_SAVE) id = IDM_SAVE;
    if (InRange(id, IDM_RECENT1, IDM_RECENT9)) return AskFor(Ask::OpenRecent, id - IDM_RECENT1);
    if (InRange(id, IDM_EXPORTMZF, IDM_EXPORTPNG)) {
        DropAndDeselect();  // as for saving: the picture as it will stay
        return AskFor(Ask::Export, id - IDM_EXPORTMZF);
    }
    if (InRange(id, IDM_FLIPLR, IDM_FLIPUD)) {
        FlipBlock(id == IDM_FLIPLR);
        return {};
    }
    if (InRange(id, IDM_SHIFTLEFT, IDM_SHIFTDOWN)) {
        ShiftBlockHalfCell(id - IDM_SHIFTLEFT);
        return {};
    }
    if (InRange(id, IDM_GRIDDOT, IDM_GRIDCROSS)) {
        gView.GridType = id - IDM_GRIDDOT;
        gHost.redrawPanel();  // the grid frame's arms change
        RedrawCells();
        return RepaintPanel();
    }
    if (InRange(id, IDM_ZOOM1, IDM_ZOOM8)) return ChangeZoom(id - IDM_ZOOM1);
    if (InRange(id, IDM_LANG_JAPANESE, IDM_LANG_ENGLISH)) {
        gInterface.Language = id - IDM_LANG_JAPANESE;
        CommandAnswer a;
        a.relanguage = true;
        return a;
    }
    // A frame's number may reach past the canvas's right edge: the whole
    // panel is repainted when frames change.
    if (InRange(id, IDM_FRAME1, IDM_FRAME9)) {
        SetOrCancelFrame(id - IDM_FRAME1);
        return RepaintPanel();
    }
    if (InRange(id, IDT_FG0, IDT_FG7)) {
        SetForeground(id - IDT_FG0);
        return {};
    }
    if (InRange(id, IDT_BG0, IDT_BG7)) {
        SetBackground(id - IDT_BG0);
        return {};
    }
    CommandAnswer a;
    switch (id) {
    case IDM_OPEN: return AskFor(Ask::OpenFile);
    case IDM_SAVE: DropAndDeselect(); return AskFor(Ask::SaveFile);
    case IDM_SAVEAS: DropAndDeselect(); return AskFor(Ask::SaveFileAs);
    case IDM_EXIT: return AskFor(Ask::Close);
    case IDM_EXPORTCLEARMARKS: gExportChoice.clearMarks = !gExportChoice.clearMarks; break;
    case IDM_EXPORTGIF: DropAndDeselect(); return AskFor(Ask::Export, static_cast<int>(ExportFormat::Gif));
    case IDM_EXPORTMZFANIM: DropAndDeselect(); return AskFor(Ask::ExportAnimation);
    case IDM_CONVERTPICTURE: DropAndDeselect(); return AskFor(Ask::ConvertPicture);
    case IDM_LOADOVERLAY: return AskFor(Ask::OverlayFile);
    case IDM_UNDO: UndoEdit(); break;
    case IDM_REDO:
        Redo();
        gHost.invalidateCanvas();
        break;
    case IDM_CUT: CutBlock(); break;
    case IDM_COPY: CopyBlock(); break;
    case IDM_PASTE: PasteBlock(); break;
    case IDM_COPYIMAGE: CopyBlockAsImage(); break;
    case IDM_MARKTRANSPARENT: ToggleMarksTransparent(); break;
    case IDM_SELECTALL: SelectAll(); break;
    case IDM_FILL: FillSelectionWithPen(); break;
    // The typed text floats like a pasted block.
    case IDM_TEXTINPUT:
        DropBlock();
        UseSelectionTool();
        gHost.invalidateCanvas();
        return AskFor(Ask::Text);
    case IDM_GRID:
        Toggle(gView.ShowGrid);
        DrawGridFrame();
        RedrawCells();
        break;
    case IDM_ZOOMTOGGLE: return ChangeZoom(gView.Zoom != 0 ? 0 : gView.ZoomRatio);
    case IDM_SHOWFRAMES: Toggle(gView.ShowFrames); return RepaintPanel();
    case IDM_SHOWOVERLAY:
        Toggle(gView.ShowOverlay);
        gHost.invalidateCanvas();
        break;
    case IDM_STATUSBAR:
        Toggle(gView.ShowStatusBar);
        a.relayout = true;
        break;
    // The marker paints only what shows: with the marks hidden it is put away.
    case IDM_MARKBIT3:
        Toggle(gMarks.MarkBit3);
        RedrawCells();
        if (!gMarks.MarkBit3 && gTool.tool == IDT_MARK) SwitchTool(IDT_PEN);
        break;
    case IDM_MARKDISPC0:
        Toggle(gMarks.MarkDispc0);
        DrawPalette();  // the palette's blank entries carry the mark too
        RedrawCells();
        a.repaintPalette = true;
        break;
    case IDM_AUXPALETTE: TogglePalettePage(); break;
    case IDM_ANIMSTART: return gPlayer.open ? a : AskFor(Ask::Player);
    case IDM_FRAMECANCELALL: CancelAllFrames(); return RepaintPanel();
    // The frames stay as they are while they play.
    case IDM_FRAMESSAVE: return AnyFrameDefined() && !gPlayer.open ? AskFor(Ask::SaveFrames) : a;
    case IDM_FRAMESLOAD: return gPlayer.open ? a : AskFor(Ask::LoadFrames);
    case IDM_SEMIGRAPHIC: gTool.semigraphicMode = (gTool.semigraphicMode ^ kSemigraphicOn) & kSemigraphicOn; break;
    case IDM_ABOUT: return AskFor(Ask::About);
    case IDT_SELECT:
    case IDT_PEN:
    case IDT_FILL: SwitchTool(id); break;
    // The marker clears bits until a stroke decides, and shows what it marks.
    case IDT_MARK:
        SwitchTool(IDT_MARK);
        gTool.bit3Choice = kBit3Clears;
        if (!gMarks.MarkBit3) {
            gMarks.MarkBit3 = 1;
            RedrawCanvas();
        }
        break;
    case IDT_SWAP: SwapPenColours(); break;
    default: break;  // the grayed placeholder of the recent-file list
    }
    return a;
}

MenuState MenuStateOf(int id)
{
    MenuState m;
    const auto enabled = [&](bool on) { m.enabled = on; };
    const auto checked = [&](int32_t on) { m.checked = on != 0; };
    const auto radio = [&](bool on) {
        m.checked = on;
        m.radio = true;
    };
    const bool selection = gDoc.selection.active;
    // While the player runs, the frames cannot change.
    const bool framesPlayable = AnyFrameDefined() && !gPlayer.open;
    if (InRange(id, IDM_FRAME1, IDM_FRAME9))
        enabled(!gPlayer.open && (FrameDefined(id - IDM_FRAME1) || SelectionCanBeFrame()));
    else if (InRange(id, IDM_SHIFTLEFT, IDM_SHIFTDOWN))
        enabled(selection || BlockFloats());
    else if (InRange(id, IDM_GRIDDOT, IDM_GRIDCROSS))
        radio(id - IDM_GRIDDOT == gView.GridType);
    else if (InRange(id, IDM_ZOOM1, IDM_ZOOM8))
        radio(id - IDM_ZOOM1 == gView.Zoom);
    else if (InRange(id, IDM_LANG_JAPANESE, IDM_LANG_ENGLISH))
        radio(id - IDM_LANG_JAPANESE == gInterface.Language);
    switch (id) {
    case IDM_UNDO: enabled(BlockFloats() || CanUndo()); break;
    case IDM_REDO: enabled(CanRedo()); break;
    case IDM_CUT:
    case IDM_COPY:
    case IDM_COPYIMAGE:
    case IDM_FILL:
    case IDM_FLIPLR:
    case IDM_FLIPUD: enabled(selection); break;
    case IDM_PASTE: enabled(CanPasteBlock()); break;
    case IDM_TEXTINPUT: enabled(true); break;
    case IDM_ANIMSTART:
    case IDM_FRAMECANCELALL:
    case IDM_FRAMESSAVE: enabled(framesPlayable); break;
    case IDM_FRAMESLOAD: enabled(!gPlayer.open); break;
    case IDM_EXPORTGIF:
    case IDM_EXPORTMZFANIM: enabled(AnyFrameDefined()); break;
    case IDM_EXPORTCLEARMARKS: checked(gExportChoice.clearMarks); break;
    case IDM_MARKTRANSPARENT: checked(gMarks.MarkIsTransparent); break;
    case IDM_GRID: checked(gView.ShowGrid); break;
    case IDM_SHOWFRAMES: checked(gView.ShowFrames); break;
    case IDM_SHOWOVERLAY: checked(gView.ShowOverlay); break;
    case IDM_STATUSBAR: checked(gView.ShowStatusBar); break;
    case IDM_MARKBIT3:
        enabled(true);
        checked(gMarks.MarkBit3);
        break;
    case IDM_MARKDISPC0: checked(gMarks.MarkDispc0); break;
    case IDM_AUXPALETTE: checked(gPen.page == 1); break;
    case IDM_SEMIGRAPHIC: checked(gTool.semigraphicMode & kSemigraphicOn); break;
    default: break;
    }
    return m;
}

void AcceptText(const std::string& shiftJis, bool vertical)
{
    KeepText(shiftJis, vertical);
    ConvertText();
    gHost.invalidateCanvas();
}

CommandAnswer PlaceConvertedPicture(OverlayPicture&& picture, const ConvertOptions& options, bool asOverlay)
{
    ConvertedScreen screen;
    ConvertPicture(picture.pixels.data(), picture.width, picture.height, options, screen);
    PlaceConvertedScreen(screen);
    if (!asOverlay) return {};
    gOverlay = std::move(picture);
    gHost.redrawOverlay();
    return ShowLoadedOverlay();
}

CommandAnswer AcceptFramesFile(const char* text, size_t size)
{
    Frame frames[kFrameCount];
    FramesFileProblem problem;
    if (gPlayer.open) return {};
    if (!ReadFramesFile(text, size, frames, &problem)) return AskFor(Ask::DamagedFrames, problem.line);
    ReplaceFrames(frames);
    return RepaintPanel();  // as for any change of the frames
}

CommandAnswer ShowLoadedOverlay()
{
    if (gView.ShowOverlay) return RepaintPanel();
    gView.ShowOverlay = 1;
    gHost.invalidateCanvas();
    return {};
}

AnimationExport MakeAnimationMzf(const std::string& name)
{
    AnimationExport made = {"", 0, PlayerInterval()};
    switch (AnimationMzfImage(name, made.delay, gExportChoice.clearMarks, made.bytes)) {
    case AnimationRefusal::None: break;
    case AnimationRefusal::NoFrames: made.refusal = IDS_ANIM_NO_FRAMES; break;
    case AnimationRefusal::DelayTooShort:
    case AnimationRefusal::DelayTooLong: made.refusal = IDS_ANIM_DELAY; break;
    }
    return made;
}
