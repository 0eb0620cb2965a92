// Pictures for vexa-cli import: the kinds the editor's overlay takes. PNG
// through libpng, JPEG through libjpeg, GIF (its first picture) through
// giflib, BMP through the core's own checked reading.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top row first, 0xRRGGBB; transparency laid on black
};

enum class PictureRead { Read, Unreadable, TooLong, Refused };
// Reads at most `limit` bytes of `path`. Unreadable (errno set) when the file
// cannot be read, TooLong when it holds more; Refused, with `why` saying so in
// a few words, for a file of no kind the editor takes, a damaged one, or one
// whose headers claim more pixels than the editor takes (before any pixel is
// decoded).
PictureRead ReadPicture(const std::string& path, size_t limit, Picture& picture, std::string& why);
