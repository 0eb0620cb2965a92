// The real message box and file dialogs of the running editor, answered by a
// watcher thread while the editor's thread waits inside the dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "anim/frames.h"
#include "app/pointer.h"
#include "io/screen_file.h"
#include "render/overlay.h"
#include "render/picture_convert.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/screen.h"
#include "screen/selection.h"
#include "screen/text_input.h"
#include "shell/base/shell_win32.h"
#include "shell/document_win32.h"
#include "shell/overlay_win32.h"
#include "shell/player_win32.h"
#include "shell/wic_win32.h"
#include "tests/win32/editor_harness.h"
#include "tests/win32/window_util.h"

namespace {

constexpr DWORD kDialogWaitMs = 10000;
std::wstring gTestPicture;  // the file the conversion test's dialog picks

// The children of `parent` of class `cls`, in Z order.
std::vector<HWND> Children(HWND parent, const wchar_t* cls)
{
    std::vector<HWND> children;
    for (HWND child = nullptr; (child = FindWindowExW(parent, child, cls, nullptr)) != nullptr;)
        children.push_back(child);
    return children;
}

// A dialog's answer: false when it could not be given. `log` collects what
// was seen and done.
using Answer = std::function<bool(HWND dialog, std::wstring& log)>;

// Runs `action` while a watcher thread waits for a dialog of this process
// with `caption` and hands it to `answer` once. The editor's thread is never
// left stuck: when the dialog does not appear in time, or `answer` fails,
// every open dialog of ours is cancelled. True when it was answered.
bool Answering(const std::wstring& caption, const Answer& answer, const std::function<void()>& action,
               std::wstring& log)
{
    std::atomic<bool> stop{false}, answered{false};
    std::thread watcher([&] {
        const DWORD self = GetCurrentProcessId();
        HWND found = nullptr;
        if (WaitUntil([&] { return stop || (found = FindProcessWindow(L"#32770", self, caption.c_str())); },
                      kDialogWaitMs) && !stop)
            answered = answer(found, log) && WaitUntil([&] { return !IsWindowVisible(found); }, kDialogWaitMs);
        if (answered || stop) return;
        log += L"[cancelled]";
        WaitUntil([&] {
            const HWND open = FindProcessWindow(L"#32770", self);
            if (open) PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
            return !open;
        }, kDialogWaitMs);
    });
    action();
    stop = true;  // the editor is past the dialog
    watcher.join();
    return answered;
}

// Logs a message box's texts and its buttons (IDs in increasing order), then
// answers it with `button`: clicked as the user would, or sent as the dialog
// hears it.
Answer MessageBoxAnswer(int button, bool click)
{
    return [button, click](HWND box, std::wstring& log) {
        for (HWND child : Children(box, L"Static"))
            if (GetWindowTextLengthW(child) > 0) log += L"text:" + TextOf(child) + L";";
        std::vector<int> buttons;
        for (HWND child : Children(box, L"Button")) buttons.push_back(GetDlgCtrlID(child));
        std::sort(buttons.begin(), buttons.end());
        log += L"buttons:";
        for (int id : buttons) log += std::to_wstring(id) + L";";
        HWND target = GetDlgItem(box, button);
        if (!target) return false;
        if (click)
            PostMessageW(target, BM_CLICK, 0, 0);
        else
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(target));
        return true;
    };
}

// Types `path` into the file dialog's name box and presses OK. The name box
// is the Edit of cmb13 (under Wine a ComboBoxEx32 whose inner ComboBox holds
// the Edit), or edt1 of the older template.
Answer FileDialogAnswer(std::wstring path)
{
    return [path](HWND dialog, std::wstring& log) {
        HWND box = GetDlgItem(dialog, 0x480 /* edt1 */);
        if (HWND combo = GetDlgItem(dialog, 0x47C /* cmb13 */)) {
            HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
            box = FindWindowExW(inner ? inner : combo, nullptr, L"Edit", nullptr);
        }
        if (!box) return false;
        log += L"shown:" + TextOf(box) + L";";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                                 kDialogWaitMs, &result))
            return false;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return true;
    };
}

// The labels a dialog shows cut short: each text whose width in the font
// its control really got exceeds the room that kind of control gives text
// as Wine draws it. A check box or radio button starts its text a box and
// half a digit in; a group box keeps 7 pixels clear on each side; a push
// button centres its text between its edges.
std::wstring CutLabels(HWND dialog)
{
    std::wstring cut;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        const std::wstring text = TextOf(child);
        const bool button = lstrcmpiW(cls, L"Button") == 0;
        if (text.empty() || (!button && lstrcmpiW(cls, L"Static") != 0)) continue;
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT extent = {0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        INT digit = 0;
        GetCharWidth32W(dc, L'0', L'0', &digit);
        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        RECT client;
        GetClientRect(child, &client);
        int room = client.right;
        const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (button && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE))
            room -= 12 * dpi / 96 + 1 + digit / 2;
        else if (button && type == BS_GROUPBOX)
            room -= 2 * 7;
        else if (button)
            room -= 2 * GetSystemMetrics(SM_CXEDGE);
        if (extent.right > room)
            cut += text + L" (" + std::to_wstring(extent.right) + L">" + std::to_wstring(room) + L");";
    }
    return cut;
}

// Where `window` sits: "centred" when in the middle of the desktop.
std::wstring Placement(HWND window)
{
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    if (own.left == (desktop.right - desktop.left - w) / 2 && own.top == (desktop.bottom - desktop.top - h) / 2)
        return L"centred;";
    return L"at " + std::to_wstring(own.left) + L"," + std::to_wstring(own.top) + L";";
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
        std::wstring log;
        Answering(L"Vexa", MessageBoxAnswer(IDYES, false), [this] { EditorTest::TearDown(); }, log);
    }

    // Writes a PNG of `width` x `height` BGR pixels and makes it the picture
    // every file dialog picks.
    void PickPicture(const uint8_t* bgr, int width, int height)
    {
        std::string png;
        ASSERT_TRUE(EncodePicture(GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, 3, bgr, width, height, png));
        WriteFile(Scratch(L"p.png"), png);
        gTestPicture = Scratch(L"p.png");
        AnswerModalsWith(nullptr, [](FileDialog, FileChoice& c) {
            c.path = gTestPicture;
            return true;
        });
    }

    // Runs `action`, during which the dialog with `caption` must come up and
    // be answered; returns what the watcher saw.
    std::wstring Answered(const std::wstring& caption, const Answer& answer, const std::function<void()>& action)
    {
        std::wstring log;
        EXPECT_TRUE(Answering(caption, answer, action, log)) << ::testing::PrintToString(log);
        return log;
    }
};

}  // namespace

// Closing or dropping a file on unsaved changes asks; No keeps the window
// and the picture, Yes closes without writing.
TEST_F(RealDialogs, DiscardPromptKeepsTheWindowOnNoAndClosesOnYes)
{
    const std::wstring file = Scratch(L"a.txt");
    WriteFile(file, SampleScreenFile());
    Start(L"\"" + file + L"\"");
    Paint(4, 2);
    ASSERT_EQ(Title(), L"a.txt * Vexa");

    const std::wstring seen = L"text:変更内容を破棄しますか？;buttons:6;7;";
    EXPECT_EQ(Answered(L"Vexa", MessageBoxAnswer(IDNO, true), [&] { Stop(); }), seen);
    ASSERT_TRUE(gShell.main && IsWindow(gShell.main)) << "closed although the answer was No";
    EXPECT_TRUE(IsWindowVisible(gShell.main));

    // A file dropped on the window asks too.
    const std::wstring other = Scratch(L"other.txt");
    WriteFile(other, SampleScreenFile());
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (other.size() + 2) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), other.c_str(), other.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    EXPECT_EQ(Answered(L"Vexa", MessageBoxAnswer(IDNO, true),
                       [&] { SendMessageW(gShell.main, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0); }),
              seen);
    EXPECT_EQ(Title(), L"a.txt * Vexa");
    EXPECT_EQ(gDoc.screen.code[CellIndex(4, 2)], 1);

    EXPECT_EQ(Answered(L"Vexa", MessageBoxAnswer(IDYES, false), [&] { Stop(); }), seen);
    EXPECT_EQ(gShell.main, nullptr) << "still open after Yes";
    EXPECT_EQ(ReadFile(file), SampleScreenFile());
}

// Open and Save As take the names typed into the real dialogs, and so do the
// frames dialogs.
TEST_F(RealDialogs, OpenSaveAsAndFramesDialogsTakeTheTypedNames)
{
    const std::wstring source = Scratch(L"to open 1.txt");
    WriteFile(source, SampleScreenFile());
    Start();
    Answered(L"Open File", FileDialogAnswer(source), [&] { Command(IDM_OPEN); });
    EXPECT_EQ(gDocumentFile.path, source);
    EXPECT_EQ(Title(), L"to open 1.txt - Vexa");
    EXPECT_EQ(ScreenFileText(), SampleScreenFile());
    EXPECT_EQ(gDocumentFile.fileType, kBriselFileType);

    Paint(0, 0);
    ASSERT_EQ(Title(), L"to open 1.txt * Vexa");
    const std::wstring log =
        Answered(L"Save As", FileDialogAnswer(Scratch(L"saved copy")), [&] { Command(IDM_SAVEAS); });
    // The dialog starts on the document's own name; the default extension
    // is added.
    EXPECT_NE(log.find(L"shown:to open 1.txt;"), std::wstring::npos) << ::testing::PrintToString(log);
    const std::wstring saved = Scratch(L"saved copy.txt");
    EXPECT_EQ(gDocumentFile.path, saved);
    EXPECT_EQ(Title(), L"saved copy.txt - Vexa");
    // The file holds the picture as it is now; the original is untouched.
    EXPECT_EQ(ReadFile(saved), ScreenFileText());
    EXPECT_EQ(ReadFile(source), SampleScreenFile());
    EXPECT_EQ(ReadFile(Scratch(L"saved copy")), "<missing>");

    // The frames dialogs: Save starts on the screen's name with the frames
    // extension and adds it to a name typed without one; Open reads it back.
    SetSelection(1, 2, 3, 4);
    Command(IDM_FRAME2);
    const std::wstring framesLog =
        Answered(L"コマ設定を保存", FileDialogAnswer(Scratch(L"steps")), [&] { Command(IDM_FRAMESSAVE); });
    EXPECT_NE(framesLog.find(L"shown:saved copy.vxf;"), std::wstring::npos) << ::testing::PrintToString(framesLog);
    EXPECT_NE(ReadFile(Scratch(L"steps.vxf")).find("\n2 1 2 3 4\n"), std::string::npos);
    Command(IDM_FRAMECANCELALL);
    Answered(L"コマ設定を読み込み", FileDialogAnswer(Scratch(L"steps.vxf")), [&] { Command(IDM_FRAMESLOAD); });
    EXPECT_TRUE(FrameDefined(1) && gFrames[1].left == 1 && gFrames[1].bottom == 4);
}

// The text dialog, typed into as a person would: Japanese characters
// reach the edit control as WM_CHAR, the vertical box is clicked, OK pressed.
// Then the dialog opens again on the kept text and flag, and Cancel keeps
// them. Under LANG=C the system code page is 1252, not 932.
TEST_F(RealDialogs, TextDialogTypesJapaneseAndKeepsItForNextTime)
{
    Start();
    const std::wstring typed = L"ガンダムé";
    const std::wstring seen = Answered(
        L"テキスト入力",
        [&](HWND dialog, std::wstring& log) {
            HWND edit = GetDlgItem(dialog, IDC_TEXTEDIT);
            GUITHREADINFO focus = {};
            focus.cbSize = sizeof focus;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
            if (!edit || focus.hwndFocus != edit) log += L"[edit not focused]";
            for (wchar_t c : typed) SendMessageW(edit, WM_CHAR, c, 1);
            SendMessageW(GetDlgItem(dialog, IDC_VERTICAL), BM_CLICK, 0, 0);
            log += TextOf(edit);
            PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return true;
        },
        [&] { Command(IDM_TEXTINPUT); });
    EXPECT_EQ(seen, typed);
    ASSERT_TRUE(BlockFloats());
    // Vertical: one line of five characters, two of them with their marks;
    // é, which the code page cannot hold, stays blank and comes back a space.
    EXPECT_TRUE(SelectionWidth() == 2 && SelectionHeight() == 5);
    EXPECT_EQ(std::string(gTextInput.text), "\x83\x4B\x83\x93\x83\x5F\x83\x80 ");

    const std::wstring reopened = Answered(
        L"テキスト入力",
        [](HWND dialog, std::wstring& log) {
            log += TextOf(GetDlgItem(dialog, IDC_TEXTEDIT));
            log += IsDlgButtonChecked(dialog, IDC_VERTICAL) == BST_CHECKED ? L"|vertical" : L"|horizontal";
            PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
            return true;
        },
        [&] { Command(IDM_TEXTINPUT); });
    EXPECT_EQ(reopened, L"ガンダム |vertical");
    EXPECT_FALSE(BlockFloats());  // the first block was dropped; Cancel makes none

    // Return breaks the line; Ctrl+Return, a line feed with Return and Ctrl
    // held, presses OK and adds nothing.
    BYTE keys[256], held[256];
    GetKeyboardState(keys);
    std::memcpy(held, keys, sizeof held);
    held[VK_CONTROL] = held[VK_RETURN] = 0x80;
    Answered(
        L"テキスト入力",
        [](HWND dialog, std::wstring&) {
            HWND edit = GetDlgItem(dialog, IDC_TEXTEDIT);
            for (wchar_t c : std::wstring(L"A\rB\n")) SendMessageW(edit, WM_CHAR, c, 1);
            return true;
        },
        [&] {
            SetKeyboardState(held);
            Command(IDM_TEXTINPUT);
            SetKeyboardState(keys);
        });
    EXPECT_TRUE(BlockFloats());
    EXPECT_EQ(std::string(gTextInput.text), "A\r\nB");
}

// The conversion dialog, answered by clicks: the preview is 320 x 200 and
// follows the choices; OK converts with what was chosen.
TEST_F(RealDialogs, ConvertDialogPreviewsAndConvertsWithTheChoices)
{
    Start();
    std::vector<uint8_t> bgr;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 160; ++x) bgr.insert(bgr.end(), {uint8_t(x), uint8_t(y * 2), uint8_t(200)});
    PickPicture(bgr.data(), 160, 100);
    const std::wstring seen = Answered(
        L"画像から変換",
        [](HWND dialog, std::wstring& log) {
            RECT preview;
            GetClientRect(GetDlgItem(dialog, IDC_CONVERT_PREVIEW), &preview);
            log += std::to_wstring(preview.right) + L"x" + std::to_wstring(preview.bottom);
            SendMessageW(GetDlgItem(dialog, IDC_CONVERT_CHARS), BM_CLICK, 0, 0);
            SendMessageW(GetDlgItem(dialog, IDC_CONVERT_PATTERN), BM_CLICK, 0, 0);
            SendMessageW(GetDlgItem(dialog, IDC_CONVERT_OVERLAY), BM_CLICK, 0, 0);  // off
            PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return true;
        },
        [&] { Command(IDM_CONVERTPICTURE); });
    EXPECT_EQ(seen, L"320x200");
    OverlayPicture decoded;
    ASSERT_TRUE(DecodePictureFile(Scratch(L"p.png"), decoded));
    ConvertOptions options;
    options.mode = ConvertMode::Characters;
    options.dither = ConvertDither::Pattern;
    ConvertedScreen want;
    ConvertPicture(decoded.pixels.data(), decoded.width, decoded.height, options, want);
    EXPECT_EQ(0, std::memcmp(gDoc.screen.code, want.code, sizeof want.code));
    EXPECT_EQ(0, std::memcmp(gDoc.screen.attr, want.attr, sizeof want.attr));
    EXPECT_FALSE(OverlayLoaded());
}

// Every dialog opens in the middle of the desktop, and none cuts a label
// short at the width its font really has, in either language.
TEST_F(RealDialogs, DialogsOpenCentredWithEveryLabelWhole)
{
    Start();
    const Answer inspect = [](HWND dialog, std::wstring& log) {
        log += Placement(dialog) + CutLabels(dialog);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    };
    const uint8_t grey[3] = {128, 128, 128};
    PickPicture(grey, 1, 1);
    Command(IDM_SELECTALL);
    Command(IDM_FRAME1);
    const struct {
        int language;
        const wchar_t* text;
        const wchar_t* convert;
    } languages[] = {{IDM_LANG_JAPANESE, L"テキスト入力", L"画像から変換"},
                     {IDM_LANG_ENGLISH, L"Text input", L"Convert from picture"}};
    for (const auto& l : languages) {
        Command(l.language);
        EXPECT_EQ(Answered(l.text, inspect, [&] { Command(IDM_TEXTINPUT); }), L"centred;") << l.language;
        EXPECT_EQ(Answered(l.convert, inspect, [&] { Command(IDM_CONVERTPICTURE); }), L"centred;") << l.language;
        Command(IDM_ANIMSTART);
        ASSERT_NE(PlayerWindow(), nullptr);
        EXPECT_EQ(Placement(PlayerWindow()) + CutLabels(PlayerWindow()), L"centred;") << l.language;
        SendMessageW(PlayerWindow(), WM_CLOSE, 0, 0);
    }
}
