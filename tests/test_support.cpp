#include "tests/test_support.h"

#include <cstring>

#include "screen/screen.h"
#include "screen/undo.h"

SeamLog gSeams;

void DrawCanvasCell(int x, int y) { gSeams.redrawn.push_back({x, y}); }
void OnModifiedStateChanged(bool modified) { gSeams.modifiedReports.push_back(modified); }
void OnPenChanged(PenChange change) { gSeams.penChanges.push_back(change); }

void ResetCore()
{
    std::memset(&gScreen, 0, sizeof gScreen);
    ResetPen();
    ResetStrokes();
    DestroyHistory();
    CreateHistory();
    gSeams = SeamLog();
}
