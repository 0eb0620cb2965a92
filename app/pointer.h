// What the mouse does on the panel: the current tool, the drag in progress,
// the hover zone and the status-bar texts. The shell turns window messages
// into these calls and carries out the answer.
#pragma once
#include <cstdint>

#include "screen/strokes.h"

struct Modifiers {
    bool shift;
    bool ctrl;
};

enum class Capture { Keep, Take, Release };

constexpr int kStatusParts = 2;

// A part of the status bar: a string-table format of two numbers.
struct StatusText {
    int format = 0;  // 0: the part is empty
    int values[2] = {};
};

// What the shell must do after a mouse report.
struct PointerAnswer {
    bool invalidateCanvas = false;
    Capture capture = Capture::Keep;
    int cursorZone = -1;  // a new hover zone whose cursor shows at once, or -1
    bool statusChanged[kStatusParts] = {};
    StatusText status[kStatusParts];
};

// The tool switch of the toolbar and the tool keys: a floating block is
// dropped and the selection cleared. Both end any drag in progress.
void SwitchTool(int tool);
// Paste, Select all and text input: the selection tool becomes the tool,
// leaving the selection and any floating block as they are.
void UseSelectionTool();

// Positions are panel coordinates; points outside the client area are
// allowed (the mouse is captured during a drag).
PointerAnswer PointerPress(int x, int y, Modifiers keys);
PointerAnswer PointerMove(int x, int y, bool buttonHeld, Modifiers keys);
// The left button came up, or the drag lost the mouse.
PointerAnswer PointerRelease();
PointerAnswer RightPress(int x, int y, Modifiers keys);

// The status bar's hint while marked cells of a floating block are left out
// of its drop: which marks make a cell transparent. 0 while no block floats
// or marked cells are dropped like any other.
int TransparencyHint();
