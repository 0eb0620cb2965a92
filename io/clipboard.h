// Blocks leave through the system clipboard as block text or as a picture,
// and come back as block text.
#pragma once
#include <cstddef>
#include <string>

// Implemented by the shell: the system clipboard. Putting empties it first;
// a clipboard that cannot be opened, or memory that cannot be had, leaves it
// alone. Getting is false when it holds no text; it takes at most the first
// kClipboardTextLimit bytes, far more than any block text needs.
bool PutClipboardText(const std::string& text);
bool GetClipboardText(std::string& text);
constexpr size_t kClipboardTextLimit = 1 << 20;
// The top-left width x height pixels of the back buffer's scratch area.
void PutClipboardImage(int width, int height);

// Block text of the selected cells on the screen (clipped to it).
void CopyBlockText(int x0, int y0, int x1, int y1);
// Block text of the floating block.
void CopyFloatingBlockText();
// Reads the clipboard's block text into the floating block's arrays; false
// when it holds none that can be trusted, leaving the arrays alone.
bool ReadClipboardBlock(int& w, int& h);
bool CanPasteBlock();
