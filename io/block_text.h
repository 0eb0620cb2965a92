// Block text: how a block of cells travels through the clipboard. A size
// line "%2d %2d\n" (width, height), then the display codes and then the
// attributes in row order, each as "%02X", sixteen to a line, each section
// ending with a line feed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kBlockTextMaxWidth = 40;
constexpr int kBlockTextMaxHeight = 25;

// The text of a w x h block whose cell (c, r) is codes[r stride + c].
std::string WriteBlockText(const int32_t* codes, const int32_t* attrs, int stride, int w, int h);

struct BlockCells {
    int width;
    int height;
    uint8_t code[kBlockTextMaxWidth * kBlockTextMaxHeight];  // cell (c, r) at r * width + c
    uint8_t attr[kBlockTextMaxWidth * kBlockTextMaxHeight];
};
// Reads block text from at most `size` bytes, ending early at a zero byte.
// Any character but a digit or an ASCII letter separates fields; letters
// count as digits 10-35. False, with `out` unspecified, for a size out of
// range, text that ends before or right after the last value, or a value
// above FF, whatever its length.
bool ReadBlockText(const char* text, size_t size, BlockCells& out);
