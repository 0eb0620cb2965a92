// Every modal question the program asks goes through here, so that the
// shell's tests can answer in place of a person.
#pragma once
#include <windows.h>

#include <string>

#include "shell/base/convert_dialog_win32.h"

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

struct FileChoice {
    std::wstring path;  // in: the proposed path; out: the chosen one
    int filterIndex;    // out: the filter the dialog was left on
};
// The Open and Save As dialogs of screen files, the open dialog of overlay
// pictures, the export dialogs (the first five in the order of the formats)
// and those of frames files; false when cancelled.
enum class FileDialog {
    OpenScreen,
    SaveScreen,
    OpenPicture,
    ExportMzf,
    ExportAsm,
    ExportBin,
    ExportPng,
    ExportGif,
    ConvertPicture,
    ExportMzfAnimation,
    SaveFrames,
    OpenFrames,
};
bool ChooseFile(HWND owner, FileDialog kind, FileChoice& choice);

struct TextEntry {
    std::wstring text;  // in: what the dialog starts with; out: what was typed
    bool vertical;      // the vertical-writing box, likewise
};
// The text input dialog; false when cancelled.
bool AskForText(HWND owner, TextEntry& entry);

// The picture-conversion dialog over `picture`; false when cancelled.
bool AskConvertOptions(HWND owner, const OverlayPicture& picture, ConvertChoice& choice);

// Answers for tests: nullptr brings the real dialogs back.
using MessageAnswer = int (*)(const std::wstring& text, const std::wstring& caption, UINT type);
using FileAnswer = bool (*)(FileDialog kind, FileChoice& choice);
using TextAnswer = bool (*)(TextEntry& entry);
using ConvertAnswer = bool (*)(ConvertChoice& choice);
void AnswerModalsWith(MessageAnswer message, FileAnswer file, TextAnswer text = nullptr, ConvertAnswer convert = nullptr);
