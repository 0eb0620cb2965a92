#include "screen/pen.h"

#include "screen/document.h"
#include "screen/host.h"
#include "screen/palette_pages.h"
#include "screen/screen.h"

Pen gPen = {kInitialForeground, kInitialBackground, kInitialPaletteCursor, kMainPalettePage};

void ResetPen()
{
    gPen = {kInitialForeground, kInitialBackground, kInitialPaletteCursor, kMainPalettePage};
    ResetPalettePages();
}

PenValue PaletteEntryCell(uint32_t entry)
{
    const int charSet = static_cast<int>((entry & CPAL_CHARSET) >> 1);
    return {static_cast<int>(entry & 0xFF),
            PaletteEntryColours(entry, gPen.foreground, gPen.background) | charSet};
}

PenValue PenCell()
{
    return PaletteEntryCell(gPalettePages[gPen.page][gPen.cursor]);
}

void SetForeground(int colour)
{
    gPen.foreground = colour & 7;
    gHost.penChanged(PenChange::Colours);
}

void SetBackground(int colour)
{
    gPen.background = colour & 7;
    gHost.penChanged(PenChange::Colours);
}

void SwapPenColours()
{
    const int old = gPen.foreground;
    gPen.foreground = gPen.background;
    gPen.background = old;
    gHost.penChanged(PenChange::Colours);
}

void MovePaletteCursor(PaletteDirection direction)
{
    const int n = gPen.cursor;
    switch (direction) {
    case PaletteDirection::Left: gPen.cursor = (n & 0xFF0) | ((n - 1) & 0xF); break;
    case PaletteDirection::Right: gPen.cursor = (n & 0xFF0) | ((n + 1) & 0xF); break;
    case PaletteDirection::Up:
        if (n > kPaletteColumns - 1) gPen.cursor = n - kPaletteColumns;
        break;
    case PaletteDirection::Down:
        if (n < kPaletteEntries - kPaletteColumns) gPen.cursor = n + kPaletteColumns;
        break;
    }
    gHost.penChanged(PenChange::Cursor);
}

void SetPaletteCursor(int index)
{
    if (index < 0 || index >= kPaletteEntries) return;
    gPen.cursor = index;
    gHost.penChanged(PenChange::Cursor);
}

void TogglePalettePage()
{
    gPen.page = 1 - gPen.page;
    gHost.penChanged(PenChange::Page);
}

void PickUpCell(int x, int y, bool ctrl, bool shift)
{
    const int i = CellIndex(x, y);
    const int code = gDoc.screen.code[i];
    const int attr = gDoc.screen.attr[i];
    if (!ctrl) {
        gPen.foreground = (attr & kAttrForeground) >> 4;
        gPen.background = attr & kAttrBackground;
    }
    if (!shift) {
        // Palette-entry form: code plus the character-set bit. Reversed and
        // own-colour entries never match, since their bits 9-10 are set.
        const uint32_t wanted = static_cast<uint32_t>(code | ((attr & kAttrCharSet) << 1));
        uint32_t* page = gPalettePages[gPen.page];
        int found = -1;
        for (int n = 0; n < kPaletteEntries && found < 0; ++n)
            if ((page[n] & 0x7FF) == wanted) found = n;
        if (found < 0) {
            page[kPaletteLastEntry] = wanted;
            found = kPaletteLastEntry;
        }
        gPen.cursor = found;
    }
    gHost.penChanged(PenChange::Colours);
}
