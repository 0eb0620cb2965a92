#include "shell/base/language_win32.h"

#include <windows.h>

namespace {

constexpr int kStringsPerBlock = 16;
const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

}  // namespace

// Strings are kept sixteen to a block, each as its length and its characters.
std::wstring Text(int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_STRING),
                                  MAKEINTRESOURCEW(id / kStringsPerBlock + 1), kJapanese);
    HGLOBAL block = found ? LoadResource(module, found) : nullptr;
    const WCHAR* p = block ? static_cast<const WCHAR*>(LockResource(block)) : nullptr;
    if (!p) return std::wstring();
    const WCHAR* end = p + SizeofResource(module, found) / sizeof(WCHAR);
    for (int i = 0; i < id % kStringsPerBlock && p < end; ++i) p += 1 + *p;
    if (p >= end || *p > end - p - 1) return std::wstring();
    return std::wstring(p + 1, *p);
}
