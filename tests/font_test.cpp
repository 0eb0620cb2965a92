// Checks of the compiled default font mz700fon.dat and of the font compiler.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "screen/mirror_tables.h"
#include "screen/text_tables.h"

namespace {

constexpr size_t FontFileSize = 4096;
constexpr int GlyphCount = 512;
constexpr int GlyphRows = 8;
constexpr int SecondSet = 256;  // glyph number of display code 0 in the second set

using Glyph = std::vector<uint8_t>;

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::vector<uint8_t>& Font()
{
    static const std::vector<uint8_t> font = ReadBytes(VEXA_FONT_FILE);
    return font;
}

Glyph GlyphAt(int glyph)
{
    const std::vector<uint8_t>& font = Font();
    if (font.size() != FontFileSize) {
        return Glyph(GlyphRows, 0);  // the size test reports this; avoid reading past the end
    }
    return Glyph(font.begin() + glyph * GlyphRows, font.begin() + (glyph + 1) * GlyphRows);
}

bool IsBlank(const Glyph& g)
{
    for (uint8_t row : g) {
        if (row != 0) {
            return false;
        }
    }
    return true;
}

Glyph MirroredLeftRight(const Glyph& g)
{
    Glyph out(GlyphRows, 0);
    for (int r = 0; r < GlyphRows; ++r) {
        for (int bit = 0; bit < 8; ++bit) {
            if (g[r] & (1 << bit)) {
                out[r] |= static_cast<uint8_t>(0x80 >> bit);
            }
        }
    }
    return out;
}

Glyph MirroredUpDown(const Glyph& g)
{
    return Glyph(g.rbegin(), g.rend());
}

std::string Picture(const Glyph& g)
{
    std::string s;
    for (uint8_t row : g) {
        for (int bit = 7; bit >= 0; --bit) {
            s += (row >> bit) & 1 ? '#' : '.';
        }
        s += '\n';
    }
    return s;
}

// The glyph a left-right flip puts in place of glyph g, as block flipping does
// it: the table by display code, then the lowercase b/d and p/q swaps of the
// second set, whose codes the table leaves alone.
int LeftRightFlipOf(int g)
{
    int set = g & SecondSet;
    int m = MirrorLeftRight[g & 0xFF];
    if (set != 0) {
        static const std::map<int, int> lowercase = {{0x02, 0x04}, {0x04, 0x02}, {0x10, 0x11}, {0x11, 0x10}};
        auto it = lowercase.find(m);
        if (it != lowercase.end()) {
            m = it->second;
        }
    }
    return set | m;
}

// Likewise for up-down: turning the semi-voiced mark over gives the second
// set's small full stop, whichever set the mark was in.
int UpDownFlipOf(int g)
{
    int m = MirrorUpDown[g & 0xFF];
    return m == 0xBD ? SecondSet | m : (g & SecondSet) | m;
}

TEST(FontFile, IsOneImageOf512GlyphsWithBlankSpace)
{
    ASSERT_EQ(Font().size(), FontFileSize) << VEXA_FONT_FILE;
    EXPECT_TRUE(IsBlank(GlyphAt(0x000)));
    EXPECT_TRUE(IsBlank(GlyphAt(SecondSet + 0x00)));
    // Every other glyph is drawn: a blank one would be a glyph forgotten.
    for (int g = 0; g < GlyphCount; ++g) {
        if ((g & 0xFF) != 0x00 && (g & 0xFF) != 0xF0) {
            EXPECT_FALSE(IsBlank(GlyphAt(g))) << "glyph " << std::hex << g;
        }
    }
}

TEST(FontSemigraphics, BlocksAreExactQuartersInBothSets)
{
    ASSERT_EQ(Font().size(), FontFileSize);
    for (int set : {0, SecondSet}) {
        for (int mask = 0; mask < 16; ++mask) {
            uint8_t top = static_cast<uint8_t>((mask & 1 ? 0xF0 : 0) | (mask & 2 ? 0x0F : 0));
            uint8_t bottom = static_cast<uint8_t>((mask & 4 ? 0xF0 : 0) | (mask & 8 ? 0x0F : 0));
            Glyph expected = {top, top, top, top, bottom, bottom, bottom, bottom};
            int g = set + 0xF0 + mask;
            EXPECT_EQ(GlyphAt(g), expected) << "glyph " << std::hex << g << "\n" << Picture(GlyphAt(g));
        }
    }
}

TEST(FontMirror, LeftRightFlipsGiveMirrorImages)
{
    ASSERT_EQ(Font().size(), FontFileSize);
    // The three-column right bar has no mirror image in the set; the flip
    // settles for the two-column left bar.
    const std::set<int> approximate = {0x07F, SecondSet + 0x7F};
    int checked = 0;
    for (int g = 0; g < GlyphCount; ++g) {
        int flipped = LeftRightFlipOf(g);
        if (flipped == g || approximate.count(g) != 0) {
            continue;
        }
        ++checked;
        EXPECT_EQ(GlyphAt(flipped), MirroredLeftRight(GlyphAt(g)))
            << "glyph " << std::hex << g << " flips to " << flipped << "\n"
            << Picture(GlyphAt(g)) << "\n" << Picture(GlyphAt(flipped));
    }
    // 33 pairs in each set, plus b/d and p/q.
    EXPECT_EQ(checked, 2 * 2 * 33 + 4);
}

TEST(FontMirror, UpDownFlipsGiveMirrorImages)
{
    ASSERT_EQ(Font().size(), FontFileSize);
    const std::set<int> approximate = {
        0x07E, SecondSet + 0x7E,  // the three-row bottom bar has no mirror; the flip gives the half block
        0x0BD,                    // the full stop is drawn larger than the semi-voiced mark it flips to
    };
    int checked = 0;
    for (int g = 0; g < GlyphCount; ++g) {
        int flipped = UpDownFlipOf(g);
        if (flipped == g || approximate.count(g) != 0) {
            continue;
        }
        ++checked;
        EXPECT_EQ(GlyphAt(flipped), MirroredUpDown(GlyphAt(g)))
            << "glyph " << std::hex << g << " flips to " << flipped << "\n"
            << Picture(GlyphAt(g)) << "\n" << Picture(GlyphAt(flipped));
    }
    // 29 pairs in each set, less the first set's full stop.
    EXPECT_EQ(checked, 2 * 2 * 29 - 1);
}

struct MappedGlyph {
    int glyph;
    std::string from;
    bool mark;  // a voiced or semi-voiced mark, the same picture in both sets
};

// Every glyph the text conversion can write, with where it comes from.
std::vector<MappedGlyph> ConvertedGlyphs()
{
    std::vector<MappedGlyph> out;
    auto add = [&out](uint32_t entry, const std::string& from) {
        int set = (entry & TEXT_SECOND_SET) ? SecondSet : 0;
        out.push_back({set | static_cast<int>(entry & TEXT_CODE_MASK), from, false});
        if (entry & TEXT_VOICED) {
            out.push_back({set | VoicedMarkCode, from + " (voiced mark)", true});
        }
        if (entry & TEXT_SEMI_VOICED) {
            out.push_back({set | SemiVoicedMarkCode, from + " (semi-voiced mark)", true});
        }
    };
    char name[32];
    for (size_t i = 0; i < SingleByteTableSize; ++i) {
        std::snprintf(name, sizeof name, "byte %02X", static_cast<unsigned>(SingleByteTableFirst + i));
        add(SingleByteTable[i], name);
    }
    for (size_t i = 0; i < HalfKanaTableSize; ++i) {
        std::snprintf(name, sizeof name, "byte %02X", static_cast<unsigned>(HalfKanaTableFirst + i));
        add(HalfKanaTable[i], name);
    }
    for (const DoubleByteEntry& e : DoubleByteTable) {
        std::snprintf(name, sizeof name, "bytes %02X %02X", e.lead, e.trail);
        add(e.entry, name);
    }
    return out;
}

TEST(FontConversion, EveryConvertedCharacterIsDrawnAndDistinct)
{
    ASSERT_EQ(Font().size(), FontFileSize);
    std::map<Glyph, int> seen;  // picture -> glyph number, to catch two characters drawn alike
    for (const MappedGlyph& m : ConvertedGlyphs()) {
        if (m.glyph == 0x000) {
            continue;  // the blank
        }
        Glyph g = GlyphAt(m.glyph);
        EXPECT_FALSE(IsBlank(g)) << m.from << " -> glyph " << std::hex << m.glyph;
        if (m.mark) {
            continue;
        }
        auto it = seen.emplace(g, m.glyph).first;
        EXPECT_EQ(it->second, m.glyph) << m.from << ": glyph " << std::hex << m.glyph
                                       << " looks exactly like glyph " << it->second << "\n"
                                       << Picture(g);
    }
    // Hiragana carry their marks into the second set: the same marks there.
    EXPECT_EQ(GlyphAt(SecondSet + VoicedMarkCode), GlyphAt(VoicedMarkCode));
    EXPECT_EQ(GlyphAt(SecondSet + SemiVoicedMarkCode), GlyphAt(SemiVoicedMarkCode));
}

TEST(MirrorTable, PairsSwapAndOneWayEntriesStayOneWay)
{
    int leftRightMoved = 0;
    int upDownMoved = 0;
    for (int c = 0; c < static_cast<int>(MirrorTableSize); ++c) {
        leftRightMoved += MirrorLeftRight[c] != c;
        upDownMoved += MirrorUpDown[c] != c;
        if (c != 0x7F) {
            EXPECT_EQ(MirrorLeftRight[MirrorLeftRight[c]], c) << std::hex << c;
        }
        if (c != 0x7E) {
            EXPECT_EQ(MirrorUpDown[MirrorUpDown[c]], c) << std::hex << c;
        }
    }
    EXPECT_EQ(leftRightMoved, 2 * 33 + 1);
    EXPECT_EQ(upDownMoved, 2 * 29 + 1);
    EXPECT_EQ(MirrorLeftRight[0x7F], 0x37);
    EXPECT_EQ(MirrorLeftRight[0x37], 0x3F);
    EXPECT_EQ(MirrorUpDown[0x7E], 0x7A);
    EXPECT_EQ(MirrorUpDown[0x7A], 0x3A);
    // Codes that turn both ways alike: the diagonals.
    for (int c : {0x2D, 0x5A, 0x5B, 0x76}) {
        EXPECT_EQ(MirrorLeftRight[c], MirrorUpDown[c]) << std::hex << c;
    }
    // Semigraphic blocks: a flip moves each sub-block bit to its mirror place.
    for (int mask = 0; mask < 16; ++mask) {
        int lr = ((mask & 5) << 1) | ((mask & 10) >> 1);
        int ud = ((mask & 3) << 2) | ((mask & 12) >> 2);
        EXPECT_EQ(MirrorLeftRight[0xF0 + mask], 0xF0 + lr) << std::hex << mask;
        EXPECT_EQ(MirrorUpDown[0xF0 + mask], 0xF0 + ud) << std::hex << mask;
    }
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
    std::string Path(const std::string& name) const
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return ::testing::TempDir() + "vexa_fontc_" + info->name() + "_" + name;
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << text;
        made_.push_back(path);
        return path;
    }

    CompileResult Compile(const std::vector<std::string>& inputs)
    {
        std::string out = Path("out.dat");
        std::string log = Path("errors.txt");
        std::remove(out.c_str());
        made_.push_back(out);
        made_.push_back(log);
        std::string command = std::string("\"") + VEXA_FONTC + "\" \"" + out + "\"";
        for (const std::string& in : inputs) {
            command += " \"" + in + "\"";
        }
        command += " 2>\"" + log + "\"";
        CompileResult r;
        r.status = std::system(command.c_str());
        r.wroteOutput = std::ifstream(out).good();
        std::vector<uint8_t> text = ReadBytes(log);
        r.errors.assign(text.begin(), text.end());
        output_ = ReadBytes(out);
        return r;
    }

    void TearDown() override
    {
        for (const std::string& path : made_) {
            std::remove(path.c_str());
        }
    }

    std::vector<uint8_t> output_;

private:
    std::vector<std::string> made_;
};

// A glyph block: header line and eight rows, all blank unless given.
std::string GlyphText(int glyph, const std::vector<std::string>& rows = {})
{
    char header[32];
    std::snprintf(header, sizeof header, "; %03X g\n", static_cast<unsigned>(glyph));
    std::string s = header;
    for (size_t r = 0; r < static_cast<size_t>(GlyphRows); ++r) {
        s += (r < rows.size() && !rows[r].empty() ? rows[r] : "........") + "\n";
    }
    return s;
}

const std::string BlankRows = "........\n........\n........\n........\n........\n........\n........\n........\n";

std::string GlyphRange(int first, int last)
{
    std::string s;
    for (int g = first; g <= last; ++g) {
        s += GlyphText(g);
    }
    return s;
}

TEST_F(FontCompiler, CompilesCompleteSourcesBitForBit)
{
    std::string first = Write("a.txt", ";; comment\n\n" + GlyphRange(0x000, 0x0FF));
    // CRLF line ends, as a Windows checkout may leave them.
    std::string second = GlyphText(0x141, {"#.......", ".......#", "##..##..", "", "", "", "", "########"}) +
                         GlyphRange(0x100, 0x140) + GlyphRange(0x142, 0x1FF);
    std::string crlf;
    for (char c : second) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::string secondPath = Write("b.txt", crlf);
    CompileResult r = Compile({first, secondPath});
    ASSERT_EQ(r.status, 0) << r.errors;
    ASSERT_EQ(output_.size(), FontFileSize);
    const uint8_t* g = &output_[0x141 * GlyphRows];
    EXPECT_EQ(g[0], 0x80);
    EXPECT_EQ(g[1], 0x01);
    EXPECT_EQ(g[2], 0xCC);
    EXPECT_EQ(g[3], 0x00);
    EXPECT_EQ(g[7], 0xFF);
    size_t lit = 0;
    for (uint8_t b : output_) {
        lit += b != 0;
    }
    EXPECT_EQ(lit, 4u);  // nothing else set anywhere
}

TEST_F(FontCompiler, RejectsMalformedSourcesAndWritesNothing)
{
    const std::string rest = GlyphRange(0x001, 0x1FF);
    struct Case {
        const char* what;
        std::string text;
        std::string where;  // "file:line" the message must name
    };
    const std::vector<Case> cases = {
        {"short row", GlyphText(0x000, {"#######"}) + rest, ":2:"},
        {"long row", GlyphText(0x000, {"", "#########"}) + rest, ":3:"},
        {"bad pixel", GlyphText(0x000, {"", "", "...x...."}) + rest, ":4:"},
        {"trailing space", GlyphText(0x000, {"######## "}) + rest, ":2:"},
        {"glyph out of range", GlyphText(0x000) + GlyphText(0x200) + rest, ":10:"},
        {"not hexadecimal", GlyphText(0x000) + "; 0G1 g\n" + BlankRows + rest, ":10:"},
        {"header without name", "; 000\n" + BlankRows + rest, ":1:"},
        {"stray line", GlyphText(0x000) + "........\n" + rest, ":10:"},
        {"duplicate glyph", GlyphText(0x000) + GlyphText(0x000) + rest, ":10:"},
        {"file ends in a glyph", rest + "; 000 g\n........\n", ":4601:"},
    };
    for (const Case& c : cases) {
        std::string path = Write("bad.txt", c.text);
        CompileResult r = Compile({path});
        EXPECT_NE(r.status, 0) << c.what;
        EXPECT_FALSE(r.wroteOutput) << c.what;
        EXPECT_NE(r.errors.find("bad.txt" + c.where), std::string::npos) << c.what << ":\n" << r.errors;
    }
}

TEST_F(FontCompiler, RejectsMissingAndRepeatedGlyphsAcrossFiles)
{
    std::string first = Write("first.txt", GlyphRange(0x000, 0x0FF));
    std::string incomplete = Write("incomplete.txt", GlyphRange(0x100, 0x1A2) + GlyphRange(0x1A4, 0x1FF));
    CompileResult missing = Compile({first, incomplete});
    EXPECT_NE(missing.status, 0);
    EXPECT_FALSE(missing.wroteOutput);
    EXPECT_NE(missing.errors.find("1A3"), std::string::npos) << missing.errors;

    std::string overlapping = Write("overlap.txt", GlyphRange(0x0FF, 0x1FF));
    CompileResult twice = Compile({first, overlapping});
    EXPECT_NE(twice.status, 0);
    EXPECT_FALSE(twice.wroteOutput);
    // Both places are named: where it is defined again and where first.
    EXPECT_NE(twice.errors.find("overlap.txt:1:"), std::string::npos) << twice.errors;
    EXPECT_NE(twice.errors.find("first.txt:2296"), std::string::npos) << twice.errors;

    CompileResult none = Compile({Path("does-not-exist.txt")});
    EXPECT_NE(none.status, 0);
    EXPECT_FALSE(none.wroteOutput);
}

#endif  // VEXA_FONTC

}  // namespace
