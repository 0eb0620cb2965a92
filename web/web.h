// The browser front end's C++ side: the page's pixels and the host it gives
// the core. It only translates; the scripts of the page call the exported
// functions of page_web.cpp.
#pragma once
#include <cstdint>
#include <string>

#include "render/pixels.h"
#include "render/view.h"

// What the core tells the page, by number (see page/core.js).
enum class PageNotice {
    Modified = 1,    // arg: modified
    Colours = 2,     // the Pen's colours
    Tool = 3,        // arg: the tool
    Selection = 4,   // arg: active
    Frame = 5,       // something must be shown
    ViewSize = 6,    // the panel's size changed
    ClipboardText = 7,
    ClipboardImage = 8,  // arg: width << 16 | height of the picture in the scratch area
};
void NotifyPage(PageNotice notice, int arg = 0);

// Buffers of the current zoom: false when the memory cannot be had.
bool RebuildWebView();
void DrawWebPanel();
void RedrawWebOverlay();
void InvalidateArea(Rect area);
void InvalidateWebCanvas();
// Composes what changed since the last call into the shown picture (the
// panel's W x H pixels, top row first, bytes R, G, B, A); false when nothing
// did. `drawn` is the area composed.
bool ComposeShown(Rect& drawn);
const uint8_t* ShownPixels();
const PixelView& OverlayBufferView();

// Text the page handed over from the browser's clipboard, and whether it had
// any.
struct WebClipboard {
    bool hasText;
    std::string text;
};
extern WebClipboard gWebClipboard;
