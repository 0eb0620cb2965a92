// Editing on the real window: mouse messages into strokes, capture and
// modifiers, the keys, and the toolbar and status bar that follow; blocks
// selected and moved, the marquee and the floating block on screen, the real
// clipboard (also with text from another program); animation frames and the
// player; what the window shows of the panel, the palette cursor and an
// overlay; overlays and conversions from real picture files through the
// platform's decoder. (What strokes and block operations do to the cells is
// proved by the core's own tests.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "anim/frames.h"
#include "io/block_text.h"
#include "app/pointer.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/palette_view.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/palette_pages.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/strokes.h"
#include "shell/base/shell_win32.h"
#include "shell/panel_win32.h"
#include "shell/player_win32.h"
#include "shell/wic_win32.h"
#include "tests/bmp_maker.h"
#include "tests/box_check.h"
#include "tests/png_maker.h"
#include "tests/win32/editor_harness.h"

namespace {

int Code(int x, int y) { return gDoc.screen.code[CellIndex(x, y)]; }
int Attr(int x, int y) { return gDoc.screen.attr[CellIndex(x, y)]; }

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

// Another program (`helper`) puts `bytes` on the clipboard, without a zero
// byte at their end.
void PutFromAnotherProgram(const std::wstring& helper, const std::wstring& scratchFile, const std::string& bytes)
{
    ASSERT_TRUE(WriteWholeFile(scratchFile, bytes));
    std::wstring line = L"\"" + helper + L"\" \"" + scratchFile + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(helper.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForSingleObject(process.hProcess, 20000);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 0u);
}

int CheckedButton(int first)
{
    for (int c = 0; c < 8; ++c)
        if (SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, first + c, 0)) return c;
    return -1;
}

// Pixels of the player's client area that differ from frame `k`'s picture.
int PictureDifferences(int k)
{
    const PlayerLayout& l = gPlayer.layout;
    std::vector<uint32_t> want(static_cast<size_t>(l.bufferWidth) * l.bufferHeight);
    const PixelView view = {want.data(), l.bufferWidth, l.bufferHeight};
    DrawFramePicture(view, k, l);
    const std::vector<uint32_t> shown = GrabClient(l.clientWidth, l.clientHeight, PlayerWindow());
    int wrong = 0;
    for (int y = 0; y < l.bufferHeight; ++y)
        for (int x = 0; x < l.bufferWidth; ++x)
            wrong += shown[static_cast<size_t>(l.picture.y + y) * l.clientWidth + l.picture.x + x] != *PixelAt(view, x, y);
    return wrong;
}

}  // namespace

using Painting = EditorTest;

// A stroke paints the cells reported, captures the mouse, clamps points
// beyond the window on either side to the edge cells, and is one undo step;
// Shift and Ctrl reach the pen; losing the mouse ends the stroke; the marker
// tool and its keys.
TEST_F(Painting, StrokesThroughMouseMessages)
{
    Start();
    SetPaletteCursor(9 * 16 + 1);  // 'A'
    const POINT a = CellCentre(2, 3), b = CellCentre(3, 3), c = CellCentre(6, 3);
    Press(a.x, a.y);
    EXPECT_EQ(GetCapture(), gShell.main);
    Move(b.x, b.y);
    Move(c.x, c.y);   // jumps: only the cells reported are painted
    Move(-40, a.y);   // left of the window: the first column, not the far edge
    Move(900, a.y);   // beyond the canvas: the last column
    Release(900, a.y);
    EXPECT_EQ(GetCapture(), nullptr);
    Move(CellCentre(10, 10).x, CellCentre(10, 10).y, 0);  // button up: nothing
    for (int x : {0, 2, 3, 6, 39}) EXPECT_TRUE(Code(x, 3) == 0x01 && Attr(x, 3) == 0x71 && BoxShowsCell(x, 3)) << x;
    EXPECT_TRUE(Code(4, 3) == 0 && Code(10, 10) == 0);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_FALSE(Grayed(IDM_UNDO));
    Command(IDM_UNDO);
    EXPECT_TRUE(Code(2, 3) == 0 && BoxShowsCell(2, 3));
    EXPECT_EQ(Title(), L"無題 - Vexa");

    // Shift paints the colours only, Ctrl the character only.
    gDoc.screen.code[CellIndex(1, 1)] = 0x0D;
    gDoc.screen.attr[CellIndex(1, 1)] = 0x80 | 0x24 | kAttrMark;
    const POINT p = CellCentre(1, 1);
    Press(p.x, p.y, MK_SHIFT);
    Release(p.x, p.y);
    EXPECT_TRUE(Code(1, 1) == 0x0D && Attr(1, 1) == (0x80 | 0x71 | kAttrMark)) << Code(1, 1) << " " << Attr(1, 1);
    Press(p.x, p.y, MK_CONTROL);
    Release(p.x, p.y);
    EXPECT_TRUE(Code(1, 1) == 0x01 && Attr(1, 1) == (0x80 | 0x71 | kAttrMark)) << Code(1, 1) << " " << Attr(1, 1);

    // Another window takes the mouse mid-stroke: the stroke ends there.
    Press(a.x, a.y + 32);
    ReleaseCapture();
    EXPECT_EQ(gTool.drag, kNoDrag);
    Move(c.x, c.y + 32);
    EXPECT_EQ(Code(6, 5), 0);

    // '9' takes the marker: the toolbar button and the menu's check follow;
    // F9 through WM_KEYDOWN hands back the pen.
    Char(L'9');
    EXPECT_TRUE(SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_MARK, 0));
    EXPECT_TRUE(Checked(IDM_MARKBIT3));
    Key(VK_F9);
    EXPECT_TRUE(SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_PEN, 0));
}

// Each colour button of the toolbar shows its MZ-700 colour (bit 0 blue,
// bit 1 red, bit 2 green); keys and a right click reach the Pen, and the
// buttons and the status bar follow.
TEST_F(Painting, ToolbarKeysPickUpAndStatusBar)
{
    Start();
    UpdateWindow(gShell.toolbar);
    RECT bar;
    GetClientRect(gShell.toolbar, &bar);
    const std::vector<uint32_t> shown = GrabClient(bar.right, bar.bottom, gShell.toolbar);
    for (int n = 0; n < 8; ++n)
        for (int first : {IDT_FG0, IDT_BG0}) {
            RECT r;
            SendMessageW(gShell.toolbar, TB_GETRECT, first + n, reinterpret_cast<LPARAM>(&r));
            const uint32_t want = (n & 2 ? 0xFF0000u : 0) | (n & 4 ? 0x00FF00u : 0) | (n & 1 ? 0x0000FFu : 0);
            EXPECT_EQ(shown[static_cast<size_t>(r.top + r.bottom) / 2 * bar.right + (r.left + r.right) / 2], want)
                << "button " << first + n;
        }
    EXPECT_EQ(CheckedButton(IDT_FG0), 7);
    EXPECT_EQ(CheckedButton(IDT_BG0), 1);
    // A key that swaps the colours: both rows of buttons follow.
    Char(L'x');
    EXPECT_TRUE(gPen.foreground == 1 && CheckedButton(IDT_FG0) == 1);
    EXPECT_TRUE(gPen.background == 7 && CheckedButton(IDT_BG0) == 7);

    // The arrows reach the palette cursor through WM_KEYDOWN.
    gPen.cursor = 16;
    Key(VK_LEFT);
    Key(VK_DOWN);
    EXPECT_EQ(gPen.cursor, 47);

    // A right click picks the cell up: the buttons follow.
    gDoc.screen.code[CellIndex(4, 4)] = 0x41;
    gDoc.screen.attr[CellIndex(4, 4)] = 0x80 | 0x25;
    const POINT p = CellCentre(4, 4);
    RightClick(p.x, p.y);
    EXPECT_TRUE(gPen.foreground == 2 && CheckedButton(IDT_FG0) == 2);
    EXPECT_TRUE(gPen.background == 5 && CheckedButton(IDT_BG0) == 5);

    // The status bar describes the cell and the palette entry under the mouse.
    const auto part = [this](int n) { return StatusPart(n); };
    Command(IDM_STATUSBAR);
    Move(p.x, p.y, 0);
    EXPECT_EQ(part(0) + L"|" + part(1), L"( 4,  4)|Chr: 41 h  Attr: A5 h");
    const Point entry = PaletteBox(9 * 16 + 1);
    Move(entry.x + 1, entry.y + 1, 0);
    EXPECT_EQ(part(1), L"Chr: 01 h  Attr: 25 h");

    // While a pasted block floats with marked cells transparent, the third
    // part names the marks that leave cells out; the other two stay as
    // they were. Dropping the block takes the hint away.
    Command(IDM_MARKTRANSPARENT);
    Key(VK_F9);
    EXPECT_EQ(part(2), L"");
    Command(IDM_SELECTALL);
    Command(IDM_COPY);
    Command(IDM_PASTE);
    EXPECT_EQ(part(0) + L"|" + part(1) + L"|" + part(2), L"|Chr: 01 h  Attr: 25 h|透明: Bit3のマーク(F9)");
    Char(L'y');
    EXPECT_EQ(part(2), L"");
}

class Blocks : public EditorTest {
protected:
    void DragCells(int x0, int y0, int x1, int y1)
    {
        const POINT a = CellCentre(x0, y0), b = CellCentre(x1, y1);
        Move(a.x, a.y, 0);
        Press(a.x, a.y);
        Move((a.x + b.x) / 2, (a.y + b.y) / 2);
        Move(b.x, b.y);
        Release(b.x, b.y);
    }
};

// Block items follow the selection; the marquee runs on the window; a moved
// block shows over the left edge and one undo takes it back; Ctrl+arrow
// reaches the shift through the real key state.
TEST_F(Blocks, SelectShowsTheRunningMarqueeAndAMoveCarriesTheBlockOverTheLeftEdge)
{
    StartOnSample();
    EXPECT_TRUE(Grayed(IDM_CUT));
    Char(L'm');
    ASSERT_TRUE(gTool.tool == IDT_SELECT && SendMessageW(gShell.toolbar, TB_ISBUTTONCHECKED, IDT_SELECT, 0));
    DragCells(15, 4, 5, 2);
    ASSERT_TRUE(gDoc.selection.active && gDoc.selection.x0 == 5 && gDoc.selection.y0 == 2 && gDoc.selection.x1 == 15);
    EXPECT_FALSE(Grayed(IDM_CUT));

    // The window shows the dashed frame just outside the cells, by phase.
    UpdateWindow(gShell.main);
    const SIZE size = ClientSize();
    auto checkMarquee = [&](const char* when) {
        const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
        MarqueeLine lines[4];
        const int n = MarqueeLines(gDoc.selection.x0, gDoc.selection.y0, gDoc.selection.x1, gDoc.selection.y1, gShell.Tb, lines);
        int wrong = 0, pixels = 0;
        for (int i = 0; i < n; ++i)
            for (int y = lines[i].rect.top; y < lines[i].rect.bottom; ++y)
                for (int x = lines[i].rect.left; x < lines[i].rect.right; ++x, ++pixels) {
                    const bool black = MarqueePixelIsBlack(lines[i].side, x, y, gDoc.selection.phase);
                    wrong += shown[static_cast<size_t>(y) * size.cx + x] != (black ? 0x000000u : 0xFFFFFFu);
                }
        EXPECT_EQ(wrong, 0) << when;
        return pixels;
    };
    EXPECT_EQ(checkMarquee("at once"), 2 * (11 * 16 + 1) + 2 * (3 * 16 + 1));
    // Timer 1 runs it.
    const int phase = gDoc.selection.phase;
    EXPECT_TRUE(WaitUntil([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return gDoc.selection.phase != phase;
    }, 2000));
    UpdateWindow(gShell.main);
    checkMarquee("after a tick");

    // The cursor over a handle: resize left and right.
    const Point right = CellToPixel(16, 3);
    Move(right.x - 1, right.y, 0);
    SendMessageW(gShell.main, WM_SETCURSOR, reinterpret_cast<WPARAM>(gShell.main), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));

    // Grabbed at column 8 and moved to column 0: three columns hang off.
    DragCells(8, 3, 0, 3);
    EXPECT_EQ(gDoc.selection.x0, -3);
    EXPECT_EQ(gDoc.block.state, kFloatingMoved);
    KillTimer(gShell.main, 1);  // hold the phase still while the window is read
    InvalidateRect(gShell.main, nullptr, FALSE);
    UpdateWindow(gShell.main);
    const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
    const int s = CurrentView().s;
    int wrong = 0;
    for (int y = 0; y < 3 * s; ++y)
        for (int x = 0; x < 8 * s; ++x) {
            const Point to = CellToPixel(0, 2);
            const uint32_t want = *PixelAt(gCanvas.pixels, 3 * s + x, CurrentView().H + y) & 0xFFFFFF;
            wrong += shown[static_cast<size_t>(to.y + gShell.Tb + y) * size.cx + to.x + x] != want;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(checkMarquee("off the left edge"), 2 * (8 * 16 + 1) + (3 * 16 + 1));  // no left side

    // A press outside drops it; one undo takes back the move and the drop.
    const POINT outside = CellCentre(30, 20);
    Press(outside.x, outside.y);
    Release(outside.x, outside.y);
    EXPECT_FALSE(BlockFloats());
    EXPECT_TRUE(BoxShowsCell(0, 3));
    Command(IDM_UNDO);
    EXPECT_EQ(Title(), L"s.txt - Vexa");

    // Ctrl+→ shifts the semigraphic picture of the selection by a half cell.
    SetSelection(0, 0, 0, 0);
    gDoc.screen.code[0] = 0xF1;
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Key(VK_RIGHT);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(Code(0, 0), 0xF2);
    Command(IDM_UNDO);
    EXPECT_EQ(Code(0, 0), 0xF1);
}

TEST_F(Blocks, CutCopyPasteAndCopyAsImageThroughTheRealClipboard)
{
    StartOnSample();
    // Copy: the cells as the core writes them, through the real clipboard.
    const std::string copied =
        WriteBlockText(&gDoc.screen.code[CellIndex(2, 1)], &gDoc.screen.attr[CellIndex(2, 1)], kScreenColumns, 3, 2);
    SetSelection(2, 1, 4, 2);
    Command(IDM_COPY);
    EXPECT_FALSE(gDoc.selection.active);
    EXPECT_EQ(ClipboardText(), copied);

    // Paste: a floating block centred on the last cell under the mouse.
    const POINT at = CellCentre(20, 10);
    Move(at.x, at.y, 0);
    EXPECT_FALSE(Grayed(IDM_PASTE));
    Command(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    EXPECT_TRUE(gDoc.selection.x0 == 19 && gDoc.selection.y0 == 9);
    Press(CellCentre(0, 24).x, CellCentre(0, 24).y);  // drops it

    // Cut puts the cells on the clipboard.
    SetSelection(0, 0, 1, 0);
    Command(IDM_CUT);
    EXPECT_EQ(ClipboardText().substr(0, 6), " 2  1\n");

    // Text from another program: no zero byte at its end, lower case,
    // commas. Then text whose value is too large: paste stays grayed.
    PutFromAnotherProgram(BesideProgram(L"vexa_clip_put.exe"), Scratch(L"clip.txt"), "2,1\r\nab,cd\r\n17,ff\r\n");
    EXPECT_FALSE(Grayed(IDM_PASTE));
    Command(IDM_PASTE);
    ASSERT_TRUE(BlockFloats());
    EXPECT_EQ(gDoc.block.code[0], 0xAB);
    EXPECT_EQ(gDoc.block.attr[1], 0xFF);
    Command(IDM_UNDO);
    PutFromAnotherProgram(BesideProgram(L"vexa_clip_put.exe"), Scratch(L"clip.txt"), " 1  1\n141\n70\n");
    EXPECT_TRUE(Grayed(IDM_PASTE));
    Command(IDM_PASTE);
    EXPECT_FALSE(BlockFloats());

    // Copy as image: the cells as the canvas draws them plainly, without the
    // grid that is on.
    Command(IDM_ZOOM3);
    SetSelection(3, 2, 6, 4);
    Command(IDM_COPYIMAGE);
    EXPECT_FALSE(gDoc.selection.active);
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

    std::vector<uint32_t> plain(static_cast<size_t>(w) * h);
    const PixelView view = {plain.data(), w, h};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const int i = CellIndex(3 + c, 2 + r);
            DrawPlainGlyph(view, c * s, r * s, gDoc.screen.code[i], gDoc.screen.attr[i], CurrentView().k);
        }
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) wrong += (pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF) != *PixelAt(view, x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(gView.ShowGrid);
}

class AnimationAndOverlay : public EditorTest {
protected:
    // Loads `bytes` as an overlay through the command; true when loaded.
    bool LoadOverlay(const std::vector<uint8_t>& bytes, const wchar_t* name = L"p.bmp")
    {
        WriteFile(Scratch(name), std::string(bytes.begin(), bytes.end()));
        CommandWithFile(IDM_LOADOVERLAY, Scratch(name));
        return OverlayLoaded();
    }
};

TEST_F(AnimationAndOverlay, FramesOutlinedAndPlayedWhileTheZoomChanges)
{
    StartOnSample();
    SetSelection(2, 1, 3, 2);
    Command(IDM_FRAME2);
    SetSelection(10, 5, 12, 5);
    Command(IDM_FRAME5);
    ASSERT_TRUE(FrameDefined(1) && FrameDefined(4));
    HMENU popup = OpenPopupHolding(IDM_FRAME1);
    wchar_t text[64] = {};
    GetMenuStringW(popup, IDM_FRAME2, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"2コマめをキャンセル");  // a defined frame offers to cancel

    // The outline: orange, one pixel outside the frame's cells.
    UpdateWindow(gShell.main);
    const SIZE size = ClientSize();
    const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
    const FrameOutline o = FrameOutlineOf(4, gShell.Tb);
    int orange = 0, perimeter = 0;
    for (int y = o.outline.top; y < o.outline.bottom; ++y)
        for (int x = o.outline.left; x < o.outline.right; ++x)
            if (y == o.outline.top || y == o.outline.bottom - 1 || x == o.outline.left || x == o.outline.right - 1) {
                ++perimeter;
                orange += shown[static_cast<size_t>(y) * size.cx + x] == 0xFF8000;
            }
    EXPECT_EQ(orange, perimeter);
    // The player: sized for the widest and the tallest frame, showing frame
    // 2 at once, then 5 at the next tick.
    Command(IDM_ANIMSTART);
    ASSERT_NE(PlayerWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(PlayerWindow()));
    RECT client;
    GetClientRect(PlayerWindow(), &client);
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 2 * 16 + 96);
    EXPECT_EQ(PictureDifferences(1), 0);
    EXPECT_TRUE(Grayed(IDM_ANIMSTART));
    SendMessageW(PlayerWindow(), WM_TIMER, 99, 0);
    EXPECT_EQ(PictureDifferences(4), 0);

    // A zoom-in while it plays: the player keeps the zoom it opened with.
    Command(IDM_ZOOM4);
    SendMessageW(PlayerWindow(), WM_TIMER, 99, 0);
    EXPECT_EQ(gPlayer.layout.k, 2);
    EXPECT_EQ(PictureDifferences(1), 0);

    SendMessageW(PlayerWindow(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(PlayerWindow(), nullptr);
    EXPECT_FALSE(gPlayer.open);
}

// Pictures of every kind, decoded by the platform, become the overlay;
// broken files do not.
TEST_F(AnimationAndOverlay, PicturesOfEveryKindAndBrokenFiles)
{
    Start();
    // Each BMP variant shows the picture it holds (16 bits keep 5 per channel).
    for (const BmpSpec& s : BmpVariants()) {
        ASSERT_TRUE(LoadOverlay(MakeBmp(s))) << s.bits << " bits, header " << s.headerSize << (s.rle ? " RLE" : "");
        ASSERT_TRUE(gOverlay.width == kBmpWidth && gOverlay.height == kBmpHeight);
        const uint32_t mask = s.bits == 16 ? 0xF8F8F8 : 0xFFFFFF;
        int wrong = 0;
        for (int i = 0; i < kBmpWidth * kBmpHeight; ++i) {
            const int index = BmpIndex(i % kBmpWidth, i / kBmpWidth);
            wrong += ((gOverlay.pixels[i] ^ BmpPaletteColour(s.bits <= 8 ? index % (1 << s.bits) : index)) & mask) != 0;
        }
        EXPECT_EQ(wrong, 0) << s.bits << " bits, header " << s.headerSize << (s.rle ? " RLE" : "");
    }
    EXPECT_TRUE(gView.ShowOverlay);  // the first load showed it
    EXPECT_TRUE(Checked(IDM_SHOWOVERLAY));

    // A PNG from the platform's encoder; transparency lies on black.
    std::vector<uint8_t> bgra;
    for (int y = 0; y < kBmpHeight; ++y)
        for (int x = 0; x < kBmpWidth; ++x) {
            const uint32_t c = BmpPixel(x, y);
            bgra.insert(bgra.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(x < 5 ? 255 : 0)});
        }
    std::string encoded;
    ASSERT_TRUE(EncodePicture(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 4, bgra.data(), kBmpWidth,
                              kBmpHeight, encoded));
    ASSERT_TRUE(LoadOverlay(std::vector<uint8_t>(encoded.begin(), encoded.end()), L"p.png"));
    EXPECT_EQ(gOverlay.pixels[2], BmpPixel(2, 0));
    EXPECT_EQ(gOverlay.pixels[7], 0u);
    // Files that cannot be trusted give no overlay, and the one before is
    // gone; a cancelled dialog keeps the picture.
    const std::vector<uint8_t> good = MakeBmp({8});
    const std::string text = "hello, not a picture";
    const std::vector<std::vector<uint8_t>> broken = {std::vector<uint8_t>(good.begin(), good.end() - 1),
                                                      std::vector<uint8_t>(text.begin(), text.end())};
    for (const auto& bytes : broken) {
        ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
        EXPECT_FALSE(LoadOverlay(bytes)) << bytes.size() << " bytes";
    }
    ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
    Command(IDM_LOADOVERLAY);  // no answer: cancelled
    EXPECT_TRUE(OverlayLoaded());
    EXPECT_EQ(fileDialogKinds.back(), FileDialog::OpenPicture);
}

// PNG files of a megabyte or less that claim 20000 x 20000 pixels of 24 bits
// (1.2 GB decoded) and 60000 x 60000 of 1 bit (450 MB as stored) are
// refused by their headers before the platform's decoder makes room for
// their pixels: as an overlay, and for the conversion, which says it cannot
// open them and leaves the screen and the overlay as they were. The process
// stays far below what decoding them would take. A large picture that is
// taken is scaled as it is decoded to what covers the canvas at the largest
// zoom: its 128 MB of 32-bit pixels never exist.
TEST_F(AnimationAndOverlay, PictureBombsAreRefusedAndLargePicturesShrunkAsDecoded)
{
    StartOnSample();
    const ScreenBuffer before = gDoc.screen;
    PROCESS_MEMORY_COUNTERS start = {};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &start, sizeof start));
    const std::pair<const wchar_t*, std::string> bombs[] = {{L"rgb.png", png_maker::ZeroPng(20000, 20000, 8, 2)},
                                                            {L"bits.png", png_maker::ZeroPng(60000, 60000, 1, 0)}};
    for (const auto& [name, bytes] : bombs) {
        ASSERT_LT(bytes.size(), size_t{1200} << 10);
        ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
        EXPECT_FALSE(LoadOverlay(std::vector<uint8_t>(bytes.begin(), bytes.end()), name));

        ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
        const std::vector<uint32_t> overlay = gOverlay.pixels;
        messages.clear();
        convertAnswers.push_back(ConvertChoice());  // taken only if the picture were decoded
        CommandWithFile(IDM_CONVERTPICTURE, Scratch(name));
        EXPECT_EQ(messages.size() == 1 ? messages[0].text : L"", Scratch(name) + L" が開けません");
        EXPECT_EQ(convertAnswers.size(), 1u);
        convertAnswers.clear();
        EXPECT_TRUE(OverlayLoaded() && gOverlay.pixels == overlay);
        EXPECT_EQ(0, std::memcmp(&gDoc.screen, &before, sizeof before));
    }
    const std::string big = png_maker::ZeroPng(8000, 4000, 1, 0);
    ASSERT_TRUE(LoadOverlay(std::vector<uint8_t>(big.begin(), big.end()), L"big.png"));
    EXPECT_TRUE(gOverlay.width == 3200 && gOverlay.height == 1600);
    EXPECT_EQ(std::count(gOverlay.pixels.begin(), gOverlay.pixels.end(), 0u), 3200 * 1600);
    PROCESS_MEMORY_COUNTERS end = {};
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &end, sizeof end));
    const SIZE_T mb = 1 << 20, bound = std::max(start.PeakWorkingSetSize, start.WorkingSetSize + 96 * mb);
    std::printf("peak working set: %zu MB before the pictures, %zu MB after\n", start.PeakWorkingSetSize / mb,
                end.PeakWorkingSetSize / mb);
    EXPECT_LT(end.PeakWorkingSetSize, bound) << "at most " << bound / mb << " MB";

    // Shrunk, the picture is still itself: white on the left, black on the
    // right, 3000 x 2000 kept at 2560 x 1707.
    std::vector<uint32_t> halves(3000 * 2000);
    for (size_t i = 0; i < halves.size(); ++i) halves[i] = i % 3000 < 1500 ? 0xFFFFFFFFu : 0xFF000000u;
    std::string encoded;
    ASSERT_TRUE(EncodePicture(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 4, halves.data(), 3000, 2000, encoded));
    ASSERT_TRUE(LoadOverlay(std::vector<uint8_t>(encoded.begin(), encoded.end()), L"halves.png"));
    ASSERT_TRUE(gOverlay.width == 2560 && gOverlay.height == 1707);
    int wrong = 0;
    for (int y = 0; y < 1707; y += 7)
        for (int x = 0; x < 2560; x += 7)
            if (x < 1270 || x > 1290) wrong += gOverlay.pixels[static_cast<size_t>(y) * 2560 + x] != (x < 1280 ? 0xFFFFFFu : 0u);
    EXPECT_EQ(wrong, 0);
}

// The window shows the panel as drawn off screen, with the palette cursor's
// two orange rings around the Pen's entry; with a picture loaded, the canvas
// blended half and half with it, at x1 and x2.
TEST_F(AnimationAndOverlay, TheWindowShowsThePanelThePaletteCursorAndTheBlend)
{
    StartOnSample();
    EXPECT_TRUE(BoxShowsCell(17, 9));
    // Wrong pixels of the panel; the rings must be wholly orange.
    const auto wrongPixels = [&](bool blended) {
        InvalidateRect(gShell.main, nullptr, FALSE);
        UpdateWindow(gShell.main);
        const ViewGeometry& g = CurrentView();
        const SIZE size = ClientSize();
        const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
        const PixelView overlay = ViewOf(gOverlayBuffer);
        Rect rings[2];
        PaletteCursorFrames(gPen.cursor, 0, rings);
        int wrong = 0, orange = 0;
        for (int y = 0; y < g.H; ++y)
            for (int x = 0; x < g.W; ++x) {
                const uint32_t canvas = *PixelAt(gCanvas.pixels, x, y) & 0xFFFFFF;
                const uint32_t got = shown[static_cast<size_t>(y + gShell.Tb) * size.cx + x];
                bool ring = false;
                for (const Rect& f : rings)
                    ring = ring || (x >= f.left && x < f.right && y >= f.top && y < f.bottom &&
                                    (x == f.left || x == f.right - 1 || y == f.top || y == f.bottom - 1));
                if (ring) {
                    orange += got == 0xFF8000;  // drawn over the panel, unblended
                } else if (!blended || x < 8 || y < 8 || x >= 8 + 320 * g.k || y >= 8 + 200 * g.k) {
                    wrong += got != canvas;
                } else {
                    const uint32_t picture = *PixelAt(overlay, x - 8, g.H + y - 8) & 0xFFFFFF;
                    for (int shift = 0; shift < 24; shift += 8) {
                        const int s = (picture >> shift) & 0xFF, d = (canvas >> shift) & 0xFF;
                        const int want = s * 128 / 255 + d * (255 - 128) / 255;
                        wrong += std::abs(static_cast<int>((got >> shift) & 0xFF) - want) > 1;
                    }
                }
            }
        EXPECT_EQ(orange, 2 * (4 * (g.s + 2) - 4) + 8);
        return wrong;
    };
    EXPECT_EQ(wrongPixels(false), 0);

    ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
    for (int zoom : {IDM_ZOOM1, IDM_ZOOM2}) {
        Command(zoom);
        EXPECT_EQ(wrongPixels(true), 0) << "zoom " << zoom - IDM_ZOOM1 + 1;
        // The picture, rebuilt for the zoom, fills the canvas height and
        // keeps its shape: 10 x 6 is a little wider than the canvas and
        // loses a few pixels on each side.
        const ViewGeometry& g = CurrentView();
        const PixelView overlay = ViewOf(gOverlayBuffer);
        EXPECT_EQ(*PixelAt(overlay, 0, g.H) & 0xFFFFFF, BmpPixel(0, 0));
        EXPECT_EQ(*PixelAt(overlay, 320 * g.k - 1, g.H + 200 * g.k - 1) & 0xFFFFFF, BmpPixel(9, 5));
    }
}
