// What the core's seams reported, for the native tests.
#pragma once
#include <vector>

#include "screen/pen.h"
#include "screen/strokes.h"

struct SeamLog {
    std::vector<CellPos> redrawn;       // DrawCanvasCell calls
    std::vector<bool> modifiedReports;  // OnModifiedStateChanged calls
    std::vector<PenChange> penChanges;
};

extern SeamLog gSeams;

// A fresh core: blank screen, start-of-run Pen, palettes and strokes, an
// empty history, and an empty seam log.
void ResetCore();
