// The interface in two languages. Vexa.exe's own resources hold every menu,
// dialog and text in Japanese and in English with the same IDs; on the real
// window the language changes at once, both ways, and comes back at the
// next start.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "screen/selection.h"
#include "shell/base/shell_win32.h"
#include "tests/win32/editor_harness.h"

namespace {

const LANGID kJapaneseId = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kEnglishId = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const std::set<LANGID> kBoth = {kJapaneseId, kEnglishId};

// Vexa.exe beside this test program, open for reading its resources.
HMODULE OpenVexaExe()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.rfind(L'\\') + 1) + L"Vexa.exe";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

// The names of the resources of `type`; numbers as "#n".
std::vector<std::wstring> NamesOf(HMODULE module, LPCWSTR type)
{
    std::vector<std::wstring> names;
    EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(
                IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    return names;
}

LPCWSTR NameOf(const std::wstring& name)
{
    return name[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(name.substr(1))) : name.c_str();
}

std::set<LANGID> LanguagesOf(HMODULE module, LPCWSTR type, const std::wstring& name)
{
    std::set<LANGID> languages;
    EnumResourceLanguagesW(
        module, type, NameOf(name),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR set) {
            reinterpret_cast<std::set<LANGID>*>(set)->insert(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

const void* Resource(HMODULE module, LPCWSTR type, const std::wstring& name, LANGID language, DWORD& size)
{
    HRSRC found = FindResourceExW(module, type, NameOf(name), language);
    size = found ? SizeofResource(module, found) : 0;
    return found ? LockResource(LoadResource(module, found)) : nullptr;
}

// The sixteen strings of a string-table block.
std::vector<std::wstring> StringBlock(HMODULE module, const std::wstring& name, LANGID language)
{
    DWORD size = 0;
    const WCHAR* p = static_cast<const WCHAR*>(Resource(module, RT_STRING, name, language, size));
    const WCHAR* end = p + size / sizeof(WCHAR);
    std::vector<std::wstring> strings;
    for (int i = 0; i < 16 && p && p < end; ++i, p += 1 + *p)
        strings.emplace_back(p + 1, std::min(static_cast<size_t>(*p), static_cast<size_t>(end - p - 1)));
    strings.resize(16);
    return strings;
}

bool HasJapanese(const std::wstring& text)
{
    for (wchar_t c : text)
        if ((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
    return false;
}

// The printf conversions of a text in order, such as "%s" or "%02X".
std::wstring Conversions(const std::wstring& text)
{
    std::wstring found;
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 1)) {
        const size_t end = text.find_first_of(L"sdXx%", at + 1);
        found += text.substr(at, end == std::wstring::npos ? 1 : end - at + 1);
    }
    return found;
}

// A menu item as the walk meets it.
struct Item {
    int depth;
    UINT id;
    UINT state;  // grayed, checked, separator and popup flags
    std::wstring text;
};

void Flatten(HMENU menu, int depth, std::vector<Item>& items)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED | MF_SEPARATOR | MF_POPUP);
        items.push_back({depth, sub ? 0 : GetMenuItemID(menu, i), state, text});
        if (sub) Flatten(sub, depth + 1, items);
    }
}

// The menu resource in `language`, walked.
std::vector<Item> MenuOf(HMODULE module, LANGID language)
{
    DWORD size = 0;
    std::vector<Item> items;
    if (HMENU menu = LoadMenuIndirectW(Resource(module, RT_MENU, L"VexaMenu", language, size))) {
        Flatten(menu, 0, items);
        DestroyMenu(menu);
    }
    return items;
}

// The window's menu as it shows, each popup refreshed as opening it would.
std::vector<Item> ShownMenu()
{
    std::vector<Item> items;
    std::vector<HMENU> popups = {GetMenu(gShell.main)};
    for (size_t i = 0; i < popups.size(); ++i)
        for (int j = 0; j < GetMenuItemCount(popups[i]); ++j)
            if (HMENU sub = GetSubMenu(popups[i], j)) {
                SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), 0);
                popups.push_back(sub);
            }
    Flatten(GetMenu(gShell.main), 0, items);
    return items;
}

std::wstring Shortcut(const std::wstring& text)
{
    const size_t at = text.find(L'\b');
    return at == std::wstring::npos ? std::wstring() : text.substr(at + 1);
}

}  // namespace

// Every menu, dialog and string of the built program exists in both
// languages: the same items in the same places with the same shortcuts, the
// same controls, the same texts with the same conversions, and no Japanese
// left in the English ones (but the language's own name).
TEST(Resources, EveryMenuDialogAndTextIsInBothLanguages)
{
    HMODULE exe = OpenVexaExe();
    ASSERT_NE(exe, nullptr);
    for (LPCWSTR type : {RT_MENU, RT_DIALOG, RT_STRING}) {
        const std::vector<std::wstring> names = NamesOf(exe, type);
        EXPECT_FALSE(names.empty());
        for (const std::wstring& name : names) EXPECT_EQ(LanguagesOf(exe, type, name), kBoth) << name;
    }

    int texts = 0;
    for (const std::wstring& block : NamesOf(exe, RT_STRING)) {
        const std::vector<std::wstring> ja = StringBlock(exe, block, kJapaneseId), en = StringBlock(exe, block, kEnglishId);
        for (int i = 0; i < 16; ++i) {
            const int id = (std::stoi(block.substr(1)) - 1) * 16 + i;
            EXPECT_EQ(ja[i].empty(), en[i].empty()) << "text " << id;
            EXPECT_EQ(Conversions(ja[i]), Conversions(en[i])) << "text " << id;
            EXPECT_FALSE(HasJapanese(en[i])) << "text " << id;
            texts += !ja[i].empty();
        }
    }
    EXPECT_GE(texts, 40);

    const std::vector<Item> ja = MenuOf(exe, kJapaneseId), en = MenuOf(exe, kEnglishId);
    ASSERT_TRUE(!ja.empty() && ja.size() == en.size()) << ja.size() << " " << en.size();
    for (size_t i = 0; i < ja.size(); ++i) {
        EXPECT_TRUE(ja[i].depth == en[i].depth && ja[i].id == en[i].id && ja[i].state == en[i].state)
            << ::testing::PrintToString(ja[i].text) << " / " << ::testing::PrintToString(en[i].text);
        EXPECT_EQ(Shortcut(ja[i].text), Shortcut(en[i].text)) << ja[i].id;
        EXPECT_EQ(ja[i].text.empty(), en[i].text.empty()) << ja[i].id;
        EXPECT_TRUE(en[i].id == IDM_LANG_JAPANESE || !HasJapanese(en[i].text)) << en[i].id;
    }

    // Each dialog has the same controls, with the same classes and styles.
    InitCommonControls();
    const DLGPROC quiet = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    for (const std::wstring& name : NamesOf(exe, RT_DIALOG)) {
        std::map<LANGID, std::vector<std::wstring>> controls;
        for (LANGID language : kBoth) {
            DWORD size = 0;
            HWND dialog = CreateDialogIndirectParamW(
                GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(Resource(exe, RT_DIALOG, name, language, size)),
                nullptr, quiet, 0);
            ASSERT_NE(dialog, nullptr) << name;
            for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t cls[64] = {};
                GetClassNameW(child, cls, 64);
                controls[language].push_back(std::to_wstring(GetDlgCtrlID(child)) + L" " + cls + L" " +
                                             std::to_wstring(GetWindowLongW(child, GWL_STYLE)));
            }
            DestroyWindow(dialog);
        }
        EXPECT_FALSE(controls[kJapaneseId].empty()) << name;
        EXPECT_EQ(controls[kJapaneseId], controls[kEnglishId]) << name;
    }
    FreeLibrary(exe);
}

// In either language the texts survive the resource compiler and the locale
// (this runs under code page 932 and 1252); a shortcut follows U+0008,
// which draws it flush right, where a tab or a BEL would show as a gap or a
// box; each Ctrl+letter an item names is the accelerator of its command,
// and no accelerator is left unnamed but Ctrl+E, which has no item.
TEST(Resources, MenusNameExactlyTheAccelerators)
{
    HMODULE exe = OpenVexaExe();
    ASSERT_NE(exe, nullptr);
    HACCEL table = LoadAcceleratorsW(exe, L"myAccel");
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    const int count = CopyAcceleratorTableW(table, entries, 32);
    DestroyAcceleratorTable(table);
    std::map<UINT, std::wstring> accelerated;
    bool zoomToggle = false;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].fVirt & ~0x80, FVIRTKEY | FCONTROL | FNOINVERT);  // 0x80 ends the table
        if (entries[i].cmd == IDM_ZOOMTOGGLE)
            zoomToggle = entries[i].key == 'E';
        else
            accelerated[entries[i].cmd] = L"Ctrl+" + std::wstring(1, static_cast<wchar_t>(entries[i].key));
    }
    EXPECT_TRUE(zoomToggle);

    for (LANGID language : kBoth) {
        const std::vector<Item> items = MenuOf(exe, language);
        std::map<UINT, std::wstring> named;
        std::set<UINT> ids;
        for (const Item& item : items) {
            if (item.state & (MF_POPUP | MF_SEPARATOR)) continue;
            EXPECT_TRUE(ids.insert(item.id).second) << "two items share " << item.id;
            EXPECT_EQ(item.text.find_first_of(L"\t\a"), std::wstring::npos) << item.id;
            const std::wstring shortcut = Shortcut(item.text);
            if (shortcut.size() == 6 && shortcut.rfind(L"Ctrl+", 0) == 0 && shortcut.back() >= L'A' &&
                shortcut.back() <= L'Z')
                named[item.id] = shortcut;
        }
        EXPECT_GE(named.size(), 9u);
        EXPECT_EQ(named, accelerated) << language;
        if (language == kJapaneseId) {
            EXPECT_EQ(items[0].text, L"ファイル(&F)");
            for (const Item& item : items) {
                EXPECT_TRUE(item.id != IDM_SHIFTLEFT || item.text == L"選択範囲内を左にシフト\bCtrl+←");
                EXPECT_TRUE(item.id != IDM_EXPORTMZFANIM || item.text == L"MZFアニメ...");
            }
        }
    }
    FreeLibrary(exe);
}

using Languages = EditorTest;

// English at once: the menus, the title, the status bar and the messages;
// Japanese again exactly as it was; English again at the next start.
TEST_F(Languages, SwitchingShowsEnglishAtOnceAndJapaneseExactlyAsBefore)
{
    Start();
    const auto part = [this](int n) { return StatusPart(n); };
    Paint(6, 6);
    Command(IDM_STATUSBAR);
    Command(IDM_MARKTRANSPARENT);
    Key(VK_F9);
    SetSelection(0, 0, 1, 1);
    Command(IDM_COPY);
    Command(IDM_PASTE);
    const POINT p = CellCentre(4, 4);
    Move(p.x, p.y, 0);
    const std::wstring shownParts = part(0) + L"|" + part(1);
    EXPECT_EQ(part(2), L"透明: Bit3のマーク(F9)");
    const std::vector<Item> japanese = ShownMenu();
    ASSERT_EQ(japanese[0].text, L"ファイル(&F)");
    EXPECT_EQ(Title(), L"無題 * Vexa");

    Command(IDM_LANG_ENGLISH);
    const std::vector<Item> english = ShownMenu();
    ASSERT_EQ(english.size(), japanese.size());
    EXPECT_EQ(english[0].text, L"&File");
    for (const Item& item : english)
        EXPECT_TRUE(item.id == IDM_LANG_JAPANESE || !HasJapanese(item.text)) << item.id;
    EXPECT_TRUE(Checked(IDM_LANG_ENGLISH) && !Checked(IDM_LANG_JAPANESE));
    EXPECT_EQ(Title(), L"Untitled * Vexa");
    EXPECT_EQ(part(0) + L"|" + part(1), shownParts);
    EXPECT_EQ(part(2), L"Transparent: bit 3 marks (F9)");
    const std::wstring missing = Scratch(L"missing.txt");
    fileAnswers.push_back(missing);
    messageAnswers.push_back(IDNO);
    Command(IDM_OPEN);
    messageAnswers.push_back(IDYES);
    Command(IDM_OPEN);
    EXPECT_EQ(Said(), (std::vector<std::wstring>{L"Vexa: Discard the changes?", L"Vexa: Discard the changes?",
                                                  L"Vexa: Error: Cannot open " + missing}));

    Command(IDM_LANG_JAPANESE);
    const std::vector<Item> again = ShownMenu();
    ASSERT_EQ(again.size(), japanese.size());
    for (size_t i = 0; i < again.size(); ++i)
        EXPECT_TRUE(again[i].text == japanese[i].text && again[i].id == japanese[i].id &&
                    again[i].state == japanese[i].state)
            << ::testing::PrintToString(again[i].text) << " was " << ::testing::PrintToString(japanese[i].text);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_EQ(part(2), L"透明: Bit3のマーク(F9)");

    // Kept in Vexa.ini under its own key; the next start is in English.
    Command(IDM_LANG_ENGLISH);
    messageAnswers.push_back(IDYES);  // the painted cell is given up
    Stop();
    wchar_t value[8] = {};
    GetPrivateProfileStringW(L"Config", L"Language", L"", value, 8, BesideProgram(L"Vexa.ini").c_str());
    EXPECT_STREQ(value, L"1");
    Start();
    EXPECT_EQ(ShownMenu()[0].text, L"&File");
    Paint(0, 0);
    EXPECT_EQ(Title(), L"Untitled * Vexa");
}
