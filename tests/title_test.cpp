// The window title's rules, the command line's first argument and the
// recent-file list.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/recent_files.h"
#include "io/title.h"

TEST(Title, NameMarkAndProgramTitleWithinTheirLengths)
{
    EXPECT_EQ(BuildTitle("", false, "無題"), "無題 - Vexa");
    EXPECT_EQ(BuildTitle("", true, "Untitled"), "Untitled * Vexa");
    EXPECT_EQ(BuildTitle("stage1.txt", true, "無題"), "stage1.txt * Vexa");
    EXPECT_EQ(BuildTitle(std::string(80, 'a'), true, "無題"), std::string(73, 'a') + " * ...");
    EXPECT_EQ(BuildTitle(std::string(70, 'a'), false, "無題"), std::string(70, 'a') + " - Vex...");
    EXPECT_EQ(BuildTitle(std::string(69, 'a'), false, "無題"), std::string(69, 'a') + " - Vexa");
    // Japanese characters count two, half-width katakana one; a character
    // is never cut in half.
    std::string kanji, kana;
    for (int i = 0; i < 36; ++i) kanji += "絵";  // 72 wide: a 37th does not fit
    for (int i = 0; i < 73; ++i) kana += "ｱ";
    EXPECT_EQ(BuildTitle(kanji + "絵", false, "無題"), kanji + " - V...");
    EXPECT_EQ(BuildTitle(kana + "ｲ", false, "無題"), kana + " - ...");
    EXPECT_EQ(BuildTitle("😀.txt", false, "無題"), "😀.txt - Vexa");
}

TEST(CommandLine, FirstArgumentRules)
{
    std::wstring a;
    EXPECT_TRUE(FirstArgument(L"  C:\\a.txt more", a, 260) && a == L"C:\\a.txt");
    EXPECT_TRUE(FirstArgument(L"\"C:\\My Screens\\t.txt\" x", a, 260) && a == L"C:\\My Screens\\t.txt");
    EXPECT_TRUE(FirstArgument(L"C:\\\"My Screens\"\\t.txt", a, 260) && a == L"C:\\My Screens\\t.txt");
    EXPECT_TRUE(FirstArgument(L"\t絵.txt", a, 260) && a == L"絵.txt");
    EXPECT_FALSE(FirstArgument(L"\"C:\\unclosed.txt", a, 260));
    EXPECT_TRUE(a.empty());
    for (const wchar_t* none : {L"   ", L"", L"\"\""}) EXPECT_FALSE(FirstArgument(none, a, 260));
    EXPECT_TRUE(FirstArgument(std::wstring(259, L'x'), a, 260));
    EXPECT_FALSE(FirstArgument(std::wstring(260, L'x'), a, 260));
}

namespace {

std::vector<std::string> Listed()
{
    std::vector<std::string> out;
    for (int p = 0; p < kRecentFiles && LookUpRecentFile(p); ++p) out.push_back(LookUpRecentFile(p));
    return out;
}

std::vector<std::string> Names(std::initializer_list<int> numbers)
{
    std::vector<std::string> out;
    for (int n : numbers) out.push_back("C:\\screens\\s" + std::to_string(n) + ".txt");
    return out;
}

}  // namespace

TEST(RecentFiles, AddMovesToTopDropsTheLeastRecentAndKeepsLoadedGaps)
{
    ClearRecentFiles();
    for (int p : {0, -1, 9}) EXPECT_EQ(LookUpRecentFile(p), nullptr) << p;
    EXPECT_FALSE(AddRecentFile("") || AddRecentFile(nullptr));
    for (const std::string& name : Names({1, 2, 3, 4, 5, 6, 7, 8, 9})) EXPECT_TRUE(AddRecentFile(name.c_str()));
    // Known path, other letter case: moved up, original spelling kept.
    EXPECT_TRUE(AddRecentFile("c:\\SCREENS\\S3.TXT"));
    EXPECT_TRUE(AddRecentFile(Names({10})[0].c_str()));  // the tenth drops s1
    EXPECT_EQ(Listed(), Names({10, 3, 9, 8, 7, 6, 5, 4, 2}));
    EXPECT_TRUE(ForgetRecentFile("C:\\Screens\\S9.txt"));
    EXPECT_TRUE(!ForgetRecentFile(Names({9})[0].c_str()) && !LookUpRecentFile(8));
    EXPECT_TRUE(AddRecentFile(Names({11})[0].c_str()));  // reuses the freed slot
    EXPECT_FALSE(AddRecentFile(std::string(kPathBytes, 'x').c_str()));  // too long: the list stays
    EXPECT_EQ(Listed(), Names({11, 10, 3, 8, 7, 6, 5, 4, 2}));

    // A loaded list keeps its gaps; adding pushes everything down and
    // position 8's entry falls off.
    const char* paths[kRecentFiles] = {"", "C:\\b.txt", "C:\\c.txt", nullptr, "", "", "", "", "C:\\i.txt"};
    LoadRecentFiles(paths);
    EXPECT_TRUE(!LookUpRecentFile(0) && LookUpRecentFile(8) == std::string("C:\\i.txt"));  // the popup ends at 0
    EXPECT_TRUE(AddRecentFile("C:\\new.txt"));
    EXPECT_TRUE(LookUpRecentFile(0) == std::string("C:\\new.txt") && !LookUpRecentFile(1) &&
                LookUpRecentFile(2) == std::string("C:\\b.txt") && !LookUpRecentFile(8));

    EXPECT_TRUE(SamePathIgnoringCase("C:\\Ärger\\Ωμέγα\\ДОМЯЁ.txt", "c:\\ärger\\ωμέγα\\домяё.TXT"));
    EXPECT_TRUE(SamePathIgnoringCase("C:\\絵\\ＡＢ.txt", "C:\\絵\\ａｂ.txt"));
    EXPECT_FALSE(SamePathIgnoringCase("C:\\a.txt", "C:\\a.txt2"));
    EXPECT_FALSE(SamePathIgnoringCase("C:\\絵.txt", "C:\\画.txt"));
}
