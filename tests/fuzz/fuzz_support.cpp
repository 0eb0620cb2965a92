// The fuzz targets run the core without a front end: its host stays as it
// starts.
#include "tests/fuzz/fuzz_support.h"

#include <cstring>
#include <string>

#include "app/settings.h"
#include "render/font.h"
#include "render/view.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "screen/undo.h"

void FreshCore()
{
    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    ResetPen();
    ResetTools();
    ResetSettings();
    ResetSelection();
    UpdateViewGeometry();
    gCanvas.pixels = {nullptr, 0, 0};
    if (!gDoc.history.ring) CreateHistory();
    ClearHistory();
}

bool CellsInRange()
{
    for (int i = 0; i < kCellCount; ++i)
        if (gDoc.screen.code[i] < 0 || gDoc.screen.code[i] > 255 || gDoc.screen.attr[i] < 0 || gDoc.screen.attr[i] > 255) return false;
    return true;
}
