// The real message box and file dialogs of the running editor, answered by a
// watcher thread while the editor's thread waits inside the dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/shell_win32.h"
#include "io/document_win32.h"
#include "res/resource.h"
#include "screen/pen.h"
#include "screen/screen.h"
#include "tests/win32/editor_harness.h"
#include "tests/win32/window_util.h"

namespace {

constexpr DWORD kDialogWaitMs = 10000;
constexpr DWORD kPollMs = 10;
// Control IDs of the file dialog's name box: the combo box (with its edit
// child) of the newer template, the plain edit of the older one.
constexpr int kNameCombo = 0x47C;  // cmb13
constexpr int kNameEdit = 0x480;   // edt1

// Visible dialogs of this process with the given caption (any caption when
// empty).
std::vector<HWND> OurDialogs(const std::wstring& caption)
{
    struct Search {
        const std::wstring* caption;
        std::vector<HWND> found;
    } search = {&caption, {}};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(context);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
                (s.caption->empty() || TextOf(window) == *s.caption))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FirstDescendant(HWND parent, const wchar_t* cls)
{
    struct Search {
        const wchar_t* cls;
        HWND found;
    } search = {cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM context) -> BOOL {
            Search& s = *reinterpret_cast<Search*>(context);
            if (ClassOf(child) != s.cls) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitGone(HWND window)
{
    const ULONGLONG end = GetTickCount64() + kDialogWaitMs;
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount64() >= end) return false;
        Sleep(kPollMs);
    }
    return true;
}

// Watches, on its own thread, for a dialog of this process with `caption`
// and hands it to `answer` once. Whatever happens, it never leaves the
// editor's thread stuck: when the dialog does not appear in time, or
// `answer` fails, every open dialog of ours is cancelled.
class Watcher {
public:
    using Answer = std::function<bool(HWND dialog, std::wstring& log)>;

    Watcher(std::wstring caption, Answer answer)
        : caption_(std::move(caption)), answer_(std::move(answer)), thread_([this] { Run(); })
    {
    }
    ~Watcher() { Finish(); }

    // Stops looking (the editor is past the dialog) and waits for the thread.
    void Finish()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    bool Answered() const { return answered_; }
    // What the watcher saw and did, for failure messages.
    const std::wstring& Log() const { return log_; }
    std::string LogText() const { return ::testing::PrintToString(log_); }

private:
    void Run()
    {
        const ULONGLONG end = GetTickCount64() + kDialogWaitMs;
        while (!stop_ && GetTickCount64() < end) {
            const std::vector<HWND> found = OurDialogs(caption_);
            if (!found.empty()) {
                answered_ = answer_(found.front(), log_) && WaitGone(found.front());
                if (!answered_) CancelEverything();
                return;
            }
            Sleep(kPollMs);
        }
        if (stop_) return;
        // The editor is still held by some dialog, not the one expected.
        log_ += L"[no dialog]";
        CancelEverything();
    }

    void CancelEverything()
    {
        log_ += L"[cancelled]";
        const ULONGLONG end = GetTickCount64() + kDialogWaitMs;
        for (;;) {
            const std::vector<HWND> open = OurDialogs(L"");
            if (open.empty() || GetTickCount64() >= end) return;
            for (HWND dialog : open) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            Sleep(50);
        }
    }

    std::wstring caption_;
    Answer answer_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::wstring log_;
    std::thread thread_;
};

// Logs a message box's texts and its buttons (IDs in increasing order), then
// answers it with `button`.
Watcher::Answer MessageBoxAnswer(int button, bool click)
{
    return [button, click](HWND box, std::wstring& log) {
        struct Seen {
            std::wstring texts;
            std::vector<int> buttons;
        } seen;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM context) -> BOOL {
                Seen& seen = *reinterpret_cast<Seen*>(context);
                const std::wstring cls = ClassOf(child);
                if (cls == L"Static" && GetWindowTextLengthW(child) > 0) seen.texts += L"text:" + TextOf(child) + L";";
                if (cls == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    const LRESULT icon = SendMessageW(child, STM_GETICON, 0, 0);
                    const bool question = icon && icon == reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_QUESTION));
                    seen.texts += question ? L"icon:question;" : L"icon:other;";
                }
                if (cls == L"Button") seen.buttons.push_back(GetDlgCtrlID(child));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen));
        std::sort(seen.buttons.begin(), seen.buttons.end());
        log += seen.texts + L"buttons:";
        for (int id : seen.buttons) log += std::to_wstring(id) + L";";
        HWND target = GetDlgItem(box, button);
        if (!target) return false;
        // Either as the button would be pressed, or as the dialog hears it.
        if (click)
            PostMessageW(target, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(target));
        return true;
    };
}

// The file dialog's name box: the edit inside cmb13 (under Wine a
// ComboBoxEx32 whose inner ComboBox holds the Edit, so search all its
// descendants), edt1, or else the dialog's first Edit.
HWND FileNameBox(HWND dialog, std::wstring& log)
{
    if (HWND combo = GetDlgItem(dialog, kNameCombo)) {
        if (HWND edit = FirstDescendant(combo, L"Edit")) {
            log += L"name box: Edit in cmb13 (" + ClassOf(combo) + L");";
            return edit;
        }
    }
    if (HWND edit = GetDlgItem(dialog, kNameEdit)) {
        log += L"name box: edt1 (" + ClassOf(edit) + L");";
        return edit;
    }
    if (HWND edit = FirstDescendant(dialog, L"Edit")) {
        log += L"name box: first Edit descendant;";
        return edit;
    }
    return nullptr;
}

// Types `path` into the file dialog's name box and presses OK.
Watcher::Answer FileDialogAnswer(std::wstring path)
{
    return [path](HWND dialog, std::wstring& log) {
        HWND box = FileNameBox(dialog, log);
        if (!box) {
            log += L"no name box;";
            return false;
        }
        log += L"shown:" + TextOf(box) + L";";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                                 kDialogWaitMs, &result)) {
            log += L"typing failed;";
            return false;
        }
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return true;
    };
}

class RealDialogs : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        AnswerModalsWith(nullptr, nullptr);
    }

    void TearDown() override
    {
        // A test that failed half-way may leave changes: the close asks.
        Watcher yes(L"Vexa", MessageBoxAnswer(IDYES, false));
        EditorTest::TearDown();
        yes.Finish();
    }

    // Paints 'A', white on blue, into one cell.
    void Paint(int column, int row)
    {
        SetPaletteCursor(9 * 16 + 1);
        const POINT p = CellCentre(column, row);
        Press(p.x, p.y);
        Release(p.x, p.y);
    }
};

}  // namespace

TEST_F(RealDialogs, DiscardPromptKeepsTheWindowOnNoAndClosesOnYes)
{
    const std::wstring file = Scratch(L"a.txt");
    WriteFile(file, SampleScreenFile());
    Start(L"\"" + file + L"\"");
    Paint(4, 2);
    ASSERT_EQ(Title(), L"a.txt * Vexa");

    const std::wstring seen = L"icon:question;text:変更内容を破棄しますか？;buttons:6;7;";
    {
        Watcher no(L"Vexa", MessageBoxAnswer(IDNO, true));
        Stop();
        no.Finish();
        EXPECT_TRUE(no.Answered()) << no.LogText();
        EXPECT_EQ(no.Log(), seen);
    }
    ASSERT_TRUE(gShell.main && IsWindow(gShell.main)) << "closed although the answer was No";
    EXPECT_EQ(Title(), L"a.txt * Vexa");
    EXPECT_EQ(gScreen.code[CellIndex(4, 2)], 1);
    EXPECT_TRUE(IsWindowVisible(gShell.main));

    {
        Watcher yes(L"Vexa", MessageBoxAnswer(IDYES, false));
        Stop();
        yes.Finish();
        EXPECT_TRUE(yes.Answered()) << yes.LogText();
        EXPECT_EQ(yes.Log(), seen);
    }
    EXPECT_EQ(gShell.main, nullptr) << "still open after Yes";
    EXPECT_EQ(ReadFile(file), SampleScreenFile());
}

TEST_F(RealDialogs, OpenDialogLoadsTheTypedFile)
{
    const std::wstring file = Scratch(L"to open 1.txt");
    WriteFile(file, SampleScreenFile());
    Start();
    {
        Watcher open(L"Open File", FileDialogAnswer(file));
        Command(IDM_OPEN);
        open.Finish();
        EXPECT_TRUE(open.Answered()) << open.LogText();
        RecordProperty("OpenDialog", ::testing::PrintToString(open.Log()));
    }
    EXPECT_EQ(gDocument.path, file);
    EXPECT_EQ(Title(), L"to open 1.txt - Vexa");
    EXPECT_EQ(gScreen.code[CellIndex(1, 0)], 7);
    EXPECT_EQ(gScreen.attr[CellIndex(9, 0)], (1 << 4) | 1);
    EXPECT_EQ(gDocument.fileType, kBriselFileType);
}

TEST_F(RealDialogs, SaveAsDialogWritesTheTypedFileWithTheDefaultExtension)
{
    const std::wstring source = Scratch(L"a.txt");
    WriteFile(source, SampleScreenFile());
    Start(L"\"" + source + L"\"");
    Paint(0, 0);
    ASSERT_EQ(Title(), L"a.txt * Vexa");
    {
        Watcher save(L"Save As", FileDialogAnswer(Scratch(L"saved copy")));
        Command(IDM_SAVEAS);
        save.Finish();
        EXPECT_TRUE(save.Answered()) << save.LogText();
        RecordProperty("SaveAsDialog", ::testing::PrintToString(save.Log()));
        // The dialog starts on the document's own name.
        EXPECT_NE(save.Log().find(L"shown:a.txt;"), std::wstring::npos) << save.LogText();
    }
    const std::wstring saved = Scratch(L"saved copy.txt");
    EXPECT_EQ(gDocument.path, saved);
    EXPECT_EQ(Title(), L"saved copy.txt - Vexa");
    // The file holds the picture as it is now; the original is untouched.
    std::string expected = SampleScreenFile();
    // Cell 0 is the first number of each run of 1000: word, fore-, background.
    size_t at = 0;
    for (const char* value : {"1", "7", "1"}) {
        expected.replace(at, expected.find(',', at) - at, value);
        for (int skip = 0; skip < 1000; ++skip) at = expected.find(',', at) + 1;
    }
    EXPECT_EQ(ReadFile(saved), expected);
    EXPECT_EQ(ReadFile(source), SampleScreenFile());
    EXPECT_FALSE(Exists(Scratch(L"saved copy")));
}
