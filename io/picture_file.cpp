#include "io/picture_file.h"

#include <cstring>

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
