#include "shell/base/text_win32.h"

#include <windows.h>

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Decode(UINT codePage, const char* bytes)
{
    const int n = MultiByteToWideChar(codePage, 0, bytes, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes, -1, &out[0], n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// `fallback` stands for characters the code page cannot hold (nullptr: the
// code page's own choice, as UTF-8 needs).
std::string Encode(UINT codePage, const std::wstring& text, DWORD flags, const char* fallback)
{
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, fallback, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, &out[0], n, fallback, nullptr);
    return out;
}

}  // namespace

std::wstring Widen(const char* utf8) { return Decode(CP_UTF8, utf8); }

std::string Narrow(const wchar_t* utf16) { return Encode(CP_UTF8, utf16, 0, nullptr); }

// No best fit: the same text gives the same bytes on every system.
std::string ToShiftJis(const std::wstring& text) { return Encode(kShiftJis, text, WC_NO_BEST_FIT_CHARS, " "); }

std::wstring FromShiftJis(const char* shiftJis) { return Decode(kShiftJis, shiftJis); }
