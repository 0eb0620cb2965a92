#include "io/picture_file.h"

#include <algorithm>
#include <cstring>

#include "render/view.h"
#include "render/view_settings.h"

namespace {

constexpr size_t kFileHeader = 14;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
constexpr uint32_t kMaskBytes = 12;  // three masks after a 40-byte header

uint32_t Read32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool StartsWith(const uint8_t* bytes, size_t size, const char* magic)
{
    const size_t n = std::strlen(magic);
    return size >= n && std::memcmp(bytes, magic, n) == 0;
}

uint32_t Read32Big(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint16_t Read16Big(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

bool KnownHeaderSize(uint32_t size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

bool KnownPixels(uint16_t bits, uint32_t compression)
{
    switch (compression) {
    case kRgb: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8: return bits == 8;
    case kRle4: return bits == 4;
    case kBitFields: return bits == 16 || bits == 32;
    default: return false;
    }
}

// The size in the IHDR chunk, which must come first.
bool PngSize(const std::vector<uint8_t>& f, int64_t& width, int64_t& height)
{
    if (f.size() < 24 || Read32Big(&f[8]) != 13 || std::memcmp(&f[12], "IHDR", 4) != 0) return false;
    width = Read32Big(&f[16]);
    height = Read32Big(&f[20]);
    return true;
}

// The size in the frame header, found by walking the segments before it.
bool JpegSize(const std::vector<uint8_t>& f, int64_t& width, int64_t& height)
{
    const size_t n = f.size();
    size_t at = 2;
    while (at < n) {
        if (f[at] != 0xFF) return false;
        while (at < n && f[at] == 0xFF) ++at;  // fill bytes
        if (at >= n) return false;
        const uint8_t marker = f[at++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // markers without a length
        if (marker == 0xD9 || marker == 0xDA || at + 2 > n) return false;   // no frame before the image ends
        const size_t length = Read16Big(&f[at]);
        if (length < 2 || length > n - at) return false;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7) return false;
            height = Read16Big(&f[at + 3]);
            width = Read16Big(&f[at + 5]);
            return true;
        }
        at += length;
    }
    return false;
}

// Steps over a chain of data sub-blocks; false when it runs past the file.
bool SkipSubBlocks(const std::vector<uint8_t>& f, size_t& at)
{
    while (at < f.size()) {
        const size_t length = f[at++];
        if (length == 0) return true;
        at += length;
    }
    return false;
}

// The first picture's size, the file cut after it; its screen's size too.
bool GifFirstPicture(std::vector<uint8_t>& f, int64_t& width, int64_t& height, int64_t& screenWidth,
                     int64_t& screenHeight)
{
    const size_t n = f.size();
    if (n < 13) return false;
    screenWidth = Read16(&f[6]);
    screenHeight = Read16(&f[8]);
    size_t at = 13;
    if (f[10] & 0x80) at += size_t{3} << ((f[10] & 7) + 1);  // the global colour table
    while (at < n) {
        const uint8_t block = f[at++];
        if (block == 0x21) {  // an extension: its label, then its data
            ++at;
            if (!SkipSubBlocks(f, at)) return false;
        } else if (block == 0x2C) {  // the picture: where and how large, its colours, its data
            if (at + 9 > n) return false;
            width = Read16(&f[at + 4]);
            height = Read16(&f[at + 6]);
            const uint8_t flags = f[at + 8];
            at += 9;
            if (flags & 0x80) at += size_t{3} << ((flags & 7) + 1);
            ++at;  // the code size
            if (at > n || !SkipSubBlocks(f, at)) return false;
            f.resize(at);
            f.push_back(0x3B);  // the end of the file
            return true;
        } else {
            return false;  // the end, or no block at all, before any picture
        }
    }
    return false;
}

}  // namespace

PictureKind IdentifyPicture(const uint8_t* bytes, size_t size)
{
    if (StartsWith(bytes, size, "BM")) return PictureKind::Bitmap;
    if (StartsWith(bytes, size, "\x89PNG\r\n\x1A\n")) return PictureKind::Png;
    if (StartsWith(bytes, size, "\xFF\xD8\xFF")) return PictureKind::Jpeg;
    if (StartsWith(bytes, size, "GIF87a") || StartsWith(bytes, size, "GIF89a")) return PictureKind::Gif;
    return PictureKind::Unknown;
}

bool PictureSizeAcceptable(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kPictureMaxSide && height <= kPictureMaxSide &&
           width * height <= kPictureMaxPixels;
}

bool PrepareBitmap(std::vector<uint8_t>& file)
{
    const uint64_t size = file.size();
    if (size < kFileHeader + kInfoHeader || IdentifyPicture(file.data(), file.size()) != PictureKind::Bitmap)
        return false;
    uint8_t* info = file.data() + kFileHeader;
    const uint64_t pixelsAt = Read32(file.data() + 10);
    const uint32_t headerSize = Read32(info);
    const int64_t width = static_cast<int32_t>(Read32(info + 4));
    const int64_t height = static_cast<int32_t>(Read32(info + 8));
    const uint16_t planes = Read16(info + 12), bits = Read16(info + 14);
    const uint32_t compression = Read32(info + 16), coloursUsed = Read32(info + 32);
    const bool topDown = height < 0;
    if (!KnownHeaderSize(headerSize) || size < kFileHeader + headerSize || planes != 1 ||
        !KnownPixels(bits, compression) || (topDown && (compression == kRle8 || compression == kRle4)) ||
        !PictureSizeAcceptable(width, topDown ? -height : height))
        return false;

    // The colour table lies between the headers (with the masks a 40-byte
    // header puts after itself) and the pixel data.
    const uint64_t tableAt = kFileHeader + headerSize + (headerSize == kInfoHeader && compression == kBitFields ? kMaskBytes : 0);
    if (pixelsAt < tableAt || pixelsAt >= size) return false;
    const uint64_t room = (pixelsAt - tableAt) / 4;
    uint64_t colours = coloursUsed;
    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        if (colours == 0) colours = room < most ? room : most;  // the count the layout implies
        if (colours == 0 || colours > most) return false;
    }
    if (colours > room) return false;
    if (coloursUsed != static_cast<uint32_t>(colours)) {
        info[32] = static_cast<uint8_t>(colours);
        info[33] = static_cast<uint8_t>(colours >> 8);
        info[34] = info[35] = 0;
    }

    // Uncompressed rows are whole 4-byte words; compressed data needs at
    // least its end code.
    const uint64_t rows = static_cast<uint64_t>(topDown ? -height : height);
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t needed = compression == kRle8 || compression == kRle4 ? 2 : stride * rows;
    return needed <= size - pixelsAt;
}

PictureCheck PreparePicture(std::vector<uint8_t>& file, PictureKind& kind, int& width, int& height)
{
    kind = IdentifyPicture(file.data(), file.size());
    int64_t w = 0, h = 0, screenWidth = 0, screenHeight = 0;
    bool read = false;
    switch (kind) {
    case PictureKind::Unknown: return PictureCheck::Unknown;
    case PictureKind::Png: read = PngSize(file, w, h); break;
    case PictureKind::Jpeg: read = JpegSize(file, w, h); break;
    case PictureKind::Gif: read = GifFirstPicture(file, w, h, screenWidth, screenHeight); break;
    case PictureKind::Bitmap:
        if (file.size() >= kFileHeader + 12) {
            w = static_cast<int32_t>(Read32(&file[kFileHeader + 4]));
            h = static_cast<int32_t>(Read32(&file[kFileHeader + 8]));
            h = h < 0 ? -h : h;
            read = true;
        }
        break;
    }
    if (!read || w <= 0 || h <= 0) return PictureCheck::Damaged;
    // A GIF's screen may be left 0 by its writer; its decoder still makes room for it.
    if (!PictureSizeAcceptable(w, h) || !PictureSizeAcceptable(std::max<int64_t>(screenWidth, 1), std::max<int64_t>(screenHeight, 1)))
        return PictureCheck::TooLarge;
    if (kind == PictureKind::Bitmap && !PrepareBitmap(file)) return PictureCheck::Damaged;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return PictureCheck::Accepted;
}

void PictureKeptSize(int width, int height, int& keptWidth, int& keptHeight)
{
    const int64_t most = kZoomLevels, canvasWidth = kCanvasWidthAt1 * most, canvasHeight = kCanvasHeightAt1 * most;
    keptWidth = width;
    keptHeight = height;
    if (width <= canvasWidth || height <= canvasHeight) return;
    // Rounded up, so that the shrunk picture still covers the canvas.
    if (canvasWidth * height >= canvasHeight * width) {  // taller than the canvas: its width decides
        keptWidth = static_cast<int>(canvasWidth);
        keptHeight = static_cast<int>((height * canvasWidth + width - 1) / width);
    } else {
        keptHeight = static_cast<int>(canvasHeight);
        keptWidth = static_cast<int>((width * canvasHeight + height - 1) / height);
    }
}

namespace {

// A channel of `mask` in 8 bits: narrower fields repeat their bits, so that
// the largest value becomes 255.
uint32_t Channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const uint32_t field = mask >> shift, value = (pixel & mask) >> shift;
    int width = 0;
    while (width < 32 && field >> width) ++width;
    if (width >= 8) return value >> (width - 8);
    uint32_t repeated = 0;
    int filled = 0;
    for (; filled < 8; filled += width) repeated = repeated << width | value;
    return repeated >> (filled - 8);
}

}  // namespace

void DecodeBitmap(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height)
{
    const uint8_t* info = file.data() + kFileHeader;
    const uint32_t headerSize = Read32(info);
    const int32_t rawHeight = static_cast<int32_t>(Read32(info + 8));
    const bool topDown = rawHeight < 0;
    width = static_cast<int32_t>(Read32(info + 4));
    height = static_cast<int>(topDown ? -static_cast<int64_t>(rawHeight) : rawHeight);
    const uint16_t bits = Read16(info + 14);
    const uint32_t compression = Read32(info + 16), colours = Read32(info + 32);
    const size_t n = file.size(), pixelsAt = Read32(file.data() + 10);
    const size_t tableAt = kFileHeader + headerSize + (headerSize == kInfoHeader && compression == kBitFields ? kMaskBytes : 0);
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);

    std::vector<uint32_t> table(bits <= 8 ? size_t{1} << bits : 0, 0);
    for (size_t i = 0; i < table.size() && i < colours; ++i) table[i] = Read32(&file[tableAt + 4 * i]) & 0xFFFFFF;
    // Masks follow the 40 bytes of every header kind; without them, 5-5-5
    // and 8-8-8.
    uint32_t red = bits == 16 ? 0x7C00 : 0xFF0000, green = bits == 16 ? 0x3E0 : 0xFF00, blue = bits == 16 ? 0x1F : 0xFF,
             alpha = 0;
    if (compression == kBitFields) {
        red = Read32(&file[kFileHeader + 40]);
        green = Read32(&file[kFileHeader + 44]);
        blue = Read32(&file[kFileHeader + 48]);
        if (headerSize >= 56) alpha = Read32(&file[kFileHeader + 52]);
    }
    const auto put = [&](int64_t x, int64_t row, uint32_t colour) {  // row counted as stored
        if (x < 0 || x >= width || row < 0 || row >= height) return;
        const int64_t y = topDown ? row : height - 1 - row;
        pixels[static_cast<size_t>(y * width + x)] = colour;
    };
    const auto indexed = [&](uint32_t index) { return index < table.size() ? table[index] : 0u; };

    if (compression == kRle8 || compression == kRle4) {
        // Runs of one index (two alternating ones in RLE4), and escapes: end
        // of line, end of picture, a jump, or a run of indices as they are.
        int64_t x = 0, row = 0;
        for (size_t at = pixelsAt; at + 1 < n && row < height;) {
            const uint32_t count = file[at], value = file[at + 1];
            at += 2;
            if (count > 0) {
                for (uint32_t k = 0; k < count && x + k < width; ++k)
                    put(x + k, row, indexed(bits == 8 ? value : k % 2 == 0 ? value >> 4 : value & 15));
                x += count;
            } else if (value == 0) {
                x = 0;
                ++row;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (at + 2 > n) break;
                x += file[at];
                row += file[at + 1];
                at += 2;
            } else {
                const size_t bytes = bits == 8 ? value : (value + 1) / 2;
                if (bytes > n - at) break;
                for (uint32_t k = 0; k < value && x + k < width; ++k) {
                    const uint32_t byte = file[at + (bits == 8 ? k : k / 2)];
                    put(x + k, row, indexed(bits == 8 ? byte : k % 2 == 0 ? byte >> 4 : byte & 15));
                }
                x += value;
                at += (bytes + 1) & ~size_t{1};  // runs end on a 16-bit word
            }
        }
        return;
    }

    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    for (int row = 0; row < height; ++row) {
        const uint8_t* p = file.data() + pixelsAt + stride * static_cast<size_t>(row);
        for (int x = 0; x < width; ++x) {
            uint32_t colour;
            if (bits <= 8) {
                const size_t bit = static_cast<size_t>(x) * bits;
                colour = indexed((p[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1));
            } else {
                const uint8_t* q = p + static_cast<size_t>(x) * (bits / 8);
                const uint32_t v = bits == 16 ? Read16(q) : bits == 24 ? (q[0] | q[1] << 8 | q[2] << 16) : Read32(q);
                uint32_t r = Channel(v, red), g = Channel(v, green), b = Channel(v, blue);
                if (alpha) {
                    const uint32_t a = Channel(v, alpha);
                    r = r * a / 255, g = g * a / 255, b = b * a / 255;
                }
                colour = r << 16 | g << 8 | b;
            }
            put(x, row, colour);
        }
    }
}
