// A plain view of 32-bit pixels (R << 16 | G << 8 | B) stored bottom-up, as
// in the off-screen bitmaps: row 0 of the picture is the last row in memory.
#pragma once
#include <cstdint>

struct PixelView {
    uint32_t* pixels;
    int32_t width;
    int32_t height;
};

// Pixel (x, y), y counted from the top.
inline uint32_t* PixelAt(const PixelView& v, int x, int y)
{
    return v.pixels + static_cast<int64_t>(v.height - 1 - y) * v.width + x;
}

inline bool BoxFits(const PixelView& v, int x, int y, int w, int h)
{
    return v.pixels && x >= 0 && y >= 0 && x + w <= v.width && y + h <= v.height;
}

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }
