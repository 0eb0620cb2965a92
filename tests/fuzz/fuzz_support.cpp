// The seams the core calls into, as no-ops: the fuzz targets run without a
// window.
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <string>

#include "app/settings.h"
#include "render/font.h"
#include "render/view.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/undo.h"

void InvalidateCanvas() {}
void OnModifiedStateChanged(bool) {}
void OnPenChanged(PenChange) {}
void OnSelectionChanged(bool) {}

void FreshCore()
{
    std::memset(&gScreen, 0, sizeof gScreen);
    ResetPen();
    ResetStrokes();
    ResetSettings();
    ResetSelection();
    UpdateViewGeometry();
    gBackBuffer = {nullptr, 0, 0};
    if (!gHistory.ring) CreateHistory();
    ClearHistory();
}

bool CellsInRange()
{
    for (int i = 0; i < kCellCount; ++i)
        if (gScreen.code[i] < 0 || gScreen.code[i] > 255 || gScreen.attr[i] < 0 || gScreen.attr[i] > 255) return false;
    return true;
}
