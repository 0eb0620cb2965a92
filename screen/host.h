// What the core tells the program around it, and the few services it asks of
// it: one table of functions that a front end fills at start-up. Every entry
// starts as a default that needs nothing, so the core also runs with no front
// end at all (the command-line tool, benchmarks, tests that observe nothing).
#pragma once
#include <string>

#include "screen/pen.h"

struct Host {
    // The model changed: cell (x, y) of the screen, or the floating block's
    // contents. The view redraws from them (see ConnectCanvasView).
    void (*cellChanged)(int x, int y) = [](int, int) {};
    void (*blockChanged)() = [] {};
    // The canvas on the window must be repainted from the back buffer.
    void (*invalidateCanvas)() = [] {};
    // The document's modified state as the title should show it.
    void (*modifiedChanged)(bool modified) = [](bool) {};
    // The Pen's colours, cursor or page: buttons and palette follow.
    void (*penChanged)(PenChange change) = [](PenChange) {};
    // The chosen tool, however it was chosen.
    void (*toolChanged)(int tool) = [](int) {};
    // A selection began (its marquee runs) or ended.
    void (*selectionChanged)(bool active) = [](bool) {};

    // The view's buffers made anew for the current zoom (the canvas is
    // redrawn after); false when the memory cannot be had.
    bool (*rebuildView)() = [] { return true; };
    // The panel's background, canvas frame, grid frame and palette drawn
    // anew into the back buffer (the canvas is redrawn after).
    void (*redrawPanel)() = [] {};
    // The overlay picture scaled into its buffer anew.
    void (*redrawOverlay)() = [] {};

    // The system clipboard. Putting replaces what it holds; false when it
    // could not be had. Getting is false when it holds no text, and takes at
    // most kClipboardTextLimit bytes. The defaults keep the text in memory,
    // so blocks still travel within one run.
    bool (*putClipboardText)(const std::string& text) = PutMemoryClipboard;
    bool (*getClipboardText)(std::string& text) = GetMemoryClipboard;
    // The top-left width x height pixels of the back buffer's scratch area
    // as a picture.
    void (*putClipboardImage)(int width, int height) = [](int, int) {};

    // Whether two file names name the same file; null: the core's own rule,
    // which ignores letter case in the common alphabets.
    bool (*samePath)(const char* a, const char* b) = nullptr;

    static bool PutMemoryClipboard(const std::string& text);
    static bool GetMemoryClipboard(std::string& text);
};

extern Host gHost;

constexpr size_t kClipboardTextLimit = 1 << 20;
