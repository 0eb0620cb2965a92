// The frames-file reader: a rejected text leaves the frames as they were and
// says where, within the text's lines; an accepted one holds rectangles of
// the screen only, and what is written from them reads back the same and is
// written again the same.
#include <algorithm>
#include <cstring>
#include <string>

#include "io/frames_file.h"
#include "screen/screen.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    Frame frames[kFrameCount], before[kFrameCount];
    for (int k = 0; k < kFrameCount; ++k) frames[k] = before[k] = {k, 2 * k, 3 * k, 2 * k};
    FramesFileProblem problem = {0, FramesFault::NotFiveNumbers};
    if (!ReadFramesFile(text, size, frames, &problem)) {
        FUZZ_CHECK(std::memcmp(frames, before, sizeof frames) == 0);
        FUZZ_CHECK(problem.line >= 1 && problem.line <= 1 + std::count(text, text + size, '\n'));
        return 0;
    }
    for (const Frame& f : frames)
        FUZZ_CHECK(f.left == -1 ||
                   (f.left >= 0 && f.left <= f.right && f.right < kScreenColumns && f.top >= 0 && f.top <= f.bottom &&
                    f.bottom < kScreenRows));
    const std::string written = FramesFileText(frames);
    Frame again[kFrameCount];
    FUZZ_CHECK(ReadFramesFile(written.data(), written.size(), again, nullptr));
    FUZZ_CHECK(std::memcmp(again, frames, sizeof frames) == 0);
    FUZZ_CHECK(FramesFileText(again) == written);
    return 0;
}
