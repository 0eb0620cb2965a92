// The exports for the real machine, proved by running them: the test
// MZ-700 loads the MZF image as the monitor would and runs it, and the
// assemblers of the field turn the source into the same bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/exports.h"
#include "render/font.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "screen/document.h"
#include "tests/mz700_machine.h"
#include "tests/test_support.h"

namespace {

// The program the source makes, as `tool` assembles it; empty when the tool
// is not installed (CI installs both: there a missing one fails).
std::string Assembled(const char* tool, const std::string& source)
{
    if (std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) != 0) {
        EXPECT_FALSE(std::getenv("CI") && std::string(std::getenv("CI")) == "true") << tool << " is missing in CI";
        std::fprintf(stderr, "%s is not installed: its check of the source is left out\n", tool);
        return {};
    }
    std::string dir = "/tmp/vexa-asm-XXXXXX";
    if (!mkdtemp(&dir[0])) return {};
    std::ofstream(dir + "/screen.asm") << source;
    const std::string command = std::string(tool) == "pasmo" ? "pasmo " + dir + "/screen.asm " + dir + "/screen.bin"
                                                             : "z80asm -o " + dir + "/screen.bin " + dir + "/screen.asm";
    EXPECT_EQ(std::system((command + " 2>&1").c_str()), 0) << command;
    std::ifstream in(dir + "/screen.bin", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(dir);
    return bytes.empty() ? "(nothing)" : bytes;
}

}  // namespace

TEST(Exports, TheMzfLoaderPutsExactlyTheScreenIntoVramAndThePictureIsTheCanvas)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, (i * 37 + 5) & 0xFF, (i * 11) & 0xFF);
    for (bool clear : {false, true}) {
        const std::string mzf = MzfImage("title", clear);
        ASSERT_EQ(mzf.size(), kMzfHeaderBytes + 25 + 2000);
        // A machine-code file named TITLE of 2025 bytes, loaded at and run
        // from 1200H.
        EXPECT_EQ(mzf.substr(0, 24), "\x01TITLE" + std::string(12, '\x0D') + std::string("\xE9\x07\x00\x12\x00\x12", 6));
        EXPECT_EQ(mzf.substr(24, 104), std::string(104, '\0'));

        // Loaded as the monitor would, run, and settled: the screen shows,
        // and the program only waits.
        Mz700 machine;
        ASSERT_TRUE(LoadMzf(machine, mzf)) << machine.fault;
        RunMzf(machine, 200000);
        EXPECT_EQ(machine.fault, "");
        EXPECT_EQ(machine.writes.size(), 2000u);
        EXPECT_TRUE(VisibleVram(machine) == ScreenVram(clear));

        // The assemblers of the field, Debian's pasmo and z80asm, make
        // exactly the MZF's program of the source; its addresses put it at
        // 1200H.
        for (const char* tool : {"pasmo", "z80asm"}) {
            const std::string bytes = Assembled(tool, AssemblerSource("title", clear));
            EXPECT_TRUE(bytes.empty() || bytes == mzf.substr(kMzfHeaderBytes)) << tool << " made " << bytes.size();
        }
        EXPECT_EQ(VramImage(clear), mzf.substr(kMzfHeaderBytes + 25));
    }
    // The source shows a row per line.
    const std::string source = AssemblerSource("title", false);
    EXPECT_TRUE(source.find("        DB 005H,02AH,") != std::string::npos && source.find(" ; row 24\n") != std::string::npos);

    struct {
        const char* file;
        const char* name;
    } const names[] = {{"title.txt", "TITLE"}, {"my pic-1.txt", "MY PIC-1"}, {"絵.txt", "-"},
                       {"a_very_long_screen_name.txt", "A-VERY-LONG-SCRE"}, {"", "SCREEN"}, {".txt", "-TXT"}};
    for (const auto& n : names) EXPECT_EQ(MzfNameOfFile(n.file), n.name) << n.file;
    ExportFormat f;
    EXPECT_TRUE(ExportFormatOf("/x/Screen.MZF", f) && f == ExportFormat::Mzf);
    EXPECT_FALSE(ExportFormatOf("/x.d/screen", f));

    // The picture is the canvas without grid or marks, whatever the view shows.
    LoadPatternFont();
    UseTestBackBuffer(2);  // x3
    gView.ShowGrid = 0;
    RedrawCanvas();
    std::vector<uint32_t> drawn;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 960; ++x) drawn.push_back(*PixelAt(gCanvas.pixels, 8 + x, 8 + y));
    gMarks.MarkBit3 = gMarks.MarkDispc0 = gView.ShowGrid = 1;
    EXPECT_TRUE(ScreenPicture(3) == drawn);
}
