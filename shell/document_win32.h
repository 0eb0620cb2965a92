// The document: its file name, the window title, the discard prompt, and
// opening and saving screen files.
#pragma once
#include <windows.h>

#include <string>

#include "io/safe_write.h"

struct DocumentFile {
    std::wstring path;  // full path; empty while untitled
    std::wstring name;  // the file-name part shown in the title
    int fileType;       // filter index of the last dialog; 0 before any load or save
};

extern DocumentFile gDocumentFile;

constexpr int kBriselFileType = 1;

// Names the document after `path` (full path and file-name part).
void SetDocumentPath(const std::wstring& path);
// The document's path with its extension replaced by `extension` (".gif"),
// what save dialogs for other files propose; empty while untitled.
std::wstring DocumentPathWith(const wchar_t* extension);
void RefreshTitle(bool modified);
// The title shows or drops its modified mark.
void OnModifiedStateChanged(bool modified);
// True when the document may be thrown away (nothing to lose, or Yes).
bool DiscardPrompt(HWND owner);
// Loads the current path. Failures are reported to the user and leave the
// Screen buffer, the canvas and the undo history as they were.
bool Load();
void Open(HWND owner);
// Writes the document; `overwrite` saves to the current name without asking
// when there is one. False when cancelled or not written (the user is told).
bool Save(HWND owner, bool overwrite);
// "… に保存できませんでした", with the reason after it when one is known.
void TellNotWritten(HWND owner, const std::wstring& path, WriteFailure why);
