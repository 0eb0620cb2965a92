// The system clipboard: block text as CF_TEXT and block pictures as
// CF_BITMAP, as the core's host asks for them.
#pragma once
#include <string>

bool PutClipboardText(const std::string& text);
bool GetClipboardText(std::string& text);
void PutClipboardImage(int width, int height);
