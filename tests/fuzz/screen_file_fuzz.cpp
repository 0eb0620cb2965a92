// The screen-file reader and writer: a rejected text leaves the screen as it
// was; an accepted one holds cells of 0-255 and survives writing and
// reading again unchanged.
#include <cstring>
#include <string>

#include "io/screen_file.h"
#include "screen/screen.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FreshCore();
    for (int i = 0; i < kCellCount; ++i) {
        gScreen.code[i] = i & 0xFF;
        gScreen.attr[i] = (i * 7) & 0xFF;
    }
    const ScreenBuffer before = gScreen;
    if (!ReadScreenFile(reinterpret_cast<const char*>(data), size, nullptr)) {
        FUZZ_CHECK(std::memcmp(&gScreen, &before, sizeof before) == 0);
        return 0;
    }
    FUZZ_CHECK(CellsInRange());
    const ScreenBuffer read = gScreen;
    const std::string text = ScreenFileText();
    FUZZ_CHECK(text.size() <= kScreenFileMaxBytes);
    std::memset(&gScreen, 0, sizeof gScreen);
    FUZZ_CHECK(ReadScreenFile(text.data(), text.size(), nullptr));
    FUZZ_CHECK(std::memcmp(&gScreen, &read, sizeof read) == 0);
    FUZZ_CHECK(ScreenFileText() == text);
    return 0;
}
