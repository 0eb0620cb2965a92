#include "io/recovery.h"

#include <cstring>

#include "io/screen_file.h"

namespace {
const char kFirstLine[] = "Vexa recovery 1\n";
}

std::string RecoveryText(const std::string& path) { return kFirstLine + path + "\n" + ScreenFileText(); }

bool ReadRecovery(const char* text, size_t size, std::string& path)
{
    const size_t first = sizeof kFirstLine - 1;
    if (size < first || std::memcmp(text, kFirstLine, first) != 0) return false;
    const char* start = text + first;
    const char* end = static_cast<const char*>(std::memchr(start, '\n', size - first));
    if (!end || std::memchr(start, '\0', static_cast<size_t>(end - start))) return false;
    const size_t rest = size - static_cast<size_t>(end + 1 - text);
    if (!ReadScreenFile(end + 1, rest, nullptr)) return false;
    path.assign(start, end);
    return true;
}
