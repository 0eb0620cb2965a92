// Checks of the text conversion tables: their contents by rule and the
// characters that are easy to get wrong.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <utility>

#include "screen/text_tables.h"

namespace {

// Shift-JIS (code page 932) bytes of the characters used below.
constexpr uint8_t KatakanaLead = 0x83;  // ァ 83 40 ... ン 83 93, ヴ 83 94
constexpr uint8_t HiraganaLead = 0x82;  // ぁ 82 9F ... ん 82 F1
constexpr uint8_t FirstHiraganaTrail = 0x9F;

bool IsShiftJisLead(uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsShiftJisTrail(uint8_t b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

TEST(TextTable, DoubleByteTableHoldsValidPairsByRule)
{
    int secondSet = 0;
    int voiced = 0;
    int semiVoiced = 0;
    std::map<std::pair<uint8_t, uint8_t>, int> seen;
    for (const DoubleByteEntry& e : DoubleByteTable) {
        EXPECT_TRUE(IsShiftJisLead(e.lead) && IsShiftJisTrail(e.trail))
            << std::hex << int(e.lead) << " " << int(e.trail);
        EXPECT_EQ(e.entry & ~(TEXT_CODE_MASK | TEXT_SEMI_VOICED | TEXT_VOICED | TEXT_SECOND_SET), 0u);
        EXPECT_FALSE((e.entry & TEXT_VOICED) && (e.entry & TEXT_SEMI_VOICED));
        secondSet += (e.entry & TEXT_SECOND_SET) != 0;
        voiced += (e.entry & TEXT_VOICED) != 0;
        semiVoiced += (e.entry & TEXT_SEMI_VOICED) != 0;
        ++seen[{e.lead, e.trail}];
    }
    EXPECT_EQ(sizeof DoubleByteTable / sizeof DoubleByteTable[0], 281u);
    EXPECT_EQ(secondSet, 26 + 80);  // ａ-ｚ and the hiragana
    EXPECT_EQ(voiced, 2 * 20 + 1);  // ガ-ド and バ-ボ in both kana, and ヴ
    EXPECT_EQ(semiVoiced, 2 * 5);   // パ-ポ in both kana
    // Only the apostrophe ’ (81 66) appears twice.
    EXPECT_EQ(seen.size(), 280u);
    EXPECT_EQ((seen[{0x81, 0x66}]), 2);
}

TEST(TextTable, HiraganaAreTheirKatakanaInTheSecondSet)
{
    int hiragana = 0;
    for (const DoubleByteEntry& e : DoubleByteTable) {
        if (e.lead != HiraganaLead || e.trail < FirstHiraganaTrail) {
            continue;
        }
        ++hiragana;
        // The katakana block runs in the same order but skips trail byte 7F.
        int index = e.trail - FirstHiraganaTrail;
        int katakanaTrail = 0x40 + index + (0x40 + index >= 0x7F ? 1 : 0);
        uint32_t katakana = LookupDoubleByte(KatakanaLead, static_cast<uint8_t>(katakanaTrail));
        EXPECT_NE(katakana, 0u) << std::hex << katakanaTrail;
        EXPECT_EQ(e.entry, katakana | TEXT_SECOND_SET) << std::hex << int(e.trail);
    }
    EXPECT_EQ(hiragana, 80);
}

TEST(TextTable, KanaAndMarksConvertAsOnTheMachine)
{
    const uint32_t ga = LookupDoubleByte(0x83, 0x4B);  // ガ
    EXPECT_EQ(ga, 0x94 | TEXT_VOICED);
    EXPECT_EQ(LookupDoubleByte(0x83, 0x70), 0x86 | TEXT_SEMI_VOICED);  // パ
    EXPECT_EQ(LookupDoubleByte(0x82, 0xAA), ga | TEXT_SECOND_SET);     // が
    EXPECT_EQ(LookupDoubleByte(0x83, 0x94), 0xA4 | TEXT_VOICED);       // ヴ is ウ voiced
    EXPECT_EQ(LookupDoubleByte(0x83, 0x40), 0x9E);                     // small ァ
    EXPECT_EQ(LookupDoubleByte(0x83, 0x93), 0x99);                     // ン
    // Half-width ｶ followed by ﾞ gives the same two cells as ガ.
    EXPECT_EQ(LookupSingleByte(0xB6), ga & TEXT_CODE_MASK);
    EXPECT_EQ(LookupSingleByte(0xDE), VoicedMarkCode);
    EXPECT_EQ(LookupSingleByte(0xDF), SemiVoicedMarkCode);
    EXPECT_EQ(LookupDoubleByte(0x81, 0x4A), VoicedMarkCode);      // ゛
    EXPECT_EQ(LookupDoubleByte(0x81, 0x4B), SemiVoicedMarkCode);  // ゜
    EXPECT_EQ(LookupSingleByte(0xA0), 0u);
    EXPECT_EQ(LookupSingleByte(0xA1), 0xBDu);  // ｡
    EXPECT_EQ(LookupDoubleByte(0x81, 0x42), 0xBDu);  // 。
    EXPECT_EQ(LookupDoubleByte(0x81, 0x66), 0x67u);  // ’
    EXPECT_EQ(LookupDoubleByte(0x8E, 0x9E), 0xD9u);  // 時
    EXPECT_EQ(LookupDoubleByte(0x89, 0x7E), 0xDCu);  // 円
    // Absent: ヮ ヰ ヱ ヵ ヶ, ゎ ゐ ゑ.
    for (uint8_t trail : {0x8E, 0x90, 0x91, 0x95, 0x96}) {
        EXPECT_EQ(LookupDoubleByte(KatakanaLead, trail), 0u) << std::hex << int(trail);
    }
    for (uint8_t trail : {0xEC, 0xEE, 0xEF}) {
        EXPECT_EQ(LookupDoubleByte(HiraganaLead, trail), 0u) << std::hex << int(trail);
    }
}

TEST(TextTable, LatinAndFullWidthFormsAgree)
{
    EXPECT_EQ(LookupSingleByte('A'), 0x01u);
    EXPECT_EQ(LookupSingleByte('a'), 0x01 | TEXT_SECOND_SET);
    EXPECT_EQ(LookupSingleByte('z'), 0x1A | TEXT_SECOND_SET);
    EXPECT_EQ(LookupSingleByte('0'), 0x20u);
    EXPECT_EQ(LookupSingleByte('!'), 0x61u);
    EXPECT_EQ(LookupSingleByte(')'), 0x69u);
    EXPECT_EQ(LookupSingleByte('^'), 0x50u);
    EXPECT_EQ(LookupSingleByte('_'), 0x3Cu);
    EXPECT_EQ(LookupSingleByte('|'), 0x79u);
    EXPECT_EQ(LookupSingleByte('~'), 0xE3u);
    for (char blank : {' ', '`', '{', '}'}) {
        EXPECT_EQ(LookupSingleByte(static_cast<uint8_t>(blank)), 0u) << blank;
    }
    // Bytes outside both single-byte tables.
    for (uint8_t b : {0x00, 0x0D, 0x1F, 0x7F, 0x80, 0x9F, 0xE0, 0xFF}) {
        EXPECT_EQ(LookupSingleByte(b), 0u) << std::hex << int(b);
    }

    // Full-width forms take their single-byte character's entry.
    EXPECT_EQ(LookupDoubleByte(0x82, 0x81), LookupSingleByte('a'));  // ａ, with bit 15
    EXPECT_EQ(LookupDoubleByte(0x82, 0x60), LookupSingleByte('A'));  // Ａ
    EXPECT_EQ(LookupDoubleByte(0x82, 0x4F), LookupSingleByte('0'));  // ０
    EXPECT_EQ(LookupDoubleByte(0x81, 0x5F), LookupSingleByte('\\')); // ＼
    EXPECT_EQ(LookupDoubleByte(0x81, 0x60), LookupSingleByte('~'));  // ～
    EXPECT_EQ(LookupDoubleByte(0x81, 0x97), LookupSingleByte('@'));  // ＠
    // Absent: ＂ (both of its code page 932 codes), ＾ ＿ ｀ ｛ ｜ ｝, a kanji
    // outside the thirteen, and a lead byte with an impossible trail.
    const std::pair<uint8_t, uint8_t> absent[] = {
        {0xFA, 0x57}, {0xEE, 0xFC}, {0x81, 0x4F}, {0x81, 0x51}, {0x81, 0x4D},
        {0x81, 0x6F}, {0x81, 0x62}, {0x81, 0x70}, {0x8A, 0xBF}, {0x83, 0x00},
    };
    for (const auto& p : absent) {
        EXPECT_EQ(LookupDoubleByte(p.first, p.second), 0u) << std::hex << int(p.first) << " " << int(p.second);
    }
}

}  // namespace
