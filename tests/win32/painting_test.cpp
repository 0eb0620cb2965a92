// Painting on the real window: pen and marker strokes through mouse
// messages, the pick-up, keys, and the pixels the window shows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <tuple>
#include <vector>

#include "app/pointer.h"
#include "shell/base/shell_win32.h"
#include "shell/window_win32.h"
#include "render/font.h"
#include "render/palette_view.h"
#include "shell/panel_win32.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/strokes.h"
#include "screen/undo.h"
#include "tests/box_check.h"
#include "tests/win32/editor_harness.h"

namespace {

int Code(int x, int y) { return gScreen.code[CellIndex(x, y)]; }
int Attr(int x, int y) { return gScreen.attr[CellIndex(x, y)]; }

int CheckedButton(int first)
{
    for (int c = 0; c < 8; ++c)
        if (SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, first + c, 0)) return c;
    return -1;
}

// Stands between the editor and its window to count, and keep from opening,
// the menu bar's keyboard mode.
WNDPROC gEditorProc = nullptr;
int gKeyMenus = 0;
LRESULT CALLBACK CountKeyMenus(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
        ++gKeyMenus;
        return 0;
    }
    return CallWindowProcW(gEditorProc, hwnd, message, wParam, lParam);
}

}  // namespace

using Painting = EditorTest;

TEST_F(Painting, PenStrokeThroughMouseMessagesIsOneUndoStep)
{
    Start();
    SetPaletteCursor(9 * 16 + 1);  // 'A'
    const POINT a = CellCentre(2, 3), b = CellCentre(3, 3), c = CellCentre(6, 3);
    Press(a.x, a.y);
    Move(b.x, b.y);
    Move(c.x, c.y);   // jumps: only the cells reported are painted
    Move(900, a.y);   // beyond the canvas: the nearest edge cell
    Release(900, a.y);
    Move(CellCentre(10, 10).x, CellCentre(10, 10).y, 0);  // button up: nothing
    for (int x : {2, 3, 6, 39}) EXPECT_TRUE(Code(x, 3) == 0x01 && Attr(x, 3) == 0x71 && BoxShowsCell(x, 3)) << x;
    EXPECT_TRUE(Code(4, 3) == 0 && Code(10, 10) == 0);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_EQ(MenuState(IDM_UNDO) & MF_GRAYED, 0u);
    Command(IDM_UNDO);
    EXPECT_TRUE(Code(2, 3) == 0 && Code(39, 3) == 0 && BoxShowsCell(2, 3));
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(Title(), L"無題 - Vexa");
    Command(IDM_REDO);
    EXPECT_EQ(Code(6, 3), 0x01);

    // The stroke holds the mouse until the button comes up; losing it ends
    // the stroke, so a later drag in from the palette paints nothing.
    Press(a.x, a.y + 32);
    EXPECT_EQ(GetCapture(), gShell.main);
    ReleaseCapture();
    EXPECT_EQ(gDragMode, kNoDrag);
    Command(IDM_UNDO);
    const Point box = PaletteBox(0);
    Press(box.x + 1, box.y + 1);
    Move(c.x, c.y + 48);
    EXPECT_EQ(Code(6, 6), 0);
    Release(c.x, c.y + 48);
    EXPECT_EQ(GetCapture(), nullptr);
    // (A press on the palette picks its entry: the end-to-end run paints with it.)
    EXPECT_EQ(gPen.cursor, 0);
    EXPECT_EQ(gHistory.SP, 4);
}

TEST_F(Painting, ModifiersSemigraphicModeAndTheMarker)
{
    Start();
    gScreen.code[CellIndex(1, 1)] = 0x0D;
    gScreen.attr[CellIndex(1, 1)] = 0x80 | 0x24 | kAttrMark;
    SetPaletteCursor(9 * 16 + 1);
    POINT p = CellCentre(1, 1);
    Press(p.x, p.y, MK_SHIFT);  // colours only
    Release(p.x, p.y);
    EXPECT_TRUE(Code(1, 1) == 0x0D && Attr(1, 1) == (0x80 | 0x71 | kAttrMark)) << Code(1, 1) << " " << Attr(1, 1);
    Press(p.x, p.y, MK_CONTROL);  // the character only
    Release(p.x, p.y);
    EXPECT_TRUE(Code(1, 1) == 0x01 && Attr(1, 1) == (0x80 | 0x71 | kAttrMark)) << Code(1, 1) << " " << Attr(1, 1);

    // Semigraphic mode: the first sub-block decides draw or erase.
    Command(IDM_SEMIGRAPHIC);
    EXPECT_EQ(MenuState(IDM_SEMIGRAPHIC) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    const Point cell = CellToPixel(5, 5);
    const int quarter = CurrentView().s / 4;
    Press(cell.x + quarter, cell.y + quarter);          // top-left
    Move(cell.x + 3 * quarter, cell.y + 3 * quarter);   // bottom-right, same cell
    Release(cell.x + 3 * quarter, cell.y + 3 * quarter);
    EXPECT_EQ(Code(5, 5), 0xF9);
    Press(cell.x + quarter, cell.y + quarter);  // on a set sub-block: erasing
    Move(cell.x + 3 * quarter, cell.y + quarter);
    Release(cell.x + 3 * quarter, cell.y + quarter);
    EXPECT_EQ(Code(5, 5), 0xF8);
    // Dragged beyond the canvas, the stroke draws the edge cell's nearest
    // sub-block: here the bottom-right one of cell (39, 24).
    const Point corner = CellToPixel(39, 24);
    Press(corner.x + quarter, corner.y + quarter);
    Move(2000, 2000);
    Release(2000, 2000);
    EXPECT_EQ(Code(39, 24), 0xF9);
    Command(IDM_SEMIGRAPHIC);

    // The marker tool switches the bit-3 mark on and leaves crossed cells.
    EXPECT_EQ(MarkBit3, 0);
    Char(L'9');
    EXPECT_TRUE(gPointer.tool == IDT_MARK && MarkBit3 == 1);
    EXPECT_TRUE(SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_MARK, 0));
    p = CellCentre(8, 8);
    Press(p.x, p.y);
    const POINT q = CellCentre(9, 8), r = CellCentre(10, 8);
    Move(q.x, q.y);  // crossed by one report
    Move(r.x, r.y);  // entering: remembered only
    Move(r.x + 1, r.y);
    Release(r.x + 1, r.y);
    for (int x : {8, 9, 10}) EXPECT_EQ((Attr(x, 8) & kAttrMark) != 0, x != 9) << x;
    EXPECT_TRUE(BoxShowsCell(10, 8));
    // F9 turns the mark off and hands back the pen.
    Key(VK_F9);
    EXPECT_TRUE(gPointer.tool == IDT_PEN && MarkBit3 == 0);
    EXPECT_TRUE(SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_PEN, 0));
}

TEST_F(Painting, KeysPickUpAndToolbarColours)
{
    Start();
    EXPECT_EQ(CheckedButton(IDT_FG0), 7);
    EXPECT_EQ(CheckedButton(IDT_BG0), 1);
    // Digits pick the foreground, their shifted forms the background, x swaps.
    const std::tuple<wchar_t, int, int> colourKeys[] = {
        {L'8', 0, 1}, {L'(', 0, 0}, {L'3', 3, 0}, {L'%', 3, 5}, {L'x', 5, 3}};
    for (const auto& [c, fg, bg] : colourKeys) {
        Char(c);
        EXPECT_TRUE(gPen.foreground == fg && CheckedButton(IDT_FG0) == fg) << char(c);
        EXPECT_TRUE(gPen.background == bg && CheckedButton(IDT_BG0) == bg) << char(c);
    }
    Command(IDT_FG0 + 6);
    EXPECT_EQ(gPen.foreground, 6);
    // Only lowercase letters act.
    for (const auto& [c, tool] : {std::pair{L'P', IDT_PEN}, {L'p', IDT_FILL}, {L'\x1B', IDT_SELECT}, {L'y', IDT_PEN}}) {
        Char(c);
        EXPECT_EQ(gPointer.tool, tool) << int(c);
    }
    // Alt with a lowercase letter or a digit never reaches the menu bar; any
    // other Alt character does.
    gKeyMenus = 0;
    gEditorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(gShell.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountKeyMenus)));
    for (wchar_t c : {L'1', L'a', L'z', L'0'}) SendMessageW(gShell.main, WM_SYSCHAR, c, 1 << 29);
    EXPECT_EQ(gKeyMenus, 0);
    SendMessageW(gShell.main, WM_SYSCHAR, L'F', 1 << 29);
    EXPECT_EQ(gKeyMenus, 1);
    SetWindowLongPtrW(gShell.main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gEditorProc));

    // The arrows move in the palette (wrapping in the row), the space bar
    // switches its page.
    gPen.cursor = 16;
    Key(VK_LEFT);
    Key(VK_DOWN);
    EXPECT_EQ(gPen.cursor, 47);
    Char(L' ');
    EXPECT_TRUE(gPen.page == 1 && (MenuState(IDM_AUXPALETTE) & MF_CHECKED));
    Char(L' ');
    EXPECT_EQ(gPen.page, 0);

    gScreen.code[CellIndex(4, 4)] = 0x41;
    gScreen.attr[CellIndex(4, 4)] = 0x80 | 0x25;
    const POINT p = CellCentre(4, 4);
    RightClick(p.x, p.y);
    EXPECT_TRUE(gPen.foreground == 2 && CheckedButton(IDT_FG0) == 2);
    EXPECT_TRUE(gPen.background == 5 && CheckedButton(IDT_BG0) == 5);
    EXPECT_EQ(gPen.cursor, kPaletteLastEntry);

    // The status bar describes the cell and the palette entry under the mouse.
    const auto part = [](int n) {
        wchar_t text[64] = {};
        SendMessageW(gShell.statusBar, SB_GETTEXTW, n, reinterpret_cast<LPARAM>(text));
        return std::wstring(text);
    };
    Command(IDM_STATUSBAR);
    Move(p.x, p.y, 0);
    EXPECT_EQ(part(0) + L"|" + part(1), L"( 4,  4)|Chr: 41 h  Attr: A5 h");
    const Point entry = PaletteBox(9 * 16 + 1);
    Move(entry.x + 1, entry.y + 1, 0);
    EXPECT_EQ(part(1), L"Chr: 01 h  Attr: 25 h");
    EXPECT_EQ(gLastCell.x, -1);
}

TEST_F(Painting, WindowShowsThePanelAndThePaletteCursor)
{
    WriteFile(Scratch(L"s.txt"), SampleScreenFile());
    Start(Scratch(L"s.txt"));
    UpdateWindow(gShell.main);
    const ViewGeometry& g = CurrentView();
    const SIZE size = ClientSize();
    const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
    Rect frames[2];
    PaletteCursorFrames(gPen.cursor, gShell.Tb, frames);
    const auto onFrame = [&](int x, int y) {
        for (const Rect& f : frames) {
            const bool inside = x >= f.left && x < f.right && y >= f.top && y < f.bottom;
            const bool edge = x == f.left || x == f.right - 1 || y == f.top || y == f.bottom - 1;
            if (inside && edge) return true;
        }
        return false;
    };
    int differing = 0, orange = 0;
    for (int y = 0; y < g.H; ++y)
        for (int x = 0; x < g.W; ++x) {
            const uint32_t got = shown[static_cast<size_t>(y + gShell.Tb) * size.cx + x];
            if (onFrame(x, y + gShell.Tb)) {
                orange += got == 0xFF8000;
                continue;
            }
            differing += got != (*PixelAt(gBackBuffer, x, y) & 0xFFFFFF);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(orange, 2 * (4 * (g.s + 2) - 4) + 8);  // two rings around the entry
    // The panel: grey background, black frame, cells in their colours.
    EXPECT_EQ(*PixelAt(gBackBuffer, 2, 2) & 0xFFFFFF, 0x404040u);
    EXPECT_EQ(*PixelAt(gBackBuffer, 6, 100) & 0xFFFFFF, 0u);
    EXPECT_TRUE(BoxShowsCell(17, 9));
}
