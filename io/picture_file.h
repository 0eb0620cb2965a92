// Picture files the overlay accepts, looked at before any decoder sees them:
// which kind a file is, and whether a BMP can be trusted.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Larger pictures are refused: a tracing template needs nothing near them,
// and their pixels would not fit in memory.
constexpr int kPictureMaxSide = 16384;
constexpr int64_t kPictureMaxPixels = int64_t{1} << 25;  // 128 MB as 32-bit pixels
constexpr size_t kPictureFileLimit = size_t{256} << 20;

enum class PictureKind { Unknown, Bitmap, Png, Jpeg, Gif };
PictureKind IdentifyPicture(const uint8_t* bytes, size_t size);

bool PictureSizeAcceptable(int64_t width, int64_t height);

// Checks a BMP file against its own headers: sizes, colour table and pixel
// data within the file, no value that overflows, a kind of pixel data a
// decoder knows. An 8-bit or smaller picture whose colour count is left
// implicit gets the count its layout implies, written into the header.
// False when the file cannot be trusted.
bool PrepareBitmap(std::vector<uint8_t>& file);
