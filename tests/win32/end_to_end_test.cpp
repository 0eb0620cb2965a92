// Vexa.exe as its own process: started on a file, painted with mouse input,
// saved through its accelerator, closed, and its files read back; and a start
// on a file that is not there, answered from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/win32/window_util.h"

namespace {

constexpr DWORD kWaitMs = 15000;  // generous: Wine may be slow to start a process

// Layout at the default zoom x2, in panel coordinates.
constexpr int kCanvasLeft = 8, kCanvasTop = 8, kCell = 16;
constexpr int kPaletteLeft = 658, kPaletteTop = 5, kPalettePitch = 18;
constexpr int kToolbarId = 100;

const wchar_t kWindowClass[] = L"Vexa Window";
const wchar_t kDialogClass[] = L"#32770";

// A visible top-level window of class `cls` belonging to process `pid`.
HWND FindProcessWindow(const wchar_t* cls, DWORD pid)
{
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, cls, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD limitMs = kWaitMs)
{
    for (const ULONGLONG end = GetTickCount64() + limitMs; !condition(); Sleep(10))
        if (GetTickCount64() >= end) return false;
    return true;
}

// The texts of a dialog's visible children of class `cls` that have any.
std::vector<std::wstring> ChildTexts(HWND dialog, const wchar_t* cls)
{
    std::vector<std::wstring> texts;
    for (HWND child = nullptr; (child = FindWindowExW(dialog, child, cls, nullptr)) != nullptr;)
        if (IsWindowVisible(child) && GetWindowTextLengthW(child) > 0) texts.push_back(TextOf(child));
    return texts;
}

// A screen file's 3000 numbers: cell words (display code, character-set bit
// 0x100, mark bit 0x200), then foregrounds, then backgrounds.
std::vector<long> SampleScreen()
{
    std::vector<long> s(3000);
    for (int i = 0; i < 1000; ++i) {
        s[i] = ((i * 13) & 0xFF) | (i % 3 == 0 ? 0x100 : 0) | (i % 5 == 0 ? 0x200 : 0);
        s[1000 + i] = (i / 3) % 8;
        s[2000 + i] = (i * 5) % 8;
    }
    return s;
}

// As the editor writes it: decimal numbers separated by single commas.
std::string Format(const std::vector<long>& numbers)
{
    std::string text;
    for (long v : numbers) text += std::to_string(v) + ',';
    text.pop_back();
    return text;
}

// The nine recent-file entries, the first naming `first`.
std::vector<std::wstring> RecentFiles(const std::wstring& first)
{
    std::vector<std::wstring> lines = {L"RecentFile1=" + first};
    for (int n = 2; n <= 9; ++n) lines.push_back(L"RecentFile" + std::to_wstring(n) + L"=");
    return lines;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        folder_ = (std::filesystem::temp_directory_path() /
                   (L"vexa run " + std::to_wstring(GetCurrentProcessId()) + L" " + std::to_wstring(GetTickCount64())))
                      .wstring();
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        // The program keeps its settings beside itself: a copy of its own
        // never shares them with the in-process tests.
        for (const wchar_t* name : {L"Vexa.exe", L"mz700fon.dat"})
            ASSERT_TRUE(CopyFileW((std::filesystem::path(self).parent_path() / name).c_str(), In(name).c_str(), FALSE));
        // Posted mouse input must not be mixed with reports of the real
        // pointer, so keep it away from where the window may appear.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }

    void TearDown() override
    {
        if (process_.hProcess) {
            if (!Exited()) TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kWaitMs);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::wstring In(const std::wstring& name) const { return folder_ + L"\\" + name; }

    void Launch(const std::wstring& argument)
    {
        const std::wstring program = In(L"Vexa.exe");
        std::wstring line = L"\"" + program + L"\" \"" + argument + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   folder_.c_str(), &startup, &process_))
            << "CreateProcessW failed: " << GetLastError();
    }

    HWND WaitForWindow(const wchar_t* cls)
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindProcessWindow(cls, process_.dwProcessId)) != nullptr || Exited(); });
        return found;
    }

    bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

    // The program ends in time, and successfully.
    void ExpectCleanExit()
    {
        ASSERT_EQ(WaitForSingleObject(process_.hProcess, kWaitMs), WAIT_OBJECT_0) << "Vexa.exe did not end";
        DWORD code = 99;
        GetExitCodeProcess(process_.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }

    // The "key=value" lines of a section of the settings file, in file order.
    std::vector<std::wstring> Section(const wchar_t* section) const
    {
        std::vector<wchar_t> block(32768);
        const DWORD n = GetPrivateProfileSectionW(section, block.data(), 32768, In(L"Vexa.ini").c_str());
        std::vector<std::wstring> lines;
        for (DWORD i = 0; i < n; i += static_cast<DWORD>(lines.back().size()) + 1) lines.push_back(&block[i]);
        return lines;
    }

    std::wstring folder_;
    PROCESS_INFORMATION process_ = {};
};

// Client coordinates of a panel point: the panel starts below the toolbar.
LPARAM ClientPoint(HWND main, int x, int y)
{
    RECT bar = {};
    GetWindowRect(GetDlgItem(main, kToolbarId), &bar);
    return MAKELPARAM(x, y + (bar.bottom - bar.top));
}
LPARAM CellPoint(HWND main, int column, int row)
{
    return ClientPoint(main, kCanvasLeft + kCell * column + kCell / 2, kCanvasTop + kCell * row + kCell / 2);
}

// Ctrl+S as keyboard input, so that it reaches the window through its
// message loop and accelerator table with the real key state.
bool PressCtrlS(HWND main)
{
    SetForegroundWindow(main);
    if (!WaitUntil([&] { return GetForegroundWindow() == main; }, 5000)) return false;
    INPUT keys[4] = {};
    for (int i = 0; i < 4; ++i) {
        const WORD key = i == 0 || i == 3 ? VK_CONTROL : 'S';
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki = {key, static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), i >= 2 ? KEYEVENTF_KEYUP : 0u, 0, 0};
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

}  // namespace

TEST_F(EndToEnd, PaintSaveWithCtrlSAndCloseWritesTheFileAndTheSettings)
{
    const std::wstring name = L"my picture 絵 1.txt";
    const std::wstring file = In(name);
    const std::vector<long> loaded = SampleScreen();
    ASSERT_TRUE(WriteWholeFile(file, Format(loaded)));
    Launch(file);
    HWND main = WaitForWindow(kWindowClass);
    ASSERT_NE(main, nullptr) << "no main window";
    // The title names the file once it has been read; the message loop runs
    // right after.
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; })) << ::testing::PrintToString(TextOf(main));
    ASSERT_NE(GetDlgItem(main, kToolbarId), nullptr);

    // Palette entry 'A' (row 9, column 1), then a stroke along row 4 from
    // column 3 to 7, one report per cell, and a click on the last cell.
    const LPARAM entry = ClientPoint(main, kPaletteLeft + kPalettePitch * 1 + 8, kPaletteTop + kPalettePitch * 9 + 8);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, entry);
    PostMessageW(main, WM_LBUTTONUP, 0, entry);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 3, 4));
    for (int column = 4; column <= 7; ++column) PostMessageW(main, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(main, column, 4));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 7, 4));
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 39, 24));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 39, 24));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; })) << "painting did not modify";

    // Posted messages are handled before keyboard input, so the save sees
    // the whole picture.
    ASSERT_TRUE(PressCtrlS(main)) << "could not bring the window to the foreground";
    // Closing without the save would wait on the discard prompt.
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; })) << "Ctrl+S did not save";
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectCleanExit();

    // Painted cells take 'A' in the first character set, white on blue; the
    // pen leaves the mark bit alone (cell 5,4 of the sample has it).
    std::vector<long> expected = loaded;
    for (int i : {4 * 40 + 3, 4 * 40 + 4, 4 * 40 + 5, 4 * 40 + 6, 4 * 40 + 7, 24 * 40 + 39}) {
        expected[i] = 1 | (loaded[i] & 0x200);
        expected[1000 + i] = 7;
        expected[2000 + i] = 1;
    }
    const std::string written = ReadWholeFile(file), want = Format(expected);
    const size_t at = std::mismatch(written.begin(), written.end(), want.begin(), want.end()).first - written.begin();
    EXPECT_TRUE(written == want) << "first difference at byte " << at << ": \"" << written.substr(at, 20)
                                 << "\", expected \"" << want.substr(std::min(at, want.size()), 20) << "\"";
    for (const auto& left : std::filesystem::directory_iterator(folder_))
        EXPECT_NE(left.path().extension().wstring(), L".tmp") << "a temporary file was left behind";

    // A fresh settings file: the eight view settings at their defaults, and
    // the saved file first in the recent list.
    EXPECT_EQ(Section(L"Config"), (std::vector<std::wstring>{L"ShowGrid=1", L"Zoom=1", L"ZoomRatio=1", L"MarkBit3=0",
                                                             L"MarkDispc0=0", L"MarkIsTransparent=0",
                                                             L"ShowStatusBar=0", L"GridType=1"}));
    EXPECT_EQ(Section(L"RecentFiles"), RecentFiles(file));
}

TEST_F(EndToEnd, MissingFileIsReportedAndTheEditorRunsUntitled)
{
    const std::wstring file = In(L"not there.txt");
    Launch(file);
    const HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(TextOf(box), L"Vexa: Error");
    EXPECT_EQ(ChildTexts(box, L"Static"), std::vector<std::wstring>{file + L" が開けません"});
    EXPECT_EQ(ChildTexts(box, L"Button").size(), 1u) << "one button, OK";
    ASSERT_NE(GetDlgItem(box, IDOK), nullptr);
    // The box belongs to the main window, which exists and waits.
    const HWND main = FindProcessWindow(kWindowClass, process_.dwProcessId);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main);

    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the message box stayed";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == L"無題 - Vexa"; })) << ::testing::PrintToString(TextOf(main));
    EXPECT_EQ(FindProcessWindow(kDialogClass, process_.dwProcessId), nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectCleanExit();
    EXPECT_EQ(ReadWholeFile(file), "<missing>");
    EXPECT_EQ(Section(L"RecentFiles"), RecentFiles(L""));
}

TEST_F(EndToEnd, MissingFontStopsWithItsMessageAndWritesNothing)
{
    ASSERT_TRUE(DeleteFileW(In(L"mz700fon.dat").c_str()));
    Launch(L"");
    const HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(TextOf(box), L"Error");
    EXPECT_EQ(ChildTexts(box, L"Static"), std::vector<std::wstring>{L"MZ700FON.DATが見つかりません"});
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(FindProcessWindow(kWindowClass, process_.dwProcessId), nullptr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    ExpectCleanExit();
    EXPECT_EQ(ReadWholeFile(In(L"Vexa.ini")), "<missing>");
}

// Recovery copies live in the local application data of the user running
// the program.
static std::wstring RecoveryFolder()
{
    PWSTR local = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) folder = local;
    CoTaskMemFree(local);
    return folder + L"\\Vexa\\Recovery";
}

static std::vector<std::wstring> RecoveryCopies()
{
    std::vector<std::wstring> copies;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(RecoveryFolder(), ignored))
        if (entry.path().extension() == L".vxr") copies.push_back(entry.path().wstring());
    return copies;
}

// A killed editor gives its picture back at the next start; a second editor
// running meanwhile leaves the first one's copy alone; No throws it away.
TEST_F(EndToEnd, AKilledEditorGivesItsPictureBackAtTheNextStart)
{
    for (const std::wstring& copy : RecoveryCopies()) DeleteFileW(copy.c_str());
    const std::wstring name = L"recovered.txt", file = In(name);
    const std::vector<long> loaded = SampleScreen();
    ASSERT_TRUE(WriteWholeFile(file, Format(loaded)));
    Launch(file);
    HWND main = WaitForWindow(kWindowClass);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; }));
    const LPARAM entry = ClientPoint(main, kPaletteLeft + kPalettePitch * 1 + 8, kPaletteTop + kPalettePitch * 9 + 8);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, entry);
    PostMessageW(main, WM_LBUTTONUP, 0, entry);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 2, 2));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 2, 2));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; }));
    ASSERT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == 1; })) << "no recovery copy";

    // A second editor starts while the first runs: nothing to offer.
    PROCESS_INFORMATION first = process_;
    process_ = {};
    ASSERT_TRUE(WriteWholeFile(In(L"other.txt"), Format(loaded)));
    Launch(In(L"other.txt"));
    ASSERT_NE(WaitForWindow(kWindowClass), nullptr);
    Sleep(500);
    EXPECT_EQ(FindProcessWindow(kDialogClass, process_.dwProcessId), nullptr) << "the running editor's copy was offered";
    TerminateProcess(process_.hProcess, 9);
    WaitForSingleObject(process_.hProcess, kWaitMs);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = first;

    ASSERT_TRUE(TerminateProcess(process_.hProcess, 9));
    WaitForSingleObject(process_.hProcess, kWaitMs);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
    EXPECT_EQ(RecoveryCopies().size(), 1u);

    // Started again: the question, Yes, and the picture back as a modified
    // document with its name; saved, it is the painted picture.
    Launch(file);
    HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "nothing offered";
    EXPECT_EQ(TextOf(box), L"Vexa");
    EXPECT_EQ(ChildTexts(box, L"Static"), std::vector<std::wstring>{L"前回終了時の編集内容が残っています。復元しますか？"});
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
    main = WaitForWindow(kWindowClass);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; })) << ::testing::PrintToString(TextOf(main));
    ASSERT_TRUE(PressCtrlS(main));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; })) << "Ctrl+S did not save";
    std::vector<long> expected = loaded;
    const int painted = 2 * 40 + 2;
    expected[painted] = 1 | (loaded[painted] & 0x200);
    expected[1000 + painted] = 7;
    expected[2000 + painted] = 1;
    EXPECT_EQ(ReadWholeFile(file), Format(expected));
    EXPECT_TRUE(WaitUntil([&] { return RecoveryCopies().empty(); })) << "the saved picture kept its copy";

    // Painted and killed again; this time No: the copy goes, the file stays.
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 3, 3));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 3, 3));
    ASSERT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == 1; }));
    TerminateProcess(process_.hProcess, 9);
    WaitForSingleObject(process_.hProcess, kWaitMs);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
    Launch(file);
    box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    main = WaitForWindow(kWindowClass);
    EXPECT_EQ(TextOf(main), name + L" - Vexa");
    EXPECT_TRUE(WaitUntil([&] { return RecoveryCopies().empty(); }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    ExpectCleanExit();
    EXPECT_EQ(ReadWholeFile(file), Format(expected));
}

// The release zip, unpacked into a fresh folder (by the test run that
// names it), starts on a fresh Wine prefix with an example open, and ends
// cleanly.
TEST(Release, TheUnpackedProgramStartsOnAnExample)
{
    const char* unpacked = std::getenv("VEXA_RELEASE_DIR");
    ASSERT_NE(unpacked, nullptr) << "run by the release test, which names the unpacked folder";
    std::wstring folder = L"Z:" + std::filesystem::path(unpacked).wstring();
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    const std::wstring program = folder + L"\\Vexa.exe", example = folder + L"\\examples\\title.txt";
    for (const std::wstring& file : {program, folder + L"\\mz700fon.dat", folder + L"\\README.txt", example})
        ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "missing from the zip";
    std::wstring line = L"\"" + program + L"\" \"" + example + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                               &startup, &process));
    HWND main = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (main = FindProcessWindow(kWindowClass, process.dwProcessId)) != nullptr; }));
    EXPECT_TRUE(main && WaitUntil([&] { return TextOf(main) == L"title.txt - Vexa"; })) << "no example open";
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, kWaitMs), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}
