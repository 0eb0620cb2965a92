// The animated GIF compressed by giflib. Not part of the core: the front ends
// that have giflib (vexa-cli, Vexa.exe) compile it.
#include <gif_lib.h>

#include "anim/animated_gif.h"
#include "render/font.h"

namespace {

constexpr int kColourBits = 3;  // eight colours
// The application extension that makes viewers loop: sub-block 1, then the
// number of loops, 0 for ever.
const char kLoopApplication[] = "NETSCAPE2.0";
const GifByteType kLoopForever[] = {1, 0, 0};

int Append(GifFileType* gif, const GifByteType* bytes, int count)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    return count;
}

bool PutPicture(GifFileType* file, const GifPicture& p, int delay)
{
    // Each picture lies over the one before, which stays around it.
    const GraphicsControlBlock control = {DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK ||
        EGifPutImageDesc(file, p.left, p.top, p.width, p.height, false, nullptr) != GIF_OK)
        return false;
    for (int y = 0; y < p.height; ++y)
        if (EGifPutLine(file, const_cast<GifPixelType*>(p.pixels.data() + static_cast<size_t>(y) * p.width), p.width) !=
            GIF_OK)
            return false;
    return true;
}

}  // namespace

bool EncodeAnimatedGif(const GifAnimation& gif, std::string& out)
{
    out.clear();
    int error = 0;
    GifFileType* file = EGifOpen(&out, Append, &error);
    if (!file) return false;
    GifColorType colours[kGifColours];
    for (int i = 0; i < kGifColours; ++i)
        colours[i] = {static_cast<GifByteType>(kColourTable[i] >> 16), static_cast<GifByteType>(kColourTable[i] >> 8),
                      static_cast<GifByteType>(kColourTable[i])};
    ColorMapObject* palette = GifMakeMapObject(kGifColours, colours);
    EGifSetGifVersion(file, true);
    bool ok = palette && EGifPutScreenDesc(file, gif.width, gif.height, kColourBits, 0, palette) == GIF_OK &&
              EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
              EGifPutExtensionBlock(file, sizeof kLoopApplication - 1, kLoopApplication) == GIF_OK &&
              EGifPutExtensionBlock(file, sizeof kLoopForever, kLoopForever) == GIF_OK &&
              EGifPutExtensionTrailer(file) == GIF_OK;
    for (const GifPicture& p : gif.pictures) ok = ok && PutPicture(file, p, gif.delay);
    ok = EGifCloseFile(file, &error) == GIF_OK && ok;
    GifFreeMapObject(palette);
    return ok;
}
