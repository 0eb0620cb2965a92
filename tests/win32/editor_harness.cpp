#include "tests/win32/editor_harness.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/recent_files.h"
#include "res/resource.h"
#include "shell/base/shell_win32.h"
#include "shell/player_win32.h"
#include "shell/recovery_win32.h"
#include "shell/window_win32.h"
#include "render/view.h"
#include "screen/pen.h"
#include "tests/win32/window_util.h"

namespace {
EditorTest* gCurrent = nullptr;

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y + gShell.Tb); }

HMENU FindPopup(HMENU menu, int id)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (static_cast<int>(GetMenuItemID(menu, i)) == id) return menu;
        if (HMENU sub = GetSubMenu(menu, i))
            if (HMENU found = FindPopup(sub, id)) return found;
    }
    return nullptr;
}
}  // namespace

std::vector<uint32_t> GrabClient(int width, int height, HWND of)
{
    if (!of) of = gShell.main;
    HDC window = GetDC(of);
    HDC memory = CreateCompatibleDC(window);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(of, window);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

std::vector<std::wstring> Names(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string SampleScreenFile()
{
    std::string s;
    for (int run = 0; run < 3; ++run)
        for (int i = 0; i < 1000; ++i) {
            s += std::to_string(run == 0 ? (i * 7) & 0xFF : run == 1 ? i % 8 : (i / 8) % 8);
            if (run < 2 || i < 999) s += ',';
        }
    return s;
}

void EditorTest::SetUp()
{
    gCurrent = this;
    // The text dialog is cancelled; the real one is tested on its own.
    AnswerModalsWith(AnswerMessage, AnswerFile, [](TextEntry&) { return false; }, AnswerConvert);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    PathRemoveFileSpecW(self);
    programFolder_ = self;
    DeleteFileW((programFolder_ + L"\\Vexa.ini").c_str());
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    scratch_ = std::wstring(temp) + L"vexa-editor-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(GetTickCount64());
    CreateDirectoryW(scratch_.c_str(), nullptr);
    // Recovery copies of these runs stay beside the scratch folder.
    UseRecoveryFolder(RecoveryFolder());
}

void EditorTest::TearDown()
{
    if (running_) {
        messageAnswers.assign(8, IDYES);
        Stop();
    }
    AnswerModalsWith(nullptr, nullptr);
    UseRecoveryFolder(L"");
    DeleteFileW((programFolder_ + L"\\Vexa.ini").c_str());
    SHFILEOPSTRUCTW op = {};
    std::wstring from = scratch_ + L'\0' + RecoveryFolder() + L'\0';
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
    gCurrent = nullptr;
}

void EditorTest::Start(const std::wstring& commandLine)
{
    ASSERT_TRUE(StartUp(GetModuleHandleW(nullptr), commandLine.c_str(), SW_SHOWNORMAL));
    running_ = true;
}

std::wstring EditorTest::StartOnSample(const std::wstring& name)
{
    const std::wstring file = Scratch(name);
    WriteFile(file, SampleScreenFile());
    Start(file);
    return file;
}

void EditorTest::Stop()
{
    if (gShell.main) SendMessageW(gShell.main, WM_CLOSE, 0, 0);
    if (gShell.main && IsWindow(gShell.main)) return;  // the user said no
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    ShutDown();
    running_ = false;
}

std::wstring EditorTest::Scratch(const std::wstring& name) const
{
    return name.empty() ? scratch_ : scratch_ + L"\\" + name;
}

void EditorTest::Command(int id) { SendMessageW(gShell.main, WM_COMMAND, id, 0); }
void EditorTest::Press(int x, int y, WPARAM keys)
{
    SendMessageW(gShell.main, WM_LBUTTONDOWN, MK_LBUTTON | keys, ClientPoint(x, y));
}
void EditorTest::Move(int x, int y, WPARAM keys) { SendMessageW(gShell.main, WM_MOUSEMOVE, keys, ClientPoint(x, y)); }
void EditorTest::Release(int x, int y) { SendMessageW(gShell.main, WM_LBUTTONUP, 0, ClientPoint(x, y)); }
void EditorTest::RightClick(int x, int y, WPARAM keys)
{
    SendMessageW(gShell.main, WM_RBUTTONDOWN, MK_RBUTTON | keys, ClientPoint(x, y));
}
void EditorTest::Char(wchar_t c, LPARAM lParam) { SendMessageW(gShell.main, WM_CHAR, c, lParam); }
void EditorTest::Key(UINT vk) { SendMessageW(gShell.main, WM_KEYDOWN, vk, 1); }

POINT EditorTest::CellCentre(int column, int row) const
{
    const Point p = CellToPixel(column, row);
    const int half = CurrentView().s / 2;
    return {p.x + half, p.y + half};
}

void EditorTest::Paint(int column, int row)
{
    SetPaletteCursor(9 * 16 + 1);
    const POINT p = CellCentre(column, row);
    Press(p.x, p.y);
    Release(p.x, p.y);
}

std::wstring EditorTest::Title() const
{
    wchar_t text[256];
    GetWindowTextW(gShell.main, text, 256);
    return text;
}

HMENU EditorTest::OpenPopupHolding(int id)
{
    HMENU popup = FindPopup(GetMenu(gShell.main), id);
    if (popup) SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    return popup;
}

UINT EditorTest::MenuState(int id)
{
    HMENU popup = OpenPopupHolding(id);
    return popup ? GetMenuState(popup, id, MF_BYCOMMAND) : 0xFFFFFFFF;
}

SIZE EditorTest::ClientSize() const
{
    RECT r;
    GetClientRect(gShell.main, &r);
    return {r.right, r.bottom};
}

std::wstring EditorTest::StatusPart(int n) const
{
    wchar_t text[64] = {};
    SendMessageW(gShell.statusBar, SB_GETTEXTW, n, reinterpret_cast<LPARAM>(text));
    return text;
}

void EditorTest::SetPlayerSpeed(int position) const
{
    HWND slider = GetDlgItem(PlayerWindow(), IDC_SPEED);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(PlayerWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
}

void EditorTest::RecoveryTick() const { SendMessageW(gShell.main, WM_TIMER, 3, 0); }

std::vector<std::wstring> EditorTest::Said() const
{
    std::vector<std::wstring> said;
    for (const ShownMessage& m : messages) said.push_back(m.caption + L": " + m.text);
    return said;
}

namespace {
// Moves the next scripted answer into `into`; false when none is left.
template <typename T, typename U>
bool Take(std::deque<T>& answers, U& into)
{
    if (answers.empty()) return false;
    into = answers.front();
    answers.pop_front();
    return true;
}
}  // namespace

int EditorTest::AnswerMessage(const std::wstring& text, const std::wstring& caption, UINT type)
{
    gCurrent->messages.push_back({text, caption, type});
    int answer = IDOK;
    Take(gCurrent->messageAnswers, answer);
    return answer;
}

bool EditorTest::AnswerFile(FileDialog kind, FileChoice& choice)
{
    gCurrent->fileDialogKinds.push_back(kind);
    gCurrent->fileProposals.push_back(choice.path);
    if (!Take(gCurrent->fileAnswers, choice.path)) return false;
    choice.filterIndex = 1;
    Take(gCurrent->filterAnswers, choice.filterIndex);
    return true;
}

bool EditorTest::AnswerConvert(ConvertChoice& choice) { return Take(gCurrent->convertAnswers, choice); }
