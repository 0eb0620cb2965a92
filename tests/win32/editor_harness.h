// The real editor, started in this process on the real main window, with its
// modal questions answered from a script.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "shell/base/modal_win32.h"
#include "tests/win32/window_util.h"

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the editor with `commandLine` (what follows the program name).
    void Start(const std::wstring& commandLine = L"");
    // Starts it on a screen file of SampleScreenFile() by that name in the
    // scratch folder; returns the file's path.
    std::wstring StartOnSample(const std::wstring& name = L"s.txt");
    // Closes the window as the user would (WM_CLOSE) and shuts down.
    void Stop();

    // Files in a scratch folder of this test, and beside the program (where
    // the settings file lives).
    std::wstring Scratch(const std::wstring& name = L"") const;
    std::wstring BesideProgram(const std::wstring& name) const { return programFolder_ + L"\\" + name; }
    void WriteFile(const std::wstring& path, const std::string& bytes) const
    {
        ASSERT_TRUE(WriteWholeFile(path, bytes));
    }
    std::string ReadFile(const std::wstring& path) const { return ReadWholeFile(path); }
    std::wstring RecoveryFolder() const { return scratch_ + L"-recovery"; }
    // The timer that writes the recovery copy, fired now.
    void RecoveryTick() const;

    // Input as the window receives it; x, y in panel coordinates.
    void Command(int id);
    // The command, with its file dialog taking `path`.
    void CommandWithFile(int id, const std::wstring& path)
    {
        fileAnswers.push_back(path);
        Command(id);
    }
    void Press(int x, int y, WPARAM keys = 0);
    void Move(int x, int y, WPARAM keys = MK_LBUTTON);
    void Release(int x, int y);
    void RightClick(int x, int y, WPARAM keys = 0);
    void Char(wchar_t c, LPARAM lParam = 1);
    void Key(UINT vk);
    // Panel point at the centre of canvas cell (column, row).
    POINT CellCentre(int column, int row) const;
    // Clicks 'A', white on blue, into a cell with the pen.
    void Paint(int column, int row);

    std::wstring Title() const;
    // The popup holding `id`, refreshed as opening it would.
    HMENU OpenPopupHolding(int id);
    // The item's state (0xFFFFFFFF when there is none), or one flag of it.
    UINT MenuState(int id);
    bool Grayed(int id) { return MenuState(id) != 0xFFFFFFFF && (MenuState(id) & MF_GRAYED); }
    bool Checked(int id) { return MenuState(id) != 0xFFFFFFFF && (MenuState(id) & MF_CHECKED); }
    SIZE ClientSize() const;
    std::wstring StatusPart(int n) const;
    // Moves the open player's speed slider to `position`, as a drag ends.
    void SetPlayerSpeed(int position) const;
    // Every message shown so far, as "caption: text".
    std::vector<std::wstring> Said() const;

    // Scripted answers: message boxes take the next answer (IDOK when none
    // is left); file dialogs take the next path, or cancel when none is left.
    std::deque<int> messageAnswers;
    std::deque<std::wstring> fileAnswers;
    std::deque<int> filterAnswers;  // the filter each dialog is left on; 1 when none is left
    std::vector<ShownMessage> messages;
    std::vector<FileDialog> fileDialogKinds;
    std::vector<std::wstring> fileProposals;  // the path each dialog started on
    // The conversion dialog takes the next answer (cancels when none is left).
    std::deque<ConvertChoice> convertAnswers;

private:
    static int AnswerMessage(const std::wstring& text, const std::wstring& caption, UINT type);
    static bool AnswerFile(FileDialog kind, FileChoice& choice);
    static bool AnswerConvert(ConvertChoice& choice);
    std::wstring scratch_;
    std::wstring programFolder_;
    bool running_ = false;
};

// A window's client area (the main window's by default) as the screen shows
// it, top row first, 0xRRGGBB per pixel.
std::vector<uint32_t> GrabClient(int width, int height, HWND window = nullptr);

// The names matching `pattern` (a path with wildcards), sorted.
std::vector<std::wstring> Names(const std::wstring& pattern);

// A screen file of 3000 numbers whose cell i holds code (i * 7) & 0xFF,
// foreground i % 8 and background (i / 8) % 8.
std::string SampleScreenFile();
