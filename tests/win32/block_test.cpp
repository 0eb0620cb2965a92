// Blocks on the real window: selecting and moving with mouse messages, the
// marquee and the floating block on screen, the real clipboard (also with
// text from another program), the picture copy and the menu states.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/pointer.h"
#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/pen.h"
#include "screen/selection.h"
#include "screen/undo.h"
#include "shell/base/shell_win32.h"
#include "tests/box_check.h"
#include "tests/win32/editor_harness.h"

namespace {

int Code(int x, int y) { return gScreen.code[CellIndex(x, y)]; }

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(gShell.main)) return "<closed>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Puts `bytes` on the clipboard from another process, without a zero byte
// at their end.
void PutFromAnotherProgram(const std::wstring& scratchFile, const std::string& bytes)
{
    ASSERT_TRUE(WriteWholeFile(scratchFile, bytes));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"vexa_clip_put.exe";
    std::wstring line = L"\"" + program + L"\" \"" + scratchFile + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForSingleObject(process.hProcess, 20000);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 0u);
}

// Lets the window's timers and paints run for `ms` milliseconds.
void Pump(DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
}

bool Grayed(UINT state) { return (state & MF_GRAYED) != 0; }

}  // namespace

class Blocks : public EditorTest {
protected:
    void StartOnSample()
    {
        EditorTest::StartOnSample();
        for (int i = 0; i < kCellCount; ++i) before_[i] = gScreen.code[i];
    }
    void DragCells(int x0, int y0, int x1, int y1)
    {
        const POINT a = CellCentre(x0, y0), b = CellCentre(x1, y1);
        Move(a.x, a.y, 0);
        Press(a.x, a.y);
        Move((a.x + b.x) / 2, (a.y + b.y) / 2);
        Move(b.x, b.y);
        Release(b.x, b.y);
    }
    int before_[kCellCount];
};

TEST_F(Blocks, SelectShowsTheRunningMarqueeAndAMoveCarriesTheBlockOverTheLeftEdge)
{
    StartOnSample();
    Char(L'm');
    ASSERT_EQ(gPointer.tool, IDT_SELECT);
    DragCells(15, 4, 5, 2);
    ASSERT_TRUE(gSelection.active);
    EXPECT_EQ(gSelection.x0, 5);
    EXPECT_EQ(gSelection.y0, 2);
    EXPECT_EQ(gSelection.x1, 15);
    EXPECT_EQ(gSelection.y1, 4);

    // The window shows the dashed frame just outside the cells, by phase.
    UpdateWindow(gShell.main);
    const SIZE size = ClientSize();
    auto checkMarquee = [&](const char* when) {
        const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
        MarqueeLine lines[4];
        const int n = MarqueeLines(gSelection.x0, gSelection.y0, gSelection.x1, gSelection.y1, gShell.Tb, lines);
        int wrong = 0, pixels = 0;
        for (int i = 0; i < n; ++i)
            for (int y = lines[i].rect.top; y < lines[i].rect.bottom; ++y)
                for (int x = lines[i].rect.left; x < lines[i].rect.right; ++x, ++pixels) {
                    const bool black = MarqueePixelIsBlack(lines[i].side, x, y, gSelection.phase);
                    wrong += shown[static_cast<size_t>(y) * size.cx + x] != (black ? 0x000000u : 0xFFFFFFu);
                }
        EXPECT_EQ(wrong, 0) << when;
        return pixels;
    };
    EXPECT_EQ(checkMarquee("at once"), 2 * (11 * 16 + 1) + 2 * (3 * 16 + 1));
    // Timer 1 runs it.
    const int phase = gSelection.phase;
    Pump(350);
    EXPECT_NE(gSelection.phase, phase);
    checkMarquee("after some ticks");

    // The cursor over a handle: resize left and right.
    const Point right = CellToPixel(16, 3);
    Move(right.x - 1, right.y, 0);
    SendMessageW(gShell.main, WM_SETCURSOR, reinterpret_cast<WPARAM>(gShell.main), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));

    // Grabbed at column 8 and moved to column 0: three columns hang off.
    DragCells(8, 3, 0, 3);
    EXPECT_EQ(gSelection.x0, -3);
    EXPECT_EQ(gBlock.state, kFloatingMoved);
    KillTimer(gShell.main, 1);  // hold the phase still while the window is read
    InvalidateRect(gShell.main, nullptr, FALSE);
    UpdateWindow(gShell.main);
    const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
    const int s = CurrentView().s;
    int wrong = 0;
    for (int y = 0; y < 3 * s; ++y)
        for (int x = 0; x < 8 * s; ++x) {
            const Point to = CellToPixel(0, 2);
            const uint32_t want = *PixelAt(gBackBuffer, 3 * s + x, CurrentView().H + y) & 0xFFFFFF;
            wrong += shown[static_cast<size_t>(to.y + gShell.Tb + y) * size.cx + to.x + x] != want;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(checkMarquee("off the left edge"), 2 * (8 * 16 + 1) + (3 * 16 + 1));  // no left side

    // A press outside drops it; one undo takes back the move and the drop.
    const POINT outside = CellCentre(30, 20);
    Press(outside.x, outside.y);
    Release(outside.x, outside.y);
    EXPECT_FALSE(BlockFloats());
    for (int x = 0; x <= 7; ++x) EXPECT_EQ(Code(x, 3), before_[CellIndex(x + 8, 3)]) << x;
    for (int x = 8; x <= 15; ++x) EXPECT_EQ(Code(x, 3), kBlankCode) << x;
    EXPECT_TRUE(BoxShowsCell(2, 3));
    Command(IDM_UNDO);
    for (int i = 0; i < kCellCount; ++i) ASSERT_EQ(gScreen.code[i], before_[i]) << i;
    EXPECT_EQ(Title(), L"s.txt - Vexa");
}

TEST_F(Blocks, CutCopyAndPasteThroughTheRealClipboard)
{
    StartOnSample();
    Command(IDM_SELECTALL);
    EXPECT_EQ(gPointer.tool, IDT_SELECT);
    EXPECT_TRUE(SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_SELECT, 0));
    SetSelection(2, 1, 4, 2);
    Command(IDM_COPY);
    EXPECT_FALSE(gSelection.active);
    char expected[64];
    snprintf(expected, sizeof expected, " 3  2\n%02X %02X %02X %02X %02X %02X\n", before_[CellIndex(2, 1)],
             before_[CellIndex(3, 1)], before_[CellIndex(4, 1)], before_[CellIndex(2, 2)], before_[CellIndex(3, 2)],
             before_[CellIndex(4, 2)]);
    EXPECT_EQ(ClipboardText().substr(0, strlen(expected)), expected);

    // Paste: a floating block centred on the last cell under the mouse.
    const POINT at = CellCentre(20, 10);
    Move(at.x, at.y, 0);
    EXPECT_FALSE(Grayed(MenuState(IDM_PASTE)));
    Command(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(gSelection.x0, 19);
    EXPECT_EQ(gSelection.y0, 9);
    EXPECT_FALSE(Grayed(MenuState(IDM_UNDO)));
    Press(CellCentre(0, 24).x, CellCentre(0, 24).y);  // drops it
    EXPECT_EQ(Code(21, 10), before_[CellIndex(4, 2)]);

    // Cut blanks the cells, white on black.
    SetSelection(0, 0, 1, 0);
    Command(IDM_CUT);
    EXPECT_EQ(Code(0, 0), 0);
    EXPECT_EQ(gScreen.attr[CellIndex(1, 0)], 0x70);
    EXPECT_EQ(ClipboardText().substr(0, 6), " 2  1\n");

    // Text from another program: no zero byte at its end, lower case,
    // commas. Then text whose value is too large: paste stays grayed.
    PutFromAnotherProgram(Scratch(L"clip.txt"), "2,1\r\nab,cd\r\n17,ff\r\n");
    EXPECT_FALSE(Grayed(MenuState(IDM_PASTE)));
    Command(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(gBlock.code[0], 0xAB);
    EXPECT_EQ(gBlock.attr[1], 0xFF);
    Command(IDM_UNDO);  // only the pasted block goes
    EXPECT_FALSE(BlockFloats());
    EXPECT_EQ(Code(0, 0), 0);
    for (const char* bad : {" 1  1\n141\n70\n", " 1  1\n41\n70", "40 26\n00\n00\n"}) {
        PutFromAnotherProgram(Scratch(L"clip.txt"), bad);
        EXPECT_TRUE(Grayed(MenuState(IDM_PASTE))) << bad;
        Command(IDM_PASTE);
        EXPECT_FALSE(BlockFloats()) << bad;
    }
}

TEST_F(Blocks, CopyAsImagePutsTheCellsWithoutTheGrid)
{
    StartOnSample();
    Command(IDM_ZOOM3);
    SetSelection(3, 2, 6, 4);
    Command(IDM_COPYIMAGE);
    EXPECT_FALSE(gSelection.active);
    ASSERT_TRUE(OpenClipboard(gShell.main));
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    BITMAP shape;
    ASSERT_TRUE(GetObjectW(bitmap, sizeof shape, &shape));
    const int s = CurrentView().s, w = 4 * s, h = 3 * s;
    EXPECT_EQ(shape.bmWidth, w);
    EXPECT_EQ(shape.bmHeight, h);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(gShell.main);
    ASSERT_EQ(GetDIBits(dc, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS), h);
    ReleaseDC(gShell.main, dc);
    CloseClipboard();

    // The same cells drawn plainly (no grid, no marks are on).
    std::vector<uint32_t> plain(static_cast<size_t>(w) * h);
    const PixelView view = {plain.data(), w, h};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const int i = CellIndex(3 + c, 2 + r);
            DrawPlainGlyph(view, c * s, r * s, gScreen.code[i], gScreen.attr[i], CurrentView().k);
        }
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) wrong += (pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != *PixelAt(view, x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(ShowGrid);
}

TEST_F(Blocks, MenuStatesKeysAndTheStatusBarParts)
{
    StartOnSample();
    // Without a selection the block items are grayed.
    for (int id : {IDM_CUT, IDM_COPY, IDM_COPYIMAGE, IDM_FILL, IDM_FLIPLR, IDM_FLIPUD, IDM_SHIFTLEFT, IDM_SHIFTDOWN})
        EXPECT_TRUE(Grayed(MenuState(id))) << id;
    Command(IDM_SELECTALL);
    for (int id : {IDM_CUT, IDM_COPY, IDM_COPYIMAGE, IDM_FILL, IDM_FLIPLR, IDM_FLIPUD, IDM_SHIFTLEFT, IDM_SHIFTDOWN,
                   IDM_SELECTALL})
        EXPECT_FALSE(Grayed(MenuState(id))) << id;

    // Ctrl+→ shifts the semigraphic picture of the selection by a half cell.
    SetSelection(0, 0, 0, 0);
    gScreen.code[0] = 0xF1;
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Key(VK_RIGHT);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(Code(0, 0), 0xF2);
    EXPECT_TRUE(gSelection.active);
    Command(IDM_UNDO);
    EXPECT_EQ(Code(0, 0), 0xF1);

    // Fill with the Pen, flip, and the pen tool takes the selection away.
    Command(IDM_SELECTALL);
    Command(IDM_FILL);
    EXPECT_FALSE(gSelection.active);
    EXPECT_EQ(Code(39, 24), Code(0, 0));
    Command(IDM_SELECTALL);
    Char(L'y');
    EXPECT_FALSE(gSelection.active);

    // The status bar's parts hold their longest texts in the bar's own font.
    Command(IDM_STATUSBAR);
    HDC dc = GetDC(gShell.statusBar);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(gShell.statusBar, WM_GETFONT, 0, 0)));
    for (int part = 0; part < 2; ++part) {
        const wchar_t* text = part == 0 ? L"[40, 25]" : L"Chr: DB h  Attr: DB h";
        SIZE extent;
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
        RECT r;
        SendMessageW(gShell.statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        EXPECT_GT(r.right - r.left, extent.cx + 6) << part;
    }
    SelectObject(dc, old);
    ReleaseDC(gShell.statusBar, dc);
}

TEST_F(Blocks, FillClicksAndTypedText)
{
    Start();
    // A fill click floods the blank screen with the Pen's cell; semigraphic
    // mode sets every sub-block instead. One undo each.
    Char(L'p');
    SetPaletteCursor(9 * 16 + 1);  // 'A'
    const POINT at = CellCentre(7, 7);
    Press(at.x, at.y);
    Release(at.x, at.y);
    EXPECT_EQ(Code(0, 0), 0x01);
    EXPECT_EQ(Code(39, 24), 0x01);
    EXPECT_TRUE(BoxShowsCell(39, 24));
    Command(IDM_UNDO);
    EXPECT_EQ(Code(39, 24), 0x00);
    Command(IDM_SEMIGRAPHIC);
    Press(at.x, at.y);
    EXPECT_EQ(Code(0, 0), 0xFF);
    EXPECT_EQ(gScreen.attr[CellIndex(0, 0)], 0x71);
    Command(IDM_UNDO);
    EXPECT_FALSE(CanUndo());

    // Typed text is converted through code page 932 whatever the system's:
    // the thirteen kanji, then a character it cannot hold, which stays blank
    // and reopens as a space.
    textAnswers.push_back({L"日月火水木金土生年時分秒円", false});
    textAnswers.push_back({L"HELLO é", false});
    Command(IDM_TEXTINPUT);
    ASSERT_TRUE(BlockFloats());
    for (int c = 0; c < 13; ++c) EXPECT_EQ(gBlock.code[c], 0xD0 + c) << c;
    EXPECT_FALSE(Grayed(MenuState(IDM_TEXTINPUT)));
    Command(IDM_TEXTINPUT);
    EXPECT_EQ(textDialogsSeen[1].text, L"日月火水木金土生年時分秒円");
    const int hello[] = {0x08, 0x05, 0x0C, 0x0C, 0x0F, 0x00, 0x00};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(gBlock.code[c], hello[c]) << c;
    EXPECT_EQ(Code(1, 1), 0xD0);  // the kanji were dropped before the dialog
    textAnswers.push_back({L"\r\n", true});
    Command(IDM_TEXTINPUT);
    EXPECT_EQ(textDialogsSeen[2].text, L"HELLO  ");
    EXPECT_FALSE(BlockFloats());  // only a line break: no block
    EXPECT_TRUE(gSelection.active);
}
