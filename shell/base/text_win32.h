// Conversions between the core's UTF-8 texts and the window system's UTF-16.
#pragma once
#include <string>

std::wstring Widen(const char* utf8);
std::string Narrow(const wchar_t* utf16);
