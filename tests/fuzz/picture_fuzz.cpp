// Picture files before any decoder sees them: an accepted BMP stays
// accepted and unchanged when checked again, no header makes the checks or
// the BMP decoder read outside the file, and what is accepted is accepted
// again as it was prepared.
#include <vector>

#include "io/picture_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IdentifyPicture(data, size);
    std::vector<uint8_t> file(data, data + size);
    if (PrepareBitmap(file)) {
        std::vector<uint8_t> again = file;
        FUZZ_CHECK(PrepareBitmap(again));
        FUZZ_CHECK(again == file);
        FUZZ_CHECK(file.size() == size);
    }
    std::vector<uint8_t> prepared(data, data + size);
    PictureKind kind;
    int width = 0, height = 0;
    if (PreparePicture(prepared, kind, width, height) == PictureCheck::Accepted) {
        FUZZ_CHECK(PictureSizeAcceptable(width, height));
        FUZZ_CHECK(prepared.size() <= size + 1);
        std::vector<uint8_t> again = prepared;
        int w = 0, h = 0;
        FUZZ_CHECK(PreparePicture(again, kind, w, h) == PictureCheck::Accepted && again == prepared);
        if (kind == PictureKind::Bitmap) {
            std::vector<uint32_t> pixels;
            DecodeBitmap(prepared, pixels, w, h);
            FUZZ_CHECK(w == width && h == height && pixels.size() == static_cast<size_t>(w) * h);
        }
    }
    return 0;
}
