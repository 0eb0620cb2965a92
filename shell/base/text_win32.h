// Conversions between the core's UTF-8 texts and the window system's UTF-16,
// and the program's texts from its string table.
#pragma once
#include <string>

std::wstring Widen(const char* utf8);
std::string Narrow(const wchar_t* utf16);

// Typed text is kept in code page 932 whatever the system's code page is.
// Characters it cannot hold become spaces, which stand for nothing.
std::string ToShiftJis(const std::wstring& text);
std::wstring FromShiftJis(const char* shiftJis);
