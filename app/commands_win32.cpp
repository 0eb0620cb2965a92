// Menu, accelerator and toolbar commands, the menu refresh and dropped files.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/modal_win32.h"
#include "app/recent_files.h"
#include "app/shell_win32.h"
#include "app/text_win32.h"
#include "io/document_win32.h"
#include "render/font.h"
#include "render/palette_view.h"
#include "render/panel_win32.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/pen.h"
#include "screen/strokes.h"
#include "screen/undo.h"

namespace {

void SetCheck(int id, bool on)
{
    CheckMenuItem(GetMenu(gShell.main), id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Flip(int32_t& setting, int id)
{
    setting = !setting;
    SetCheck(id, setting != 0);
}

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
    if (Zoom != 0) ZoomRatio = Zoom;
    if (!RebuildView(gShell.main)) {  // not enough memory for the larger view
        Zoom = previous;
        RebuildView(gShell.main);
    }
    CheckMenuRadioItem(GetMenu(gShell.main), IDM_ZOOM1, IDM_ZOOM8, IDM_ZOOM1 + Zoom, MF_BYCOMMAND);
    ResizeToLayout();
    RedrawCanvas();
    InvalidateRect(gShell.main, nullptr, FALSE);
}

void InvalidatePanel() { InvalidateRect(gShell.main, nullptr, FALSE); }

void SaveDocument(bool overwrite) { Save(gShell.main, overwrite); }

void SetColour(int id)
{
    if (id >= IDT_BG0)
        SetBackground(id - IDT_BG0);
    else
        SetForeground(id - IDT_FG0);
}

void ChooseMarkerTool()
{
    gShell.tool = IDT_MARK;
    gBit3Choice = kBit3Clears;
    gShell.hoverZone = 0;
    if (!MarkBit3) {
        MarkBit3 = 1;
        RedrawCanvas();
    }
}

}  // namespace

void SwitchTool(int tool)
{
    gShell.tool = tool;
    gShell.hoverZone = 0;
}

// The Pen's colours, cursor or page changed: buttons, menu and palette follow.
void OnPenChanged(PenChange change)
{
    if (!gShell.main) return;
    if (change == PenChange::Colours) {
        PressButton(IDT_FG0 + gPen.foreground);
        PressButton(IDT_BG0 + gPen.background);
    }
    if (change == PenChange::Page) SetCheck(IDM_AUXPALETTE, gPen.page == 1);
    if (change != PenChange::Cursor) DrawPalette();
    InvalidatePalette();
}

bool HandleCommand(int id)
{
    HWND main = gShell.main;
    switch (id) {
    case IDM_OPEN:
        if (DiscardPrompt(main)) Open(main);
        return true;
    case IDM_SAVE:
    case IDT_SAVE:
        SaveDocument(!gDocument.path.empty());
        return true;
    case IDM_SAVEAS:
        SaveDocument(false);
        return true;
    case IDM_EXIT:
        SendMessageW(main, WM_CLOSE, 0, 0);
        return true;
    case IDM_RECENT_NONE:
        return true;
    case IDM_UNDO:
        Undo();
        InvalidateCanvas();
        return true;
    case IDM_REDO:
        Redo();
        InvalidateCanvas();
        return true;
    case IDM_MARKTRANSPARENT:
        Flip(MarkIsTransparent, IDM_MARKTRANSPARENT);
        InvalidateCanvas();
        return true;
    case IDM_GRID:
        Flip(ShowGrid, IDM_GRID);
        DrawGridFrame();
        RedrawCanvas();
        InvalidatePanel();
        return true;
    case IDM_GRIDDOT:
    case IDM_GRIDCROSS:
        GridType = id - IDM_GRIDDOT;
        CheckMenuRadioItem(GetMenu(main), IDM_GRIDDOT, IDM_GRIDCROSS, id, MF_BYCOMMAND);
        DrawPanel();
        RedrawCanvas();
        InvalidatePanel();
        return true;
    case IDM_ZOOMTOGGLE:
        SetZoom(Zoom != 0 ? 0 : ZoomRatio);
        return true;
    case IDM_SHOWFRAMES:
        Flip(ShowFrames, IDM_SHOWFRAMES);
        InvalidateCanvas();
        return true;
    case IDM_STATUSBAR:
        Flip(ShowStatusBar, IDM_STATUSBAR);
        ShowWindow(gShell.statusBar, ShowStatusBar ? SW_SHOW : SW_HIDE);
        ResizeToLayout();
        return true;
    case IDM_MARKBIT3:
        MarkBit3 = !MarkBit3;
        RedrawCanvas();
        if (!MarkBit3 && gShell.tool == IDT_MARK) {
            PressButton(IDT_PEN);
            SwitchTool(IDT_PEN);
        }
        return true;
    case IDM_MARKDISPC0:
        Flip(MarkDispc0, IDM_MARKDISPC0);
        DrawPalette();  // the palette's blank entries carry the mark too
        RedrawCanvas();
        InvalidatePalette();
        return true;
    case IDM_AUXPALETTE:
        TogglePalettePage();
        return true;
    case IDM_SEMIGRAPHIC:
        gSemigraphicMode = (gSemigraphicMode ^ kSemigraphicOn) & kSemigraphicOn;
        SetCheck(IDM_SEMIGRAPHIC, gSemigraphicMode & kSemigraphicOn);
        return true;
    case IDM_ABOUT:
        ShowMessage(main, L"Vexa v0.23\n\tby Orlen", L"About", MB_OK);
        return true;
    case IDT_SELECT:
    case IDT_PEN:
    case IDT_FILL:
        SwitchTool(id);
        return true;
    case IDT_MARK:
        ChooseMarkerTool();
        return true;
    case IDT_SWAP:
        SwapPenColours();
        return true;
    default:
        break;
    }
    if (id >= IDM_RECENT1 && id <= IDM_RECENT9) {
        OpenRecent(id - IDM_RECENT1);
        return true;
    }
    if (id >= IDM_ZOOM1 && id <= IDM_ZOOM8) {
        SetZoom(id - IDM_ZOOM1);
        return true;
    }
    if (id >= IDT_FG0 && id <= IDT_BG7) {
        SetColour(id);
        return true;
    }
    // Commands whose operations arrive later (selection, clipboard, fill of
    // the selection, text, animation, overlay, half-cell shifts) stay grayed
    // or do nothing for now.
    return id >= IDM_OPEN && id <= IDT_MARK;
}

namespace {

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

void Enable(HMENU popup, int position, bool on)
{
    EnableMenuItem(popup, position, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void RefreshMenu(HMENU popup)
{
    const bool selection = false;  // selections arrive with the block operations
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const int id = static_cast<int>(GetMenuItemID(popup, i));
        if (id >= IDM_RECENT_NONE && id <= IDM_RECENT9) {
            RebuildRecentPopup(popup);
            return;
        }
        switch (id) {
        case IDM_UNDO: Enable(popup, i, CanUndo()); break;
        case IDM_REDO: Enable(popup, i, CanRedo()); break;
        case IDM_CUT:
        case IDM_COPY:
        case IDM_FILL:
        case IDM_COPYIMAGE:
        case IDM_FLIPLR:
        case IDM_FLIPUD:
        case IDM_SHIFTLEFT:
        case IDM_SHIFTRIGHT:
        case IDM_SHIFTUP:
        case IDM_SHIFTDOWN: Enable(popup, i, selection); break;
        case IDM_PASTE: Enable(popup, i, false); break;
        case IDM_MARKBIT3:
            Enable(popup, i, true);
            CheckMenuItem(popup, i, MF_BYPOSITION | (MarkBit3 ? MF_CHECKED : MF_UNCHECKED));
            break;
        case IDM_ANIMSTART:
        case IDM_FRAMECANCELALL: Enable(popup, i, false); break;
        default:
            if (id >= IDM_FRAME1 && id <= IDM_FRAME9) {
                const std::wstring text = std::to_wstring(id - IDM_FRAME1 + 1) + L"コマめに設定";
                ModifyMenuW(popup, i, MF_BYPOSITION | MF_STRING, id, text.c_str());
                Enable(popup, i, selection);
            }
            break;
        }
    }
}

void HandleDroppedFiles(HDROP drop)
{
    wchar_t path[MAX_PATH];
    if (DragQueryFileW(drop, 0, path, MAX_PATH) && DiscardPrompt(gShell.main)) {
        SetDocumentPath(path);
        gDocument.fileType = kBriselFileType;
        Load();
    }
    DragFinish(drop);
}
