// The block-text reader, on text any program may put on the clipboard: what
// it accepts has a size in range and survives writing and reading again.
#include <cstdint>
#include <string>

#include "io/block_text.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static BlockCells cells, again;
    if (!ReadBlockText(reinterpret_cast<const char*>(data), size, cells)) return 0;
    FUZZ_CHECK(cells.width >= 1 && cells.width <= kBlockTextMaxWidth);
    FUZZ_CHECK(cells.height >= 1 && cells.height <= kBlockTextMaxHeight);
    const int n = cells.width * cells.height;
    int32_t codes[kBlockTextMaxWidth * kBlockTextMaxHeight], attrs[kBlockTextMaxWidth * kBlockTextMaxHeight];
    for (int i = 0; i < n; ++i) {
        codes[i] = cells.code[i];
        attrs[i] = cells.attr[i];
    }
    const std::string text = WriteBlockText(codes, attrs, cells.width, cells.width, cells.height);
    FUZZ_CHECK(ReadBlockText(text.data(), text.size(), again));
    FUZZ_CHECK(again.width == cells.width && again.height == cells.height);
    for (int i = 0; i < n; ++i) FUZZ_CHECK(again.code[i] == cells.code[i] && again.attr[i] == cells.attr[i]);
    return 0;
}
