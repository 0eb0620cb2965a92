// Picture files the overlay accepts, looked at before any decoder sees them:
// which kind a file is, and whether a BMP can be trusted.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Larger pictures are refused, by the size their headers claim, before any
// pixel is decoded: a tracing template needs nothing near them, and their
// pixels would not fit in memory.
constexpr int kPictureMaxSide = 16384;
constexpr int64_t kPictureMaxPixels = int64_t{1} << 25;  // 128 MB as 32-bit pixels
constexpr size_t kPictureFileLimit = size_t{256} << 20;

enum class PictureKind { Unknown, Bitmap, Png, Jpeg, Gif };
PictureKind IdentifyPicture(const uint8_t* bytes, size_t size);

bool PictureSizeAcceptable(int64_t width, int64_t height);

// The pixels of a BMP that PrepareBitmap accepted: width x height, top row
// first, 0xRRGGBB, alpha (where masks give one) laid on black; pixels that
// compressed data leaves out, or whose index is beyond the colour table,
// are black.
void DecodeBitmap(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height);

enum class PictureCheck { Accepted, Unknown, Damaged, TooLarge };
// Whether a decoder may be given `file`, judged by its headers alone: its
// kind, the size they claim (the first picture's, and a GIF's screen) within
// the limits. A BMP is prepared as PrepareBitmap does; a GIF is cut after its
// first picture, so that a decoder that reads every frame at once reads one.
// `kind`, `width` and `height` are what the headers say when Accepted.
PictureCheck PreparePicture(std::vector<uint8_t>& file, PictureKind& kind, int& width, int& height);

// The size a decoded picture is kept at: the overlay at the largest zoom and
// every fit of the conversion need no more. A larger picture shrinks, its
// shape kept, until it just covers the largest canvas both ways; a smaller
// one keeps its size.
void PictureKeptSize(int width, int height, int& keptWidth, int& keptHeight);

// Checks a BMP file against its own headers: sizes, colour table and pixel
// data within the file, no value that overflows, a kind of pixel data a
// decoder knows. An 8-bit or smaller picture whose colour count is left
// implicit gets the count its layout implies, written into the header.
// False when the file cannot be trusted.
bool PrepareBitmap(std::vector<uint8_t>& file);
