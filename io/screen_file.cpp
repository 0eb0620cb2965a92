#include "io/screen_file.h"

#include <cstdio>
#include <cstring>

#include "screen/document.h"
#include "screen/screen.h"

namespace {

constexpr size_t kWriteBufferBytes = 520;
constexpr size_t kWriteFlushAbove = 512;

// Cell word bits beyond the display code.
constexpr uint32_t kWordCharSet = 0x100;
constexpr uint32_t kWordMark = 0x200;

struct Cursor {
    const char* text;
    size_t size;
    size_t pos;
};

// Reads one field: digits accumulate (wrapping, as a 32-bit value would);
// the first other byte, or the end of the text, is the terminator and is
// consumed. Returns the terminator, -1 for the end.
int ReadField(Cursor& c, uint32_t& value)
{
    value = 0;
    while (c.pos < c.size && c.text[c.pos] >= '0' && c.text[c.pos] <= '9')
        value = value * 10 + static_cast<uint32_t>(c.text[c.pos++] - '0');
    if (c.pos >= c.size || c.text[c.pos] == '\0') return -1;
    return static_cast<unsigned char>(c.text[c.pos++]);
}

bool Reject(const Cursor& c, int terminator, ScreenFileProblem* problem)
{
    if (problem) {
        problem->found = terminator;
        problem->offset = terminator < 0 ? c.pos : c.pos - 1;
    }
    return false;
}

}  // namespace

bool ReadScreenFile(const char* text, size_t size, ScreenFileProblem* problem)
{
    // Parse into a scratch copy so that a rejected file leaves the screen
    // untouched.
    static int32_t code[kCellCount];
    static int32_t attr[kCellCount];
    Cursor c = {text, size, 0};
    uint32_t v;

    for (int i = 0; i < kCellCount; ++i) {
        const int t = ReadField(c, v);
        code[i] = static_cast<int32_t>(v & 0xFF);
        attr[i] = static_cast<int32_t>(((v & kWordCharSet) >> 1) | ((v & kWordMark) >> 6));
        if (t != ',') return Reject(c, t, problem);
    }
    // Colour fields are OR-ed in as they stand (a foreground of 8-15 also
    // sets the character-set bit), but never beyond the attribute's 8 bits.
    for (int i = 0; i < kCellCount; ++i) {
        const int t = ReadField(c, v);
        attr[i] = static_cast<int32_t>((static_cast<uint32_t>(attr[i]) | (v << 4)) & 0xFF);
        if (t != ',') return Reject(c, t, problem);
    }
    for (int i = 0; i < kCellCount; ++i) {
        const int t = ReadField(c, v);
        attr[i] = static_cast<int32_t>((static_cast<uint32_t>(attr[i]) | v) & 0xFF);
        // The last number may end any way at all; what follows is ignored.
        if (i < kCellCount - 1 && t != ',') return Reject(c, t, problem);
    }
    std::memcpy(gDoc.screen.code, code, sizeof code);
    std::memcpy(gDoc.screen.attr, attr, sizeof attr);
    return true;
}

void DescribeScreenFileProblem(const ScreenFileProblem& problem, char* out, size_t outSize)
{
    char found[32];
    if (problem.found < 0)
        std::snprintf(found, sizeof found, "end of file");
    else if (problem.found >= 0x20 && problem.found < 0x7F)
        std::snprintf(found, sizeof found, "'%c'", problem.found);
    else
        std::snprintf(found, sizeof found, "byte 0x%02X", problem.found);
    std::snprintf(out, outSize, "expected ',' at byte %zu, found %s", problem.offset, found);
}

bool WriteScreenFile(ScreenFileSink sink, void* context)
{
    char buffer[kWriteBufferBytes];
    size_t used = 0;
    for (int n = 0; n < kScreenFileNumbers; ++n) {
        const int i = n % kCellCount;
        const int a = gDoc.screen.attr[i] & 0xFF;
        int value;
        if (n < kCellCount)
            value = (gDoc.screen.code[i] & 0xFF) | ((a & kAttrCharSet) << 1) | ((a & kAttrMark) << 6);
        else if (n < 2 * kCellCount)
            value = (a & kAttrForeground) >> 4;
        else
            value = a & kAttrBackground;
        const bool last = n == kScreenFileNumbers - 1;
        used += static_cast<size_t>(std::snprintf(buffer + used, sizeof buffer - used,
                                                  last ? "%d" : "%d,", value));
        if (used > kWriteFlushAbove) {
            if (!sink(context, buffer, used)) return false;
            used = 0;
        }
    }
    return used == 0 || sink(context, buffer, used);
}

std::string ScreenFileText()
{
    std::string text;
    WriteScreenFile(
        [](void* context, const char* bytes, size_t count) {
            static_cast<std::string*>(context)->append(bytes, count);
            return true;
        },
        &text);
    return text;
}
