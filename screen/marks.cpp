#include "screen/marks.h"

#include "screen/screen.h"

MarkSettings gMarks;

bool IsMarkedCell(int code, int attr)
{
    return (gMarks.MarkBit3 && (attr & kAttrMark)) || (gMarks.MarkDispc0 && (code & 0xFF) == 0);
}

bool IsTransparentCell(int code, int attr) { return gMarks.MarkIsTransparent && IsMarkedCell(code, attr); }
