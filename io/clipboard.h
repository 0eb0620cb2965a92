// Blocks leave through the clipboard as block text or as a picture, and come
// back as block text. The clipboard itself is the host's.
#pragma once

#include "screen/screen.h"

// Block text of the cells x0..x1, y0..y1 of `screen`, a rectangle on it.
void CopyBlockText(const ScreenBuffer& screen, int x0, int y0, int x1, int y1);
// Block text of the floating block.
void CopyFloatingBlockText();
// Reads the clipboard's block text into the floating block's arrays; false
// when it holds none that can be trusted, leaving the arrays alone.
bool ReadClipboardBlock(int& w, int& h);
bool CanPasteBlock();
