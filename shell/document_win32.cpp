#include "shell/document_win32.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "shell/base/language_win32.h"
#include "shell/base/modal_win32.h"
#include "app/document_files.h"
#include "app/recent_files.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/recovery_win32.h"
#include "shell/safe_file_win32.h"
#include "io/screen_file.h"
#include "io/title.h"
#include "screen/undo.h"

DocumentFile gDocumentFile;

namespace {

void AddToRecentFiles(const std::wstring& path) { AddRecentFile(Narrow(path.c_str()).c_str()); }

// A failed load: the document becomes untitled; its contents stay.
void FailureTail(const std::wstring& path)
{
    ForgetRecentFile(Narrow(path.c_str()).c_str());
    gDocumentFile.path.clear();
    gDocumentFile.name.clear();
    ForceModifiedReport();
    RefreshTitle(IsModified());
}

}  // namespace

void SetDocumentPath(const std::wstring& path)
{
    gDocumentFile.path = path;
    gDocumentFile.name = PathFindFileNameW(path.c_str());
}

std::wstring DocumentPathWith(const wchar_t* extension)
{
    std::wstring path = gDocumentFile.path;
    if (path.empty()) return path;
    const size_t dot = path.find_last_of(L'.'), slash = path.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.erase(dot);
    return path + extension;
}

void RefreshTitle(bool modified)
{
    if (!gShell.main) return;
    const std::string title =
        BuildTitle(Narrow(gDocumentFile.name.c_str()), modified, Narrow(LoadText(IDS_UNTITLED).c_str()));
    SetWindowTextW(gShell.main, Widen(title.c_str()).c_str());
}

// The undo history reports every change of the modified state here.
void OnModifiedStateChanged(bool modified) { RefreshTitle(modified); }

bool DiscardPrompt(HWND owner)
{
    if (!IsModified()) return true;
    if (ShowMessage(owner, LoadText(IDS_DISCARD), LoadText(IDS_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    DeleteRecoveryCopy();  // the changes were given up
    return true;
}

bool Load()
{
    const std::wstring path = gDocumentFile.path;
    // A bigger file is read only this far: nothing after it counts.
    std::vector<uint8_t> text;
    if (!ReadFileBytes(path, kScreenFileReadLimit, LongerFile::Cut, text)) {
        ShowMessage(gShell.main, LoadText(IDS_CANNOT_OPEN, path), LoadText(IDS_ERROR_CAPTION), MB_OK);
        FailureTail(path);
        return false;
    }
    // Every chosen file is read as a screen file, whatever filter the dialog
    // was left on: naming the document after a file that was not read would
    // let the next save empty it.
    if (!OpenScreenText(reinterpret_cast<const char*>(text.data()), text.size())) {
        ShowMessage(gShell.main, LoadText(IDS_NOT_BRISEL), LoadText(IDS_ERROR_CAPTION), MB_OK);
        FailureTail(path);
        return false;
    }
    AddToRecentFiles(path);
    return true;
}

void Open(HWND owner)
{
    FileChoice choice = {gDocumentFile.path, 0};
    if (!ChooseFile(owner, FileDialog::OpenScreen, choice)) return;
    SetDocumentPath(choice.path);
    gDocumentFile.fileType = choice.filterIndex;
    Load();
}

bool Save(HWND owner, bool overwrite)
{
    int chosenType = gDocumentFile.fileType;
    const bool askName = !(overwrite && !gDocumentFile.path.empty() && gDocumentFile.fileType != 0);
    if (askName) {
        FileChoice choice = {gDocumentFile.path, 0};
        if (!ChooseFile(owner, FileDialog::SaveScreen, choice)) return false;
        SetDocumentPath(choice.path);
        chosenType = choice.filterIndex;
    }
    // Every save writes a screen file, whatever filter the dialog was left on.
    WriteFailure why = WriteFailure::Unknown;
    const bool written = WriteFileSafely(gDocumentFile.path, ScreenFileText(), &why) == SafeWriteResult::Written;
    if (written) {
        gDocumentFile.fileType = chosenType;
        MarkSaved();
        DeleteRecoveryCopy();
    }
    // The dialog may have renamed the document, saved or not.
    if (askName) RefreshTitle(IsModified());
    AddToRecentFiles(gDocumentFile.path);
    if (!written) TellNotWritten(owner, gDocumentFile.path, why);
    return written;
}

void TellNotWritten(HWND owner, const std::wstring& path, WriteFailure why)
{
    std::wstring text = LoadText(IDS_CANNOT_SAVE, path);
    if (const int reason = WriteFailureText(why)) text += L"\n" + LoadText(reason);
    ShowMessage(owner, text, LoadText(IDS_ERROR_CAPTION), MB_OK);
}
