#include "shell/commands_win32.h"

#include <cstring>
#include <string>

#include "app/edit_commands.h"
#include "app/pointer.h"
#include "anim/frames.h"
#include "app/recent_files.h"
#include "io/clipboard.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/text_input.h"
#include "screen/undo.h"
#include "shell/base/modal_win32.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/export_win32.h"
#include "shell/overlay_win32.h"
#include "shell/panel_win32.h"
#include "shell/player_win32.h"
#include "shell/window_win32.h"

namespace {

void OpenRecent(int position)
{
    if (!DiscardPrompt(gShell.main)) return;
    const char* entry = LookUpRecentFile(position);
    if (!entry) {
        ShowMessage(gShell.main, L"Cannot find recent filename???", L"Error", MB_OK);
        return;
    }
    SetDocumentPath(Widen(entry));
    gDocument.fileType = kBriselFileType;
    Load();
}

void SetZoom(int zoom)
{
    const int previous = Zoom;
    Zoom = zoom;
    if (RebuildView(gShell.main)) {
        if (Zoom != 0) ZoomRatio = Zoom;
    } else {  // not enough memory for the larger view: stay where we were
        Zoom = previous;
        if (!RebuildView(gShell.main)) ShowMessage(gShell.main, L"画面用のメモリが足りません", L"Error", MB_OK);
    }
    ResizeToLayout();
    DrawBlockImage();  // the scratch area was made anew
    RedrawCanvas();
    InvalidateRect(gShell.main, nullptr, FALSE);
}

void InvalidatePanel() { InvalidateRect(gShell.main, nullptr, FALSE); }

// Command handlers, each given the command ID.
void OpenCommand(int)
{
    if (DiscardPrompt(gShell.main)) Open(gShell.main);
}
void SaveCommand(int)
{
    DropAndDeselect();
    Save(gShell.main, !gDocument.path.empty());
}
void SaveAsCommand(int)
{
    DropAndDeselect();
    Save(gShell.main, false);
}
void ExitCommand(int) { SendMessageW(gShell.main, WM_CLOSE, 0, 0); }
static_assert(static_cast<int>(ExportFormat::Png) == IDM_EXPORTPNG - IDM_EXPORTMZF, "one export item per format");
void ExportCommand(int id)
{
    DropAndDeselect();  // as for saving: the picture as it will stay
    ExportScreen(gShell.main, static_cast<ExportFormat>(id - IDM_EXPORTMZF));
}
void ExportMarksCommand(int) { gExportClearsMarks = !gExportClearsMarks; }
// A picture becomes the screen, in one undo group; the original may stay
// over it as the overlay, to refine the result by hand.
void ConvertPictureCommand(int)
{
    static std::wstring last;  // the dialog reopens on the last picture
    DropAndDeselect();
    FileChoice file = {last, 0};
    if (!ChooseFile(gShell.main, FileDialog::ConvertPicture, file)) return;
    last = file.path;
    OverlayPicture picture;
    if (!DecodePictureFile(file.path, picture)) {
        ShowMessage(gShell.main, file.path + L" が開けません", L"Vexa: Error", MB_OK);
        return;
    }
    ConvertChoice choice;
    if (!AskConvertOptions(gShell.main, picture, choice)) return;
    ConvertedScreen screen;
    ConvertPicture(picture.pixels.data(), picture.width, picture.height, choice.options, screen);
    PlaceConvertedScreen(screen);
    if (!choice.asOverlay) return;
    gOverlay = std::move(picture);
    RedrawOverlay();
    if (ShowOverlay)
        InvalidatePanel();
    else
        ToggleOverlay();
}
void RecentCommand(int id) { OpenRecent(id - IDM_RECENT1); }
void UndoCommand(int) { UndoEdit(); }
void RedoCommand(int)
{
    Redo();
    InvalidateCanvas();
}
void CutCommand(int) { CutBlock(); }
void CopyCommand(int) { CopyBlock(); }
void PasteCommand(int) { PasteBlock(); }
void CopyImageCommand(int) { CopyBlockAsImage(); }
void MarkTransparentCommand(int) { ToggleMarksTransparent(); }
void SelectAllCommand(int) { SelectAll(); }
void FillCommand(int) { FillSelectionWithPen(); }
void FlipCommand(int id) { FlipBlock(id == IDM_FLIPLR); }
void ShiftCommand(int id) { ShiftBlockHalfCell(id - IDM_SHIFTLEFT); }
// The typed text floats like a pasted block. The selection stays when the
// dialog is cancelled or nothing is typed.
void TextInputCommand(int)
{
    DropBlock();
    UseSelectionTool();
    TextEntry entry = {FromShiftJis(gTextInput.text), gTextInput.vertical};
    if (AskForText(gShell.main, entry)) {
        KeepText(ToShiftJis(entry.text), entry.vertical);
        ConvertText();
    }
    InvalidateCanvas();
}
// The floating block's picture carries the grid and the marks as the canvas
// does: view changes draw it again.
void GridCommand(int)
{
    ShowGrid = !ShowGrid;
    DrawGridFrame();
    DrawBlockImage();
    RedrawCanvas();
}
void GridShapeCommand(int id)
{
    GridType = id - IDM_GRIDDOT;
    DrawPanel();
    DrawBlockImage();
    RedrawCanvas();
    InvalidatePanel();
}
void ZoomCommand(int id) { SetZoom(id - IDM_ZOOM1); }
void ZoomToggleCommand(int) { SetZoom(Zoom != 0 ? 0 : ZoomRatio); }
void FramesCommand(int)
{
    ShowFrames = !ShowFrames;
    InvalidatePanel();
}
void StatusBarCommand(int)
{
    ShowStatusBar = !ShowStatusBar;
    ShowWindow(gShell.statusBar, ShowStatusBar ? SW_SHOW : SW_HIDE);
    ResizeToLayout();
}
void MarkBit3Command(int)
{
    MarkBit3 = !MarkBit3;
    DrawBlockImage();
    RedrawCanvas();
    if (!MarkBit3 && gPointer.tool == IDT_MARK) SwitchTool(IDT_PEN);
}
void MarkDispc0Command(int)
{
    MarkDispc0 = !MarkDispc0;
    DrawBlockImage();
    DrawPalette();  // the palette's blank entries carry the mark too
    RedrawCanvas();
    InvalidatePalette();
}
void PalettePageCommand(int) { TogglePalettePage(); }
void SemigraphicCommand(int) { gSemigraphicMode = (gSemigraphicMode ^ kSemigraphicOn) & kSemigraphicOn; }
void AboutCommand(int) { ShowMessage(gShell.main, L"Vexa v0.23\n\tby Orlen", L"About", MB_OK); }
void ToolCommand(int id) { SwitchTool(id); }
void MarkerToolCommand(int)
{
    SwitchTool(IDT_MARK);
    gBit3Choice = kBit3Clears;
    if (!MarkBit3) {
        MarkBit3 = 1;
        RedrawCanvas();
    }
}
void ForegroundCommand(int id) { SetForeground(id - IDT_FG0); }
void BackgroundCommand(int id) { SetBackground(id - IDT_BG0); }
void SwapCommand(int) { SwapPenColours(); }
// The grayed placeholder of the recent-file popup.
void Nothing(int) {}
void LoadOverlayCommand(int)
{
    if (!LoadOverlayBitmap(gShell.main)) return;
    if (ShowOverlay)
        InvalidatePanel();
    else
        ToggleOverlay();
}
void ShowOverlayCommand(int) { ToggleOverlay(); }
// A frame's number may reach past the canvas's right edge: the whole panel
// is repainted when frames change or their outlines are switched.
void FrameCommand(int id)
{
    SetOrCancelFrame(id - IDM_FRAME1);
    InvalidatePanel();
}
void CancelFramesCommand(int)
{
    CancelAllFrames();
    InvalidatePanel();
}
void AnimationCommand(int)
{
    if (!gPlayer.open) OpenPlayer(gShell.main);
}

// Enabled and checked rules, computed again whenever a popup opens.
bool Always(int) { return true; }
bool RedoAvailable(int) { return CanRedo(); }
bool UndoOrBlockAvailable(int) { return BlockFloats() || CanUndo(); }
bool HasSelection(int) { return gSelection.active; }
bool HasSelectionOrBlock(int) { return gSelection.active || BlockFloats(); }
bool PasteAvailable(int) { return CanPasteBlock(); }
// While the player runs, the frames cannot change.
bool FramesPlayable(int) { return AnyFrameDefined() && !gPlayer.open; }
bool FrameSettable(int id)
{
    return !gPlayer.open && (FrameDefined(id - IDM_FRAME1) || SelectionCanBeFrame());
}
bool GridShown() { return ShowGrid != 0; }
bool ExportClearsMarks() { return gExportClearsMarks; }
bool FramesShown() { return ShowFrames != 0; }
bool OverlayShown() { return ShowOverlay != 0; }
bool StatusBarShown() { return ShowStatusBar != 0; }
bool Bit3Marked() { return MarkBit3 != 0; }
bool Code0Marked() { return MarkDispc0 != 0; }
bool MarksTransparent() { return MarkIsTransparent != 0; }
bool AuxiliaryPage() { return gPen.page == 1; }
bool SemigraphicOn() { return (gSemigraphicMode & kSemigraphicOn) != 0; }

// One row per command, or per run of commands that share a handler: what it
// does, the rules the menu refresh applies to its item (nullptr leaves that
// state as it is; radio rows check the item whose ID `selected` gives), and
// the toolbar button and keys that run it too.
struct CommandRow {
    int first;
    int last;
    void (*run)(int id);
    bool (*enabled)(int id);
    bool (*checked)();
    int (*selected)();
    int button = 0;             // a toolbar button that does the same
    const char* keys = nullptr;  // characters: for a run, the i-th runs first + i
    UINT key = 0;               // a virtual key, with Ctrl held exactly when `ctrl`
    bool ctrl = false;
};

int SelectedGridShape() { return IDM_GRIDDOT + GridType; }
int SelectedZoom() { return IDM_ZOOM1 + Zoom; }

const CommandRow kCommands[] = {
    {IDM_OPEN, IDM_OPEN, OpenCommand, nullptr, nullptr, nullptr},
    {IDM_SAVE, IDM_SAVE, SaveCommand, nullptr, nullptr, nullptr, IDT_SAVE},
    {IDM_SAVEAS, IDM_SAVEAS, SaveAsCommand, nullptr, nullptr, nullptr},
    {IDM_EXIT, IDM_EXIT, ExitCommand, nullptr, nullptr, nullptr},
    {IDM_EXPORTMZF, IDM_EXPORTPNG, ExportCommand, nullptr, nullptr, nullptr},
    {IDM_EXPORTCLEARMARKS, IDM_EXPORTCLEARMARKS, ExportMarksCommand, nullptr, ExportClearsMarks, nullptr},
    {IDM_CONVERTPICTURE, IDM_CONVERTPICTURE, ConvertPictureCommand, nullptr, nullptr, nullptr},
    {IDM_LOADOVERLAY, IDM_LOADOVERLAY, LoadOverlayCommand, nullptr, nullptr, nullptr},
    {IDM_RECENT_NONE, IDM_RECENT_NONE, Nothing, nullptr, nullptr, nullptr},
    {IDM_RECENT1, IDM_RECENT9, RecentCommand, nullptr, nullptr, nullptr},
    {IDM_UNDO, IDM_UNDO, UndoCommand, UndoOrBlockAvailable, nullptr, nullptr},
    {IDM_REDO, IDM_REDO, RedoCommand, RedoAvailable, nullptr, nullptr},
    {IDM_CUT, IDM_CUT, CutCommand, HasSelection, nullptr, nullptr},
    {IDM_COPY, IDM_COPY, CopyCommand, HasSelection, nullptr, nullptr},
    {IDM_PASTE, IDM_PASTE, PasteCommand, PasteAvailable, nullptr, nullptr},
    {IDM_COPYIMAGE, IDM_COPYIMAGE, CopyImageCommand, HasSelection, nullptr, nullptr},
    {IDM_MARKTRANSPARENT, IDM_MARKTRANSPARENT, MarkTransparentCommand, nullptr, MarksTransparent, nullptr},
    {IDM_SELECTALL, IDM_SELECTALL, SelectAllCommand, nullptr, nullptr, nullptr},
    {IDM_FILL, IDM_FILL, FillCommand, HasSelection, nullptr, nullptr},
    {IDM_FLIPLR, IDM_FLIPUD, FlipCommand, HasSelection, nullptr, nullptr},
    {IDM_TEXTINPUT, IDM_TEXTINPUT, TextInputCommand, Always, nullptr, nullptr},
    {IDM_GRID, IDM_GRID, GridCommand, nullptr, GridShown, nullptr},
    {IDM_GRIDDOT, IDM_GRIDCROSS, GridShapeCommand, nullptr, nullptr, SelectedGridShape},
    {IDM_ZOOM1, IDM_ZOOM8, ZoomCommand, nullptr, nullptr, SelectedZoom},
    {IDM_ZOOMTOGGLE, IDM_ZOOMTOGGLE, ZoomToggleCommand, nullptr, nullptr, nullptr},
    {IDM_SHOWFRAMES, IDM_SHOWFRAMES, FramesCommand, nullptr, FramesShown, nullptr},
    {IDM_SHOWOVERLAY, IDM_SHOWOVERLAY, ShowOverlayCommand, nullptr, OverlayShown, nullptr},
    {IDM_STATUSBAR, IDM_STATUSBAR, StatusBarCommand, nullptr, StatusBarShown, nullptr},
    {IDM_MARKBIT3, IDM_MARKBIT3, MarkBit3Command, Always, Bit3Marked, nullptr, 0, nullptr, VK_F9},
    {IDM_MARKDISPC0, IDM_MARKDISPC0, MarkDispc0Command, nullptr, Code0Marked, nullptr, 0, nullptr, VK_F11},
    {IDM_AUXPALETTE, IDM_AUXPALETTE, PalettePageCommand, nullptr, AuxiliaryPage, nullptr, 0, " "},
    {IDM_ANIMSTART, IDM_ANIMSTART, AnimationCommand, FramesPlayable, nullptr, nullptr},
    {IDM_FRAME1, IDM_FRAME9, FrameCommand, FrameSettable, nullptr, nullptr},
    {IDM_FRAMECANCELALL, IDM_FRAMECANCELALL, CancelFramesCommand, FramesPlayable, nullptr, nullptr},
    {IDM_SEMIGRAPHIC, IDM_SEMIGRAPHIC, SemigraphicCommand, nullptr, SemigraphicOn, nullptr},
    {IDM_SHIFTLEFT, IDM_SHIFTLEFT, ShiftCommand, HasSelectionOrBlock, nullptr, nullptr, 0, nullptr, VK_LEFT, true},
    {IDM_SHIFTRIGHT, IDM_SHIFTRIGHT, ShiftCommand, HasSelectionOrBlock, nullptr, nullptr, 0, nullptr, VK_RIGHT, true},
    {IDM_SHIFTUP, IDM_SHIFTUP, ShiftCommand, HasSelectionOrBlock, nullptr, nullptr, 0, nullptr, VK_UP, true},
    {IDM_SHIFTDOWN, IDM_SHIFTDOWN, ShiftCommand, HasSelectionOrBlock, nullptr, nullptr, 0, nullptr, VK_DOWN, true},
    {IDM_ABOUT, IDM_ABOUT, AboutCommand, nullptr, nullptr, nullptr},
    {IDT_SELECT, IDT_SELECT, ToolCommand, nullptr, nullptr, nullptr, 0, "m\x1B"},
    {IDT_PEN, IDT_PEN, ToolCommand, nullptr, nullptr, nullptr, 0, "y"},
    {IDT_FILL, IDT_FILL, ToolCommand, nullptr, nullptr, nullptr, 0, "p"},
    {IDT_MARK, IDT_MARK, MarkerToolCommand, nullptr, nullptr, nullptr, 0, "9"},
    {IDT_FG0, IDT_FG7, ForegroundCommand, nullptr, nullptr, nullptr, 0, "81234567"},  // '8' is black
    {IDT_BG0, IDT_BG7, BackgroundCommand, nullptr, nullptr, nullptr, 0, "(!\"#$%&'"},  // '(' is black
    {IDT_SWAP, IDT_SWAP, SwapCommand, nullptr, nullptr, nullptr, 0, "x@"},
};

const CommandRow* FindCommand(int id)
{
    for (const CommandRow& row : kCommands)
        if ((id >= row.first && id <= row.last) || (row.button && id == row.button)) return &row;
    return nullptr;
}

void RebuildRecentPopup(HMENU popup)
{
    for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) DeleteMenu(popup, i, MF_BYPOSITION);
    if (!LookUpRecentFile(0)) {
        AppendMenuW(popup, MF_STRING | MF_GRAYED, IDM_RECENT_NONE, L"(なし)");
        return;
    }
    for (int p = 0; p < kRecentFiles && LookUpRecentFile(p); ++p) {
        const std::wstring text = L"&" + std::to_wstring(p + 1) + L": " + Widen(LookUpRecentFile(p));
        AppendMenuW(popup, MF_STRING, IDM_RECENT1 + p, text.c_str());
    }
}

}  // namespace

// The toolbar shows the tool, however it was chosen.
void OnToolChanged(int tool) { PressButton(tool); }

// The Pen's colours, cursor or page changed: buttons and palette follow.
void OnPenChanged(PenChange change)
{
    if (!gShell.main) return;
    if (change == PenChange::Colours) {
        PressButton(IDT_FG0 + gPen.foreground);
        PressButton(IDT_BG0 + gPen.background);
    }
    if (change != PenChange::Cursor) DrawPalette();
    InvalidatePalette();
}

bool HandleCommand(int id)
{
    const CommandRow* row = FindCommand(id);
    if (!row) return false;
    row->run(row->button == id ? row->first : id);
    return true;
}

bool HandleCommandChar(int character)
{
    if (character == 0) return false;
    for (const CommandRow& row : kCommands) {
        if (!row.keys) continue;
        const char* at = std::strchr(row.keys, character);
        if (!at) continue;
        row.run(row.first == row.last ? row.first : row.first + static_cast<int>(at - row.keys));
        return true;
    }
    return false;
}

bool HandleCommandKey(UINT key, bool ctrl)
{
    for (const CommandRow& row : kCommands)
        if (row.key && row.key == key && row.ctrl == ctrl) {
            row.run(row.first);
            return true;
        }
    return false;
}

void RefreshMenu(HMENU popup)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const int id = static_cast<int>(GetMenuItemID(popup, i));
        if (id >= IDM_RECENT_NONE && id <= IDM_RECENT9) {
            RebuildRecentPopup(popup);
            return;
        }
        if (id >= IDM_FRAME1 && id <= IDM_FRAME9) {
            const std::wstring text =
                std::to_wstring(id - IDM_FRAME1 + 1) + (FrameDefined(id - IDM_FRAME1) ? L"コマめをキャンセル" : L"コマめに設定");
            ModifyMenuW(popup, i, MF_BYPOSITION | MF_STRING, id, text.c_str());
        }
        const CommandRow* row = FindCommand(id);
        if (!row) continue;
        if (row->enabled) EnableMenuItem(popup, i, MF_BYPOSITION | (row->enabled(id) ? MF_ENABLED : MF_GRAYED));
        if (row->checked) CheckMenuItem(popup, i, MF_BYPOSITION | (row->checked() ? MF_CHECKED : MF_UNCHECKED));
        if (row->selected && row->selected() == id) CheckMenuRadioItem(popup, i, i, i, MF_BYPOSITION);
        if (row->selected && row->selected() != id) CheckMenuItem(popup, i, MF_BYPOSITION | MF_UNCHECKED);
    }
}

void HandleDroppedFiles(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    if (length > 0 && DragQueryFileW(drop, 0, &path[0], length + 1) == length && DiscardPrompt(gShell.main)) {
        path.resize(length);
        SetDocumentPath(path);
        gDocument.fileType = kBriselFileType;
        Load();
    }
    DragFinish(drop);
}
