#include "shell/base/modal_win32.h"

#include <commdlg.h>

#include <vector>

#include "res/resource.h"

namespace {

MessageAnswer gMessageAnswer = nullptr;
FileAnswer gFileAnswer = nullptr;
TextAnswer gTextAnswer = nullptr;
ConvertAnswer gConvertAnswer = nullptr;

// Pairs of description and pattern, ended by an empty pair.
const wchar_t kScreenFilter[] = L"Brisel形式 テキスト(*.txt)\0*.txt\0All files(*.*)\0*.*\0";
const wchar_t kConvertFilter[] =
    L"画像ファイル(*.png;*.jpg;*.jpeg;*.bmp;*.gif)\0*.png;*.jpg;*.jpeg;*.bmp;*.gif\0All files(*.*)\0*.*\0";
const wchar_t kPictureFilter[] =
    L"BMPファイル(*.BMP)\0*.bmp\0画像ファイル(*.bmp;*.png;*.jpg;*.jpeg;*.gif)\0*.bmp;*.png;*.jpg;*.jpeg;*.gif\0";
constexpr DWORD kPathChars = 32768;

struct ExportFilter {
    const wchar_t* filter;
    const wchar_t* extension;
};
// In the order of the export kinds.
const ExportFilter kExportFilters[] = {
    {L"MZFファイル(*.mzf)\0*.mzf\0", L"mzf"},
    {L"アセンブラソース(*.asm)\0*.asm\0", L"asm"},
    {L"VRAMイメージ(*.bin)\0*.bin\0", L"bin"},
    {L"PNG画像(*.png)\0*.png\0", L"png"},
};

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
        SendMessageW(edit, EM_SETSEL, 0, -1);
        RECT desktop, own;
        GetWindowRect(GetDesktopWindow(), &desktop);
        GetWindowRect(dialog, &own);
        const int w = own.right - own.left, h = own.bottom - own.top;
        SetWindowPos(dialog, nullptr, (desktop.right - desktop.left - w) / 2, (desktop.bottom - desktop.top - h) / 2, 0,
                     0, SWP_NOSIZE | SWP_NOZORDER);
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
    if (DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEXTINPUT), owner, TextDialogProc,
                        reinterpret_cast<LPARAM>(&typed)) != IDOK)
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
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kScreenFilter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathChars;
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    switch (kind) {
    case FileDialog::OpenScreen: ofn.lpstrTitle = L"Open File"; break;
    case FileDialog::SaveScreen:
        ofn.lpstrTitle = L"Save As";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        break;
    case FileDialog::OpenPicture:
        ofn.lpstrTitle = L"BMPファイルを開く";
        ofn.lpstrFilter = kPictureFilter;
        ofn.lpstrDefExt = L"bmp";
        break;
    case FileDialog::ConvertPicture:
        ofn.lpstrTitle = L"変換する画像を開く";
        ofn.lpstrFilter = kConvertFilter;
        break;
    case FileDialog::ExportMzf:
    case FileDialog::ExportAsm:
    case FileDialog::ExportBin:
    case FileDialog::ExportPng:
    case FileDialog::ExportMzfAnimation: {
        // The animation is an MZF too.
        const FileDialog format = kind == FileDialog::ExportMzfAnimation ? FileDialog::ExportMzf : kind;
        const ExportFilter& f = kExportFilters[static_cast<int>(format) - static_cast<int>(FileDialog::ExportMzf)];
        ofn.lpstrTitle = L"エクスポート";
        ofn.lpstrFilter = f.filter;
        ofn.lpstrDefExt = f.extension;
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        break;
    }
    }
    const bool saving = kind != FileDialog::OpenScreen && kind != FileDialog::OpenPicture && kind != FileDialog::ConvertPicture;
    const BOOL ok = saving ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    choice.path = file.data();
    choice.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
