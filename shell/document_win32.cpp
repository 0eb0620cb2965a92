#include "shell/document_win32.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "shell/base/modal_win32.h"
#include "app/recent_files.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "io/screen_file.h"
#include "io/title.h"
#include "render/view.h"
#include "screen/undo.h"

Document gDocument;

namespace {

const wchar_t kErrorCaption[] = L"Vexa: Error";
// Anything after the 3000th number is ignored, so a screen file never needs
// more than this; a bigger file is read only this far.
constexpr DWORD kLoadLimit = 16 * 1024 * 1024;

void AddToRecentFiles(const std::wstring& path) { AddRecentFile(Narrow(path.c_str()).c_str()); }

// A failed load: the document becomes untitled; its contents stay.
void FailureTail(const std::wstring& path)
{
    ForgetRecentFile(Narrow(path.c_str()).c_str());
    gDocument.path.clear();
    gDocument.name.clear();
    ForceModifiedReport();
    RefreshTitle(IsModified());
}

bool ReadWholeFile(HANDLE file, std::vector<char>& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) return false;
    const DWORD wanted = size.QuadPart > kLoadLimit ? kLoadLimit : static_cast<DWORD>(size.QuadPart);
    bytes.resize(wanted);
    DWORD got = 0;
    if (wanted > 0 && !ReadFile(file, bytes.data(), wanted, &got, nullptr)) return false;
    bytes.resize(got);
    return true;
}

bool WriteToHandle(void* context, const char* bytes, size_t count)
{
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(context), bytes, static_cast<DWORD>(count), &written, nullptr) &&
           written == count;
}

// A path the file functions accept at any length.
std::wstring Extended(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

// A new, empty file of our own beside `path`, never one that was there.
HANDLE CreateTempBeside(const std::wstring& path, std::wstring& temp)
{
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[32];
        swprintf(name, 32, L"~vexa%04lx%02x.tmp", GetCurrentProcessId() & 0xFFFF, attempt);
        temp = folder + name;
        HANDLE file = CreateFileW(Extended(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes the screen beside `path` and puts it in place only when every byte
// is on disk, so a failure never destroys the previous file. An existing file
// is replaced in a way that keeps its attributes and permissions.
bool WriteScreenSafely(const std::wstring& path)
{
    const std::wstring target = Extended(path);
    // A file we may not write to (read-only, no rights) is not replaced.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        HANDLE probe = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return false;
        CloseHandle(probe);
    }
    std::wstring temp;
    HANDLE file = CreateTempBeside(path, temp);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteScreenFile(WriteToHandle, file);
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    const std::wstring written = Extended(temp);
    if (ok)
        ok = exists ? ReplaceFileW(target.c_str(), written.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                                   nullptr)
                    : MoveFileExW(written.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(written.c_str());
    return ok;
}

}  // namespace

void SetDocumentPath(const std::wstring& path)
{
    gDocument.path = path;
    gDocument.name = PathFindFileNameW(path.c_str());
}

void RefreshTitle(bool modified)
{
    if (!gShell.main) return;
    const std::string title = BuildTitle(Narrow(gDocument.name.c_str()), modified);
    SetWindowTextW(gShell.main, Widen(title.c_str()).c_str());
}

// The undo history reports every change of the modified state here.
void OnModifiedStateChanged(bool modified) { RefreshTitle(modified); }

bool DiscardPrompt(HWND owner)
{
    if (!IsModified()) return true;
    return ShowMessage(owner, L"変更内容を破棄しますか？", L"Vexa", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool Load()
{
    const std::wstring path = gDocument.path;
    HANDLE file =
        CreateFileW(Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<char> text;
    const bool read = file != INVALID_HANDLE_VALUE && ReadWholeFile(file, text);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!read) {
        ShowMessage(gShell.main, path + L" が開けません", kErrorCaption, MB_OK);
        FailureTail(path);
        return false;
    }
    ForceModifiedReport();
    // Every chosen file is read as a screen file, whatever filter the dialog
    // was left on: naming the document after a file that was not read would
    // let the next save empty it.
    if (!ReadScreenFile(text.data(), text.size(), nullptr)) {
        ShowMessage(gShell.main, L"BRISELフォーマットではありません", kErrorCaption, MB_OK);
        FailureTail(path);
        return false;
    }
    ClearHistory();
    RedrawCanvas();
    AddToRecentFiles(path);
    return true;
}

void Open(HWND owner)
{
    FileChoice choice = {gDocument.path, 0};
    if (!ChooseFile(owner, FileDialog::OpenScreen, choice)) return;
    SetDocumentPath(choice.path);
    gDocument.fileType = choice.filterIndex;
    Load();
}

bool Save(HWND owner, bool overwrite)
{
    int chosenType = gDocument.fileType;
    const bool askName = !(overwrite && !gDocument.path.empty() && gDocument.fileType != 0);
    if (askName) {
        FileChoice choice = {gDocument.path, 0};
        if (!ChooseFile(owner, FileDialog::SaveScreen, choice)) return false;
        SetDocumentPath(choice.path);
        chosenType = choice.filterIndex;
    }
    // Every save writes a screen file, whatever filter the dialog was left on.
    const bool written = WriteScreenSafely(gDocument.path);
    if (written) {
        gDocument.fileType = chosenType;
        MarkSaved();
    }
    // The dialog may have renamed the document, saved or not.
    if (askName) RefreshTitle(IsModified());
    AddToRecentFiles(gDocument.path);
    if (!written) ShowMessage(owner, gDocument.path + L" に保存できませんでした", kErrorCaption, MB_OK);
    return written;
}
