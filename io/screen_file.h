// The Brisel screen file: one line of 3000 comma-separated decimals, three
// runs of 1000 (cell word, foreground, background) in cell order.
#pragma once
#include <cstddef>
#include <cstdint>

#include <string>

constexpr int kScreenFileNumbers = 3000;
constexpr size_t kScreenFileMaxBytes = 8999;
// Reading stops here: anything after the 3000th number is ignored, so no
// screen file needs more, and a stream without end cannot exhaust memory.
constexpr size_t kScreenFileReadLimit = size_t{16} << 20;

// Where and why a text was rejected.
struct ScreenFileProblem {
    size_t offset;  // byte offset of the offending terminator
    int found;      // the byte found there, or -1 for the end of the text
};

// Parses `size` bytes of text (a NUL byte counts as the end of the text) into
// the Screen buffer. On failure the Screen buffer is left exactly as it was
// and `problem`, when given, says what was wrong.
bool ReadScreenFile(const char* text, size_t size, ScreenFileProblem* problem);

// Formats `problem` as one line, e.g. "expected ',' at byte 12, found ' '".
void DescribeScreenFileProblem(const ScreenFileProblem& problem, char* out, size_t outSize);

// Receives the file's text in pieces; returns false when the bytes could not
// all be written.
using ScreenFileSink = bool (*)(void* context, const char* bytes, size_t count);

// Writes the Screen buffer through `sink`; false as soon as a write fails.
bool WriteScreenFile(ScreenFileSink sink, void* context);
// The text WriteScreenFile writes.
std::string ScreenFileText();
