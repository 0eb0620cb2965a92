// Menu, accelerator, toolbar and key commands, the menu refresh and dropped
// files.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "screen/pen.h"

// Runs command `id` and carries out the answer; false when `id` is no
// command of ours.
bool HandleCommand(int id);
void RefreshMenu(HMENU popup);
void HandleDroppedFiles(HDROP drop);
// The toolbar, the buttons and the palette follow the tool and the Pen.
void OnToolChanged(int tool);
void OnPenChanged(PenChange change);
