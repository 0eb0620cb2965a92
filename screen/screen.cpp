#include "screen/screen.h"

#include "screen/host.h"
#include "screen/undo.h"

ScreenBuffer gScreen;

void SetCell(int x, int y, int code, int attr)
{
    const int i = CellIndex(x, y);
    RecordChange(x, y, gScreen.code[i], gScreen.attr[i], code, attr);
    gScreen.code[i] = code;
    gScreen.attr[i] = attr;
    gHost.cellChanged(x, y);
}

bool CellEquals(int x, int y, int code, int attr)
{
    const int i = CellIndex(x, y);
    return gScreen.code[i] == code && gScreen.attr[i] == attr;
}
