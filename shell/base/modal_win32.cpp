#include "shell/base/modal_win32.h"

#include <commdlg.h>

#include <vector>

#include "res/resource.h"
#include "shell/base/dialog_win32.h"
#include "shell/base/language_win32.h"

namespace {

MessageAnswer gMessageAnswer = nullptr;
FileAnswer gFileAnswer = nullptr;
TextAnswer gTextAnswer = nullptr;
ConvertAnswer gConvertAnswer = nullptr;

constexpr DWORD kPathChars = 32768;

struct ExportFilter {
    int filter;
    const wchar_t* extension;
};
// In the order of the export kinds.
const ExportFilter kExportFilters[] = {
    {IDS_MZF_FILTER, L"mzf"},
    {IDS_ASM_FILTER, L"asm"},
    {IDS_BIN_FILTER, L"bin"},
    {IDS_PNG_FILTER, L"png"},
    {IDS_GIF_FILTER, L"gif"},
};

// A filter of the string table, its description and pattern pairs kept
// apart by "|", as the dialog takes it: each ended by a zero, and one more.
std::wstring Filter(int id)
{
    std::wstring filter = LoadText(id) + L'|';
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    return filter + L'\0';
}

WNDPROC gEditProc = nullptr;  // the edit control's own procedure

// Ctrl+Return presses OK, while Return alone still breaks the line. It
// arrives as a line feed with Return held; Ctrl+J, a line feed too, still
// breaks the line.
LRESULT CALLBACK TextEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && wParam == L'\n' && GetKeyState(VK_RETURN) < 0) {
        HWND dialog = GetParent(edit);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return 0;
    }
    return CallWindowProcW(gEditProc, edit, message, wParam, lParam);
}

// The text dialog: opens centred on the desktop with the kept text all
// selected and the edit control focused.
INT_PTR CALLBACK TextDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    TextEntry* entry = reinterpret_cast<TextEntry*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        entry = reinterpret_cast<TextEntry*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        CheckDlgButton(dialog, IDC_VERTICAL, entry->vertical ? BST_CHECKED : BST_UNCHECKED);
        HWND edit = GetDlgItem(dialog, IDC_TEXTEDIT);
        SetWindowTextW(edit, entry->text.c_str());
        gEditProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextEditProc)));
        SendMessageW(edit, EM_SETSEL, 0, -1);
        FitCheckBoxToText(GetDlgItem(dialog, IDC_VERTICAL));
        CentreOnDesktop(dialog);
        SetFocus(edit);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND edit = GetDlgItem(dialog, IDC_TEXTEDIT);
            std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
            entry->text = text;
            entry->vertical = IsDlgButtonChecked(dialog, IDC_VERTICAL) == BST_CHECKED;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void AnswerModalsWith(MessageAnswer message, FileAnswer file, TextAnswer text, ConvertAnswer convert)
{
    gMessageAnswer = message;
    gFileAnswer = file;
    gTextAnswer = text;
    gConvertAnswer = convert;
}

bool AskConvertOptions(HWND owner, const OverlayPicture& picture, ConvertChoice& choice)
{
    if (gConvertAnswer) return gConvertAnswer(choice);
    return RunConvertDialog(owner, picture, choice);
}

bool AskForText(HWND owner, TextEntry& entry)
{
    if (gTextAnswer) return gTextAnswer(entry);
    TextEntry typed = entry;
    if (InterfaceDialogBox(IDD_TEXTINPUT, owner, TextDialogProc, reinterpret_cast<LPARAM>(&typed)) != IDOK)
        return false;
    entry = typed;
    return true;
}

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (gMessageAnswer) return gMessageAnswer(text, caption, type);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool ChooseFile(HWND owner, FileDialog kind, FileChoice& choice)
{
    if (gFileAnswer) return gFileAnswer(kind, choice);
    std::vector<wchar_t> file(kPathChars, L'\0');
    choice.path.copy(file.data(), std::min<size_t>(choice.path.size(), kPathChars - 1));
    // Kept here while the dialog shows.
    std::wstring filter = Filter(IDS_SCREEN_FILTER), title = LoadText(IDS_OPEN_TITLE);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathChars;
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    switch (kind) {
    case FileDialog::OpenScreen: break;
    case FileDialog::SaveScreen:
        title = LoadText(IDS_SAVEAS_TITLE);
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        break;
    case FileDialog::OpenPicture:
        title = LoadText(IDS_OVERLAY_TITLE);
        filter = Filter(IDS_OVERLAY_FILTER);
        ofn.lpstrDefExt = L"bmp";
        break;
    case FileDialog::ConvertPicture:
        title = LoadText(IDS_CONVERT_TITLE);
        filter = Filter(IDS_CONVERT_FILTER);
        break;
    case FileDialog::ExportMzf:
    case FileDialog::ExportAsm:
    case FileDialog::ExportBin:
    case FileDialog::ExportPng:
    case FileDialog::ExportGif:
    case FileDialog::ExportMzfAnimation: {
        // The animation is an MZF too.
        const FileDialog format = kind == FileDialog::ExportMzfAnimation ? FileDialog::ExportMzf : kind;
        const ExportFilter& f = kExportFilters[static_cast<int>(format) - static_cast<int>(FileDialog::ExportMzf)];
        title = LoadText(IDS_EXPORT_TITLE);
        filter = Filter(f.filter);
        ofn.lpstrDefExt = f.extension;
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        break;
    }
    case FileDialog::SaveFrames:
    case FileDialog::OpenFrames:
        title = LoadText(kind == FileDialog::SaveFrames ? IDS_FRAMES_SAVE_TITLE : IDS_FRAMES_OPEN_TITLE);
        filter = Filter(IDS_FRAMES_FILTER);
        ofn.lpstrDefExt = L"vxf";  // three letters: the dialog appends no more
        if (kind == FileDialog::SaveFrames) ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        break;
    }
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrFilter = filter.c_str();
    const bool saving = kind != FileDialog::OpenScreen && kind != FileDialog::OpenPicture &&
                        kind != FileDialog::ConvertPicture && kind != FileDialog::OpenFrames;
    const BOOL ok = saving ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    choice.path = file.data();
    choice.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
