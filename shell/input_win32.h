// The keyboard and the mouse on the main window.
#pragma once
#include <windows.h>

// Handles what the input owns; `handled` is false for the rest, which the
// window passes on to the default procedure.
LRESULT HandleInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
