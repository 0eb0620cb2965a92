#include "shell/base/language_win32.h"

#include "app/settings.h"

namespace {

constexpr int kStringsPerBlock = 16;
const LANGID kJapaneseId = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const LANGID kEnglishId = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Resource `name` of `type` in the interface's language, or in Japanese
// when that language lacks it. Null when neither has it.
const void* FindInLanguage(LPCWSTR type, LPCWSTR name, DWORD& size)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, type, name, InterfaceLanguage());
    if (!found) found = FindResourceExW(module, type, name, kJapaneseId);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    size = found ? SizeofResource(module, found) : 0;
    return loaded ? LockResource(loaded) : nullptr;
}

}  // namespace

LANGID InterfaceLanguage() { return gInterface.Language == kEnglish ? kEnglishId : kJapaneseId; }

// Strings are kept sixteen to a block, each as its length and its characters.
std::wstring LoadText(int id)
{
    DWORD size = 0;
    const WCHAR* p = static_cast<const WCHAR*>(
        FindInLanguage(reinterpret_cast<LPCWSTR>(RT_STRING), MAKEINTRESOURCEW(id / kStringsPerBlock + 1), size));
    if (!p) return std::wstring();
    const WCHAR* end = p + size / sizeof(WCHAR);
    for (int i = 0; i < id % kStringsPerBlock && p < end; ++i) p += 1 + *p;
    if (p >= end || *p > end - p - 1) return std::wstring();
    return std::wstring(p + 1, *p);
}

std::wstring LoadText(int id, const std::wstring& value)
{
    std::wstring text = LoadText(id);
    size_t at = text.find(L"%s");
    if (at == std::wstring::npos) at = text.find(L"%d");
    if (at != std::wstring::npos) text.replace(at, 2, value);
    return text;
}

HMENU LoadInterfaceMenu()
{
    DWORD size = 0;
    const void* menu = FindInLanguage(reinterpret_cast<LPCWSTR>(RT_MENU), L"VexaMenu", size);
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}

INT_PTR InterfaceDialogBox(int id, HWND owner, DLGPROC proc, LPARAM param)
{
    DWORD size = 0;
    const void* dialog = FindInLanguage(reinterpret_cast<LPCWSTR>(RT_DIALOG), MAKEINTRESOURCEW(id), size);
    if (!dialog) return -1;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialog), owner, proc,
                                   param);
}

HWND CreateInterfaceDialog(int id, HWND owner, DLGPROC proc, LPARAM param)
{
    DWORD size = 0;
    const void* dialog = FindInLanguage(reinterpret_cast<LPCWSTR>(RT_DIALOG), MAKEINTRESOURCEW(id), size);
    if (!dialog) return nullptr;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialog), owner, proc,
                                      param);
}
