// The program's resources as Windows loads them from the module: the menu,
// the accelerator table, the toolbar bitmap and the icons. The test program
// links the same resource script as Vexa.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"

namespace {

// ---------------------------------------------------------------------------
// Menu

// A separator has state MF_SEPARATOR, a popup has items. The shortcut follows
// U+0008, which draws it flush right; a tab or a BEL would show as a gap or a
// box instead.
struct Entry {
    UINT id;
    std::wstring text;
    UINT state;  // MF_GRAYED and MF_CHECKED as the menu starts
    std::vector<Entry> items;
};
Entry Cmd(UINT id, const wchar_t* text, UINT state = 0) { return {id, text, state, {}}; }
Entry Sub(const wchar_t* text, std::vector<Entry> items) { return {0, text, 0, std::move(items)}; }
const Entry kSep = {0, L"", MF_SEPARATOR, {}};

std::vector<Entry> ExpectedMenuBar()
{
    std::vector<Entry> zoom, frames;
    for (int n = 1; n <= 8; ++n) zoom.push_back(Cmd(IDM_ZOOM1 + n - 1, (L"x&" + std::to_wstring(n)).c_str()));
    for (int n = 1; n <= 9; ++n)
        frames.push_back(Cmd(IDM_FRAME1 + n - 1, (std::to_wstring(n) + L"コマめに設定").c_str(), MF_GRAYED));
    frames.insert(frames.end(), {Cmd(IDM_FRAMECANCELALL, L"全コマをキャンセル", MF_GRAYED), kSep,
                                 Cmd(IDM_ANIMSTART, L"アニメーション開始...", MF_GRAYED)});
    return {
        Sub(L"ファイル(&F)",
            {Cmd(IDM_OPEN, L"開く(&O)...\bCtrl+O"), Cmd(IDM_SAVE, L"上書き保存(&S)\bCtrl+S"),
             Cmd(IDM_SAVEAS, L"名前をつけて保存(&A)"), kSep, Cmd(IDM_LOADOVERLAY, L"オーバーレイBMP読み込み"), kSep,
             Sub(L"最近使ったファイル(&F)", {Cmd(IDM_RECENT_NONE, L"(なし)", MF_GRAYED)}), kSep,
             Cmd(IDM_EXIT, L"終了(&X)")}),
        Sub(L"編集(&E)",
            {Cmd(IDM_UNDO, L"元に戻す\bCtrl+Z", MF_GRAYED), Cmd(IDM_REDO, L"やっぱり戻さない\bCtrl+Y", MF_GRAYED), kSep,
             Cmd(IDM_CUT, L"切り取り\bCtrl+X", MF_GRAYED), Cmd(IDM_COPY, L"コピー\bCtrl+C", MF_GRAYED),
             Cmd(IDM_PASTE, L"貼り付け\bCtrl+V", MF_GRAYED), Cmd(IDM_COPYIMAGE, L"画像でコピー", MF_GRAYED),
             Cmd(IDM_MARKTRANSPARENT, L"マーク箇所は透明"), kSep, Cmd(IDM_SELECTALL, L"全てを選択\bCtrl+A"), kSep,
             Cmd(IDM_FILL, L"塗りつぶし", MF_GRAYED), Cmd(IDM_FLIPLR, L"左右反転", MF_GRAYED),
             Cmd(IDM_FLIPUD, L"上下反転", MF_GRAYED), Cmd(IDM_TEXTINPUT, L"文字列入力...")}),
        Sub(L"表示(&V)",
            {Cmd(IDM_GRID, L"グリッド表示\bCtrl+G", MF_CHECKED),
             Sub(L"グリッド形状", {Cmd(IDM_GRIDDOT, L"・", MF_CHECKED), Cmd(IDM_GRIDCROSS, L"＋")}),
             Sub(L"拡大表示(&Z)", zoom), Cmd(IDM_SHOWFRAMES, L"アニメーション枠表示", MF_CHECKED),
             Cmd(IDM_SHOWOVERLAY, L"オーバーレイ表示"), Cmd(IDM_STATUSBAR, L"ステータスバー表示"),
             Cmd(IDM_MARKBIT3, L"アトリビュートのBit3をマーク\bF9"),
             Cmd(IDM_MARKDISPC0, L"ディスプレイコード00hをマーク\bF11"), kSep,
             Cmd(IDM_AUXPALETTE, L"補助パレット\bSPACE")}),
        Sub(L"アニメーション(&A)", frames),
        Sub(L"セミグラフィック(&S)",
            {Cmd(IDM_SEMIGRAPHIC, L"セミグラフィックモード"), kSep,
             Cmd(IDM_SHIFTLEFT, L"選択範囲内を左にシフト\bCtrl+←"), Cmd(IDM_SHIFTRIGHT, L"選択範囲内を右にシフト\bCtrl+→"),
             Cmd(IDM_SHIFTUP, L"選択範囲内を上にシフト\bCtrl+↑"), Cmd(IDM_SHIFTDOWN, L"選択範囲内を下にシフト\bCtrl+↓")}),
        Sub(L"ヘルプ(&H)", {Cmd(IDM_ABOUT, L"About(&A)...")}),
    };
}

void ExpectMenu(HMENU menu, const std::vector<Entry>& expected, const std::string& path)
{
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size())) << path;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Entry& want = expected[i];
        const std::string where = path + "/" + std::to_string(i);
        SCOPED_TRACE(where);
        wchar_t text[128] = {};
        MENUITEMINFOW got{};
        got.cbSize = sizeof got;
        got.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        got.dwTypeData = text;
        got.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &got));
        EXPECT_EQ((got.fType & MFT_SEPARATOR) != 0, (want.state & MF_SEPARATOR) != 0);
        if (want.state & MF_SEPARATOR) continue;  // loaded separators may report any state
        EXPECT_EQ(std::wstring(text), want.text);
        EXPECT_EQ((got.fState & MFS_GRAYED) != 0, (want.state & MF_GRAYED) != 0) << "grayed";
        EXPECT_EQ((got.fState & MFS_CHECKED) != 0, (want.state & MF_CHECKED) != 0) << "checked";
        ASSERT_EQ(got.hSubMenu != nullptr, !want.items.empty());
        if (got.hSubMenu)
            ExpectMenu(got.hSubMenu, want.items, where);
        else
            EXPECT_EQ(got.wID, want.id);
    }
}

TEST(Resources, MenuHoldsEveryPopupItemAndInitialState)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), L"VexaMenu");
    ASSERT_NE(menu, nullptr);
    ExpectMenu(menu, ExpectedMenuBar(), "VexaMenu");
    // Ctrl+E toggles the zoom without a menu item of its own.
    EXPECT_EQ(GetMenuState(menu, IDM_ZOOMTOGGLE, MF_BYCOMMAND), UINT(-1));
    DestroyMenu(menu);
}

// ---------------------------------------------------------------------------
// Accelerators

TEST(Resources, AcceleratorsAreCtrlKeysForTheirCommands)
{
    const std::set<std::pair<WORD, WORD>> expected = {
        {'O', IDM_OPEN}, {'S', IDM_SAVE},  {'Z', IDM_UNDO},      {'Y', IDM_REDO}, {'X', IDM_CUT},
        {'C', IDM_COPY}, {'V', IDM_PASTE}, {'A', IDM_SELECTALL}, {'G', IDM_GRID}, {'E', IDM_ZOOMTOGGLE},
    };
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"myAccel");
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    const int count = CopyAcceleratorTableW(table, entries, 32);
    std::set<std::pair<WORD, WORD>> got;
    for (int i = 0; i < count; ++i) {
        // 0x80 marks the table's last entry.
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT) << char(entries[i].key);
        got.insert({entries[i].key, entries[i].cmd});
    }
    EXPECT_EQ(count, static_cast<int>(expected.size()));
    EXPECT_EQ(got, expected);
    DestroyAcceleratorTable(table);
}

// ---------------------------------------------------------------------------
// Toolbar bitmap

constexpr int kImageW = TOOLBAR_IMAGE_WIDTH;
constexpr int kImageH = TOOLBAR_IMAGE_HEIGHT;
constexpr std::uint32_t kGround = 0xC0C0C0;

// MZ-700 colour n: bit 0 blue, bit 1 red, bit 2 green, each fully on or off.
std::uint32_t MzColour(int n)
{
    return (n & 2 ? 0xFF0000u : 0) | (n & 4 ? 0x00FF00u : 0) | (n & 1 ? 0x0000FFu : 0);
}

TEST(Resources, ToolbarBitmapHoldsTwentyTwoImagesOnGrey)
{
    // The bitmap resource as stored: header, colour table, bottom-up rows.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDB_TOOLBAR), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    ASSERT_NE(found, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(header, nullptr);
    // The shell cuts the strip by these constants; the toolbar maps the colour
    // table to the button colours, which needs an uncompressed palette image.
    ASSERT_TRUE(TOOLBAR_IMAGE_COUNT == 22 && kImageW == 16 && kImageH == 15);
    ASSERT_TRUE(header->biWidth == 22 * 16 && header->biHeight == 15 && header->biBitCount == 8 &&
                header->biCompression == BI_RGB)
        << header->biWidth << "x" << header->biHeight << "x" << header->biBitCount << " " << header->biCompression;
    const auto* colours = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    const BYTE* bits = reinterpret_cast<const BYTE*>(colours + (header->biClrUsed ? header->biClrUsed : 256));
    auto pixel = [&](int x, int y) {
        const RGBQUAD c = colours[bits[(kImageH - 1 - y) * 352 + x]];
        return (std::uint32_t(c.rgbRed) << 16) | (std::uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
    };

    for (int left = 0; left < 352; left += kImageW)
        for (int y : {0, kImageH - 1})
            for (int x : {left, left + kImageW - 1}) EXPECT_EQ(pixel(x, y), kGround) << "corner " << x << "," << y;

    // Swatches 4-11 (foreground) and 13-20 (background) are colour 0-7, solid
    // across their middle.
    for (int first : {4, 13})
        for (int colour = 0; colour < 8; ++colour)
            for (int y = 4; y <= 10; ++y)
                for (int x = 4; x <= 11; ++x)
                    ASSERT_EQ(pixel((first + colour) * kImageW + x, y), MzColour(colour))
                        << "image " << first + colour << " at " << x << "," << y;

    // The pictures (pointer, pencil, bucket, disk, arrows, BIT 3) are drawn
    // on the ground and differ from each other.
    std::set<std::vector<std::uint32_t>> pictures;
    for (int image : {0, 1, 2, 3, 12, 21}) {
        std::vector<std::uint32_t> pixels;
        int ink = 0;
        for (int y = 0; y < kImageH; ++y)
            for (int x = image * kImageW; x < (image + 1) * kImageW; ++x) {
                pixels.push_back(pixel(x, y));
                ink += pixels.back() != kGround;
            }
        EXPECT_GT(ink, 20) << "image " << image;
        EXPECT_LT(ink, kImageW * kImageH - 20) << "image " << image;
        pictures.insert(pixels);
    }
    EXPECT_EQ(pictures.size(), 6u);
}

// ---------------------------------------------------------------------------
// Icons

TEST(Resources, IconsAreWhiteCharactersOnBlueAtBothSizes)
{
    HMODULE module = GetModuleHandleW(nullptr);
    // Each group offers its own size, in sixteen colours. The group is a
    // 6-byte header (count at byte 4), then 14-byte entries: width, height,
    // colour count, reserved, planes, bits per pixel, ...
    for (const auto& [name, size] : {std::pair{L"myIcon", 32}, std::pair{L"myIconS", 16}}) {
        HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
        ASSERT_NE(found, nullptr);
        const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        bool hasSize = false;
        for (int i = 0; i < group[4] + 256 * group[5]; ++i) {
            const BYTE* e = group + 6 + 14 * i;
            hasSize = hasSize || (e[0] == size && e[1] == size);
            EXPECT_TRUE(e[2] == 16 && e[6] + 256 * e[7] == 4) << ::testing::PrintToString(name);
        }
        EXPECT_TRUE(hasSize) << ::testing::PrintToString(name);
    }

    for (const auto& [name, size] : {std::pair{L"myIcon", 32}, std::pair{L"myIconS", 16}, std::pair{L"myIcon", 16}}) {
        SCOPED_TRACE(::testing::PrintToString(name) + " at " + std::to_string(size));
        HICON icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        ASSERT_TRUE(bm.bmWidth == size && bm.bmHeight == size) << bm.bmWidth << "x" << bm.bmHeight;
        BITMAPINFO request{};
        request.bmiHeader = {sizeof request.bmiHeader, size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<std::uint32_t> pixels(static_cast<size_t>(size * size));
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, info.hbmColor, 0, size, pixels.data(), &request, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
        int blue = 0, white = 0;
        for (std::uint32_t p : pixels) {
            blue += (p & 0xFFFFFF) == MzColour(1);
            white += (p & 0xFFFFFF) == MzColour(7);
        }
        EXPECT_EQ(blue + white, size * size) << "only blue and white";
        EXPECT_GT(blue, white) << "blue ground";
        EXPECT_GT(white, size * size / 8) << "characters drawn";
    }
}

}  // namespace
