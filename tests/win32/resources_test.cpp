// The program's resources as Windows loads them from the module: the menu,
// the accelerator table, the toolbar bitmap and the icons. The test program
// links the same resource script as Vexa.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"

namespace {

// Every command item of `menu` and its popups by ID, and the top-level texts.
void Walk(HMENU menu, std::map<UINT, std::wstring>& items, std::vector<std::wstring>* popups, int& duplicates)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW got{};
        got.cbSize = sizeof got;
        got.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        got.dwTypeData = text;
        got.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &got));
        if (got.fType & MFT_SEPARATOR) continue;
        if (popups) popups->push_back(text);
        if (got.hSubMenu)
            Walk(got.hSubMenu, items, nullptr, duplicates);
        else
            duplicates += !items.emplace(got.wID, text).second;
    }
}

// MZ-700 colour n: bit 0 blue, bit 1 red, bit 2 green, each fully on or off.
std::uint32_t MzColour(int n) { return (n & 2 ? 0xFF0000u : 0) | (n & 4 ? 0x00FF00u : 0) | (n & 1 ? 0x0000FFu : 0); }

// The menu's texts survive the resource compiler and the locale (this runs
// under code page 932 and 1252); the shortcut follows U+0008, which draws it
// flush right, where a tab or a BEL would show as a gap or a box.
TEST(Resources, MenuAndAcceleratorsAgree)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), L"VexaMenu");
    ASSERT_NE(menu, nullptr);
    std::map<UINT, std::wstring> items;
    std::vector<std::wstring> popups;
    int duplicates = 0;
    Walk(menu, items, &popups, duplicates);
    DestroyMenu(menu);
    EXPECT_EQ(popups, (std::vector<std::wstring>{L"ファイル(&F)", L"編集(&E)", L"表示(&V)", L"アニメーション(&A)",
                                                  L"セミグラフィック(&S)", L"ヘルプ(&H)"}));
    EXPECT_EQ(duplicates, 0);
    EXPECT_EQ(items[IDM_OPEN], L"開く(&O)...\bCtrl+O");
    EXPECT_EQ(items[IDM_SHIFTLEFT], L"選択範囲内を左にシフト\bCtrl+←");
    EXPECT_EQ(items[IDM_MARKDISPC0], L"ディスプレイコード00hをマーク\bF11");
    EXPECT_EQ(items[IDM_FRAME9], L"9コマめに設定");
    EXPECT_EQ(items[IDM_RECENT_NONE], L"(なし)");
    EXPECT_EQ(items.count(IDM_ZOOMTOGGLE), 0u);  // Ctrl+E has no item of its own

    // Every Ctrl key is an accelerator for the command whose item names it.
    const std::set<std::pair<WORD, WORD>> expected = {
        {'O', IDM_OPEN}, {'S', IDM_SAVE},  {'Z', IDM_UNDO},      {'Y', IDM_REDO}, {'X', IDM_CUT},
        {'C', IDM_COPY}, {'V', IDM_PASTE}, {'A', IDM_SELECTALL}, {'G', IDM_GRID}, {'E', IDM_ZOOMTOGGLE},
    };
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), L"myAccel");
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    const int count = CopyAcceleratorTableW(table, entries, 32);
    DestroyAcceleratorTable(table);
    std::set<std::pair<WORD, WORD>> got;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT);  // 0x80 ends the table
        got.insert({entries[i].key, entries[i].cmd});
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(count, static_cast<int>(expected.size()));
    // What each item shows after U+0008: its accelerator's key, or a key the
    // window handles itself.
    std::map<UINT, std::wstring> shortcuts, wanted = {
        {IDM_MARKBIT3, L"F9"},        {IDM_MARKDISPC0, L"F11"}, {IDM_AUXPALETTE, L"SPACE"}, {IDM_SHIFTLEFT, L"Ctrl+←"},
        {IDM_SHIFTRIGHT, L"Ctrl+→"}, {IDM_SHIFTUP, L"Ctrl+↑"}, {IDM_SHIFTDOWN, L"Ctrl+↓"}};
    for (const auto& [key, cmd] : expected)
        if (cmd != IDM_ZOOMTOGGLE) wanted[cmd] = L"Ctrl+" + std::wstring(1, key);
    for (const auto& [id, text] : items) {
        EXPECT_EQ(text.find_first_of(L"\t\a"), std::wstring::npos) << id;
        if (text.find(L'\b') != std::wstring::npos) shortcuts[id] = text.substr(text.find(L'\b') + 1);
    }
    EXPECT_EQ(shortcuts, wanted);
}

TEST(Resources, ToolbarBitmapHoldsTwentyTwoImagesOnGreyWithTheColourSwatches)
{
    constexpr int kImageW = TOOLBAR_IMAGE_WIDTH, kImageH = TOOLBAR_IMAGE_HEIGHT;
    constexpr std::uint32_t kGround = 0xC0C0C0;
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
                    ASSERT_EQ(pixel((first + colour) * kImageW + x, y), MzColour(colour)) << "image " << first + colour;
}

TEST(Resources, IconsComeInBothSizes)
{
    HMODULE module = GetModuleHandleW(nullptr);
    for (const auto& [name, size] : {std::pair{L"myIcon", 32}, std::pair{L"myIconS", 16}}) {
        SCOPED_TRACE(::testing::PrintToString(name));
        // The group offers the size itself, in sixteen colours: a 6-byte
        // header (count at byte 4), then 14-byte entries: width, height,
        // colour count, reserved, planes, bits per pixel, ...
        const auto* group = static_cast<const BYTE*>(
            LockResource(LoadResource(module, FindResourceW(module, name, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */))));
        ASSERT_NE(group, nullptr);
        bool hasSize = false;
        for (const BYTE* e = group + 6; e < group + 6 + 14 * (group[4] + 256 * group[5]); e += 14) {
            hasSize = hasSize || (e[0] == size && e[1] == size);
            EXPECT_TRUE(e[2] == 16 && e[6] + 256 * e[7] == 4);
        }
        EXPECT_TRUE(hasSize);
        HICON icon = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon && GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_TRUE(bm.bmWidth == size && bm.bmHeight == size) << bm.bmWidth << "x" << bm.bmHeight;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
