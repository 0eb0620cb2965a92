#include "app/command_line.h"

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
}  // namespace

bool FirstArgument(const std::wstring& commandLine, std::wstring& argument, size_t limit)
{
    argument.clear();
    size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (c == L'"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && IsBlank(c)) break;
        argument.push_back(c);
    }
    if (quoted || argument.empty() || argument.size() + 1 > limit) {
        argument.clear();
        return false;
    }
    return true;
}
