// Checks of the text conversion tables: their contents by rule and the
// characters that are easy to get wrong.

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <utility>

#include "screen/text_tables.h"

namespace {

// Shift-JIS (code page 932) bytes of the characters used below.
constexpr uint8_t KatakanaLead = 0x83;  // ァ 83 40 ... ン 83 93, ヴ 83 94
constexpr uint8_t HiraganaLead = 0x82;  // ぁ 82 9F ... ん 82 F1
constexpr uint8_t FirstHiraganaTrail = 0x9F;

struct Pair {
    uint8_t lead, trail;
};

TEST(TextTable, DoubleByteTableHoldsValidPairsAndHiraganaAreTheirKatakanaInTheSecondSet)
{
    int secondSet = 0, voiced = 0, semiVoiced = 0, hiragana = 0;
    std::map<std::pair<uint8_t, uint8_t>, int> seen;
    for (const DoubleByteEntry& e : DoubleByteTable) {
        const bool lead = (e.lead >= 0x81 && e.lead <= 0x9F) || (e.lead >= 0xE0 && e.lead <= 0xFC);
        EXPECT_TRUE(lead && e.trail >= 0x40 && e.trail <= 0xFC && e.trail != 0x7F)
            << std::hex << int(e.lead) << " " << int(e.trail);
        EXPECT_EQ(e.entry & ~(TEXT_CODE_MASK | TEXT_SEMI_VOICED | TEXT_VOICED | TEXT_SECOND_SET), 0u);
        EXPECT_FALSE((e.entry & TEXT_VOICED) && (e.entry & TEXT_SEMI_VOICED));
        secondSet += (e.entry & TEXT_SECOND_SET) != 0;
        voiced += (e.entry & TEXT_VOICED) != 0;
        semiVoiced += (e.entry & TEXT_SEMI_VOICED) != 0;
        ++seen[{e.lead, e.trail}];
        if (e.lead != HiraganaLead || e.trail < FirstHiraganaTrail) continue;
        // The katakana block runs in the same order but skips trail byte 7F.
        ++hiragana;
        const int index = e.trail - FirstHiraganaTrail;
        const int katakanaTrail = 0x40 + index + (0x40 + index >= 0x7F ? 1 : 0);
        const uint32_t katakana = LookupDoubleByte(KatakanaLead, static_cast<uint8_t>(katakanaTrail));
        EXPECT_NE(katakana, 0u) << std::hex << int(e.trail);
        EXPECT_EQ(e.entry, katakana | TEXT_SECOND_SET) << std::hex << int(e.trail);
    }
    EXPECT_EQ(hiragana, 80);
    EXPECT_EQ(secondSet, 26 + 80);  // ａ-ｚ and the hiragana
    EXPECT_EQ(voiced, 2 * 20 + 1);  // ガ-ド and バ-ボ in both kana, and ヴ
    EXPECT_EQ(semiVoiced, 2 * 5);   // パ-ポ in both kana
    // Only the apostrophe ’ (81 66) appears twice.
    EXPECT_EQ(std::size(DoubleByteTable), seen.size() + 1);
    EXPECT_EQ((seen[{0x81, 0x66}]), 2);
}

TEST(TextTable, KanaAndMarksConvertAsOnTheMachine)
{
    const uint32_t ga = LookupDoubleByte(0x83, 0x4B);  // ガ
    EXPECT_EQ(ga, 0x94 | TEXT_VOICED);
    EXPECT_EQ(LookupDoubleByte(0x82, 0xAA), ga | TEXT_SECOND_SET);  // が
    // Half-width ｶ followed by ﾞ gives the same two cells as ガ.
    EXPECT_EQ(LookupSingleByte(0xB6), ga & TEXT_CODE_MASK);
    // ﾞ, ﾟ, A0 (nothing), ｡.
    const std::pair<uint8_t, uint32_t> singles[] = {
        {0xDE, VoicedMarkCode}, {0xDF, SemiVoicedMarkCode}, {0xA0, 0}, {0xA1, 0xBD}};
    for (const auto& [b, code] : singles) EXPECT_EQ(LookupSingleByte(b), code) << std::hex << int(b);
    // パ, ヴ (ウ voiced), small ァ, ン, ゛, ゜, 。, ’, 時, 円; absent: ヮ ヰ ヱ ヵ ヶ, ゎ ゐ ゑ.
    const std::pair<Pair, uint32_t> doubles[] = {
        {{0x83, 0x70}, 0x86 | TEXT_SEMI_VOICED}, {{0x83, 0x94}, 0xA4 | TEXT_VOICED}, {{0x83, 0x40}, 0x9E},
        {{0x83, 0x93}, 0x99}, {{0x81, 0x4A}, VoicedMarkCode}, {{0x81, 0x4B}, SemiVoicedMarkCode},
        {{0x81, 0x42}, 0xBD}, {{0x81, 0x66}, 0x67}, {{0x8E, 0x9E}, 0xD9}, {{0x89, 0x7E}, 0xDC},
        {{KatakanaLead, 0x8E}, 0}, {{KatakanaLead, 0x90}, 0}, {{KatakanaLead, 0x91}, 0}, {{KatakanaLead, 0x95}, 0},
        {{KatakanaLead, 0x96}, 0}, {{HiraganaLead, 0xEC}, 0}, {{HiraganaLead, 0xEE}, 0}, {{HiraganaLead, 0xEF}, 0},
    };
    for (const auto& [c, code] : doubles)
        EXPECT_EQ(LookupDoubleByte(c.lead, c.trail), code) << std::hex << int(c.lead) << " " << int(c.trail);
}

TEST(TextTable, LatinAndFullWidthFormsAgree)
{
    const std::pair<char, uint32_t> latin[] = {
        {'A', 0x01}, {'a', 0x01 | TEXT_SECOND_SET}, {'z', 0x1A | TEXT_SECOND_SET}, {'0', 0x20}, {'!', 0x61},
        {')', 0x69}, {'^', 0x50}, {'_', 0x3C}, {'|', 0x79}, {'~', 0xE3}, {' ', 0}, {'`', 0}, {'{', 0}, {'}', 0},
    };
    for (const auto& [c, code] : latin) EXPECT_EQ(LookupSingleByte(static_cast<uint8_t>(c)), code) << c;
    // Bytes outside both single-byte tables.
    for (uint8_t b : {0x00, 0x0D, 0x1F, 0x7F, 0x80, 0x9F, 0xE0, 0xFF}) EXPECT_EQ(LookupSingleByte(b), 0u) << int(b);

    // Full-width forms take their single-byte character's entry: ａ (with the
    // second-set bit), Ａ, ０, ＼, ～, ＠.
    const std::pair<Pair, char> wide[] = {{{0x82, 0x81}, 'a'},  {{0x82, 0x60}, 'A'}, {{0x82, 0x4F}, '0'},
                                          {{0x81, 0x5F}, '\\'}, {{0x81, 0x60}, '~'}, {{0x81, 0x97}, '@'}};
    for (const auto& [c, narrow] : wide)
        EXPECT_EQ(LookupDoubleByte(c.lead, c.trail), LookupSingleByte(static_cast<uint8_t>(narrow))) << narrow;
    // Absent: ＂ (both of its code page 932 codes), ＾ ＿ ｀ ｛ ｜ ｝, a kanji
    // outside the thirteen, and a lead byte with an impossible trail.
    const Pair absent[] = {{0xFA, 0x57}, {0xEE, 0xFC}, {0x81, 0x4F}, {0x81, 0x51}, {0x81, 0x4D},
                           {0x81, 0x6F}, {0x81, 0x62}, {0x81, 0x70}, {0x8A, 0xBF}, {0x83, 0x00}};
    for (const Pair& p : absent)
        EXPECT_EQ(LookupDoubleByte(p.lead, p.trail), 0u) << std::hex << int(p.lead) << " " << int(p.trail);
}

}  // namespace
