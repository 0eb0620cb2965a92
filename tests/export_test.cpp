// The exports for the real machine, proved by running them: the test
// MZ-700 loads the MZF image as the monitor would and runs it, and a tiny
// assembler turns the source into the same bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
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

// Assembles exactly what the source writer emits: EQU, ORG, labels, DI,
// LD rr,nn, LDIR, JR, DB and END. Numbers are decimal or hexadecimal with an H.
bool Assemble(const std::string& source, uint16_t& origin, std::vector<uint8_t>& bytes)
{
    std::map<std::string, int> symbols;
    for (int pass = 0; pass < 2; ++pass) {
        bytes.clear();
        int at = 0;
        std::istringstream lines(source);
        for (std::string line; std::getline(lines, line);) {
            line = line.substr(0, line.find(';'));
            std::istringstream words(line);
            std::string label, op, operands;
            if (!line.empty() && line[0] != ' ') {  // a label, or the name an EQU defines, with its colon
                words >> label;
                if (label.back() != ':') return false;
                label.pop_back();
            }
            words >> op;
            std::getline(words, operands);
            operands.erase(0, operands.find_first_not_of(' '));
            operands.erase(operands.find_last_not_of(' ') + 1);
            const auto value = [&](std::string v) {
                if (symbols.count(v)) return symbols[v];
                if (!v.empty() && v.back() == 'H') return static_cast<int>(std::stoul(v.substr(0, v.size() - 1), nullptr, 16));
                if (!v.empty() && std::isdigit(static_cast<unsigned char>(v[0]))) return std::stoi(v);
                return pass == 0 ? 0 : -1;
            };
            if (op == "EQU") {
                if (label.empty()) return false;
                symbols[label] = value(operands);
                continue;
            }
            if (!label.empty()) symbols[label] = at;
            if (op.empty() || op == "END") continue;
            if (op == "ORG") {
                at = origin = static_cast<uint16_t>(value(operands));
            } else if (op == "DI") {
                bytes.push_back(0xF3);
            } else if (op == "LDIR") {
                bytes.insert(bytes.end(), {0xED, 0xB0});
            } else if (op == "JR") {
                bytes.insert(bytes.end(), {0x18, static_cast<uint8_t>(value(operands) - (at + 2))});
            } else if (op == "LD") {
                const std::string reg = operands.substr(0, 2);
                const int n = value(operands.substr(3));
                const uint8_t code = reg == "BC" ? 0x01 : reg == "DE" ? 0x11 : reg == "HL" ? 0x21 : 0;
                if (!code || n < 0) return false;
                bytes.insert(bytes.end(), {code, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)});
            } else if (op == "DB") {
                std::istringstream list(operands);
                for (std::string item; std::getline(list, item, ',');) bytes.push_back(static_cast<uint8_t>(value(item)));
            } else {
                return false;
            }
            at = origin + static_cast<int>(bytes.size());
        }
    }
    return true;
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

        // The source assembles to the same bytes at the same place.
        uint16_t origin = 0;
        std::vector<uint8_t> assembled;
        ASSERT_TRUE(Assemble(AssemblerSource("title", clear), origin, assembled));
        EXPECT_EQ(origin, 0x1200);
        EXPECT_TRUE(assembled == std::vector<uint8_t>(mzf.begin() + kMzfHeaderBytes, mzf.end()));
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

// The source as the assemblers of the field read it: Debian's pasmo and
// z80asm each make exactly the MZF's program. CI installs both; elsewhere a
// missing one is skipped.
TEST(Exports, PasmoAndZ80asmAssembleTheSourceIntoTheMzfProgram)
{
    ResetCore();
    for (int i = 0; i < kCellCount; ++i) Put(i % 40, i / 40, (i * 53 + 9) & 0xFF, (i * 29) & 0xFF);
    const bool ci = std::getenv("CI") && std::string(std::getenv("CI")) == "true";
    std::string dir = "/tmp/vexa-asm-XXXXXX";
    ASSERT_TRUE(mkdtemp(&dir[0]));
    const std::string source = dir + "/screen.asm", out = dir + "/screen.bin";
    std::ofstream(source) << AssemblerSource("screen", false);
    const std::string mzf = MzfImage("screen", false);
    const std::string program = mzf.substr(kMzfHeaderBytes);
    const std::pair<const char*, std::string> assemblers[] = {
        {"pasmo", "pasmo " + source + " " + out},
        {"z80asm", "z80asm -o " + out + " " + source},
    };
    int ran = 0;
    for (const auto& [tool, command] : assemblers) {
        if (std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) != 0) {
            EXPECT_FALSE(ci) << tool << " is missing in CI";
            continue;
        }
        std::filesystem::remove(out);
        EXPECT_EQ(std::system((command + " 2>&1").c_str()), 0) << command;
        std::ifstream in(out, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(bytes == program) << tool << " made " << bytes.size() << " bytes";
        ++ran;
    }
    std::filesystem::remove_all(dir);
    if (ran < 2) GTEST_SKIP() << "an assembler is not installed";
}
