// The fuzz targets run the core without a front end: its host stays as it
// starts.
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

void FreshCore()
{
    std::memset(&gScreen, 0, sizeof gScreen);
    ResetPen();
    ResetStrokes();
    ResetSettings();
    ResetSelection();
    UpdateViewGeometry();
    gCanvas.pixels = {nullptr, 0, 0};
    if (!gHistory.ring) CreateHistory();
    ClearHistory();
}

bool CellsInRange()
{
    for (int i = 0; i < kCellCount; ++i)
        if (gScreen.code[i] < 0 || gScreen.code[i] > 255 || gScreen.attr[i] < 0 || gScreen.attr[i] > 255) return false;
    return true;
}
