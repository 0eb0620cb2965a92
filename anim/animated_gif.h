// The animation as an animated GIF: the player's pictures, in its order, as
// the GIF file will hold them. The core makes them; a front end's GIF library
// compresses them (EncodeAnimatedGif).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The GIF's palette is the eight colours: a pixel is a colour number 0-7.
constexpr int kGifColours = 8;
// Delays are stored in hundredths of a second, in 16 bits.
constexpr int kGifShortestDelay = 10;       // milliseconds
constexpr int kGifLongestDelay = 655350;

// One picture of the GIF: the rectangle of the canvas where it differs from
// the picture before (the whole canvas for the first), drawn over what is
// there; the rest stays.
struct GifPicture {
    int left, top, width, height;
    std::vector<uint8_t> pixels;  // colour numbers, rows top first
};
struct GifAnimation {
    int width = 0, height = 0;  // the canvas: the player's buffer
    int delay = 0;              // hundredths of a second between pictures
    std::vector<GifPicture> pictures;
};

// Each defined frame as the player shows it at zoom factor k, in its order,
// `delayMs` apart (rounded to the nearest hundredth of a second). False, and
// `gif` empty, when no frame is defined.
bool AnimationForGif(int k, int delayMs, GifAnimation& gif);

// The GIF file: the eight colours as its one palette, looping for ever.
// False when the library fails. Defined in animated_gif_giflib.cpp, which
// the front ends that have giflib compile; the core never calls it.
bool EncodeAnimatedGif(const GifAnimation& gif, std::string& out);
