// The first argument of the program's command line.
#pragma once
#include <string>

// Leading white space is skipped; a double quote opens a section copied
// without the quotes, spaces included, up to the closing quote. Returns
// false when there is no argument, a quoted section is not closed, or the
// argument is longer than `limit` characters including its terminator.
bool FirstArgument(const std::wstring& commandLine, std::wstring& argument, size_t limit);
