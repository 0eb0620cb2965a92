// The settings table and the recent-file list.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "app/recent_files.h"
#include "app/settings.h"

namespace {

std::vector<std::string> Listed()
{
    std::vector<std::string> out;
    for (int p = 0; p < kRecentFiles && LookUpRecentFile(p); ++p) out.push_back(LookUpRecentFile(p));
    return out;
}

std::string Name(int n) { return "C:\\screens\\s" + std::to_string(n) + ".txt"; }

std::vector<std::string> Names(std::initializer_list<int> numbers)
{
    std::vector<std::string> out;
    for (int n : numbers) out.push_back(Name(n));
    return out;
}

}  // namespace

// The defaults and the order of the keys show in the settings file the
// end-to-end run writes.
TEST(Settings, OutOfRangeValuesFallBackToTheirDefaults)
{
    // Setting, value, what sanitizing leaves.
    const std::tuple<int32_t*, int, int> cases[] = {
        {&Zoom, 42, 1},     {&Zoom, -3, 1},     {&Zoom, 7, 7},     {&ZoomRatio, 0, 1},
        {&ZoomRatio, 8, 1}, {&ZoomRatio, 7, 7}, {&ShowGrid, 7, 1}, {&GridType, -1, 1},
        {&GridType, 0, 0},  {&MarkBit3, 1, 1},  {&MarkBit3, 2, 0}, {&ShowStatusBar, 1, 1}};
    for (const auto& [setting, value, after] : cases) {
        ResetSettings();
        *setting = value;
        SanitizeSettings();
        EXPECT_EQ(*setting, after) << value;
    }
}

TEST(RecentFiles, AddMovesToTopWithoutDuplicatesAndDropsTheLeastRecent)
{
    ClearRecentFiles();
    for (int p : {0, -1, 9}) EXPECT_EQ(LookUpRecentFile(p), nullptr) << p;
    EXPECT_FALSE(AddRecentFile(""));
    EXPECT_FALSE(AddRecentFile(nullptr));
    for (int n = 1; n <= 9; ++n) EXPECT_TRUE(AddRecentFile(Name(n).c_str()));
    EXPECT_EQ(Listed(), Names({9, 8, 7, 6, 5, 4, 3, 2, 1}));
    // Known path, other letter case: moved up, original spelling kept.
    EXPECT_TRUE(AddRecentFile("c:\\SCREENS\\S3.TXT"));
    EXPECT_EQ(Listed(), Names({3, 9, 8, 7, 6, 5, 4, 2, 1}));
    EXPECT_TRUE(AddRecentFile(Name(10).c_str()));  // the tenth drops s1
    EXPECT_EQ(Listed(), Names({10, 3, 9, 8, 7, 6, 5, 4, 2}));
    EXPECT_TRUE(ForgetRecentFile("C:\\Screens\\S9.txt"));
    EXPECT_FALSE(ForgetRecentFile(Name(9).c_str()));
    EXPECT_EQ(Listed(), Names({10, 3, 8, 7, 6, 5, 4, 2}));
    EXPECT_EQ(LookUpRecentFile(8), nullptr);
    EXPECT_TRUE(AddRecentFile(Name(11).c_str()));  // reuses the freed slot
    EXPECT_FALSE(AddRecentFile(std::string(kPathBytes, 'x').c_str()));  // too long: the list stays
    EXPECT_EQ(Listed(), Names({11, 10, 3, 8, 7, 6, 5, 4, 2}));
}

TEST(RecentFiles, LoadedListsKeepTheirGapsAndCaseRulesCoverOtherScripts)
{
    const char* paths[kRecentFiles] = {"", "C:\\b.txt", "C:\\c.txt", nullptr, "", "", "", "", "C:\\i.txt"};
    LoadRecentFiles(paths);
    EXPECT_EQ(LookUpRecentFile(0), nullptr);  // the popup ends here
    EXPECT_STREQ(LookUpRecentFile(1), "C:\\b.txt");
    EXPECT_STREQ(LookUpRecentFile(8), "C:\\i.txt");
    // Adding pushes everything down; position 8's entry falls off.
    EXPECT_TRUE(AddRecentFile("C:\\new.txt"));
    EXPECT_STREQ(LookUpRecentFile(0), "C:\\new.txt");
    EXPECT_EQ(LookUpRecentFile(1), nullptr);
    EXPECT_STREQ(LookUpRecentFile(2), "C:\\b.txt");
    EXPECT_EQ(LookUpRecentFile(8), nullptr);

    EXPECT_TRUE(SamePathIgnoringCase("C:\\Ärger\\Ωμέγα\\ДОМ.txt", "c:\\ärger\\ωμέγα\\дом.TXT"));
    EXPECT_TRUE(SamePathIgnoringCase("C:\\絵\\ＡＢ.txt", "C:\\絵\\ａｂ.txt"));
    EXPECT_FALSE(SamePathIgnoringCase("C:\\a.txt", "C:\\a.txt2"));
    EXPECT_FALSE(SamePathIgnoringCase("C:\\絵.txt", "C:\\画.txt"));
}
