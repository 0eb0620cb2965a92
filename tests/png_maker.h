// PNG files built by hand, for the native tests and for the decoder under
// Wine: a picture of any size whose pixels are all 0, compressed as tightly
// as deflate allows (about 1032 bytes to one), so that a small file claims
// a huge picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace png_maker {

inline uint32_t Crc(const uint8_t* p, size_t n, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

inline void PutBig(std::vector<uint8_t>& v, uint32_t x)
{
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}

inline void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data)
{
    PutBig(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBig(png, Crc(&png[start], png.size() - start));
}

// Deflate's bits: fields from the lowest bit, Huffman codes from their
// highest.
struct Bits {
    std::vector<uint8_t> bytes;
    int used = 8;
    void Put(uint32_t value, int n)
    {
        for (int i = 0; i < n; ++i, ++used) {
            if (used == 8) bytes.push_back(0), used = 0;
            bytes.back() |= static_cast<uint8_t>((value >> i & 1) << used);
        }
    }
    void Code(uint32_t code, int n)
    {
        for (int i = n - 1; i >= 0; --i) Put(code >> i & 1, 1);
    }
};

// A zlib stream of `n` zero bytes: one dynamic block whose codes are 1 bit
// for "258 more, one back", 1 bit for distance 1, 2 bits for literal 0 and
// for the end.
inline std::vector<uint8_t> Zeros(uint64_t n)
{
    Bits b;
    b.Put(1, 1);   // the last block
    b.Put(2, 2);   // dynamic codes
    b.Put(29, 5);  // 286 literal/length codes
    b.Put(0, 5);   // 1 distance code
    b.Put(14, 4);  // 18 code length codes, in their order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1
    for (int length : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2}) b.Put(length, 3);
    // Code length codes: 18 is 0, 1 is 10, 2 is 11.
    const auto one = [&] { b.Code(2, 2); };
    const auto two = [&] { b.Code(3, 2); };
    const auto zeros = [&](int k) { b.Code(0, 1), b.Put(k - 11, 7); };
    two();  // literal 0
    zeros(138), zeros(117);
    two();  // 256, the end
    zeros(28);
    one();  // 285, length 258
    one();  // distance code 0
    // Literal/length codes: 285 is 0, literal 0 is 10, the end 11.
    if (n > 0) b.Code(2, 2);
    uint64_t left = n > 0 ? n - 1 : 0;
    for (; left >= 258; left -= 258) b.Code(0, 1), b.Code(0, 1);
    for (; left > 0; --left) b.Code(2, 2);
    b.Code(3, 2);
    std::vector<uint8_t> z = {0x78, 0x01};
    z.insert(z.end(), b.bytes.begin(), b.bytes.end());
    PutBig(z, static_cast<uint32_t>(n % 65521) << 16 | 1);  // Adler-32 of zeros
    return z;
}

// A PNG of width x height pixels, all 0: grey (colour type 0) or RGB (2) at
// `depth` bits.
inline std::string ZeroPng(uint32_t width, uint32_t height, int depth = 8, int colourType = 0)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig(header, width);
    PutBig(header, height);
    header.insert(header.end(), {static_cast<uint8_t>(depth), static_cast<uint8_t>(colourType), 0, 0, 0});
    Chunk(png, "IHDR", header);
    const uint64_t channels = colourType == 2 ? 3 : 1;
    const uint64_t row = 1 + (uint64_t{width} * channels * depth + 7) / 8;  // a filter byte, then the pixels
    Chunk(png, "IDAT", Zeros(row * height));
    Chunk(png, "IEND", {});
    return std::string(png.begin(), png.end());
}

}  // namespace png_maker
