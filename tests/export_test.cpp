// The exports for the real machine, proved by running them: a tiny Z80 that
// knows only the loader's instructions loads the MZF image as the monitor
// would and runs it, and a tiny assembler turns the source into the same
// bytes.
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
#include "tests/test_support.h"

namespace {

// Runs from `pc` until a jump to itself; false on any instruction the loader
// has no business using, or when it never settles.
bool RunZ80(std::vector<uint8_t>& memory, uint16_t pc)
{
    uint16_t bc = 0, de = 0, hl = 0;
    const auto word = [&](uint16_t at) { return static_cast<uint16_t>(memory[at] | memory[(at + 1) & 0xFFFF] << 8); };
    for (int steps = 0; steps < 100000; ++steps) {
        const uint8_t op = memory[pc];
        switch (op) {
        case 0x01: bc = word(pc + 1); pc += 3; break;
        case 0x11: de = word(pc + 1); pc += 3; break;
        case 0x21: hl = word(pc + 1); pc += 3; break;
        case 0xC3: pc = word(pc + 1); break;
        case 0x18: {
            const uint16_t to = static_cast<uint16_t>(pc + 2 + static_cast<int8_t>(memory[pc + 1]));
            if (to == pc) return true;  // the loop that keeps the picture
            pc = to;
            break;
        }
        case 0xED:
            if (memory[pc + 1] != 0xB0) return false;
            do {
                memory[de++] = memory[hl++];
            } while (--bc != 0);
            pc += 2;
            break;
        default: return false;
        }
    }
    return false;
}

// Assembles exactly what the source writer emits: EQU, ORG, labels, LD rr,nn,
// LDIR, JR, DB and END. Numbers are decimal or hexadecimal with an H.
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
        ASSERT_EQ(mzf.size(), kMzfHeaderBytes + 24 + 2000);
        // A machine-code file named TITLE of 2024 bytes, loaded at and run
        // from 1200H.
        const auto byte = [&](size_t i) { return static_cast<uint8_t>(mzf[i]); };
        EXPECT_EQ(mzf.substr(0, 24), "\x01TITLE" + std::string(12, '\x0D') + std::string("\xE8\x07\x00\x12\x00\x12", 6));
        EXPECT_EQ(mzf.substr(24, 104), std::string(104, '\0'));
        const uint16_t size = byte(18) | byte(19) << 8, load = byte(20) | byte(21) << 8, exec = byte(22) | byte(23) << 8;

        // Loaded as the monitor would, and run until it settles.
        std::vector<uint8_t> memory(65536, 0xAA);
        for (size_t i = 0; i < size; ++i) memory[load + i] = byte(kMzfHeaderBytes + i);
        std::vector<uint8_t> expected = memory;
        for (int i = 0; i < kCellCount; ++i) {
            expected[0xD000 + i] = static_cast<uint8_t>(gDoc.screen.code[i]);
            expected[0xD800 + i] = static_cast<uint8_t>(gDoc.screen.attr[i] & (clear ? 0xF7 : 0xFF));
        }
        ASSERT_TRUE(RunZ80(memory, exec));
        EXPECT_TRUE(memory == expected) << "only the two VRAM areas change, and hold the screen";

        // The source assembles to the same bytes at the same place.
        uint16_t origin = 0;
        std::vector<uint8_t> assembled;
        ASSERT_TRUE(Assemble(AssemblerSource("title", clear), origin, assembled));
        EXPECT_EQ(origin, load);
        EXPECT_TRUE(assembled == std::vector<uint8_t>(mzf.begin() + kMzfHeaderBytes, mzf.end()));
        EXPECT_EQ(VramImage(clear), mzf.substr(kMzfHeaderBytes + 24));
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
