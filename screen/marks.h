// Which cells count as marked. The canvas shows the marks when asked, and a
// dropped block leaves its marked cells out while marks are transparent.
#pragma once
#include <cstdint>

// Kept in the settings file, each under its own name.
struct MarkSettings {
    int32_t MarkBit3;           // cells with attribute bit 3 are marked
    int32_t MarkDispc0;         // cells with display code 0 are marked
    int32_t MarkIsTransparent;  // marked cells of a floating block are not dropped
};
extern MarkSettings gMarks;

bool IsMarkedCell(int code, int attr);
// A block cell that a drop leaves out, letting the screen beneath show.
bool IsTransparentCell(int code, int attr);
