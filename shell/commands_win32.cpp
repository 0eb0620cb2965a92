#include "shell/commands_win32.h"

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/pointer.h"
#include "anim/frames.h"
#include "app/recent_files.h"
#include "io/frames_file.h"
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
#include "shell/base/language_win32.h"
#include "shell/base/modal_win32.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/export_win32.h"
#include "shell/overlay_win32.h"
#include "shell/panel_win32.h"
#include "shell/player_win32.h"
#include "shell/safe_file_win32.h"
#include "shell/window_win32.h"

namespace {

void CarryOut(const CommandAnswer& answer);

void OpenRecent(int position)
{
    if (!DiscardPrompt(gShell.main)) return;
    const char* entry = LookUpRecentFile(position);
    if (!entry) {
        ShowMessage(gShell.main, LoadText(IDS_NO_RECENT_FILE), LoadText(IDS_PLAIN_ERROR), MB_OK);
        return;
    }
    SetDocumentPath(Widen(entry));
    gDocumentFile.fileType = kBriselFileType;
    Load();
}

void InvalidatePanel() { InvalidateRect(gShell.main, nullptr, FALSE); }

// A picture becomes the screen; the original may stay over it as the overlay.
void ConvertPictureFile()
{
    static std::wstring last;  // the dialog reopens on the last picture
    FileChoice file = {last, 0};
    if (!ChooseFile(gShell.main, FileDialog::ConvertPicture, file)) return;
    last = file.path;
    OverlayPicture picture;
    if (!DecodePictureFile(file.path, picture)) {
        ShowMessage(gShell.main, LoadText(IDS_CANNOT_OPEN, file.path), LoadText(IDS_ERROR_CAPTION), MB_OK);
        return;
    }
    ConvertChoice choice;
    if (!AskConvertOptions(gShell.main, picture, choice)) return;
    CarryOut(PlaceConvertedPicture(std::move(picture), choice.options, choice.asOverlay));
}

// Frames files: the dialogs start from the last one used; saving proposes
// the screen's own name first.
std::wstring gLastFramesFile;

void SaveFramesFile()
{
    const std::wstring proposed = DocumentPathWith(L".vxf");
    FileChoice file = {proposed.empty() ? gLastFramesFile : proposed, 0};
    if (!ChooseFile(gShell.main, FileDialog::SaveFrames, file)) return;
    gLastFramesFile = file.path;
    if (WriteFileSafely(file.path, FramesFileText(gFrames)) != SafeWriteResult::Written)
        ShowMessage(gShell.main, LoadText(IDS_CANNOT_SAVE, file.path), LoadText(IDS_ERROR_CAPTION), MB_OK);
}

void LoadFramesFile()
{
    FileChoice file = {gLastFramesFile.empty() ? DocumentPathWith(L".vxf") : gLastFramesFile, 0};
    if (!ChooseFile(gShell.main, FileDialog::OpenFrames, file)) return;
    gLastFramesFile = file.path;
    std::vector<uint8_t> text;
    if (!ReadFileBytes(file.path, kFramesFileReadLimit, LongerFile::Refuse, text)) {
        ShowMessage(gShell.main, LoadText(IDS_CANNOT_OPEN, file.path), LoadText(IDS_ERROR_CAPTION), MB_OK);
        return;
    }
    CarryOut(AcceptFramesFile(reinterpret_cast<const char*>(text.data()), text.size()));
}

void AskForText()
{
    TextEntry entry = {FromShiftJis(gTextInput.text), gTextInput.vertical};
    if (AskForText(gShell.main, entry)) AcceptText(ToShiftJis(entry.text), entry.vertical);
}

void RebuildRecentPopup(HMENU popup)
{
    for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) DeleteMenu(popup, i, MF_BYPOSITION);
    if (!LookUpRecentFile(0)) {
        AppendMenuW(popup, MF_STRING | MF_GRAYED, IDM_RECENT_NONE, LoadText(IDS_NO_RECENT).c_str());
        return;
    }
    for (int p = 0; p < kRecentFiles && LookUpRecentFile(p); ++p) {
        const std::wstring text = L"&" + std::to_wstring(p + 1) + L": " + Widen(LookUpRecentFile(p));
        AppendMenuW(popup, MF_STRING, IDM_RECENT1 + p, text.c_str());
    }
}

void CarryOut(const CommandAnswer& a)
{
    if (a.relayout) {
        ShowWindow(gShell.statusBar, gView.ShowStatusBar ? SW_SHOW : SW_HIDE);
        ResizeToLayout();
    }
    if (a.relanguage) ApplyLanguage();
    if (a.repaintPanel) InvalidatePanel();
    if (a.repaintPalette) InvalidatePalette();
    switch (a.ask) {
    case Ask::Nothing: break;
    case Ask::OpenFile:
        if (DiscardPrompt(gShell.main)) Open(gShell.main);
        break;
    case Ask::SaveFile: Save(gShell.main, !gDocumentFile.path.empty()); break;
    case Ask::SaveFileAs: Save(gShell.main, false); break;
    case Ask::Export: ExportScreen(gShell.main, static_cast<ExportFormat>(a.detail)); break;
    case Ask::ExportAnimation: ExportAnimationMzf(gShell.main); break;
    case Ask::ConvertPicture: ConvertPictureFile(); break;
    case Ask::OverlayFile:
        if (LoadOverlayBitmap(gShell.main)) CarryOut(ShowLoadedOverlay());
        break;
    case Ask::Text: AskForText(); break;
    case Ask::OpenRecent: OpenRecent(a.detail); break;
    case Ask::Close: SendMessageW(gShell.main, WM_CLOSE, 0, 0); break;
    case Ask::Player: OpenPlayer(gShell.main); break;
    case Ask::SaveFrames: SaveFramesFile(); break;
    case Ask::LoadFrames: LoadFramesFile(); break;
    case Ask::DamagedFrames:
        ShowMessage(gShell.main, LoadText(IDS_FRAMES_DAMAGED, std::to_wstring(a.detail)), LoadText(IDS_ERROR_CAPTION),
                    MB_OK);
        break;
    case Ask::About: ShowMessage(gShell.main, LoadText(IDS_ABOUT), LoadText(IDS_ABOUT_CAPTION), MB_OK); break;
    case Ask::NoMemoryForView:
        ShowMessage(gShell.main, LoadText(IDS_NO_VIEW_MEMORY), LoadText(IDS_PLAIN_ERROR), MB_OK);
        break;
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
    if (!IsCommand(id)) return false;
    CarryOut(RunCommand(id));
    RefreshStatusHint();
    return true;
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
            const std::wstring text = LoadText(FrameDefined(id - IDM_FRAME1) ? IDS_FRAME_CANCEL : IDS_FRAME_SET,
                                               std::to_wstring(id - IDM_FRAME1 + 1));
            ModifyMenuW(popup, i, MF_BYPOSITION | MF_STRING, id, text.c_str());
        }
        if (!IsCommand(id)) continue;
        const MenuState m = MenuStateOf(id);
        if (m.enabled) EnableMenuItem(popup, i, MF_BYPOSITION | (*m.enabled ? MF_ENABLED : MF_GRAYED));
        if (m.checked && *m.checked && m.radio)
            CheckMenuRadioItem(popup, i, i, i, MF_BYPOSITION);
        else if (m.checked)
            CheckMenuItem(popup, i, MF_BYPOSITION | (*m.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void HandleDroppedFiles(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    if (length > 0 && DragQueryFileW(drop, 0, &path[0], length + 1) == length && DiscardPrompt(gShell.main)) {
        path.resize(length);
        SetDocumentPath(path);
        gDocumentFile.fileType = kBriselFileType;
        Load();
    }
    DragFinish(drop);
}
