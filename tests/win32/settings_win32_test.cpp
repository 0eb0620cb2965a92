// "Vexa.ini" through the real private-profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

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

// The eight settings in the file's order.
std::vector<int> Values()
{
    std::vector<int> v;
    for (const SettingEntry* e = kSettingsTable; e->key; ++e) v.push_back(*e->value);
    return v;
}
// Their defaults (the end-to-end run checks what they are).
std::vector<int> Defaults()
{
    ResetSettings();
    return Values();
}

// The recent-file list up to its first gap.
std::vector<std::string> Listed()
{
    std::vector<std::string> out;
    for (int p = 0; p < kRecentFiles && LookUpRecentFile(p); ++p) out.push_back(LookUpRecentFile(p));
    return out;
}

}  // namespace

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSaveThenLoadRoundTrips)
{
    const std::vector<int> defaults = Defaults();
    ShowGrid = 0;
    Zoom = 5;
    AddRecentFile("C:\\stale.txt");
    LoadSettings();
    EXPECT_EQ(std::wstring(SettingsPath()), Ini());
    EXPECT_EQ(Values(), defaults);
    EXPECT_EQ(LookUpRecentFile(0), nullptr);

    // Every setting off its default; names from several scripts must come
    // back unchanged under any locale.
    for (const SettingEntry* e = kSettingsTable; e->key; ++e) *e->value = e->defaultValue ? 0 : 1;
    Zoom = ZoomRatio = 3;
    const std::vector<int> changed = Values();
    const char* names[] = {"C:\\art\\title.txt", "C:\\絵\\タイトル画面.txt", "C:\\Ärger\\Ωμέγα.txt",
                           "Z:\\tmp\\😀 smile.txt"};
    for (const char* n : names) AddRecentFile(n);
    AddRecentFile("C:\\ART\\TITLE.TXT");  // back to the top
    SaveSettings();
    ResetSettings();
    ClearRecentFiles();
    LoadSettings();
    EXPECT_EQ(Values(), changed);
    EXPECT_EQ(Listed(), (std::vector<std::string>{names[0], names[3], names[2], names[1]}));
    EXPECT_EQ(Read(L"RecentFiles", L"RecentFile2"), Widen(names[3]));
}

TEST_F(SettingsFile, LoadFixesBadValuesAndSaveReplacesOnlyItsOwnSections)
{
    std::vector<int> want = Defaults();
    want[1] = 2;  // Zoom
    want[6] = 1;  // ShowStatusBar
    WriteIni("[Before]\r\nkeep=1\r\ntitle=タイトル\r\n"
             "[Config]\r\nZoom=2\r\nZoomRatio=-3\r\nShowGrid=7\r\nShowStatusBar=1\r\nMarkBit3=x\r\nUserKey=5\r\n"
             "[RecentFiles]\r\nRecentFile1=C:\\a.txt\r\nRecentFile5=C:\\" + std::string(3000, 'e') +
             "\r\nRecentFile7=C:\\g.txt\r\nNote=x\r\n"
             "[After]\r\nalso=kept\r\n");
    LoadSettings();
    EXPECT_EQ(Values(), want);  // values out of range, or no numbers, fall back to their defaults
    EXPECT_STREQ(LookUpRecentFile(0), "C:\\a.txt");
    EXPECT_EQ(LookUpRecentFile(4), nullptr);  // a path too long for a slot is dropped, not cut
    EXPECT_STREQ(LookUpRecentFile(6), "C:\\g.txt");
    AddRecentFile("C:\\絵\\画面.txt");  // the file was not Unicode before
    AddRecentFile("C:\\a.txt");
    SaveSettings();
    ClearRecentFiles();
    LoadSettings();
    EXPECT_STREQ(LookUpRecentFile(1), "C:\\絵\\画面.txt");
    // The unmarked UTF-8 text of other sections survives the rewrite.
    EXPECT_EQ(Read(L"Before", L"title"), L"タイトル");
    EXPECT_EQ(Read(L"Before", L"keep"), L"1");
    EXPECT_EQ(Read(L"After", L"also"), L"kept");
    EXPECT_EQ(Read(L"Config", L"UserKey"), L"<none>");
    EXPECT_EQ(Read(L"RecentFiles", L"Note"), L"<none>");
    EXPECT_EQ(Read(L"Config", L"GridType"), L"1");
    // Positions are written as they stand, gaps included.
    for (const auto& [key, value] : {std::pair{L"RecentFile1", L"C:\\a.txt"}, {L"RecentFile3", L""},
                                     {L"RecentFile8", L"C:\\g.txt"}, {L"RecentFile9", L""}})
        EXPECT_EQ(Read(L"RecentFiles", key), value) << ::testing::PrintToString(key);
}

TEST_F(SettingsFile, RecentListComparesNamesAsTheFileSystemDoes)
{
    LoadSettings();
    EXPECT_TRUE(AddRecentFile("C:\\Łódź\\Ÿes.txt"));
    EXPECT_TRUE(AddRecentFile("C:\\other.txt"));
    EXPECT_TRUE(AddRecentFile("c:\\łÓDŹ\\ÿES.TXT"));  // the same file: moved up, not added
    EXPECT_EQ(Listed(), (std::vector<std::string>{"C:\\Łódź\\Ÿes.txt", "C:\\other.txt"}));
    EXPECT_TRUE(ForgetRecentFile("C:\\ŁÓDŹ\\ŸES.TXT"));
    EXPECT_EQ(Listed(), std::vector<std::string>{"C:\\other.txt"});
}
