// Vexa.exe as its own process: started on a file, painted with mouse input,
// saved through its accelerator, closed, and its files read back; starts on
// a file or a font that is not there, answered from outside; a killed editor
// and the recovery of its picture; the release zip's program.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
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

// The texts of a dialog's visible children of class `cls` that have any.
std::vector<std::wstring> ChildTexts(HWND dialog, const wchar_t* cls)
{
    std::vector<std::wstring> texts;
    for (HWND child = nullptr; (child = FindWindowExW(dialog, child, cls, nullptr)) != nullptr;)
        if (IsWindowVisible(child) && GetWindowTextLengthW(child) > 0) texts.push_back(TextOf(child));
    return texts;
}

// Presses a message box's button as the dialog hears it.
void Answer(HWND box, int button)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

// A screen file as the editor writes it, decimal numbers separated by single
// commas: 1000 cell words (display code, character-set bit 0x100, mark bit
// 0x200), then foregrounds, then backgrounds. The cells at (column, row) in
// `painted` hold 'A' in the first set, white on blue; the pen leaves the mark.
std::string SampleScreen(std::initializer_list<std::pair<int, int>> painted = {})
{
    std::vector<long> s(3000);
    for (int i = 0; i < 1000; ++i) {
        s[i] = ((i * 13) & 0xFF) | (i % 3 == 0 ? 0x100 : 0) | (i % 5 == 0 ? 0x200 : 0);
        s[1000 + i] = (i / 3) % 8;
        s[2000 + i] = (i * 5) % 8;
    }
    for (const auto& [column, row] : painted) {
        const int i = row * 40 + column;
        s[i] = 1 | (s[i] & 0x200);
        s[1000 + i] = 7;
        s[2000 + i] = 1;
    }
    std::string text;
    for (long v : s) text += std::to_string(v) + ',';
    text.pop_back();
    return text;
}

// Recovery copies live in the local application data of the user running
// the program.
std::vector<std::wstring> RecoveryCopies()
{
    PWSTR local = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) folder = local;
    CoTaskMemFree(local);
    std::vector<std::wstring> copies;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder + L"\\Vexa\\Recovery", ignored))
        if (entry.path().extension() == L".vxr") copies.push_back(entry.path().wstring());
    return copies;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring run = L"vexa run " + std::to_wstring(GetCurrentProcessId()) + L" " + std::to_wstring(GetTickCount64());
        folder_ = (std::filesystem::temp_directory_path() / run).wstring();
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
        if (process_.hProcess) Kill();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::wstring In(const std::wstring& name) const { return folder_ + L"\\" + name; }

    // Starts `program` (this test's copy of Vexa.exe by default) on `argument`
    // in the program's folder.
    void Launch(const std::wstring& argument, std::wstring program = L"")
    {
        if (program.empty()) program = In(L"Vexa.exe");
        const std::wstring folder = program.substr(0, program.rfind(L'\\'));
        std::wstring line = L"\"" + program + L"\" \"" + argument + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                   &startup, &process_))
            << "CreateProcessW failed: " << GetLastError();
    }

    // Ends the process as a crash would, and forgets it.
    void Kill()
    {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, kWaitMs);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }

    HWND WaitForWindow(const wchar_t* cls)
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindProcessWindow(cls, process_.dwProcessId)) != nullptr || Exited(); });
        return found;
    }

    // The main window once its title reads `title`.
    HWND WaitForMain(const std::wstring& title)
    {
        const HWND main = WaitForWindow(kWindowClass);
        EXPECT_TRUE(main && WaitUntil([&] { return TextOf(main) == title; }))
            << ::testing::PrintToString(main ? TextOf(main) : L"no main window");
        return main && TextOf(main) == title ? main : nullptr;
    }

    bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

    // The program ends in time, and successfully (closed first when `main`
    // is given).
    void ExpectCleanExit(HWND main = nullptr)
    {
        if (main) PostMessageW(main, WM_CLOSE, 0, 0);
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
void Click(HWND main, LPARAM at)
{
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(main, WM_LBUTTONUP, 0, at);
}
// Picks palette entry 'A' (row 9, column 1) and clicks a cell with it.
void PaintA(HWND main, int column, int row)
{
    Click(main, ClientPoint(main, kPaletteLeft + kPalettePitch * 1 + 8, kPaletteTop + kPalettePitch * 9 + 8));
    Click(main, CellPoint(main, column, row));
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
    ASSERT_TRUE(WriteWholeFile(file, SampleScreen()));
    Launch(file);
    // The title names the file once it has been read; the message loop runs
    // right after.
    HWND main = WaitForMain(name + L" - Vexa");
    ASSERT_NE(main, nullptr);

    // 'A' picked from the palette, then a stroke along row 4 from column 3
    // to 7, one report per cell, and a click on the last cell.
    PaintA(main, 3, 4);
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 3, 4));
    for (int column = 4; column <= 7; ++column) PostMessageW(main, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(main, column, 4));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 7, 4));
    Click(main, CellPoint(main, 39, 24));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; })) << "painting did not modify";

    // Posted messages are handled before keyboard input, so the save sees
    // the whole picture.
    ASSERT_TRUE(PressCtrlS(main)) << "could not bring the window to the foreground";
    // Closing without the save would wait on the discard prompt.
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; })) << "Ctrl+S did not save";
    ExpectCleanExit(main);

    const std::string written = ReadWholeFile(file);
    const std::string want = SampleScreen({{3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {39, 24}});
    const size_t at = std::mismatch(written.begin(), written.end(), want.begin(), want.end()).first - written.begin();
    EXPECT_TRUE(written == want) << "first difference at byte " << at << ": " << written.substr(at, 20);
    for (const auto& left : std::filesystem::directory_iterator(folder_))
        EXPECT_NE(left.path().extension().wstring(), L".tmp") << "a temporary file was left behind";

    // A fresh settings file: the eight view settings at their defaults, then
    // the language, and the saved file first in the recent list.
    EXPECT_EQ(Section(L"Config"), (std::vector<std::wstring>{L"ShowGrid=1", L"Zoom=1", L"ZoomRatio=1", L"MarkBit3=0",
                                                             L"MarkDispc0=0", L"MarkIsTransparent=0",
                                                             L"ShowStatusBar=0", L"GridType=1", L"Language=0"}));
    EXPECT_EQ(Section(L"RecentFiles").at(0), L"RecentFile1=" + file);
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
    // The box belongs to the main window, which exists and waits.
    const HWND main = FindProcessWindow(kWindowClass, process_.dwProcessId);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main);

    Answer(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the message box stayed";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == L"無題 - Vexa"; })) << ::testing::PrintToString(TextOf(main));
    EXPECT_EQ(FindProcessWindow(kDialogClass, process_.dwProcessId), nullptr);
    ExpectCleanExit(main);
    EXPECT_EQ(ReadWholeFile(file), "<missing>");
    EXPECT_EQ(Section(L"RecentFiles").at(0), L"RecentFile1=");
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
    Answer(box, IDOK);
    ExpectCleanExit();
    EXPECT_EQ(ReadWholeFile(In(L"Vexa.ini")), "<missing>");
}

// A killed editor gives its picture back at the next start; a second editor
// running meanwhile leaves the first one's copy alone; No throws it away.
TEST_F(EndToEnd, AKilledEditorGivesItsPictureBackAtTheNextStart)
{
    for (const std::wstring& copy : RecoveryCopies()) DeleteFileW(copy.c_str());
    const std::wstring name = L"recovered.txt", file = In(name);
    ASSERT_TRUE(WriteWholeFile(file, SampleScreen()));
    Launch(file);
    HWND main = WaitForMain(name + L" - Vexa");
    ASSERT_NE(main, nullptr);
    PaintA(main, 2, 2);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; }));
    ASSERT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == 1; })) << "no recovery copy";

    // A second editor starts while the first runs: nothing to offer.
    const PROCESS_INFORMATION first = process_;
    ASSERT_TRUE(WriteWholeFile(In(L"other.txt"), SampleScreen()));
    Launch(In(L"other.txt"));
    ASSERT_NE(WaitForWindow(kWindowClass), nullptr);
    Sleep(500);
    EXPECT_EQ(FindProcessWindow(kDialogClass, process_.dwProcessId), nullptr) << "the running editor's copy was offered";
    Kill();
    process_ = first;
    Kill();
    EXPECT_EQ(RecoveryCopies().size(), 1u);

    // Started again: the question, Yes, and the picture back as a modified
    // document with its name; saved, it is the painted picture.
    Launch(file);
    HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "nothing offered";
    EXPECT_EQ(TextOf(box), L"Vexa");
    EXPECT_EQ(ChildTexts(box, L"Static"), std::vector<std::wstring>{L"前回終了時の編集内容が残っています。復元しますか？"});
    Answer(box, IDYES);
    main = WaitForMain(name + L" * Vexa");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(PressCtrlS(main));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; })) << "Ctrl+S did not save";
    const std::string saved = SampleScreen({{2, 2}});
    EXPECT_EQ(ReadWholeFile(file), saved);
    EXPECT_TRUE(WaitUntil([&] { return RecoveryCopies().empty(); })) << "the saved picture kept its copy";

    // Painted and killed again; this time No: the copy goes, the file stays.
    Click(main, CellPoint(main, 3, 3));
    ASSERT_TRUE(WaitUntil([&] { return RecoveryCopies().size() == 1; }));
    Kill();
    Launch(file);
    box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr);
    Answer(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    main = WaitForMain(name + L" - Vexa");
    EXPECT_TRUE(WaitUntil([&] { return RecoveryCopies().empty(); }));
    ExpectCleanExit(main);
    EXPECT_EQ(ReadWholeFile(file), saved);
}

// The release zip, unpacked into a fresh folder (by the test run that
// names it), starts on a fresh Wine prefix with an example open, and ends
// cleanly.
using Release = EndToEnd;
TEST_F(Release, TheUnpackedProgramStartsOnAnExample)
{
    const char* unpacked = std::getenv("VEXA_RELEASE_DIR");
    ASSERT_NE(unpacked, nullptr) << "run by the release test, which names the unpacked folder";
    std::wstring folder = L"Z:" + std::filesystem::path(unpacked).wstring();
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    const std::wstring program = folder + L"\\Vexa.exe", example = folder + L"\\examples\\title.txt";
    for (const std::wstring& file : {program, folder + L"\\mz700fon.dat", folder + L"\\README.txt", example})
        ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "missing from the zip";
    // As the README has it: relative to the program's folder, with forward
    // slashes, which a POSIX shell leaves alone.
    Launch(L"examples/title.txt", program);
    const HWND main = WaitForMain(L"title.txt - Vexa");
    ASSERT_NE(main, nullptr) << "no example open";
    ExpectCleanExit(main);
}
