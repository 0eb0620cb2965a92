// What an animated GIF of the frames must show, straight from the player's
// own drawing: the line "WIDTH HEIGHT COUNT DELAY_MS", then each defined
// frame's picture as the player shows it at zoom factor k, in its order, as
// R, G, B bytes, rows top first. tests/gif/check_gif.py compares a GIF with it.
#pragma once
#include <string>
#include <vector>

#include "anim/frames.h"

inline std::string PlayerPictures(int k, int delayMs)
{
    PlayerLayout layout;
    if (!PlanPlayer(k, layout)) return "";
    std::vector<uint32_t> buffer(static_cast<size_t>(layout.bufferWidth) * layout.bufferHeight);
    const PixelView view = {buffer.data(), layout.bufferWidth, layout.bufferHeight};
    std::string pictures;
    int count = 0;
    for (int frame = NextDefinedFrame(0); count == 0 || frame != NextDefinedFrame(0); frame = NextDefinedFrame(frame + 1)) {
        DrawFramePicture(view, frame, layout);
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x) {
                const uint32_t p = *PixelAt(view, x, y);
                pictures += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
            }
        ++count;
    }
    return std::to_string(view.width) + " " + std::to_string(view.height) + " " + std::to_string(count) + " " +
           std::to_string(delayMs) + "\n" + pictures;
}
