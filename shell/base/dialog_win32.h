// Layout steps the editor's dialogs share.
#pragma once
#include <windows.h>

// Centred on the desktop, as every dialog of the editor opens.
void CentreOnDesktop(HWND window);
