// Checks of the compiled default font mz700fon.dat and of the font compiler.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "screen/selection.h"
#include "screen/document.h"
#include "screen/text_tables.h"
#include "tests/test_support.h"

namespace {

constexpr size_t FontFileSize = 4096;
constexpr int GlyphCount = 512;
constexpr int SecondSet = 256;  // glyph number of display code 0 in the second set

using Glyph = std::vector<uint8_t>;
const Glyph Blank(8, 0);

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<uint8_t> Font = ReadBytes(VEXA_FONT_FILE);

// Every test checks the file's size first.
Glyph GlyphAt(int glyph) { return Glyph(Font.begin() + glyph * 8, Font.begin() + glyph * 8 + 8); }

TEST(FontFile, Is512GlyphsWithBlankSpaceAndExactSemigraphicBlocks)
{
    ASSERT_EQ(Font.size(), FontFileSize) << VEXA_FONT_FILE;
    // Only the spaces and the empty blocks are blank: another blank glyph
    // would be one forgotten.
    for (int g = 0; g < GlyphCount; ++g)
        EXPECT_EQ(GlyphAt(g) == Blank, (g & 0xFF) == 0x00 || (g & 0xFF) == 0xF0) << "glyph " << std::hex << g;
    // Semigraphic block F0 + mask: bits 0 and 1 light the top-left and
    // top-right quarter, bits 2 and 3 the bottom ones, in both sets.
    for (int set : {0, SecondSet})
        for (int mask = 0; mask < 16; ++mask) {
            const uint8_t top = (mask & 1 ? 0xF0 : 0) | (mask & 2 ? 0x0F : 0);
            const uint8_t bottom = (mask & 4 ? 0xF0 : 0) | (mask & 8 ? 0x0F : 0);
            const int g = set + 0xF0 + mask;
            EXPECT_EQ(GlyphAt(g), Glyph({top, top, top, top, bottom, bottom, bottom, bottom})) << std::hex << g;
        }
}

TEST(FontMirror, BlockFlipsGiveMirrorImagesExceptTheListedApproximations)
{
    ASSERT_EQ(Font.size(), FontFileSize);
    // Left-right: the three-column right bar has no mirror image in the set;
    // the flip settles for the two-column left bar. Up-down: the three-row
    // bottom bar gives the half block, and the full stop is drawn larger than
    // the semi-voiced mark it flips to.
    const std::set<int> leftRightApprox = {0x07F, SecondSet + 0x7F}, upDownApprox = {0x07E, SecondSet + 0x7E, 0x0BD};
    for (bool leftRight : {true, false}) {
        int checked = 0;
        for (int g = 0; g < GlyphCount; ++g) {
            ResetCore();
            Put(0, 0, g & 0xFF, (g & SecondSet) >> 1);  // attribute bit 7: the second set
            SetSelection(0, 0, 0, 0);
            ASSERT_TRUE(LiftBlock());
            leftRight ? FlipLeftRight() : FlipUpDown();
            const int flipped = gDoc.block.code[0] | (gDoc.block.attr[0] & 0x80) << 1;
            if (flipped == g || (leftRight ? leftRightApprox : upDownApprox).count(g)) continue;
            ++checked;
            Glyph mirror = GlyphAt(g);
            if (!leftRight) std::reverse(mirror.begin(), mirror.end());
            for (uint8_t& row : mirror)
                for (int bit = 0, from = row; leftRight && bit < 8; ++bit)
                    row = static_cast<uint8_t>((row << 1) | ((from >> bit) & 1));
            EXPECT_EQ(GlyphAt(flipped), mirror) << "glyph " << std::hex << g << " flips to " << flipped;
        }
        // 33 pairs in each set, plus the second set's b/d and p/q; 29 pairs
        // in each set, less the first set's full stop.
        EXPECT_EQ(checked, leftRight ? 2 * 2 * 33 + 4 : 2 * 2 * 29 - 1);
    }
}

TEST(FontConversion, EveryConvertedCharacterIsDrawnAndDistinct)
{
    ASSERT_EQ(Font.size(), FontFileSize);
    std::map<Glyph, int> seen;  // picture -> glyph number, to catch two characters drawn alike
    // A glyph the text conversion can write, with where it comes from; its
    // voiced or semi-voiced mark is the same picture in both sets.
    auto check = [&seen](uint32_t entry, const char* format, unsigned a, unsigned b = 0) {
        char from[32];
        std::snprintf(from, sizeof from, format, a, b);
        const int set = (entry & TEXT_SECOND_SET) ? SecondSet : 0;
        const int glyph = set | static_cast<int>(entry & TEXT_CODE_MASK);
        EXPECT_TRUE(!(entry & TEXT_VOICED) || GlyphAt(set | VoicedMarkCode) != Blank) << from;
        EXPECT_TRUE(!(entry & TEXT_SEMI_VOICED) || GlyphAt(set | SemiVoicedMarkCode) != Blank) << from;
        if (glyph == 0x000) return;  // the blank
        const Glyph g = GlyphAt(glyph);
        EXPECT_NE(g, Blank) << from << " -> glyph " << std::hex << glyph;
        const int first = seen.emplace(g, glyph).first->second;
        EXPECT_EQ(first, glyph) << from << ": glyph " << std::hex << glyph << " looks exactly like glyph " << first;
    };
    for (size_t i = 0; i < SingleByteTableSize; ++i)
        check(SingleByteTable[i], "byte %02X", static_cast<unsigned>(SingleByteTableFirst + i));
    for (size_t i = 0; i < HalfKanaTableSize; ++i)
        check(HalfKanaTable[i], "byte %02X", static_cast<unsigned>(HalfKanaTableFirst + i));
    for (const DoubleByteEntry& e : DoubleByteTable) check(e.entry, "bytes %02X %02X", e.lead, e.trail);
    // Hiragana carry their marks into the second set: the same marks there.
    EXPECT_EQ(GlyphAt(SecondSet + VoicedMarkCode), GlyphAt(VoicedMarkCode));
    EXPECT_EQ(GlyphAt(SecondSet + SemiVoicedMarkCode), GlyphAt(SemiVoicedMarkCode));
}

// ---- the font compiler ----------------------------------------------------

#ifdef VEXA_FONTC

// Glyph blocks: a header line and eight rows, blank unless given.
std::string GlyphText(int first, int last = -1, const std::vector<std::string>& rows = {})
{
    std::string s;
    for (int g = first; g <= std::max(first, last); ++g) {
        char header[32];
        std::snprintf(header, sizeof header, "; %03X g\n", static_cast<unsigned>(g));
        s += header;
        for (size_t r = 0; r < 8; ++r) s += (r < rows.size() && !rows[r].empty() ? rows[r] : "........") + "\n";
    }
    return s;
}

// (The build compiles the real sources; the font file checks above read them back.)
TEST(FontCompiler, CompilesCrlfSourcesAndRejectsMalformedOnesWritingNothing)
{
    char folder[] = "/tmp/vexa-fontc-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder, out = dir + "/out.dat";
    // Compiles the texts as one.txt, two.txt (none: a missing file); the exit
    // status, with what the compiler said in `errors`.
    std::string errors;
    const auto compile = [&](const std::vector<std::string>& texts) {
        std::string command = std::string("\"") + VEXA_FONTC + "\" \"" + out + "\"";
        for (size_t i = 0; i < std::max<size_t>(texts.size(), 1); ++i) {
            const std::string name = dir + (i ? "/two.txt" : texts.empty() ? "/does-not-exist.txt" : "/one.txt");
            if (!texts.empty()) std::ofstream(name, std::ios::binary) << texts[i];
            command += " \"" + name + "\"";
        }
        std::remove(out.c_str());
        const int status = std::system((command + " 2>\"" + dir + "/errors.txt\"").c_str());
        const std::vector<uint8_t> said = ReadBytes(dir + "/errors.txt");
        errors.assign(said.begin(), said.end());
        return status;
    };

    // CRLF line ends in the second file, as a Windows checkout may leave them.
    std::string crlf;
    for (char c : GlyphText(0x141, -1, {"#.......", ".......#", "##..##..", "", "", "", "", "########"}) +
                      GlyphText(0x100, 0x140) + GlyphText(0x142, 0x1FF))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(compile({";; comment\n\n" + GlyphText(0x000, 0x0FF), crlf}), 0) << errors;
    const std::vector<uint8_t> font = ReadBytes(out);
    ASSERT_EQ(font.size(), FontFileSize);
    EXPECT_EQ(Glyph(&font[0x141 * 8], &font[0x142 * 8]), Glyph({0x80, 0x01, 0xCC, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(FontFileSize - std::count(font.begin(), font.end(), 0), 4u);  // nothing else set anywhere

    const std::string rest = GlyphText(0x001, 0x1FF), first = GlyphText(0x000, 0x0FF);
    const struct {
        std::vector<std::string> texts;
        std::string message;  // what the errors must name
    } cases[] = {
        {{GlyphText(0x000, -1, {"#######"}) + rest}, "one.txt:2:"},  // a short row
        {{GlyphText(0x000, -1, {"", "", "...x...."}) + rest}, "one.txt:4:"},
        {{GlyphText(0x000) + "; 200 g\n" + rest}, "one.txt:10:"},  // out of range
        {{GlyphText(0x000) + GlyphText(0x000) + rest}, "one.txt:10:"},
        {{first, GlyphText(0x100, 0x1A2) + GlyphText(0x1A4, 0x1FF)}, "1A3"},  // missing
        // A repeat names where it is defined again and where first.
        {{first, GlyphText(0x0FF, 0x1FF)}, "two.txt:1:"},
        {{first, GlyphText(0x0FF, 0x1FF)}, "one.txt:2296"},
        {{}, "does-not-exist.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(compile(c.texts), 0) << c.message;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.message << ":\n" << errors;
    }
    std::filesystem::remove_all(dir);
}

#endif  // VEXA_FONTC

}  // namespace
