// Pictures for vexa-cli import: PNG through libpng, JPEG through libjpeg.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top row first, 0xRRGGBB; transparency laid on black
};

enum class PictureRead { Read, Unreadable, Refused };
// Refused, with `why` saying so, for a file that is no PNG or JPEG, is
// damaged, or is larger than the editor takes.
PictureRead ReadPicture(const std::string& path, Picture& picture, std::string& why);
