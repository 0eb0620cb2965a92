// Menu, accelerator, toolbar and key commands, the menu refresh and dropped
// files.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "screen/pen.h"

// False when `id` is no command of ours.
bool HandleCommand(int id);
// A character or a virtual key (with Ctrl held or not) that runs a command;
// false when none does.
bool HandleCommandChar(int character);
bool HandleCommandKey(UINT key, bool ctrl);
void RefreshMenu(HMENU popup);
void HandleDroppedFiles(HDROP drop);
// The toolbar, the buttons and the palette follow the tool and the Pen.
void OnToolChanged(int tool);
void OnPenChanged(PenChange change);
