// The frames file: the nine animation frames as plain text a person can
// write by hand. One line per defined frame: its number 1-9, then its left,
// top, right and bottom cells in decimal, separated by blanks ("2 3 4 9 8").
// Lines whose first non-blank character is '#' are comments; blank lines are
// skipped. The frame record lives here, below the animation code, so that the
// file and the recovery copy can hold it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kFrameCount = 9;

struct Frame {
    int32_t left;  // -1: not defined
    int32_t top;
    int32_t right;  // inclusive
    int32_t bottom;
};

constexpr Frame kUndefinedFrame = {-1, 0, 0, 0};

// No frames file needs more; a longer one is refused rather than cut, since
// its end counts.
constexpr size_t kFramesFileReadLimit = size_t{16} << 20;

enum class FramesFault {
    NotFiveNumbers,  // a line other than five decimal numbers
    FrameNumber,     // the first number is not 1-9
    OffTheScreen,    // the cells are not a rectangle of the 40 x 25 screen
    Repeated,        // a frame number given twice
};

struct FramesFileProblem {
    int line;  // from 1
    FramesFault fault;
};

// Parses `size` bytes into `frames`, all nine of them (those not named
// become undefined). On failure `frames` is left exactly as it was and
// `problem`, when given, says where and why.
bool ReadFramesFile(const char* text, size_t size, Frame frames[kFrameCount], FramesFileProblem* problem);

// The problem as one line, e.g. "line 3: frame number is not 1-9".
std::string DescribeFramesFileProblem(const FramesFileProblem& problem);

// The defined frames as a frames file, after a comment that explains it.
std::string FramesFileText(const Frame frames[kFrameCount]);
