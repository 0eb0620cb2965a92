// The document being edited: the screen, its undo history, the selection and
// the floating block over it. One instance for the whole run.
#pragma once

#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/undo.h"

struct Document {
    ScreenBuffer screen;
    UndoHistory history;
    Selection selection;
    FloatingBlock block;
};

extern Document gDoc;
