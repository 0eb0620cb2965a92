#include "anim/animated_gif.h"

#include <algorithm>

#include "anim/frames.h"
#include "render/font.h"

namespace {

uint8_t ColourNumber(uint32_t pixel)
{
    const uint32_t* found = std::find(kColourTable, kColourTable + kGifColours, pixel);
    return static_cast<uint8_t>(found == kColourTable + kGifColours ? 0 : found - kColourTable);
}

// The smallest rectangle holding every pixel where `now` differs from
// `before`; a pixel at the top-left when none does, since a picture cannot
// be empty.
GifPicture Changed(const std::vector<uint8_t>& before, const std::vector<uint8_t>& now, int width, int height)
{
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (before[static_cast<size_t>(y) * width + x] != now[static_cast<size_t>(y) * width + x]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) left = top = right = bottom = 0;
    GifPicture p = {left, top, right - left + 1, bottom - top + 1, {}};
    for (int y = top; y <= bottom; ++y)
        p.pixels.insert(p.pixels.end(), now.begin() + static_cast<ptrdiff_t>(y) * width + left,
                        now.begin() + static_cast<ptrdiff_t>(y) * width + right + 1);
    return p;
}

}  // namespace

bool AnimationForGif(int k, int delayMs, GifAnimation& gif)
{
    gif = GifAnimation{};
    PlayerLayout layout;
    if (!PlanPlayer(k, layout)) return false;
    gif.width = layout.bufferWidth;
    gif.height = layout.bufferHeight;
    gif.delay = (delayMs + 5) / 10;
    std::vector<uint32_t> buffer(static_cast<size_t>(gif.width) * gif.height);
    const PixelView view = {buffer.data(), gif.width, gif.height};
    std::vector<uint8_t> before, now(buffer.size());
    // The player's order: the defined frames by number, from the first.
    for (int frame = 0; frame < kFrameCount; ++frame) {
        if (!FrameDefined(frame)) continue;
        DrawFramePicture(view, frame, layout);
        for (int y = 0; y < gif.height; ++y)
            for (int x = 0; x < gif.width; ++x)
                now[static_cast<size_t>(y) * gif.width + x] = ColourNumber(*PixelAt(view, x, y));
        if (before.empty())
            gif.pictures.push_back({0, 0, gif.width, gif.height, now});
        else
            gif.pictures.push_back(Changed(before, now, gif.width, gif.height));
        before = now;
    }
    return true;
}
