// "Vexa.ini" through the real private-profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/recent_files.h"
#include "app/settings.h"
#include "shell/settings_win32.h"
#include "shell/base/text_win32.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"vexa-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        GetCurrentDirectoryW(MAX_PATH, previous_);
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
        ResetSettings();
        ClearRecentFiles();
    }
    void TearDown() override
    {
        SetCurrentDirectoryW(previous_);
        DeleteFileW(Ini().c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring Ini() const { return folder_ + L"\\Vexa.ini"; }
    void WriteIni(const std::string& bytes) const
    {
        HANDLE f = CreateFileW(Ini().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    }
    std::wstring Read(const wchar_t* section, const wchar_t* key) const
    {
        wchar_t value[1024];
        GetPrivateProfileStringW(section, key, L"<none>", value, 1024, Ini().c_str());
        return value;
    }

    std::wstring folder_;
    wchar_t previous_[MAX_PATH];
};

}  // namespace

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSaveCreatesIt)
{
    ShowGrid = 0;
    Zoom = 5;
    AddRecentFile("C:\\stale.txt");
    LoadSettings();
    EXPECT_EQ(std::wstring(SettingsPath()), Ini());
    EXPECT_EQ(ShowGrid, 1);
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(ZoomRatio, 1);
    EXPECT_EQ(GridType, 1);
    EXPECT_EQ(ShowStatusBar, 0);
    EXPECT_EQ(MarkBit3 + MarkDispc0 + MarkIsTransparent, 0);
    EXPECT_EQ(LookUpRecentFile(0), nullptr);

    SaveSettings();
    EXPECT_NE(GetFileAttributesW(Ini().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(L"Config", L"Zoom"), L"1");
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile1"), L"");
}

TEST_F(SettingsFile, SaveThenLoadRoundTripsSettingsAndListOrder)
{
    LoadSettings();
    ShowGrid = 0;
    Zoom = 3;
    ZoomRatio = 3;
    MarkBit3 = 1;
    MarkDispc0 = 1;
    MarkIsTransparent = 1;
    ShowStatusBar = 1;
    GridType = 0;
    // Names from several scripts must come back unchanged under any locale.
    const char* names[] = {"C:\\art\\title.txt", "C:\\絵\\タイトル画面.txt", "C:\\Ärger\\Ωμέγα.txt",
                           "Z:\\tmp\\😀 smile.txt"};
    for (const char* n : names) AddRecentFile(n);
    AddRecentFile("C:\\ART\\TITLE.TXT");  // back to the top
    SaveSettings();

    ResetSettings();
    ClearRecentFiles();
    LoadSettings();
    EXPECT_EQ(ShowGrid, 0);
    EXPECT_EQ(Zoom, 3);
    EXPECT_EQ(ZoomRatio, 3);
    EXPECT_EQ(MarkBit3, 1);
    EXPECT_EQ(MarkDispc0, 1);
    EXPECT_EQ(MarkIsTransparent, 1);
    EXPECT_EQ(ShowStatusBar, 1);
    EXPECT_EQ(GridType, 0);
    ASSERT_NE(LookUpRecentFile(3), nullptr);
    EXPECT_STREQ(LookUpRecentFile(0), names[0]);
    EXPECT_STREQ(LookUpRecentFile(1), names[3]);
    EXPECT_STREQ(LookUpRecentFile(2), names[2]);
    EXPECT_STREQ(LookUpRecentFile(3), names[1]);
    EXPECT_EQ(LookUpRecentFile(4), nullptr);
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile2"), Widen(names[3]));
}

TEST_F(SettingsFile, SaveReplacesOnlyItsOwnSections)
{
    WriteIni("[Before]\r\nkeep=1\r\n"
             "[Config]\r\nZoom=2\r\nUserKey=5\r\n"
             "[RecentFiles]\r\nRecentFile1=C:\\a.txt\r\nRecentFile7=C:\\g.txt\r\nNote=x\r\n"
             "[After]\r\nalso=kept\r\n");
    LoadSettings();
    EXPECT_EQ(Zoom, 2);
    EXPECT_STREQ(LookUpRecentFile(0), "C:\\a.txt");
    EXPECT_STREQ(LookUpRecentFile(6), "C:\\g.txt");
    AddRecentFile("C:\\絵\\画面.txt");  // the file was not Unicode before
    AddRecentFile("C:\\a.txt");
    SaveSettings();
    ClearRecentFiles();
    LoadSettings();
    EXPECT_STREQ(LookUpRecentFile(1), "C:\\絵\\画面.txt");
    EXPECT_EQ(Read(L"Before", L"keep"), L"1");
    EXPECT_EQ(Read(L"After", L"also"), L"kept");
    EXPECT_EQ(Read(L"Config", L"UserKey"), L"<none>");
    EXPECT_EQ(Read(L"RecentFiles", L"Note"), L"<none>");
    EXPECT_EQ(Read(L"Config", L"GridType"), L"1");
    // Positions are written as they stand, gaps included.
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile1"), L"C:\\a.txt");
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile3"), L"");
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile8"), L"C:\\g.txt");
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile9"), L"");
}

TEST_F(SettingsFile, OutOfRangeValuesFallBackToDefaults)
{
    WriteIni("[Config]\r\nZoom=42\r\nZoomRatio=-3\r\nShowGrid=7\r\nGridType=0\r\nShowStatusBar=1\r\n"
             "MarkBit3=x\r\n");
    LoadSettings();
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(ZoomRatio, 1);
    EXPECT_EQ(ShowGrid, 1);
    EXPECT_EQ(GridType, 0);
    EXPECT_EQ(ShowStatusBar, 1);
    EXPECT_EQ(MarkBit3, 0);
    WriteIni("[Config]\r\nZoom=-3\r\n");
    LoadSettings();
    EXPECT_EQ(Zoom, 1);
}

TEST_F(SettingsFile, RecentListComparesNamesAsTheFileSystemDoes)
{
    LoadSettings();
    EXPECT_TRUE(AddRecentFile("C:\\Łódź\\Ÿes.txt"));
    EXPECT_TRUE(AddRecentFile("C:\\other.txt"));
    EXPECT_TRUE(AddRecentFile("c:\\łÓDŹ\\ÿES.TXT"));  // the same file: moved up, not added
    EXPECT_STREQ(LookUpRecentFile(0), "C:\\Łódź\\Ÿes.txt");
    EXPECT_STREQ(LookUpRecentFile(1), "C:\\other.txt");
    EXPECT_EQ(LookUpRecentFile(2), nullptr);
    EXPECT_TRUE(ForgetRecentFile("C:\\ŁÓDŹ\\ŸES.TXT"));
    EXPECT_EQ(LookUpRecentFile(1), nullptr);
}

TEST_F(SettingsFile, UnmarkedUtf8FileKeepsItsText)
{
    WriteIni("[Notes]\r\ntitle=タイトル\r\n[Config]\r\nZoom=3\r\n");
    LoadSettings();
    EXPECT_EQ(Zoom, 3);
    SaveSettings();
    EXPECT_EQ(Read(L"Notes", L"title"), L"タイトル");
    EXPECT_EQ(Read(L"Config", L"Zoom"), L"3");
}
