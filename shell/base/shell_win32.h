// The main window's handles and measures, which every part of the shell
// reads. The window itself (shell/window_win32.cpp) fills them in.
#pragma once
#include <windows.h>

#include "app/pointer.h"

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
    StatusText status[kStatusParts];  // what the mouse put in the other parts
    int zoomLevels;  // how many zoom levels the screen holds, as the menu offers them
};

extern Shell gShell;

extern const wchar_t kMainWindowClass[];
