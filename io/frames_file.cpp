#include "io/frames_file.h"

#include <algorithm>

#include "screen/screen.h"

namespace {

constexpr int kFieldsPerLine = 5;
// More digits than any field can use; longer runs only have to stay too big.
constexpr uint32_t kFieldCeiling = 1000000;
const char kByteOrderMark[] = "\xEF\xBB\xBF";
const char kHeader[] = "# Vexa frames: number, then left, top, right, bottom cells\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// One line's five numbers; false when it is anything else.
bool ReadFields(const char* p, const char* end, uint32_t (&field)[kFieldsPerLine])
{
    for (uint32_t& value : field) {
        while (p < end && IsBlank(*p)) ++p;
        if (p == end || *p < '0' || *p > '9') return false;
        value = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p) value = std::min(value * 10 + static_cast<uint32_t>(*p - '0'), kFieldCeiling);
        if (p < end && !IsBlank(*p)) return false;
    }
    while (p < end && IsBlank(*p)) ++p;
    return p == end;
}

}  // namespace

bool ReadFramesFile(const char* text, size_t size, Frame frames[kFrameCount], FramesFileProblem* problem)
{
    Frame read[kFrameCount];
    std::fill(read, read + kFrameCount, kUndefinedFrame);
    const char* p = text;
    const char* const end = text + size;
    // Editors on Windows may begin UTF-8 text with a byte-order mark.
    if (size >= 3 && std::equal(kByteOrderMark, kByteOrderMark + 3, text)) p += 3;
    for (int line = 1; p < end; ++line) {
        const char* lineEnd = std::find(p, end, '\n');
        const char* first = std::find_if(p, lineEnd, [](char c) { return !IsBlank(c); });
        FramesFault fault = FramesFault::NotFiveNumbers;
        bool good = first == lineEnd || *first == '#';
        uint32_t f[kFieldsPerLine];
        if (!good && ReadFields(first, lineEnd, f)) {
            const int k = static_cast<int>(f[0]) - 1;
            if (k < 0 || k >= kFrameCount)
                fault = FramesFault::FrameNumber;
            else if (f[1] > f[3] || f[3] >= kScreenColumns || f[2] > f[4] || f[4] >= kScreenRows)
                fault = FramesFault::OffTheScreen;
            else if (read[k].left >= 0)
                fault = FramesFault::Repeated;
            else {
                read[k] = {static_cast<int32_t>(f[1]), static_cast<int32_t>(f[2]), static_cast<int32_t>(f[3]),
                           static_cast<int32_t>(f[4])};
                good = true;
            }
        }
        if (!good) {
            if (problem) *problem = {line, fault};
            return false;
        }
        p = lineEnd == end ? end : lineEnd + 1;
    }
    std::copy(read, read + kFrameCount, frames);
    return true;
}

std::string DescribeFramesFileProblem(const FramesFileProblem& problem)
{
    const char* why = "";
    switch (problem.fault) {
    case FramesFault::NotFiveNumbers: why = "expected five numbers: frame, left, top, right, bottom"; break;
    case FramesFault::FrameNumber: why = "frame number is not 1-9"; break;
    case FramesFault::OffTheScreen: why = "the cells are not a rectangle of the 40 x 25 screen"; break;
    case FramesFault::Repeated: why = "the frame is given twice"; break;
    }
    return "line " + std::to_string(problem.line) + ": " + why;
}

std::string FramesFileText(const Frame frames[kFrameCount])
{
    std::string text = kHeader;
    for (int k = 0; k < kFrameCount; ++k) {
        const Frame& f = frames[k];
        if (f.left < 0) continue;
        text += std::to_string(k + 1) + ' ' + std::to_string(f.left) + ' ' + std::to_string(f.top) + ' ' +
                std::to_string(f.right) + ' ' + std::to_string(f.bottom) + '\n';
    }
    return text;
}
