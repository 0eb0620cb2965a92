#include "tools/picture_read.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "io/picture_file.h"
#include "tools/posix_file.h"

namespace {

bool ReadPng(const std::vector<uint8_t>& bytes, Picture& picture, std::string& why)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        why = image.message;
        return false;
    }
    if (!PictureSizeAcceptable(image.width, image.height)) {  // as its header was judged already
        png_image_free(&image);
        why = "is larger than the editor takes";
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        why = image.message;
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint8_t* p = &rgba[4 * i];
        const auto on = [&](int c) { return static_cast<uint32_t>(p[c] * p[3] / 255); };  // laid on black
        picture.pixels[i] = on(0) << 16 | on(1) << 8 | on(2);
    }
    return true;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

bool ReadJpeg(const std::vector<uint8_t>& bytes, Picture& picture, std::string& why)
{
    jpeg_decompress_struct jpeg = {};
    JpegError error;
    jpeg.err = jpeg_std_error(&error.manager);
    // Damage the decoder can go past (a cut-off scan comes out grey) is
    // taken as the editor takes it, without a word.
    error.manager.emit_message = [](j_common_ptr, int) {};
    error.manager.error_exit = [](j_common_ptr info) {
        JpegError* e = reinterpret_cast<JpegError*>(info->err);
        info->err->format_message(info, e->message);
        std::longjmp(e->escape, 1);
    };
    // The rows are read into memory owned outside the jump's reach.
    std::vector<uint8_t> row;
    if (setjmp(error.escape)) {
        why = error.message;
        jpeg_destroy_decompress(&jpeg);
        return false;
    }
    jpeg_create_decompress(&jpeg);
    jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&jpeg, TRUE);
    if (!PictureSizeAcceptable(jpeg.image_width, jpeg.image_height)) {
        jpeg_destroy_decompress(&jpeg);
        why = "is larger than the editor takes";
        return false;
    }
    jpeg.out_color_space = JCS_RGB;
    jpeg_start_decompress(&jpeg);
    picture.width = static_cast<int>(jpeg.output_width);
    picture.height = static_cast<int>(jpeg.output_height);
    picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
    row.resize(static_cast<size_t>(picture.width) * 3);
    while (jpeg.output_scanline < jpeg.output_height) {
        const size_t y = jpeg.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&jpeg, rows, 1);
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[y * picture.width + x] = uint32_t{row[3 * x]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
    }
    jpeg_finish_decompress(&jpeg);
    jpeg_destroy_decompress(&jpeg);
    return true;
}

struct GifSource {
    const std::vector<uint8_t>& bytes;
    size_t at;
};

// The file holds its first picture alone (PreparePicture cut it after it).
bool ReadGif(const std::vector<uint8_t>& bytes, Picture& picture, std::string& why)
{
    GifSource source = {bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, [](GifFileType* g, GifByteType* into, int wanted) {
        GifSource* s = static_cast<GifSource*>(g->UserData);
        const size_t n = std::min(static_cast<size_t>(wanted), s->bytes.size() - s->at);
        std::memcpy(into, s->bytes.data() + s->at, n);
        s->at += n;
        return static_cast<int>(n);
    }, &error);
    if (!gif) {
        why = GifErrorString(error);
        return false;
    }
    const bool read = DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1;
    const SavedImage* image = read ? &gif->SavedImages[0] : nullptr;
    const ColorMapObject* colours = !image ? nullptr : image->ImageDesc.ColorMap ? image->ImageDesc.ColorMap : gif->SColorMap;
    if (!read || !colours) {
        why = read ? "has no colours" : GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return false;
    }
    GraphicsControlBlock control;
    if (DGifSavedExtensionToGCB(gif, 0, &control) != GIF_OK) control.TransparentColor = NO_TRANSPARENT_COLOR;
    picture.width = image->ImageDesc.Width;
    picture.height = image->ImageDesc.Height;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const int index = image->RasterBits[i];
        // The transparent colour, and any beyond the table, lie on black.
        if (index == control.TransparentColor || index >= colours->ColorCount) {
            picture.pixels[i] = 0;
            continue;
        }
        const GifColorType& c = colours->Colors[index];
        picture.pixels[i] = uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue;
    }
    DGifCloseFile(gif, &error);
    return true;
}

}  // namespace

PictureRead ReadPicture(const std::string& path, size_t limit, Picture& picture, std::string& why)
{
    std::vector<char> read;
    if (!ReadFileLimited(path, limit, read)) {
        if (errno == EFBIG) {
            why = "is larger than " + std::to_string(limit >> 20) + " MB, more than vexa-cli reads";
            return PictureRead::TooLong;
        }
        why = std::string("cannot be read: ") + std::strerror(errno);
        return PictureRead::Unreadable;
    }
    std::vector<uint8_t> bytes(read.begin(), read.end());
    read = std::vector<char>();
    PictureKind kind;
    int width = 0, height = 0;
    switch (PreparePicture(bytes, kind, width, height)) {
    case PictureCheck::Accepted: break;
    case PictureCheck::Unknown: why = "is no BMP, PNG, JPEG or GIF picture"; return PictureRead::Refused;
    case PictureCheck::Damaged: why = "is a damaged picture: its headers do not hold together"; return PictureRead::Refused;
    case PictureCheck::TooLarge:
        why = "is larger than the editor takes: at most " + std::to_string(kPictureMaxSide) + " pixels a side and " +
              std::to_string(kPictureMaxPixels) + " in all";
        return PictureRead::Refused;
    }
    bool decoded = true;
    switch (kind) {
    case PictureKind::Png: decoded = ReadPng(bytes, picture, why); break;
    case PictureKind::Jpeg: decoded = ReadJpeg(bytes, picture, why); break;
    case PictureKind::Gif: decoded = ReadGif(bytes, picture, why); break;
    case PictureKind::Bitmap: DecodeBitmap(bytes, picture.pixels, picture.width, picture.height); break;
    case PictureKind::Unknown: decoded = false; break;
    }
    if (!decoded) {
        if (why.rfind("is ", 0) != 0) why = "is a damaged picture: " + why;
        picture = Picture();
        return PictureRead::Refused;
    }
    return PictureRead::Read;
}
