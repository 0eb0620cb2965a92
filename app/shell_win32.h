// The main window's state, shared by the shell's parts.
#pragma once
#include <windows.h>
#include <shellapi.h>

struct Shell {
    HINSTANCE instance;
    HWND main;
    HWND toolbar;
    HWND statusBar;
    int Tb;  // toolbar height
    int Sb;  // status bar height
    HACCEL accelerators;
    HBRUSH orangeBrush;
    HFONT labelFont;
    int tool;            // IDT_SELECT, IDT_PEN, IDT_FILL or IDT_MARK
    int hoverZone;       // selection zone under the mouse, 0-9
    int lastPaletteIndex;  // entry last described in the status bar, -1 none
};

extern Shell gShell;

extern const wchar_t kMainWindowClass[];

// Start-up up to the message loop: false when the program must end (no
// font, no memory); the font message has been shown then.
bool StartUp(HINSTANCE instance, const wchar_t* commandLine, int show);
int RunMessageLoop();
// Frees what start-up made and writes the settings back.
void ShutDown();

// The window sizing rule for the current zoom and status bar.
void ResizeToLayout();
void PressButton(int id);
void SetStatusText(int part, const wchar_t* text);

// Window procedure branches (window_win32.cpp dispatches to them).
bool HandleCommand(int id);
void RefreshMenu(HMENU popup);
void HandleDroppedFiles(HDROP drop);
LRESULT HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
void SwitchTool(int tool);
