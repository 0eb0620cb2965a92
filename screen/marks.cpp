#include "screen/marks.h"

#include "screen/screen.h"

int32_t MarkBit3 = 0;
int32_t MarkDispc0 = 0;
int32_t MarkIsTransparent = 0;

bool IsMarkedCell(int code, int attr)
{
    return (MarkBit3 && (attr & kAttrMark)) || (MarkDispc0 && (code & 0xFF) == 0);
}

bool IsTransparentCell(int code, int attr) { return MarkIsTransparent && IsMarkedCell(code, attr); }
