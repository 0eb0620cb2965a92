// BMP files of every variant the overlay takes, written from a small picture,
// for the core's checks and for the decoder under Wine.
#pragma once
#include <cstdint>
#include <vector>

struct BmpSpec {
    int bits = 24;          // 1, 4, 8, 16, 24 or 32
    int headerSize = 40;    // 40, 108 or 124
    bool topDown = false;   // rows stored from the top (negative height)
    bool bitFields = false;  // 16 or 32 bits with explicit masks
    bool rle = false;       // RLE8 (8 bits) or RLE4 (4 bits)
    bool implicitColours = false;  // colour count left 0
};

// The picture every file shows: width 10, height 6, colour (x, y) taken from
// a palette of 16 so that every bit depth can hold it exactly.
constexpr int kBmpWidth = 10;
constexpr int kBmpHeight = 6;
inline int BmpIndex(int x, int y) { return (x + 3 * y) % 16; }
inline uint32_t BmpPaletteColour(int i)
{
    // Channels that 5-bit fields keep exactly: multiples of 33 are not, so
    // use values whose top five bits say it all (x8 + 7 spread).
    const uint32_t levels[4] = {0x00, 0x84, 0xC6, 0xFF};
    return levels[i & 3] << 16 | levels[(i >> 1) & 3] << 8 | levels[(i >> 2) & 3];
}
inline uint32_t BmpPixel(int x, int y) { return BmpPaletteColour(BmpIndex(x, y)); }

namespace bmp_maker {

inline void Put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x)
{
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
// Sixteen-bit pixels: 5-6-5 with masks, else 5-5-5.
inline uint32_t To565(uint32_t c) { return ((c >> 19) & 0x1F) << 11 | ((c >> 10) & 0x3F) << 5 | ((c >> 3) & 0x1F); }
inline uint32_t To555(uint32_t c) { return ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F); }

// One row of pixel data, padded to whole words.
inline std::vector<uint8_t> Row(const BmpSpec& s, int y)
{
    std::vector<uint8_t> row;
    if (s.bits <= 8) {
        const int perByte = 8 / s.bits;
        for (int x = 0; x < kBmpWidth; x += perByte) {
            int byte = 0;
            for (int k = 0; k < perByte; ++k) {
                const int i = x + k < kBmpWidth ? BmpIndex(x + k, y) % (1 << s.bits) : 0;
                byte |= i << (8 - s.bits * (k + 1));
            }
            row.push_back(static_cast<uint8_t>(byte));
        }
    } else {
        for (int x = 0; x < kBmpWidth; ++x) {
            const uint32_t c = BmpPixel(x, y);
            if (s.bits == 16) Put16(row, s.bitFields ? To565(c) : To555(c));
            if (s.bits == 24) {
                row.push_back(static_cast<uint8_t>(c));
                row.push_back(static_cast<uint8_t>(c >> 8));
                row.push_back(static_cast<uint8_t>(c >> 16));
            }
            if (s.bits == 32) Put32(row, c | 0xFF000000u);
        }
    }
    while (row.size() % 4) row.push_back(0);
    return row;
}

// RLE: each row as runs of equal indices (encoded mode), then end of line;
// end of picture after the last.
inline std::vector<uint8_t> Rle(const BmpSpec& s)
{
    std::vector<uint8_t> out;
    for (int y = kBmpHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kBmpWidth;) {
            int n = 1;
            if (s.bits == 8)
                while (x + n < kBmpWidth && BmpIndex(x + n, y) == BmpIndex(x, y) && n < 255) ++n;
            else if (x + 1 < kBmpWidth)
                n = 2;  // two alternating indices per run
            out.push_back(static_cast<uint8_t>(n));
            out.push_back(static_cast<uint8_t>(s.bits == 8 ? BmpIndex(x, y)
                                                            : BmpIndex(x, y) << 4 | (n > 1 ? BmpIndex(x + 1, y) : 0)));
            x += n;
        }
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);
    }
    return out;
}

}  // namespace bmp_maker

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s)
{
    using namespace bmp_maker;
    const int colours = s.bits <= 8 ? 1 << s.bits : 0;
    const bool masks = s.bitFields && s.headerSize == 40;
    std::vector<uint8_t> pixels;
    if (s.rle) {
        pixels = Rle(s);
    } else {
        for (int r = 0; r < kBmpHeight; ++r) {
            const std::vector<uint8_t> row = Row(s, s.topDown ? r : kBmpHeight - 1 - r);
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    const uint32_t offset = 14 + s.headerSize + (masks ? 12 : 0) + 4 * colours;
    std::vector<uint8_t> v = {'B', 'M'};
    Put32(v, offset + static_cast<uint32_t>(pixels.size()));
    Put32(v, 0);
    Put32(v, offset);
    Put32(v, s.headerSize);
    Put32(v, kBmpWidth);
    Put32(v, static_cast<uint32_t>(s.topDown ? -kBmpHeight : kBmpHeight));
    Put16(v, 1);
    Put16(v, s.bits);
    Put32(v, s.rle ? (s.bits == 8 ? 1 : 2) : s.bitFields ? 3 : 0);
    Put32(v, static_cast<uint32_t>(pixels.size()));
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, s.implicitColours ? 0 : colours);
    Put32(v, 0);
    const uint32_t red = s.bits == 16 ? 0xF800 : 0xFF0000, green = s.bits == 16 ? 0x07E0 : 0xFF00,
                   blue = s.bits == 16 ? 0x1F : 0xFF;
    if (s.headerSize > 40) {  // the masks of a V4 or V5 header, then the rest of it
        for (uint32_t m : {red, green, blue, 0u}) Put32(v, s.bitFields ? m : 0);
        while (v.size() < 14u + s.headerSize) v.push_back(0);
    } else if (masks) {
        for (uint32_t m : {red, green, blue}) Put32(v, m);
    }
    for (int i = 0; i < colours; ++i) Put32(v, BmpPaletteColour(i));
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

// Every variant: each bit depth; implicit colour counts; top-down rows;
// 108- and 124-byte headers; bit-field masks; RLE8 and RLE4.
inline std::vector<BmpSpec> BmpVariants()
{
    std::vector<BmpSpec> all;
    for (int bits : {1, 4, 8, 16, 24, 32}) all.push_back({bits});
    for (int bits : {1, 4, 8}) all.push_back({bits, 40, false, false, false, true});
    all.push_back({24, 40, true});
    all.push_back({24, 108});
    all.push_back({32, 124, true, true});
    all.push_back({16, 40, false, true});
    all.push_back({8, 40, false, false, true});
    all.push_back({4, 40, false, false, true});
    return all;
}
