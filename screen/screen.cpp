#include "screen/screen.h"

#include "screen/document.h"
#include "screen/host.h"
#include "screen/undo.h"

Document gDoc;

void SetCell(int x, int y, int code, int attr)
{
    const int i = CellIndex(x, y);
    RecordChange(x, y, gDoc.screen.code[i], gDoc.screen.attr[i], code, attr);
    gDoc.screen.code[i] = code;
    gDoc.screen.attr[i] = attr;
    gHost.cellChanged(x, y);
}

bool CellEquals(int x, int y, int code, int attr)
{
    const int i = CellIndex(x, y);
    return gDoc.screen.code[i] == code && gDoc.screen.attr[i] == attr;
}
