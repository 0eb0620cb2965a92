// Block text, the clipboard format of blocks: what is written, and what is
// read back from text that any program may have put there. (Written and read
// again it is the same block: the fuzz target and the block tests' copy and
// paste check that.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "io/block_text.h"

namespace {

std::string Write(const std::vector<int32_t>& codes, const std::vector<int32_t>& attrs, int w, int h)
{
    return WriteBlockText(codes.data(), attrs.data(), w, w, h);
}

bool Read(const std::string& text, BlockCells& cells) { return ReadBlockText(text.data(), text.size(), cells); }

}  // namespace

TEST(BlockText, WriterLayout)
{
    EXPECT_EQ(Write({0x41, 0x20}, {0x70, 0xF8}, 2, 1), " 2  1\n41 20\n70 F8\n");

    // Sixteen values to a line whatever the rows; the attributes start on a
    // line of their own, also after a full line.
    std::vector<int32_t> codes(17), attrs(17);
    for (int i = 0; i < 17; ++i) codes[i] = attrs[i] = 0xA0 + i;
    EXPECT_EQ(Write(codes, attrs, 8, 2),
              " 8  2\nA0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\n"
              "A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\n");
    const std::string seventeen = Write(codes, attrs, 17, 1);
    EXPECT_EQ(seventeen.substr(0, 6 + 48 + 3), "17  1\nA0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\nB0\n");
}

TEST(BlockText, ReaderTakesWhatOtherProgramsWrite)
{
    BlockCells cells;
    // Lower-case digits, commas, tabs, carriage returns and any separator.
    ASSERT_TRUE(Read("2,1\r\n4a,ff;\r\n7f\tf8 ", cells));
    EXPECT_TRUE(cells.width == 2 && cells.height == 1 && cells.code[0] == 0x4A && cells.code[1] == 0xFF &&
                cells.attr[0] == 0x7F && cells.attr[1] == 0xF8);
    // Letters beyond F count as digits: "0G" is 16; "0x" would be 33.
    ASSERT_TRUE(Read(" 1  1\n0G\n0x\n", cells));
    EXPECT_TRUE(cells.code[0] == 16 && cells.attr[0] == 33);

    // The text must go on after the last value.
    EXPECT_FALSE(Read(" 1  1\n41\n70", cells));
    EXPECT_TRUE(Read(" 1  1\n41\n70 ", cells));
    EXPECT_FALSE(Read(" 2  1\n41 42\n70\n", cells));  // too few values
    EXPECT_FALSE(Read("", cells));
    EXPECT_FALSE(Read("hello", cells));

    // Sizes out of range, however written.
    for (const char* size : {"40 26", "0 5", "41 1", "1 0", "x5 1", "4294967297 1", "1 4294967297",
                             "99999999999999999999 1"})
        EXPECT_FALSE(Read(std::string(size) + "\n00\n00\n", cells)) << size;

    // Values above FF are refused, even those a 32-bit sum would wrap into
    // range ("100000041" is 0x41 modulo 2^32).
    for (const char* value : {"100", "1FF", "GG", "100000041", "zzzzzzzzzzzzzzzzzzzz"})
        EXPECT_FALSE(Read(std::string(" 1  1\n") + value + "\n70\n", cells)) << value;

    // The text ends at the first zero byte or at its size, whichever comes
    // first: nothing beyond is read.
    const std::string withZero = std::string(" 1  1\n41\n", 9) + '\0' + "70\n";
    EXPECT_FALSE(ReadBlockText(withZero.data(), withZero.size(), cells));
    const char unterminated[] = {' ', '1', ' ', ' ', '1', '\n', '4', '1', '\n', '7', '0'};
    EXPECT_FALSE(ReadBlockText(unterminated, sizeof unterminated, cells));
    const char exact[] = {' ', '1', ' ', ' ', '1', '\n', '4', '1', '\n', '7', '0', '\n'};
    EXPECT_TRUE(ReadBlockText(exact, sizeof exact, cells));
    EXPECT_EQ(cells.attr[0], 0x70);
}
