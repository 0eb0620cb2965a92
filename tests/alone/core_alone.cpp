// The core on its own: linked with no front end and no host function at all,
// it still edits. Copies a block through the core's own clipboard, pastes and
// drops it, fills and flips a selection, and undoes step by step.
#include <cstdio>

#include "app/commands.h"
#include "app/edit_commands.h"
#include "app/settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/undo.h"

namespace {

int gFailures = 0;

void Check(bool ok, const char* what)
{
    if (!ok) ++gFailures;
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
}

int Code(int x, int y) { return gDoc.screen.code[CellIndex(x, y)]; }

}  // namespace

int main()
{
    if (!CreateHistory()) return 2;
    ResetEditing();
    ResetSettings();

    BeginUndoGroup();
    SetCell(0, 0, 0xF1, 0x71);
    SetCell(1, 0, 0xF4, 0x71);
    SetSelection(0, 0, 1, 0);
    RunCommand(IDM_COPY);
    RunCommand(IDM_PASTE);
    Check(BlockFloats() && gDoc.block.code[0] == 0xF1 && gDoc.block.code[1] == 0xF4, "a copied block pastes");
    SetSelection(5, 5, 6, 5);
    DropAndDeselect();
    Check(Code(5, 5) == 0xF1 && Code(6, 5) == 0xF4, "the pasted block drops where it was moved");

    SetSelection(5, 5, 6, 5);
    RunCommand(IDM_FLIPLR);
    // Each cell's sub-blocks mirror too: top-left becomes top-right.
    Check(Code(5, 5) == 0xF8 && Code(6, 5) == 0xF2, "a flip mirrors the selection");
    SetSelection(0, 1, 1, 1);
    RunCommand(IDM_FILL);
    const PenValue pen = PenCell();
    Check(Code(0, 1) == pen.code && Code(1, 1) == pen.code && gDoc.screen.attr[CellIndex(1, 1)] == pen.attr,
          "a fill paints the selection with the pen");

    RunCommand(IDM_UNDO);
    Check(Code(0, 1) == 0 && gDoc.screen.attr[CellIndex(0, 1)] == 0, "undo takes back the fill");
    RunCommand(IDM_UNDO);
    Check(Code(5, 5) == 0xF1, "undo takes back the flip");
    RunCommand(IDM_UNDO);
    Check(Code(5, 5) == 0 && Code(0, 0) == 0xF1, "undo takes back the paste alone");
    RunCommand(IDM_UNDO);
    Check(Code(0, 0) == 0 && !CanUndo(), "undo takes back the first edit");

    DestroyHistory();
    std::printf("%d passed, %d failed\n", 8 - gFailures, gFailures);
    return gFailures ? 1 : 0;
}
