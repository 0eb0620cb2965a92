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

#include "screen/mirror_tables.h"
#include "screen/text_tables.h"

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

// Blank when the file is short: the size check reports that.
Glyph GlyphAt(int glyph)
{
    return Font.size() != FontFileSize ? Blank : Glyph(Font.begin() + glyph * 8, Font.begin() + glyph * 8 + 8);
}

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

TEST(FontMirror, FlipsGiveMirrorImagesExceptTheListedApproximations)
{
    ASSERT_EQ(Font.size(), FontFileSize);
    // Block flipping maps glyph g by the table of its display code; then, left
    // to right, the second set's lowercase b/d and p/q, whose codes the table
    // leaves alone, swap; upside down, the semi-voiced mark becomes the second
    // set's small full stop, whichever set the mark was in.
    const std::map<int, int> lowercase = {{0x02, 0x04}, {0x04, 0x02}, {0x10, 0x11}, {0x11, 0x10}};
    // Left-right: the three-column right bar has no mirror image in the set;
    // the flip settles for the two-column left bar. Up-down: the three-row
    // bottom bar gives the half block, and the full stop is drawn larger than
    // the semi-voiced mark it flips to.
    const std::set<int> leftRightApprox = {0x07F, SecondSet + 0x7F}, upDownApprox = {0x07E, SecondSet + 0x7E, 0x0BD};
    for (bool leftRight : {true, false}) {
        int checked = 0;
        for (int g = 0; g < GlyphCount; ++g) {
            const int set = g & SecondSet, m = (leftRight ? MirrorLeftRight : MirrorUpDown)[g & 0xFF];
            int flipped = set | m;
            if (leftRight && set && lowercase.count(m)) flipped = set | lowercase.at(m);
            if (!leftRight && m == 0xBD) flipped = SecondSet | m;
            if (flipped == g || (leftRight ? leftRightApprox : upDownApprox).count(g)) continue;
            ++checked;
            Glyph mirror = GlyphAt(g);
            if (!leftRight) std::reverse(mirror.begin(), mirror.end());
            for (uint8_t& row : mirror)
                for (int bit = 0, from = row; leftRight && bit < 8; ++bit)
                    row = static_cast<uint8_t>((row << 1) | ((from >> bit) & 1));
            EXPECT_EQ(GlyphAt(flipped), mirror) << "glyph " << std::hex << g << " flips to " << flipped;
        }
        // 33 pairs in each set, plus b/d and p/q; 29 pairs in each set, less
        // the first set's full stop.
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

TEST(MirrorTable, PairsSwapAndOneWayEntriesStayOneWay)
{
    // Flipping twice gives the code back, but for the two entries whose
    // mirror image the set lacks (their stand-ins flip to something else).
    for (int c = 0; c < static_cast<int>(MirrorTableSize); ++c) {
        EXPECT_TRUE(c == 0x7F || MirrorLeftRight[MirrorLeftRight[c]] == c) << std::hex << c;
        EXPECT_TRUE(c == 0x7E || MirrorUpDown[MirrorUpDown[c]] == c) << std::hex << c;
    }
    EXPECT_TRUE(MirrorLeftRight[0x7F] == 0x37 && MirrorLeftRight[0x37] == 0x3F);
    EXPECT_TRUE(MirrorUpDown[0x7E] == 0x7A && MirrorUpDown[0x7A] == 0x3A);
}

// ---- the font compiler ----------------------------------------------------

#ifdef VEXA_FONTC

struct CompileResult {
    int status;
    bool wroteOutput;
    std::string errors;
};

class FontCompiler : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/vexa-fontc-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        dir_ = folder;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }

    CompileResult Compile(const std::vector<std::string>& inputs)
    {
        const std::string out = Path("out.dat"), log = Path("errors.txt");
        std::remove(out.c_str());
        std::string command = std::string("\"") + VEXA_FONTC + "\" \"" + out + "\"";
        for (const std::string& in : inputs) command += " \"" + in + "\"";
        const int status = std::system((command + " 2>\"" + log + "\"").c_str());
        const std::vector<uint8_t> errors = ReadBytes(log);
        output_ = ReadBytes(out);
        return {status, std::ifstream(out).good(), std::string(errors.begin(), errors.end())};
    }

    std::string dir_;
    std::vector<uint8_t> output_;
};

// A glyph block: header line and eight rows, all blank unless given.
std::string GlyphText(int glyph, const std::vector<std::string>& rows = {})
{
    char header[32];
    std::snprintf(header, sizeof header, "; %03X g\n", static_cast<unsigned>(glyph));
    std::string s = header;
    for (size_t r = 0; r < 8; ++r) s += (r < rows.size() && !rows[r].empty() ? rows[r] : "........") + "\n";
    return s;
}

std::string GlyphRange(int first, int last)
{
    std::string s;
    for (int g = first; g <= last; ++g) s += GlyphText(g);
    return s;
}

TEST_F(FontCompiler, CompilesCompleteSourcesBitForBit)
{
    const std::string first = Write("a.txt", ";; comment\n\n" + GlyphRange(0x000, 0x0FF));
    // CRLF line ends, as a Windows checkout may leave them.
    const std::string second = GlyphText(0x141, {"#.......", ".......#", "##..##..", "", "", "", "", "########"}) +
                               GlyphRange(0x100, 0x140) + GlyphRange(0x142, 0x1FF);
    std::string crlf;
    for (char c : second) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const CompileResult r = Compile({first, Write("b.txt", crlf)});
    ASSERT_EQ(r.status, 0) << r.errors;
    ASSERT_EQ(output_.size(), FontFileSize);
    EXPECT_EQ(Glyph(&output_[0x141 * 8], &output_[0x142 * 8]), Glyph({0x80, 0x01, 0xCC, 0, 0, 0, 0, 0xFF}));
    EXPECT_EQ(FontFileSize - std::count(output_.begin(), output_.end(), 0), 4u);  // nothing else set anywhere
}

TEST_F(FontCompiler, RejectsMalformedSourcesAndWritesNothing)
{
    const std::string rest = GlyphRange(0x001, 0x1FF), first = GlyphRange(0x000, 0x0FF);
    const std::string blankRows = GlyphText(0).substr(8);
    struct Case {
        const char* what;
        std::vector<std::string> texts;  // the files bad.txt, then more.txt
        std::string message;  // what the errors must name
    };
    const Case cases[] = {
        {"short row", {GlyphText(0x000, {"#######"}) + rest}, "bad.txt:2:"},
        {"long row", {GlyphText(0x000, {"", "#########"}) + rest}, "bad.txt:3:"},
        {"bad pixel", {GlyphText(0x000, {"", "", "...x...."}) + rest}, "bad.txt:4:"},
        {"trailing space", {GlyphText(0x000, {"######## "}) + rest}, "bad.txt:2:"},
        {"glyph out of range", {GlyphText(0x000) + GlyphText(0x200) + rest}, "bad.txt:10:"},
        {"not hexadecimal", {GlyphText(0x000) + "; 0G1 g\n" + blankRows + rest}, "bad.txt:10:"},
        {"header without name", {"; 000\n" + blankRows + rest}, "bad.txt:1:"},
        {"stray line", {GlyphText(0x000) + "........\n" + rest}, "bad.txt:10:"},
        {"duplicate glyph", {GlyphText(0x000) + GlyphText(0x000) + rest}, "bad.txt:10:"},
        {"file ends in a glyph", {rest + "; 000 g\n........\n"}, "bad.txt:4601:"},
        {"missing glyph", {first, GlyphRange(0x100, 0x1A2) + GlyphRange(0x1A4, 0x1FF)}, "1A3"},
        // Both places are named for a repeat: where it is defined again and where first.
        {"repeat across files", {first, GlyphRange(0x0FF, 0x1FF)}, "more.txt:1:"},
        {"repeat across files", {first, GlyphRange(0x0FF, 0x1FF)}, "bad.txt:2296"},
        {"missing file", {}, "does-not-exist.txt"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> inputs;
        for (size_t i = 0; i < c.texts.size(); ++i) inputs.push_back(Write(i ? "more.txt" : "bad.txt", c.texts[i]));
        if (inputs.empty()) inputs.push_back(Path("does-not-exist.txt"));
        const CompileResult r = Compile(inputs);
        EXPECT_NE(r.status, 0) << c.what;
        EXPECT_FALSE(r.wroteOutput) << c.what;
        EXPECT_NE(r.errors.find(c.message), std::string::npos) << c.what << ":\n" << r.errors;
    }
}

#endif  // VEXA_FONTC

}  // namespace
