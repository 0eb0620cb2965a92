// The main window's handles and measures, which every part of the shell
// reads. The window itself (shell/window_win32.cpp) fills them in.
#pragma once
#include <windows.h>

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
    int statusHint;  // the text the status bar's hint part shows; 0 for none
};

extern Shell gShell;

extern const wchar_t kMainWindowClass[];
