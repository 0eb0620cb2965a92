#include "tools/picture_read.h"

#include <jpeglib.h>
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "io/picture_file.h"
#include "tools/posix_file.h"

namespace {

bool ReadPng(const std::vector<char>& bytes, Picture& picture, std::string& why)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        why = image.message;
        return false;
    }
    if (!PictureSizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        why = "the picture is larger than the editor takes";
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

bool ReadJpeg(const std::vector<char>& bytes, Picture& picture, std::string& why)
{
    jpeg_decompress_struct jpeg = {};
    JpegError error;
    jpeg.err = jpeg_std_error(&error.manager);
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
        why = "the picture is larger than the editor takes";
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

}  // namespace

PictureRead ReadPicture(const std::string& path, Picture& picture, std::string& why)
{
    std::vector<char> bytes;
    if (!ReadFileLimited(path, kPictureFileLimit, bytes)) {
        why = std::string("cannot be read: ") + std::strerror(errno);
        return PictureRead::Unreadable;
    }
    const PictureKind kind = IdentifyPicture(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    bool read = false;
    if (kind == PictureKind::Png) read = ReadPng(bytes, picture, why);
    else if (kind == PictureKind::Jpeg) read = ReadJpeg(bytes, picture, why);
    else why = "is no PNG or JPEG picture";
    return read ? PictureRead::Read : PictureRead::Refused;
}
