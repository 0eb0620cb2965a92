// The settings table and the recent-file list.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace

TEST(Settings, DefaultsOrderAndSanitizing)
{
    ResetSettings();
    EXPECT_EQ(ShowGrid, 1);
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(GridType, 1);
    EXPECT_EQ(ShowStatusBar, 0);
    EXPECT_EQ(MarkBit3 + MarkDispc0 + MarkIsTransparent, 0);
    const char* expected[] = {"ShowGrid", "Zoom", "ZoomRatio", "MarkBit3", "MarkDispc0",
                              "MarkIsTransparent", "ShowStatusBar", "GridType"};
    int n = 0;
    for (const SettingEntry* e = kSettingsTable; e->key; ++e, ++n) EXPECT_STREQ(e->key, expected[n]);
    EXPECT_EQ(n, 8);

    Zoom = 42;
    ZoomRatio = 0;
    ShowGrid = 7;
    GridType = -1;
    MarkBit3 = 1;
    SanitizeSettings();
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(ZoomRatio, 1);
    EXPECT_EQ(ShowGrid, 1);
    EXPECT_EQ(GridType, 1);
    EXPECT_EQ(MarkBit3, 1);  // in range: kept
    Zoom = -3;
    ShowStatusBar = 1;
    SanitizeSettings();
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(ShowStatusBar, 1);
    Zoom = 7;
    ZoomRatio = 8;
    SanitizeSettings();
    EXPECT_EQ(Zoom, 7);
    EXPECT_EQ(ZoomRatio, 1);
    ZoomRatio = 7;
    SanitizeSettings();
    EXPECT_EQ(ZoomRatio, 7);
}

TEST(RecentFiles, AddMovesToTopWithoutDuplicatesAndDropsTheLeastRecent)
{
    ClearRecentFiles();
    EXPECT_EQ(LookUpRecentFile(0), nullptr);
    EXPECT_EQ(LookUpRecentFile(-1), nullptr);
    EXPECT_EQ(LookUpRecentFile(9), nullptr);
    EXPECT_FALSE(AddRecentFile(""));
    EXPECT_FALSE(AddRecentFile(nullptr));

    for (int n = 1; n <= 9; ++n) EXPECT_TRUE(AddRecentFile(Name(n).c_str()));
    EXPECT_EQ(Listed().front(), Name(9));
    EXPECT_EQ(Listed().back(), Name(1));

    // Known path, other letter case: moved up, original spelling kept.
    EXPECT_TRUE(AddRecentFile("c:\\SCREENS\\S3.TXT"));
    std::vector<std::string> l = Listed();
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[0], Name(3));
    EXPECT_EQ(l[1], Name(9));
    EXPECT_EQ(l[8], Name(1));

    EXPECT_TRUE(AddRecentFile(Name(10).c_str()));  // the tenth drops s1
    l = Listed();
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[0], Name(10));
    EXPECT_EQ(l[8], Name(2));
    for (const std::string& s : l) EXPECT_NE(s, Name(1));

    EXPECT_TRUE(ForgetRecentFile("C:\\Screens\\S9.txt"));
    EXPECT_FALSE(ForgetRecentFile(Name(9).c_str()));
    l = Listed();
    ASSERT_EQ(l.size(), 8u);
    EXPECT_EQ(l[0], Name(10));
    EXPECT_EQ(l[1], Name(3));
    EXPECT_EQ(LookUpRecentFile(8), nullptr);
    EXPECT_TRUE(AddRecentFile(Name(11).c_str()));  // reuses the freed slot
    EXPECT_EQ(Listed().size(), 9u);
    EXPECT_FALSE(AddRecentFile(std::string(kPathBytes, 'x').c_str()));
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
