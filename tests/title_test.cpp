// The window title's rules and the command line's first argument.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "io/title.h"

TEST(Title, NameMarkAndProgramTitleWithinTheirLengths)
{
    EXPECT_EQ(BuildTitle("", false), "無題 - Vexa");
    EXPECT_EQ(BuildTitle("stage1.txt", true), "stage1.txt * Vexa");
    EXPECT_EQ(BuildTitle(std::string(73, 'a'), false), std::string(73, 'a') + " - ...");
    EXPECT_EQ(BuildTitle(std::string(80, 'a'), true), std::string(73, 'a') + " * ...");
    EXPECT_EQ(BuildTitle(std::string(70, 'a'), false), std::string(70, 'a') + " - Vex...");
    EXPECT_EQ(BuildTitle(std::string(69, 'a'), false), std::string(69, 'a') + " - Vexa");
    // Japanese characters count two, half-width katakana one; a character
    // is never cut in half.
    std::string kanji;
    for (int i = 0; i < 37; ++i) kanji += "絵";  // 74 wide: only 36 fit
    std::string expected;
    for (int i = 0; i < 36; ++i) expected += "絵";
    EXPECT_EQ(BuildTitle(kanji, false), expected + " - V...");
    std::string kana;
    for (int i = 0; i < 73; ++i) kana += "ｱ";
    EXPECT_EQ(BuildTitle(kana + "ｲ", false), kana + " - ...");
    EXPECT_EQ(BuildTitle("😀.txt", false), "😀.txt - Vexa");
}

TEST(CommandLine, FirstArgumentRules)
{
    std::wstring a;
    EXPECT_TRUE(FirstArgument(L"  C:\\a.txt more", a, 260));
    EXPECT_EQ(a, L"C:\\a.txt");
    EXPECT_TRUE(FirstArgument(L"\"C:\\My Screens\\t.txt\" x", a, 260));
    EXPECT_EQ(a, L"C:\\My Screens\\t.txt");
    EXPECT_TRUE(FirstArgument(L"C:\\\"My Screens\"\\t.txt", a, 260));
    EXPECT_EQ(a, L"C:\\My Screens\\t.txt");
    EXPECT_FALSE(FirstArgument(L"\"C:\\unclosed.txt", a, 260));
    EXPECT_TRUE(a.empty());
    EXPECT_FALSE(FirstArgument(L"   ", a, 260));
    EXPECT_FALSE(FirstArgument(L"", a, 260));
    EXPECT_FALSE(FirstArgument(L"\"\"", a, 260));
    EXPECT_TRUE(FirstArgument(std::wstring(259, L'x'), a, 260));
    EXPECT_FALSE(FirstArgument(std::wstring(260, L'x'), a, 260));
    EXPECT_TRUE(FirstArgument(L"\t絵.txt", a, 260));
    EXPECT_EQ(a, L"絵.txt");
}
