#include "shell/base/modal_win32.h"

#include <commdlg.h>

#include <vector>

namespace {

MessageAnswer gMessageAnswer = nullptr;
FileAnswer gFileAnswer = nullptr;

// Pairs of description and pattern, ended by an empty pair.
const wchar_t kFilter[] = L"Brisel形式 テキスト(*.txt)\0*.txt\0All files(*.*)\0*.*\0";
constexpr DWORD kPathChars = 32768;

}  // namespace

void AnswerModalsWith(MessageAnswer message, FileAnswer file)
{
    gMessageAnswer = message;
    gFileAnswer = file;
}

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (gMessageAnswer) return gMessageAnswer(text, caption, type);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool ChooseFile(HWND owner, bool save, FileChoice& choice)
{
    if (gFileAnswer) return gFileAnswer(save, choice);
    std::vector<wchar_t> file(kPathChars, L'\0');
    choice.path.copy(file.data(), std::min<size_t>(choice.path.size(), kPathChars - 1));
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathChars;
    ofn.lpstrDefExt = L"txt";
    if (save) {
        ofn.lpstrTitle = L"Save As";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    } else {
        ofn.lpstrTitle = L"Open File";
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    }
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;
    choice.path = file.data();
    choice.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
