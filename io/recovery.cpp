#include "io/recovery.h"

#include <algorithm>
#include <cstring>

#include "io/screen_file.h"

namespace {
const char kFirstLine[] = "Vexa recovery 1\n";
// Ends a copy that holds frames, so that a copy cut short anywhere is seen
// to be.
const char kLastLine[] = "# end\n";
}

// The frames follow the screen's line as a frames file. Readers that know no
// frames read the screen and ignore them.
std::string RecoveryText(const std::string& path, const Frame frames[kFrameCount])
{
    return kFirstLine + path + "\n" + ScreenFileText() + "\n" + FramesFileText(frames) + kLastLine;
}

bool ReadRecovery(const char* text, size_t size, std::string& path, Frame frames[kFrameCount])
{
    const size_t first = sizeof kFirstLine - 1;
    if (size < first || std::memcmp(text, kFirstLine, first) != 0) return false;
    const char* start = text + first;
    const char* const end = text + size;
    const char* pathEnd = std::find(start, end, '\n');
    if (pathEnd == end || std::find(start, pathEnd, '\0') != pathEnd) return false;
    const char* screen = pathEnd + 1;
    const char* screenEnd = std::find(screen, end, '\n');
    Frame read[kFrameCount];
    const size_t last = sizeof kLastLine - 1;
    if (screenEnd == end)
        std::fill(read, read + kFrameCount, kUndefinedFrame);
    else if (static_cast<size_t>(end - screenEnd) < last || !std::equal(end - last, end, kLastLine) ||
             !ReadFramesFile(screenEnd + 1, static_cast<size_t>(end - screenEnd - 1), read, nullptr))
        return false;
    if (!ReadScreenFile(screen, static_cast<size_t>(screenEnd - screen), nullptr)) return false;
    path.assign(start, pathEnd);
    std::copy(read, read + kFrameCount, frames);
    return true;
}
