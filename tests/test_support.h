// Shared set-up of the native tests, and what the core reported to its host.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "screen/document.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "tests/box_check.h"

struct HostLog {
    int canvasInvalidations = 0;
    std::vector<bool> modifiedReports;  // OnModifiedStateChanged calls
    std::vector<int> toolChanges;  // OnToolChanged calls
    // The clipboard: text when `hasText`, and the size of the last picture.
    bool hasText = false;
    std::string clipboardText;
    int imageWidth = 0, imageHeight = 0;
};

extern HostLog gHostLog;

// Screen cells without recording anything.
inline void Put(int x, int y, int code, int attr)
{
    gDoc.screen.code[CellIndex(x, y)] = code;
    gDoc.screen.attr[CellIndex(x, y)] = attr;
}
inline int CodeAt(int x, int y) { return gDoc.screen.code[CellIndex(x, y)]; }
inline int AttrAt(int x, int y) { return gDoc.screen.attr[CellIndex(x, y)]; }

// The display codes then the attributes that the screen puts into VRAM,
// attribute bit 3 cleared or not.
std::vector<uint8_t> ScreenVram(bool clearMarks);

// Undoes every group; returns how many there were.
int UndoAll();

// A fresh core: blank screen, start-of-run Pen, palettes, strokes and view
// settings, an empty history, no back buffer, the tests' host and an empty
// log.
void ResetCore();

// A back buffer of the panel size for `zoom`, filled with `fill`; it stays
// valid until the next call.
void UseTestBackBuffer(int zoom, uint32_t fill = 0x00123456);

// A font whose glyph g has row r = (g + r * 37) & 0xFF: every glyph differs.
void LoadPatternFont();
