// Vexa.exe as its own process: started on a file, painted with mouse input,
// saved through its accelerator, closed, and its files read back; and a start
// on a file that is not there, answered from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/window_util.h"

namespace {

constexpr DWORD kWaitMs = 15000;  // generous: Wine may be slow to start a process
constexpr DWORD kPollMs = 10;

// Layout at the default zoom x2, in panel coordinates.
constexpr int kCanvasLeft = 8;
constexpr int kCanvasTop = 8;
constexpr int kCell = 16;
constexpr int kPaletteLeft = 658;
constexpr int kPaletteTop = 5;
constexpr int kPalettePitch = 18;
constexpr int kToolbarId = 100;

const wchar_t kWindowClass[] = L"Vexa Window";
const wchar_t kDialogClass[] = L"#32770";

// A visible top-level window of class `cls` belonging to process `pid`.
HWND FindProcessWindow(const wchar_t* cls, DWORD pid)
{
    struct Search {
        const wchar_t* cls;
        DWORD pid;
        HWND found;
    } search = {cls, pid, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.pid || !IsWindowVisible(window) || ClassOf(window) != s.cls) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD limitMs = kWaitMs)
{
    const ULONGLONG end = GetTickCount64() + limitMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(kPollMs);
    }
}

std::vector<std::wstring> StaticTexts(HWND dialog)
{
    std::vector<std::wstring> texts;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM context) -> BOOL {
            if (ClassOf(child) == L"Static" && GetWindowTextLengthW(child) > 0)
                reinterpret_cast<std::vector<std::wstring>*>(context)->push_back(TextOf(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The three runs of a screen file: cell words (display code, character-set
// bit 0x100, mark bit 0x200), foregrounds, backgrounds.
struct ScreenNumbers {
    std::vector<long> word, fg, bg;
};

ScreenNumbers SampleScreen()
{
    ScreenNumbers s;
    for (int i = 0; i < 1000; ++i) {
        s.word.push_back(((i * 13) & 0xFF) | (i % 3 == 0 ? 0x100 : 0) | (i % 5 == 0 ? 0x200 : 0));
        s.fg.push_back((i / 3) % 8);
        s.bg.push_back((i * 5) % 8);
    }
    return s;
}

std::string Format(const ScreenNumbers& s)
{
    std::string text;
    for (const std::vector<long>* run : {&s.word, &s.fg, &s.bg})
        for (long v : *run) text += std::to_string(v) + ',';
    text.pop_back();
    return text;
}

// Strict reading: exactly 3000 decimal numbers separated by single commas.
bool Parse(const std::string& text, ScreenNumbers& s, std::string& problem)
{
    std::vector<long> all;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
            problem = "no number at byte " + std::to_string(i);
            return false;
        }
        long v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') v = v * 10 + (text[i++] - '0');
        all.push_back(v);
        if (i < text.size() && text[i++] != ',') {
            problem = "no comma at byte " + std::to_string(i - 1);
            return false;
        }
        if (i == text.size() && text.back() == ',') {
            problem = "trailing comma";
            return false;
        }
    }
    if (all.size() != 3000) {
        problem = std::to_string(all.size()) + " numbers";
        return false;
    }
    s.word.assign(all.begin(), all.begin() + 1000);
    s.fg.assign(all.begin() + 1000, all.begin() + 2000);
    s.bg.assign(all.begin() + 2000, all.end());
    return true;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        PathRemoveFileSpecW(self);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"vexa run " + std::to_wstring(GetCurrentProcessId()) + L" " +
                  std::to_wstring(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        // The program keeps its settings beside itself: a copy of its own
        // never shares them with the in-process tests.
        for (const wchar_t* name : {L"Vexa.exe", L"mz700fon.dat"})
            ASSERT_TRUE(CopyFileW((std::wstring(self) + L"\\" + name).c_str(), In(name).c_str(), FALSE))
                << ::testing::PrintToString(std::wstring(name));
        // Posted mouse input must not be mixed with reports of the real
        // pointer, so keep it away from where the window may appear.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }

    void TearDown() override
    {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
                WaitForSingleObject(process_.hProcess, kWaitMs);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
            process_ = {};
        }
        SHFILEOPSTRUCTW op = {};
        const std::wstring from = folder_ + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
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

    // Closes the window as the user would; a program that does not end in
    // time is killed and reported.
    void CloseAndWait(HWND main)
    {
        PostMessageW(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kWaitMs);
            FAIL() << "Vexa.exe did not end after WM_CLOSE";
        }
        DWORD code = 99;
        GetExitCodeProcess(process_.hProcess, &code);
        EXPECT_EQ(code, 0u);
    }

    std::wstring Setting(const wchar_t* section, const wchar_t* key) const
    {
        wchar_t value[1024] = {};
        GetPrivateProfileStringW(section, key, L"<none>", value, 1024, In(L"Vexa.ini").c_str());
        return value;
    }

    // The "key=value" lines of a section, in file order.
    std::vector<std::wstring> Section(const wchar_t* section) const
    {
        std::vector<wchar_t> block(32768);
        const DWORD n = GetPrivateProfileSectionW(section, block.data(), static_cast<DWORD>(block.size()),
                                                  In(L"Vexa.ini").c_str());
        std::vector<std::wstring> lines;
        for (DWORD i = 0; i < n;) {
            const std::wstring line = block.data() + i;
            lines.push_back(line);
            i += static_cast<DWORD>(line.size()) + 1;
        }
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
    const WORD codes[4] = {VK_CONTROL, 'S', 'S', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(codes[i], MAPVK_VK_TO_VSC));
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

}  // namespace

TEST_F(EndToEnd, PaintSaveWithCtrlSAndCloseWritesTheFileAndTheSettings)
{
    const std::wstring name = L"my picture 絵 1.txt";
    const std::wstring file = In(name);
    const ScreenNumbers loaded = SampleScreen();
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
    const int entryX = kPaletteLeft + kPalettePitch * 1 + 8, entryY = kPaletteTop + kPalettePitch * 9 + 8;
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(main, entryX, entryY));
    PostMessageW(main, WM_LBUTTONUP, 0, ClientPoint(main, entryX, entryY));
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 3, 4));
    for (int column = 4; column <= 7; ++column)
        PostMessageW(main, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(main, column, 4));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 7, 4));
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(main, 39, 24));
    PostMessageW(main, WM_LBUTTONUP, 0, CellPoint(main, 39, 24));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(main) == name + L" * Vexa"; })) << "painting did not modify";

    // Posted messages are handled before keyboard input, so the save sees
    // the whole picture.
    ASSERT_TRUE(PressCtrlS(main)) << "could not bring the window to the foreground";
    const bool saved = WaitUntil([&] { return TextOf(main) == name + L" - Vexa"; });
    EXPECT_TRUE(saved) << "Ctrl+S did not save";
    if (!saved) return;  // closing now would wait on the discard prompt
    CloseAndWait(main);
    ASSERT_TRUE(Exited());

    // Painted cells take 'A' in the first character set, white on blue; the
    // pen leaves the mark bit alone (cell 5,4 of the sample has it).
    ScreenNumbers expected = loaded;
    for (int i : {4 * 40 + 3, 4 * 40 + 4, 4 * 40 + 5, 4 * 40 + 6, 4 * 40 + 7, 24 * 40 + 39}) {
        expected.word[i] = 1 | (loaded.word[i] & 0x200);
        expected.fg[i] = 7;
        expected.bg[i] = 1;
    }
    ScreenNumbers written;
    std::string problem;
    ASSERT_TRUE(Parse(ReadWholeFile(file), written, problem)) << problem;
    int differences = 0;
    for (int i = 0; i < 1000 && differences < 10; ++i) {
        const bool same = written.word[i] == expected.word[i] && written.fg[i] == expected.fg[i] &&
                          written.bg[i] == expected.bg[i];
        if (!same) ++differences;
        EXPECT_TRUE(same) << "cell " << i % 40 << "," << i / 40 << ": " << written.word[i] << "/"
                          << written.fg[i] << "/" << written.bg[i] << ", expected " << expected.word[i] << "/"
                          << expected.fg[i] << "/" << expected.bg[i];
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(In(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    // A fresh settings file: the eight view settings at their defaults, and
    // the saved file first in the recent list.
    const std::vector<std::wstring> config = Section(L"Config");
    const std::vector<std::wstring> defaults = {L"ShowGrid=1",   L"Zoom=1",       L"ZoomRatio=1",
                                                L"MarkBit3=0",   L"MarkDispc0=0", L"MarkIsTransparent=0",
                                                L"ShowStatusBar=0", L"GridType=1"};
    EXPECT_EQ(config, defaults);
    EXPECT_EQ(Setting(L"RecentFiles", L"RecentFile1"), file);
    for (int n = 2; n <= 9; ++n)
        EXPECT_EQ(Setting(L"RecentFiles", (L"RecentFile" + std::to_wstring(n)).c_str()), L"") << n;
}

TEST_F(EndToEnd, MissingFileIsReportedAndTheEditorRunsUntitled)
{
    const std::wstring file = In(L"not there.txt");
    Launch(file);
    const HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(TextOf(box), L"Vexa: Error");
    const std::vector<std::wstring> texts = StaticTexts(box);
    EXPECT_EQ(texts, std::vector<std::wstring>{file + L" が開けません"});
    // One button, OK.
    int buttons = 0;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM count) -> BOOL {
            if (ClassOf(child) == L"Button" && IsWindowVisible(child)) ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    EXPECT_EQ(buttons, 1);
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    // The box belongs to the main window, which exists and waits.
    const HWND main = FindProcessWindow(kWindowClass, process_.dwProcessId);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main);

    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the message box stayed";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(main) == L"無題 - Vexa"; })) << ::testing::PrintToString(TextOf(main));
    EXPECT_EQ(FindProcessWindow(kDialogClass, process_.dwProcessId), nullptr);
    CloseAndWait(main);
    EXPECT_EQ(ReadWholeFile(file), "<missing>");
    EXPECT_EQ(Setting(L"RecentFiles", L"RecentFile1"), L"");
}

TEST_F(EndToEnd, MissingFontStopsWithItsMessageAndWritesNothing)
{
    ASSERT_TRUE(DeleteFileW(In(L"mz700fon.dat").c_str()));
    Launch(L"");
    const HWND box = WaitForWindow(kDialogClass);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(TextOf(box), L"Error");
    EXPECT_EQ(StaticTexts(box), std::vector<std::wstring>{L"MZ700FON.DATが見つかりません"});
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(FindProcessWindow(kWindowClass, process_.dwProcessId), nullptr);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    ASSERT_EQ(WaitForSingleObject(process_.hProcess, kWaitMs), WAIT_OBJECT_0) << "Vexa.exe did not end";
    DWORD code = 99;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadWholeFile(In(L"Vexa.ini")), "<missing>");
}
