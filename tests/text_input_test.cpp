// Typed text turned into a floating block: the conversion tables' rules,
// characters and their marks, the two layouts and their wrapping, and text
// that does not fit or ends badly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "screen/pen.h"
#include "screen/document.h"
#include "screen/selection.h"
#include "screen/text_input.h"
#include "screen/text_tables.h"
#include "screen/undo.h"
#include "tests/test_support.h"

namespace {

constexpr int kPen = 0x71;  // the Pen's colours at start: white on blue

// Converts `text` (Shift-JIS bytes) and returns the block's rows, each cell
// as code | attribute << 8.
std::vector<std::vector<int>> Convert(const std::string& text, bool vertical = false)
{
    KeepText(text, vertical);
    std::vector<std::vector<int>> rows;
    if (!ConvertText()) return rows;
    for (int r = 0; r < SelectionHeight(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < SelectionWidth(); ++c)
            rows.back().push_back(gDoc.block.code[BlockIndex(c, r)] | gDoc.block.attr[BlockIndex(c, r)] << 8);
    }
    return rows;
}

int Cell(int code, int attr = kPen) { return code | attr << 8; }
int Second(int code) { return Cell(code, 0x80 | kPen); }

}  // namespace

TEST(TextTable, HiraganaAndFullWidthFormsFollowTheirKatakanaAndNarrowForms)
{
    // Hiragana (82 9F-F1) are the katakana (83 40-93, trail 7F skipped) of
    // the second set; every pair is a valid code page 932 pair, listed once
    // but for the apostrophe.
    int hiragana = 0, voiced = 0, semiVoiced = 0;
    std::map<std::pair<uint8_t, uint8_t>, int> seen;
    for (const DoubleByteEntry& e : DoubleByteTable) {
        const bool lead = (e.lead >= 0x81 && e.lead <= 0x9F) || (e.lead >= 0xE0 && e.lead <= 0xFC);
        EXPECT_TRUE(lead && e.trail >= 0x40 && e.trail <= 0xFC && e.trail != 0x7F) << std::hex << int(e.lead);
        EXPECT_FALSE((e.entry & TEXT_VOICED) && (e.entry & TEXT_SEMI_VOICED));
        voiced += (e.entry & TEXT_VOICED) != 0;
        semiVoiced += (e.entry & TEXT_SEMI_VOICED) != 0;
        ++seen[{e.lead, e.trail}];
        if (e.lead != 0x82 || e.trail < 0x9F) continue;
        ++hiragana;
        const int trail = 0x40 + (e.trail - 0x9F) + (0x40 + (e.trail - 0x9F) >= 0x7F);
        const uint32_t katakana = LookupDoubleByte(0x83, static_cast<uint8_t>(trail));
        EXPECT_TRUE(katakana && e.entry == (katakana | TEXT_SECOND_SET)) << std::hex << int(e.trail);
    }
    EXPECT_EQ(hiragana, 80);
    EXPECT_TRUE(voiced == 2 * 20 + 1 && semiVoiced == 2 * 5) << voiced << " " << semiVoiced;  // ガ-ド バ-ボ ヴ, パ-ポ
    EXPECT_EQ(DoubleByteTableSize, seen.size() + 1);
    EXPECT_EQ((seen[{0x81, 0x66}]), 2);

    // Full-width forms take their narrow character's entry: ａ Ａ ０ ＼ ～ ＠.
    for (const auto& [c, narrow] : {std::pair{0x8281, 'a'}, {0x8260, 'A'}, {0x824F, '0'}, {0x815F, '\\'},
                                    {0x8160, '~'}, {0x8197, '@'}})
        EXPECT_EQ(LookupDoubleByte(c >> 8, c & 0xFF), LookupSingleByte(static_cast<uint8_t>(narrow))) << narrow;
    // Bytes outside both single-byte tables.
    for (uint8_t b : {0x00, 0x1F, 0x7F, 0x80, 0x9F, 0xE0, 0xFF}) EXPECT_EQ(LookupSingleByte(b), 0u) << int(b);
}

TEST(TextInput, CharactersBecomeCellsWithTheirMarks)
{
    ResetCore();
    EXPECT_EQ(Convert("ABC"), (std::vector<std::vector<int>>{{Cell(0x01), Cell(0x02), Cell(0x03)}}));
    EXPECT_TRUE(gDoc.block.state == kFloatingNew && gDoc.selection.x0 == 1 && gDoc.selection.y0 == 1);
    EXPECT_FALSE(CanUndo());  // nothing is written until it is dropped
    EXPECT_EQ(Convert("abc"), (std::vector<std::vector<int>>{{Second(0x01), Second(0x02), Second(0x03)}}));

    // Voiced and semi-voiced kana take two cells, whichever way they are
    // typed; hiragana are the katakana of the second set. Characters without
    // a mapping are blank cells.
    const std::vector<int> ga = {Cell(0x94), Cell(0xBC)};
    EXPECT_EQ(Convert("\x83\x4B")[0], ga);        // ガ
    EXPECT_EQ(Convert("\xB6\xDE")[0], ga);        // ｶﾞ
    EXPECT_EQ(Convert("\x83\x70")[0], (std::vector<int>{Cell(0x86), Cell(0xB8)}));  // パ
    EXPECT_EQ(Convert("\x82\xAA")[0], (std::vector<int>{Second(0x94), Second(0xBC)}));  // が
    EXPECT_EQ(Convert("\x93\xFA\x89\x7E")[0], (std::vector<int>{Cell(0xD0), Cell(0xDC)}));  // 日円
    EXPECT_EQ(Convert("{\x88\x9F~")[0], (std::vector<int>{Cell(0x00), Cell(0x00), Cell(0xE3)}));  // { 亜 ~

    // The Pen's colours; controls other than the carriage return count for
    // nothing.
    gPen = {2, 6, gPen.cursor, gPen.page};
    EXPECT_EQ(Convert("\tZ\n"), (std::vector<std::vector<int>>{{Cell(0x1A, 0x26)}}));
}

TEST(TextInput, LinesWrapAndVerticalLinesRunRightToLeft)
{
    ResetCore();
    // Horizontal lines hold 39 cells. A voiced kana with one cell left on
    // its line goes to the next line with its mark, inside the block; on the
    // last row there is no next line, and neither half is placed.
    std::vector<std::vector<int>> rows = Convert(std::string(40, 'A'));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].size() == 39u && rows[1][0] == Cell(0x01) && rows[1][1] == Cell(0x00));
    rows = Convert(std::string(38, 'A') + "\x83\x4B" + "B");
    ASSERT_TRUE(rows.size() == 2u && rows[0].size() == 38u);
    EXPECT_EQ(std::vector<int>(rows[1].begin(), rows[1].begin() + 3), (std::vector<int>{Cell(0x94), Cell(0xBC), Cell(2)}));
    std::string full;
    for (int n = 0; n < 24; ++n) full += "A\r\n";
    rows = Convert(full + std::string(38, 'A') + "\x83\x4B");
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[24].size(), 38u);

    // Vertical: A over B in the right line's left cell, C in the left one's.
    rows = Convert("AB\r\nC", true);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<int>{Cell(0x03), Cell(0), Cell(0x01), Cell(0)}));
    EXPECT_EQ(rows[1], (std::vector<int>{Cell(0), Cell(0), Cell(0x02), Cell(0)}));
    // The mark sits right of its kana; a line holds 25 characters.
    rows = Convert("\x83\x4B" + std::string(25, 'B'), true);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], (std::vector<int>{Cell(0x02), Cell(0), Cell(0x94), Cell(0xBC)}));

    // Lines beyond the screen are left out: 26 horizontal lines give 25 rows,
    // 21 vertical lines give 20 lines, 40 columns.
    std::string lines;
    for (int n = 0; n < 26; ++n) lines += "X\r\n";
    EXPECT_EQ(Convert(lines).size(), 25u);
    EXPECT_EQ(Convert(lines, true)[0].size(), 40u);
}

TEST(TextInput, TextThatPlacesNothingOrEndsBadly)
{
    // Nothing typed, or only line breaks: no block, the selection as it was.
    ResetCore();
    SetSelection(5, 6, 7, 8);
    for (const char* text : {"", "\r\n", "\r\n\r\n\n"})
        EXPECT_TRUE(Convert(text).empty() && !BlockFloats() && gDoc.selection.x0 == 5 && gDoc.selection.y1 == 8) << text;
    // A lead byte with no trail byte ends the text; it places nothing.
    EXPECT_EQ(Convert("A\x83"), (std::vector<std::vector<int>>{{Cell(0x01)}}));

    // The text kept is at most 1023 bytes and never ends inside a character.
    KeepText(std::string(1022, 'A') + "\x83\x4B", false);
    EXPECT_EQ(std::string(gTextInput.text).size(), 1022u);
    KeepText(std::string(1021, 'A') + "\x83\x4B" + "B", true);
    EXPECT_TRUE(std::string(gTextInput.text).size() == 1023u && gTextInput.vertical);
}
