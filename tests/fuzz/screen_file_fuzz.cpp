// The screen-file reader and writer, and the recovery copy's reader: a
// rejected text leaves the screen (and the copy's path and frames) as it
// was; an accepted one holds cells of 0-255 and survives writing and reading
// again unchanged.
#include <cstring>
#include <string>

#include "io/recovery.h"
#include "io/screen_file.h"
#include "screen/document.h"
#include "screen/screen.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FreshCore();
    for (int i = 0; i < kCellCount; ++i) {
        gDoc.screen.code[i] = i & 0xFF;
        gDoc.screen.attr[i] = (i * 7) & 0xFF;
    }
    const ScreenBuffer before = gDoc.screen;
    std::string path = "kept";
    Frame frames[kFrameCount], framesBefore[kFrameCount];
    for (int k = 0; k < kFrameCount; ++k) frames[k] = framesBefore[k] = {k, k, k, k};
    if (!ReadRecovery(reinterpret_cast<const char*>(data), size, path, frames)) {
        FUZZ_CHECK(std::memcmp(&gDoc.screen, &before, sizeof before) == 0 && path == "kept");
        FUZZ_CHECK(std::memcmp(frames, framesBefore, sizeof frames) == 0);
    } else {
        FUZZ_CHECK(CellsInRange());
        const ScreenBuffer recovered = gDoc.screen;
        const std::string copy = RecoveryText(path, frames);
        std::string again;
        Frame framesAgain[kFrameCount];
        FUZZ_CHECK(ReadRecovery(copy.data(), copy.size(), again, framesAgain) && again == path);
        FUZZ_CHECK(std::memcmp(&gDoc.screen, &recovered, sizeof recovered) == 0);
        FUZZ_CHECK(std::memcmp(framesAgain, frames, sizeof frames) == 0);
        gDoc.screen = before;
    }
    if (!ReadScreenFile(reinterpret_cast<const char*>(data), size, nullptr)) {
        FUZZ_CHECK(std::memcmp(&gDoc.screen, &before, sizeof before) == 0);
        return 0;
    }
    FUZZ_CHECK(CellsInRange());
    const ScreenBuffer read = gDoc.screen;
    const std::string text = ScreenFileText();
    FUZZ_CHECK(text.size() <= kScreenFileMaxBytes);
    std::memset(&gDoc.screen, 0, sizeof gDoc.screen);
    FUZZ_CHECK(ReadScreenFile(text.data(), text.size(), nullptr));
    FUZZ_CHECK(std::memcmp(&gDoc.screen, &read, sizeof read) == 0);
    FUZZ_CHECK(ScreenFileText() == text);
    return 0;
}
