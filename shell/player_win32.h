// The animation player: a modeless window that shows the defined frames one
// after the other at the speed of its slider.
#pragma once
#include <windows.h>

// Opens it when a frame is defined; it keeps the zoom of this moment.
void OpenPlayer(HWND owner);
// The player window while it is open, for the message loop's dialog keys.
HWND PlayerWindow();
