// Picture files before any decoder sees them: an accepted BMP stays
// accepted and unchanged when checked again, and no header makes the check
// read outside the file.
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
    return 0;
}
