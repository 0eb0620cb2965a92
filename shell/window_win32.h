// Start-up, the message loop and shutdown of the main window, and the
// toolbar and status bar that the commands and the mouse update.
#pragma once
#include <windows.h>

#include "app/pointer.h"

// Start-up up to the message loop: false when the program must end (no
// font, no memory); the font message has been shown then.
bool StartUp(HINSTANCE instance, const wchar_t* commandLine, int show);
int RunMessageLoop();
// Frees what start-up made and writes the settings back.
void ShutDown();

// The window sizing rule for the current zoom and status bar.
void ResizeToLayout();
void PressButton(int id);
// Part `part` of the status bar shows `text` in the interface's language.
void ShowStatus(int part, const StatusText& text);
// The status bar's hint part follows the core's TransparencyHint.
void RefreshStatusHint();
// Menus, status bar and title anew in the interface's language.
void ApplyLanguage();
