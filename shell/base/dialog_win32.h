// Layout steps the editor's dialogs share.
#pragma once
#include <windows.h>

// Centred on the desktop, as every dialog of the editor opens.
void CentreOnDesktop(HWND window);

// A check box as wide as its text needs in the font it really got (a system
// without the template's font may draw a wider one), and never narrower
// than the template made it.
void FitCheckBoxToText(HWND box);
