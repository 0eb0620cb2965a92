// The toolbar's buttons in order, for every front end: the image in the
// toolbar bitmap, the command, and whether the button is one of a group of
// which one stays pressed (the tools, the foreground and background colours).
#pragma once

enum class ToolbarKind { Separator, Button, Group };

struct ToolbarButton {
    int image;  // -1 for a separator
    int command;
    ToolbarKind kind;
};

constexpr int kToolbarButtonCount = 24;
extern const ToolbarButton kToolbarButtons[kToolbarButtonCount];
