// The program's resources as Windows loads them from the module: the menu,
// the accelerator table, the toolbar bitmap and the icons. The test program
// links the same resource script as Vexa.exe.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"

namespace {

// ---------------------------------------------------------------------------
// Menu

struct Entry {
    enum Kind { Command, Separator, Popup } kind;
    UINT id;
    std::wstring text;
    std::wstring shortcut;  // drawn flush right after U+0008; empty for none
    UINT state;             // MF_GRAYED and MF_CHECKED as the menu starts
    std::vector<Entry> items;
};

Entry Cmd(UINT id, const wchar_t* text, const wchar_t* shortcut = L"", UINT state = 0)
{
    return {Entry::Command, id, text, shortcut, state, {}};
}
Entry Cmd(UINT id, const wchar_t* text, UINT state)
{
    return Cmd(id, text, L"", state);
}
Entry Sep()
{
    return {Entry::Separator, 0, L"", L"", 0, {}};
}
Entry Sub(const wchar_t* text, std::vector<Entry> items)
{
    return {Entry::Popup, 0, text, L"", 0, std::move(items)};
}

std::vector<Entry> ExpectedMenuBar()
{
    return {
        Sub(L"ファイル(&F)",
            {
                Cmd(IDM_OPEN, L"開く(&O)...", L"Ctrl+O"),
                Cmd(IDM_SAVE, L"上書き保存(&S)", L"Ctrl+S"),
                Cmd(IDM_SAVEAS, L"名前をつけて保存(&A)"),
                Sep(),
                Cmd(IDM_LOADOVERLAY, L"オーバーレイBMP読み込み"),
                Sep(),
                Sub(L"最近使ったファイル(&F)", {Cmd(IDM_RECENT_NONE, L"(なし)", MF_GRAYED)}),
                Sep(),
                Cmd(IDM_EXIT, L"終了(&X)"),
            }),
        Sub(L"編集(&E)",
            {
                Cmd(IDM_UNDO, L"元に戻す", L"Ctrl+Z", MF_GRAYED),
                Cmd(IDM_REDO, L"やっぱり戻さない", L"Ctrl+Y", MF_GRAYED),
                Sep(),
                Cmd(IDM_CUT, L"切り取り", L"Ctrl+X", MF_GRAYED),
                Cmd(IDM_COPY, L"コピー", L"Ctrl+C", MF_GRAYED),
                Cmd(IDM_PASTE, L"貼り付け", L"Ctrl+V", MF_GRAYED),
                Cmd(IDM_COPYIMAGE, L"画像でコピー", MF_GRAYED),
                Cmd(IDM_MARKTRANSPARENT, L"マーク箇所は透明"),
                Sep(),
                Cmd(IDM_SELECTALL, L"全てを選択", L"Ctrl+A"),
                Sep(),
                Cmd(IDM_FILL, L"塗りつぶし", MF_GRAYED),
                Cmd(IDM_FLIPLR, L"左右反転", MF_GRAYED),
                Cmd(IDM_FLIPUD, L"上下反転", MF_GRAYED),
                Cmd(IDM_TEXTINPUT, L"文字列入力..."),
            }),
        Sub(L"表示(&V)",
            {
                Cmd(IDM_GRID, L"グリッド表示", L"Ctrl+G", MF_CHECKED),
                Sub(L"グリッド形状", {Cmd(IDM_GRIDDOT, L"・", MF_CHECKED), Cmd(IDM_GRIDCROSS, L"＋")}),
                Sub(L"拡大表示(&Z)",
                    {
                        Cmd(IDM_ZOOM1, L"x&1"),
                        Cmd(IDM_ZOOM2, L"x&2"),
                        Cmd(IDM_ZOOM3, L"x&3"),
                        Cmd(IDM_ZOOM4, L"x&4"),
                        Cmd(IDM_ZOOM5, L"x&5"),
                        Cmd(IDM_ZOOM6, L"x&6"),
                        Cmd(IDM_ZOOM7, L"x&7"),
                        Cmd(IDM_ZOOM8, L"x&8"),
                    }),
                Cmd(IDM_SHOWFRAMES, L"アニメーション枠表示", MF_CHECKED),
                Cmd(IDM_SHOWOVERLAY, L"オーバーレイ表示"),
                Cmd(IDM_STATUSBAR, L"ステータスバー表示"),
                Cmd(IDM_MARKBIT3, L"アトリビュートのBit3をマーク", L"F9"),
                Cmd(IDM_MARKDISPC0, L"ディスプレイコード00hをマーク", L"F11"),
                Sep(),
                Cmd(IDM_AUXPALETTE, L"補助パレット", L"SPACE"),
            }),
        Sub(L"アニメーション(&A)",
            {
                Cmd(IDM_FRAME1, L"1コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME2, L"2コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME3, L"3コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME4, L"4コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME5, L"5コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME6, L"6コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME7, L"7コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME8, L"8コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAME9, L"9コマめに設定", MF_GRAYED),
                Cmd(IDM_FRAMECANCELALL, L"全コマをキャンセル", MF_GRAYED),
                Sep(),
                Cmd(IDM_ANIMSTART, L"アニメーション開始...", MF_GRAYED),
            }),
        Sub(L"セミグラフィック(&S)",
            {
                Cmd(IDM_SEMIGRAPHIC, L"セミグラフィックモード"),
                Sep(),
                Cmd(IDM_SHIFTLEFT, L"選択範囲内を左にシフト", L"Ctrl+←"),
                Cmd(IDM_SHIFTRIGHT, L"選択範囲内を右にシフト", L"Ctrl+→"),
                Cmd(IDM_SHIFTUP, L"選択範囲内を上にシフト", L"Ctrl+↑"),
                Cmd(IDM_SHIFTDOWN, L"選択範囲内を下にシフト", L"Ctrl+↓"),
            }),
        Sub(L"ヘルプ(&H)", {Cmd(IDM_ABOUT, L"About(&A)...")}),
    };
}

struct LoadedItem {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    std::wstring text;
};

LoadedItem ReadItem(HMENU menu, int position)
{
    LoadedItem item;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << "position " << position;
    item.type = info.fType;
    item.state = info.fState;
    item.id = info.wID;
    item.submenu = info.hSubMenu;
    if (!(info.fType & MFT_SEPARATOR) && info.cch > 0) {
        std::vector<wchar_t> text(info.cch + 1);
        info.fMask = MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
        EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
        item.text.assign(text.data(), info.cch);
    }
    return item;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[12];
            wsprintfA(hex, "\\u%04X", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out;
}

void ExpectMenu(HMENU menu, const std::vector<Entry>& expected, const std::string& path)
{
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size())) << path;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Entry& want = expected[i];
        const std::string where = path + " / " + std::to_string(i) + " " + Narrow(want.text);
        SCOPED_TRACE(where);
        const LoadedItem got = ReadItem(menu, static_cast<int>(i));
        if (want.kind == Entry::Separator) {
            EXPECT_TRUE(got.type & MFT_SEPARATOR);
            EXPECT_EQ(got.submenu, nullptr);
            continue;
        }
        EXPECT_FALSE(got.type & MFT_SEPARATOR);
        // The shortcut is separated by U+0008, which right-aligns it; a
        // tab or a BEL would show as a gap or a box instead.
        const std::wstring full = want.shortcut.empty() ? want.text : want.text + L'\x08' + want.shortcut;
        EXPECT_EQ(Narrow(got.text), Narrow(full));
        EXPECT_TRUE(got.text == full);
        if (!want.shortcut.empty()) {
            const size_t mark = got.text.find(L'\x08');
            ASSERT_NE(mark, std::wstring::npos);
            EXPECT_EQ(got.text.substr(mark + 1), want.shortcut);
        } else {
            EXPECT_EQ(got.text.find(L'\x08'), std::wstring::npos);
        }
        EXPECT_EQ((got.state & MFS_GRAYED) != 0, (want.state & MF_GRAYED) != 0) << "grayed";
        EXPECT_EQ((got.state & MFS_CHECKED) != 0, (want.state & MF_CHECKED) != 0) << "checked";
        if (want.kind == Entry::Popup) {
            ASSERT_NE(got.submenu, nullptr);
            ExpectMenu(got.submenu, want.items, where);
        } else {
            EXPECT_EQ(got.submenu, nullptr);
            EXPECT_EQ(got.id, want.id);
        }
    }
}

TEST(Resources, MenuHoldsEveryPopupItemAndInitialState)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), L"VexaMenu");
    ASSERT_NE(menu, nullptr);
    ExpectMenu(menu, ExpectedMenuBar(), "VexaMenu");

    // States reached by command ID, the way the shell toggles them.
    EXPECT_EQ(GetMenuState(menu, IDM_GRID, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), UINT(MF_CHECKED));
    EXPECT_EQ(GetMenuState(menu, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, IDM_ZOOM8, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
    // Ctrl+E toggles the zoom without a menu item of its own.
    EXPECT_EQ(GetMenuState(menu, IDM_ZOOMTOGGLE, MF_BYCOMMAND), UINT(-1));
    DestroyMenu(menu);
}

// ---------------------------------------------------------------------------
// Accelerators

LRESULT CALLBACK RecordCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs a key press through the table the way the message loop does and
// returns the WM_COMMAND wParam it produced, or -1.
LONG_PTR Translate(HWND window, HACCEL table, WPARAM key, bool control)
{
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_LCONTROL] = keys[VK_CONTROL];
    keys[VK_SHIFT] = keys[VK_LSHIFT] = keys[VK_RSHIFT] = 0;
    keys[VK_MENU] = keys[VK_LMENU] = keys[VK_RMENU] = 0;
    SetKeyboardState(keys);
    SetWindowLongPtrW(window, GWLP_USERDATA, -1);
    MSG msg{};
    msg.hwnd = window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    TranslateAcceleratorW(window, table, &msg);
    return GetWindowLongPtrW(window, GWLP_USERDATA);
}

TEST(Resources, AcceleratorsAreCtrlKeysForTheirCommands)
{
    const std::vector<std::pair<WORD, WORD>> expected = {
        {'O', IDM_OPEN},   {'S', IDM_SAVE},  {'Z', IDM_UNDO},      {'Y', IDM_REDO}, {'X', IDM_CUT},
        {'C', IDM_COPY},   {'V', IDM_PASTE}, {'A', IDM_SELECTALL}, {'G', IDM_GRID}, {'E', IDM_ZOOMTOGGLE},
    };
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"myAccel");
    ASSERT_NE(table, nullptr);
    const int count = CopyAcceleratorTableW(table, nullptr, 0);
    ASSERT_EQ(count, static_cast<int>(expected.size()));
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    ASSERT_EQ(CopyAcceleratorTableW(table, entries.data(), count), count);
    std::set<std::pair<WORD, WORD>> got;
    for (const ACCEL& a : entries) {
        SCOPED_TRACE(std::string("key ") + static_cast<char>(a.key));
        EXPECT_EQ(a.fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT);
        got.insert({a.key, a.cmd});
    }
    EXPECT_EQ(got, (std::set<std::pair<WORD, WORD>>(expected.begin(), expected.end())));

    // The table in use: Ctrl with the letter's virtual key gives the command
    // (accelerator notification 1 in the high word); the bare key gives none.
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordCommand;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VexaAccelProbe";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    BYTE saved[256];
    GetKeyboardState(saved);
    for (const auto& [key, command] : expected) {
        SCOPED_TRACE(std::string("Ctrl+") + static_cast<char>(key));
        EXPECT_EQ(Translate(window, table, key, true), static_cast<LONG_PTR>(MAKEWPARAM(command, 1)));
        EXPECT_EQ(Translate(window, table, key, false), -1);
    }
    EXPECT_EQ(Translate(window, table, 'Q', true), -1);
    SetKeyboardState(saved);
    DestroyWindow(window);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    DestroyAcceleratorTable(table);
}

// ---------------------------------------------------------------------------
// Toolbar bitmap

constexpr int kImages = TOOLBAR_IMAGE_COUNT;
constexpr int kImageW = TOOLBAR_IMAGE_WIDTH;
constexpr int kImageH = TOOLBAR_IMAGE_HEIGHT;
constexpr std::uint32_t kGround = 0xC0C0C0;

// MZ-700 colour n: bit 0 blue, bit 1 red, bit 2 green, each fully on or off.
std::uint32_t MzColour(int n)
{
    return (n & 2 ? 0xFF0000u : 0) | (n & 4 ? 0x00FF00u : 0) | (n & 1 ? 0x0000FFu : 0);
}

// The bitmap resource as stored: header, colour table, bottom-up rows.
struct StoredDib {
    const BITMAPINFOHEADER* header = nullptr;
    const RGBQUAD* colours = nullptr;
    const BYTE* bits = nullptr;

    std::uint32_t Pixel(int x, int y) const
    {
        const int stride = (header->biWidth * header->biBitCount + 31) / 32 * 4;
        const RGBQUAD c = colours[bits[(header->biHeight - 1 - y) * stride + x]];
        return (std::uint32_t(c.rgbRed) << 16) | (std::uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
    }
};

StoredDib FindToolbarDib()
{
    StoredDib dib;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDB_TOOLBAR), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!found)
        return dib;
    dib.header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    if (!dib.header)
        return dib;
    const DWORD used = dib.header->biClrUsed ? dib.header->biClrUsed : 1u << dib.header->biBitCount;
    dib.colours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib.header) + dib.header->biSize);
    dib.bits = reinterpret_cast<const BYTE*>(dib.colours + used);
    return dib;
}

TEST(Resources, ToolbarBitmapHoldsTwentyTwoImagesOnGrey)
{
    const StoredDib dib = FindToolbarDib();
    ASSERT_NE(dib.header, nullptr);
    // The toolbar maps the colour table to the button colours, which needs a
    // palette image: 8 bits per pixel, uncompressed.
    EXPECT_EQ(dib.header->biWidth, kImages * kImageW);
    EXPECT_EQ(dib.header->biWidth, 352);
    ASSERT_EQ(dib.header->biHeight, kImageH);
    EXPECT_EQ(dib.header->biHeight, 15);
    ASSERT_EQ(dib.header->biBitCount, 8);
    ASSERT_EQ(dib.header->biCompression, static_cast<DWORD>(BI_RGB));

    for (int image = 0; image < kImages; ++image) {
        SCOPED_TRACE("image " + std::to_string(image));
        const int left = image * kImageW;
        for (int y : {0, kImageH - 1})
            for (int x : {left, left + kImageW - 1})
                EXPECT_EQ(dib.Pixel(x, y), kGround) << "corner " << x << "," << y;
    }

    // Swatches 4-11 (foreground) and 13-20 (background) are colour 0-7, solid
    // across their middle.
    for (int first : {4, 13}) {
        for (int colour = 0; colour < 8; ++colour) {
            SCOPED_TRACE("swatch image " + std::to_string(first + colour));
            const int left = (first + colour) * kImageW;
            for (int y = 4; y <= 10; ++y)
                for (int x = left + 4; x <= left + 11; ++x)
                    ASSERT_EQ(dib.Pixel(x, y), MzColour(colour)) << x << "," << y;
        }
    }

    // The pictures (pointer, pencil, bucket, disk, arrows, BIT 3) are drawn
    // on the ground and differ from each other.
    std::set<std::vector<std::uint32_t>> pictures;
    for (int image : {0, 1, 2, 3, 12, 21}) {
        SCOPED_TRACE("image " + std::to_string(image));
        std::vector<std::uint32_t> pixels;
        int ink = 0;
        for (int y = 0; y < kImageH; ++y)
            for (int x = image * kImageW; x < (image + 1) * kImageW; ++x) {
                pixels.push_back(dib.Pixel(x, y));
                ink += pixels.back() != kGround;
            }
        EXPECT_GT(ink, 20);
        EXPECT_LT(ink, kImageW * kImageH - 20);
        pictures.insert(pixels);
    }
    EXPECT_EQ(pictures.size(), 6u);

    // The loaders the toolbar goes through accept it.
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TOOLBAR),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(loaded, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(loaded, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 352);
    EXPECT_EQ(section.dsBm.bmHeight, 15);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 8);
    DeleteObject(loaded);
    HBITMAP mapped = CreateMappedBitmap(GetModuleHandleW(nullptr), IDB_TOOLBAR, 0, nullptr, 0);
    ASSERT_NE(mapped, nullptr);
    BITMAP plain{};
    GetObjectW(mapped, sizeof plain, &plain);
    EXPECT_EQ(plain.bmWidth, 352);
    EXPECT_EQ(plain.bmHeight, 15);
    DeleteObject(mapped);
}

// ---------------------------------------------------------------------------
// Icons

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

// The sizes and colour counts an icon group offers.
std::set<std::pair<int, int>> GroupSizes(const wchar_t* name, bool& allSixteenColours)
{
    std::set<std::pair<int, int>> sizes;
    allSixteenColours = true;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    if (!found)
        return sizes;
    const auto* group = static_cast<const GroupIconHeader*>(LockResource(LoadResource(module, found)));
    for (WORD i = 0; group && i < group->count; ++i) {
        const GroupIconEntry& e = group->entries[i];
        sizes.insert({e.width, e.height});
        allSixteenColours = allSixteenColours && e.colours == 16 && e.bitCount == 4;
    }
    return sizes;
}

// The icon's colour image at its own size, top row first, as 0xRRGGBB.
std::vector<std::uint32_t> IconPixels(HICON icon, int& width, int& height)
{
    std::vector<std::uint32_t> pixels;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return pixels;
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, height, pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    for (auto& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

TEST(Resources, IconsAreWhiteCharactersOnBlueAtBothSizes)
{
    HMODULE module = GetModuleHandleW(nullptr);
    EXPECT_NE(LoadIconW(module, L"myIcon"), nullptr);
    EXPECT_NE(LoadIconW(module, L"myIconS"), nullptr);

    bool sixteen = false;
    const auto large = GroupSizes(L"myIcon", sixteen);
    EXPECT_EQ(large.count({32, 32}), 1u);
    EXPECT_TRUE(sixteen) << "myIcon";
    const auto small = GroupSizes(L"myIconS", sixteen);
    EXPECT_EQ(small.count({16, 16}), 1u);
    EXPECT_TRUE(sixteen) << "myIconS";

    struct Want {
        const wchar_t* name;
        int size;
    };
    for (const Want& want : {Want{L"myIcon", 32}, Want{L"myIconS", 16}, Want{L"myIcon", 16}}) {
        SCOPED_TRACE(Narrow(want.name) + " at " + std::to_string(want.size));
        HICON icon = static_cast<HICON>(LoadImageW(module, want.name, IMAGE_ICON, want.size, want.size, 0));
        ASSERT_NE(icon, nullptr);
        int width = 0, height = 0;
        const std::vector<std::uint32_t> pixels = IconPixels(icon, width, height);
        DestroyIcon(icon);
        EXPECT_EQ(width, want.size);
        EXPECT_EQ(height, want.size);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(want.size * want.size));
        int blue = 0, white = 0;
        for (std::uint32_t p : pixels) {
            blue += p == MzColour(1);
            white += p == MzColour(7);
        }
        EXPECT_EQ(blue + white, want.size * want.size) << "only blue and white";
        EXPECT_GT(blue, white) << "blue ground";
        EXPECT_GT(white, want.size * want.size / 8) << "characters drawn";
    }
}

}  // namespace
