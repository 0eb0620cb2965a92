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
// a palette of 16 whose channels 5-bit fields keep exactly, so that every
// bit depth can hold it.
constexpr int kBmpWidth = 10;
constexpr int kBmpHeight = 6;
inline int BmpIndex(int x, int y) { return (x + 3 * y) % 16; }
inline uint32_t BmpPaletteColour(int i)
{
    const uint32_t levels[4] = {0x00, 0x84, 0xC6, 0xFF};
    return levels[i & 3] << 16 | levels[(i >> 1) & 3] << 8 | levels[(i >> 2) & 3];
}
inline uint32_t BmpPixel(int x, int y) { return BmpPaletteColour(BmpIndex(x, y)); }

// Little-endian, `bytes` long.
inline void BmpPut(std::vector<uint8_t>& v, uint32_t x, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

inline std::vector<uint8_t> MakeBmp(const BmpSpec& s)
{
    std::vector<uint8_t> pixels;
    for (int r = 0; r < kBmpHeight; ++r) {
        const int y = s.topDown ? r : kBmpHeight - 1 - r;
        const size_t start = pixels.size();
        for (int x = 0; x < kBmpWidth;) {
            const uint32_t c = BmpPixel(x, y);
            if (s.rle) {  // RLE8: runs of equal indices; RLE4: two alternating indices per run
                int n = 1;
                if (s.bits == 8)
                    while (x + n < kBmpWidth && BmpIndex(x + n, y) == BmpIndex(x, y)) ++n;
                else if (x + 1 < kBmpWidth)
                    n = 2;
                pixels.push_back(static_cast<uint8_t>(n));
                pixels.push_back(static_cast<uint8_t>(s.bits == 8 ? BmpIndex(x, y)
                                                                  : BmpIndex(x, y) << 4 | (n > 1 ? BmpIndex(x + 1, y) : 0)));
                x += n;
            } else if (s.bits <= 8) {
                int byte = 0;
                for (int k = 0; k < 8 / s.bits; ++k, ++x)
                    byte |= (x < kBmpWidth ? BmpIndex(x, y) % (1 << s.bits) : 0) << (8 - s.bits * (k + 1));
                pixels.push_back(static_cast<uint8_t>(byte));
            } else {  // 16 bits: 5-6-5 with masks, else 5-5-5
                const uint32_t r5 = (c >> 19) & 0x1F, b5 = (c >> 3) & 0x1F;
                if (s.bits == 16) BmpPut(pixels, s.bitFields ? r5 << 11 | ((c >> 10) & 0x3F) << 5 | b5
                                                             : r5 << 10 | ((c >> 11) & 0x1F) << 5 | b5, 2);
                if (s.bits == 24) BmpPut(pixels, c, 3);
                if (s.bits == 32) BmpPut(pixels, c | 0xFF000000u);
                ++x;
            }
        }
        if (s.rle)  // end of line, or of the picture
            pixels.insert(pixels.end(), {0, static_cast<uint8_t>(r == kBmpHeight - 1)});
        while (!s.rle && (pixels.size() - start) % 4) pixels.push_back(0);
    }
    const int colours = s.bits <= 8 ? 1 << s.bits : 0;
    const bool masks = s.bitFields && s.headerSize == 40;
    const uint32_t offset = 14 + s.headerSize + (masks ? 12 : 0) + 4 * colours;
    std::vector<uint8_t> v = {'B', 'M'};
    for (uint32_t word : {offset + static_cast<uint32_t>(pixels.size()), 0u, offset, static_cast<uint32_t>(s.headerSize),
                          static_cast<uint32_t>(kBmpWidth), static_cast<uint32_t>(s.topDown ? -kBmpHeight : kBmpHeight)})
        BmpPut(v, word);
    BmpPut(v, 1, 2);
    BmpPut(v, s.bits, 2);
    for (uint32_t word : {s.rle ? (s.bits == 8 ? 1u : 2u) : s.bitFields ? 3u : 0u, static_cast<uint32_t>(pixels.size()),
                          2835u, 2835u, s.implicitColours ? 0u : colours, 0u})
        BmpPut(v, word);
    const uint32_t red = s.bits == 16 ? 0xF800 : 0xFF0000, green = s.bits == 16 ? 0x07E0 : 0xFF00,
                   blue = s.bits == 16 ? 0x1F : 0xFF;
    if (s.headerSize > 40) {  // the masks of a V4 or V5 header, then the rest of it
        for (uint32_t m : {red, green, blue, 0u}) BmpPut(v, s.bitFields ? m : 0);
        v.resize(14u + s.headerSize);
    } else if (masks) {
        for (uint32_t m : {red, green, blue}) BmpPut(v, m);
    }
    for (int i = 0; i < colours; ++i) BmpPut(v, BmpPaletteColour(i));
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
    all.insert(all.end(), {{24, 40, true}, {24, 108}, {32, 124, true, true}, {16, 40, false, true},
                           {8, 40, false, false, true}, {4, 40, false, false, true}});
    return all;
}
