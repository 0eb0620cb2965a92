// The tracing template: a picture scaled to the canvas height, centred, and
// blended half-transparently over the canvas while the overlay is shown.
#pragma once
#include <cstdint>
#include <vector>

#include "render/pixels.h"
#include "render/view.h"

// The picture as decoded, top row first, 0xRRGGBB per pixel (transparent
// parts already laid on black).
struct OverlayPicture {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};
extern OverlayPicture gOverlay;

inline bool OverlayLoaded() { return !gOverlay.pixels.empty(); }
// Room for a picture of width x height (already checked to be acceptable);
// false, with the picture empty, when the memory cannot be had.
bool AllocatePicture(OverlayPicture& picture, int width, int height);
inline bool AllocateOverlay(int width, int height) { return AllocatePicture(gOverlay, width, height); }
void ReleaseOverlay();

// Where the scaled picture lies across the canvas: it fills the canvas
// height at zoom factor k, keeps its aspect ratio and is centred; a wide one
// starts left of the canvas (x < 0).
struct OverlayPlacement {
    int64_t x;
    int64_t width;
};
OverlayPlacement PlaceOverlay(int pictureWidth, int pictureHeight, int k);

// The canvas-sized area at (0, H) of `buffer` (the overlay buffer's bottom
// half) becomes the scaled picture, black where it does not reach.
void DrawOverlay(const PixelView& buffer);

// Copies `area` (panel coordinates) of the composed panel `back` into the
// overlay buffer's top half, and blends the scaled picture over the part of
// it on the canvas: each channel becomes picture x 128/255 + canvas x
// 127/255.
void ComposeOverlay(const PixelView& back, const PixelView& overlay, Rect area);
