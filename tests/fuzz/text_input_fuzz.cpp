// Typed text of any bytes: the block stays within 40 x 25 cells of 0-255,
// its drop writes only screen cells, and one undo puts back exactly what
// the drop changed.
#include <cstring>
#include <string>

#include "screen/pen.h"
#include "screen/document.h"
#include "screen/selection.h"
#include "screen/text_input.h"
#include "screen/undo.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    FreshCore();
    gPen.foreground = data[0] & 7;
    gPen.background = (data[0] >> 3) & 7;
    for (int i = 0; i < kCellCount; ++i) gDoc.screen.code[i] = gDoc.screen.attr[i] = (i * 13) & 0xFF;
    const ScreenBuffer before = gDoc.screen;
    KeepText(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), (data[0] & 0x80) != 0);
    FUZZ_CHECK(std::strlen(gTextInput.text) < kTextBufferSize);
    if (!ConvertText()) {
        FUZZ_CHECK(!BlockFloats());
        return 0;
    }
    FUZZ_CHECK(gDoc.selection.x0 == 1 && gDoc.selection.y0 == 1);
    FUZZ_CHECK(SelectionWidth() >= 1 && SelectionWidth() <= 40 && SelectionHeight() >= 1 && SelectionHeight() <= 25);
    for (int r = 0; r < SelectionHeight(); ++r)
        for (int c = 0; c < SelectionWidth(); ++c) {
            const int i = BlockIndex(c, r);
            FUZZ_CHECK(gDoc.block.code[i] >= 0 && gDoc.block.code[i] <= 255 && gDoc.block.attr[i] >= 0 && gDoc.block.attr[i] <= 255);
        }
    DropBlock();
    FUZZ_CHECK(CellsInRange());
    while (CanUndo()) Undo();
    FUZZ_CHECK(std::memcmp(&gDoc.screen, &before, sizeof before) == 0);
    return 0;
}
