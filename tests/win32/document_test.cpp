// Start-up and documents on the real window: files named on the command
// line, window sizes and the zoom menu, the settings file beside the
// program; titles, saving and opening, the discard prompt, failed loads and
// saves, the recent-files popup, the recovery copy and exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "anim/animation_mzf.h"
#include "anim/frames.h"
#include "app/recent_files.h"
#include "io/exports.h"
#include "io/screen_file.h"
#include "render/overlay.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/screen.h"
#include "screen/undo.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/overlay_win32.h"
#include "shell/player_win32.h"
#include "tests/win32/editor_harness.h"

namespace {

const wchar_t kDiscard[] = L"Vexa: 変更内容を破棄しますか？";
const wchar_t kNotAScreenFile[] = L"Vexa: Error: BRISELフォーマットではありません";

}  // namespace

class Documents : public EditorTest {
protected:
    std::vector<std::wstring> Listing() const { return Names(Scratch(L"*")); }
};

// Save on an untitled picture asks for a name (cancelled, nothing changes);
// whatever filter the dialog is left on, a save writes the screen file,
// never an empty one, and leaves no temporary file; a named picture saves
// without a dialog; an open under any filter reads a screen file.
TEST_F(Documents, SaveAsThenSaveKeepTheName)
{
    Start();
    Paint(0, 0);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    Command(IDM_SAVE);
    EXPECT_EQ(fileDialogKinds, std::vector<FileDialog>{FileDialog::SaveScreen});
    EXPECT_EQ(Title(), L"無題 * Vexa");

    const std::wstring file = Scratch(L"絵 stage1.any");
    fileAnswers.push_back(file);
    filterAnswers.push_back(2);
    Command(IDM_SAVE);
    EXPECT_EQ(Title(), L"絵 stage1.any - Vexa");
    EXPECT_EQ(ReadFile(file), ScreenFileText());
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"絵 stage1.any"});
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(file.c_str()).c_str());
    Paint(1, 0);
    EXPECT_EQ(Title(), L"絵 stage1.any * Vexa");
    Command(IDT_SAVE);
    EXPECT_EQ(fileDialogKinds.size(), 2u);
    EXPECT_EQ(Title(), L"絵 stage1.any - Vexa");
    const std::string saved = ScreenFileText();
    EXPECT_EQ(ReadFile(file), saved);

    // With unsaved changes an open asks first: No opens no dialog, Yes
    // opens the file, under any filter, without the old history.
    Paint(2, 0);
    messageAnswers = {IDNO, IDYES};
    Command(IDM_OPEN);
    EXPECT_EQ(fileDialogKinds.size(), 2u);
    fileAnswers.push_back(file);
    filterAnswers.push_back(2);
    Command(IDM_OPEN);
    EXPECT_EQ(ScreenFileText(), saved);
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(Title(), L"絵 stage1.any - Vexa");
    EXPECT_EQ(Said(), std::vector<std::wstring>(2, kDiscard));
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

// The popup lists the files opened, opens the one picked and moves it to the
// top, and survives a restart. A file that fails to load (broken, gone, or
// read under the all-files filter) leaves the picture and its history alone,
// the document untitled, and is forgotten.
TEST_F(Documents, RecentFilesPopupAndFailedLoads)
{
    Start();
    HMENU popup = OpenPopupHolding(IDM_RECENT_NONE);  // a new menu holds only that
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(GetMenuState(popup, IDM_RECENT_NONE, MF_BYCOMMAND) & MF_GRAYED);
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"s1.txt", L"絵 2.txt", L"s3.txt"}) {
        files.push_back(Scratch(name));
        WriteFile(files.back(), SampleScreenFile());
        CommandWithFile(IDM_OPEN, files.back());
    }
    const auto items = [&] {
        SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        std::wstring all;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            wchar_t text[512];
            GetMenuStringW(popup, IDM_RECENT1 + i, text, 512, MF_BYCOMMAND);
            all += std::wstring(text) + L"|";
        }
        return all;
    };
    EXPECT_EQ(items(), L"&1: " + files[2] + L"|&2: " + files[1] + L"|&3: " + files[0] + L"|");
    Command(IDM_RECENT3);
    EXPECT_EQ(gDocumentFile.path, files[0]);
    Stop();
    Start();
    popup = OpenPopupHolding(IDM_RECENT_NONE);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(items(), L"&1: " + files[0] + L"|&2: " + files[2] + L"|&3: " + files[1] + L"|");

    std::string broken = SampleScreenFile();
    broken[3000] = ' ';
    WriteFile(files[2], broken);
    DeleteFileW(files[1].c_str());
    WriteFile(Scratch(L"notes.dat"), "just some notes");
    Command(IDM_RECENT1);
    Paint(0, 0);
    const std::string before = ScreenFileText();
    messageAnswers.assign(5, IDYES);
    Command(IDM_RECENT2);  // s3, broken
    Command(IDM_RECENT2);  // 絵 2, gone
    fileAnswers.push_back(Scratch(L"notes.dat"));
    filterAnswers.push_back(2);
    Command(IDM_OPEN);
    EXPECT_EQ(Said(), (std::vector<std::wstring>{kDiscard, kNotAScreenFile, kDiscard,
                                                  L"Vexa: Error: " + files[1] + L" が開けません", kDiscard,
                                                  kNotAScreenFile}));
    EXPECT_EQ(ScreenFileText(), before);
    EXPECT_TRUE(CanUndo());
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_EQ(items(), L"&1: " + files[0] + L"|");
    EXPECT_EQ(ReadFile(Scratch(L"notes.dat")), "just some notes");
}

TEST_F(Documents, FailedSavesNeverDestroyTheFileAndKeepTheChanges)
{
    const std::wstring file = StartOnSample(L"keep.txt");
    Paint(2, 2);
    // The target is read-only, or another program holds it: the old file
    // stays whole, the user is told why.
    const std::wstring notSaved = file + L" に保存できませんでした\n";
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    Command(IDM_SAVE);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Command(IDM_SAVE);
    CloseHandle(held);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, L"Vexa: Error");
    EXPECT_EQ(messages[0].text, notSaved + L"ファイルが読み取り専用です。");
    EXPECT_EQ(messages[1].text, notSaved + L"ほかのプログラムがファイルを使っています。");
    EXPECT_EQ(ReadFile(file), SampleScreenFile());
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(Title(), L"keep.txt * Vexa");

    // A folder by that name, a missing folder: nothing is written, still
    // modified.
    CreateDirectoryW(Scratch(L"folder.txt").c_str(), nullptr);
    CommandWithFile(IDM_SAVEAS, Scratch(L"folder.txt"));
    RemoveDirectoryW(Scratch(L"folder.txt").c_str());
    CommandWithFile(IDM_SAVEAS, Scratch(L"no such folder\\x.txt"));
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[2].text, Scratch(L"folder.txt") + L" に保存できませんでした\n同じ名前のフォルダがあります。");
    EXPECT_EQ(messages[3].text, Scratch(L"no such folder\\x.txt") + L" に保存できませんでした\n保存先のフォルダがありません。");
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(Title(), L"x.txt * Vexa");
    // A file that happens to carry the name the save would try first for its
    // temporary file is never touched, and nothing is left behind.
    wchar_t taken[32];
    swprintf(taken, 32, L"~vexa%04lx00.tmp", GetCurrentProcessId() & 0xFFFF);
    WriteFile(Scratch(taken), "mine");
    CommandWithFile(IDM_SAVEAS, file);
    EXPECT_EQ(messages.size(), 4u);
    EXPECT_FALSE(IsModified());
    EXPECT_EQ(ReadFile(Scratch(taken)), "mine");
    EXPECT_EQ(Listing(), (std::vector<std::wstring>{L"keep.txt", taken}));
}

// The recovery copy follows the document: written while it has unsaved
// changes, gone once they are given up (the end-to-end run saves and kills).
// Copies left behind by a run that ended are offered only when they can be
// trusted and are newer than their file.
TEST_F(Documents, RecoveryCopyFollowsTheDocument)
{
    const std::wstring folder = RecoveryFolder();
    const auto copies = [&] { return Names(folder + L"\\*.vxr"); };
    const std::wstring file = StartOnSample(L"s1.txt");
    RecoveryTick();
    EXPECT_TRUE(copies().empty());  // nothing unsaved
    Paint(2, 2);
    RecoveryTick();
    ASSERT_EQ(copies().size(), 1u);
    messageAnswers.push_back(IDYES);  // give the change up for another file
    CommandWithFile(IDM_OPEN, file);
    EXPECT_TRUE(copies().empty());
    Stop();
    messages.clear();

    // Left behind by ended runs: a copy older than its file, and a damaged
    // one. Neither is offered. The older goes; the damaged one is kept aside
    // under another name, and told about once, with that name.
    const std::string damaged = "Vexa recovery 1\nno screen here";
    WriteFile(folder + L"\\dead-1.vxr", "Vexa recovery 1\n" + Narrow(file.c_str()) + "\n" + SampleScreenFile());
    WriteFile(folder + L"\\dead-2.vxr", damaged);
    FILETIME old = {0, 1};
    HANDLE stale = CreateFileW((folder + L"\\dead-1.vxr").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(stale, nullptr, nullptr, &old);
    CloseHandle(stale);
    for (int start = 0; start < 3; ++start) {
        Start(file);
        Stop();
    }
    EXPECT_TRUE(copies().empty());
    const std::vector<std::wstring> kept = Names(folder + L"\\*");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadFile(folder + L"\\" + kept[0]), damaged);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, L"Vexa");
    EXPECT_NE(messages[0].text.find(L"読み込めませんでした"), std::wstring::npos) << messages[0].text;
    EXPECT_NE(messages[0].text.find(folder + L"\\" + kept[0]), std::wstring::npos) << messages[0].text;
    messages.clear();

    // An untitled picture's copy, newer than anything and from before frames
    // were kept: Yes brings it back untitled and modified, without frames.
    WriteFile(folder + L"\\dead-3.vxr", "Vexa recovery 1\n\n" + SampleScreenFile());
    messageAnswers.push_back(IDYES);
    Start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"前回終了時の編集内容が残っています。復元しますか？");
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_EQ(gDoc.screen.code[CellIndex(1, 0)], 7);
    EXPECT_TRUE(IsModified());
    EXPECT_FALSE(AnyFrameDefined());
}

// Each export item writes what the core makes of the screen, into the file
// its own dialog names; the PNG, decoded by the platform, is the picture.
TEST_F(Documents, ExportsWriteTheScreenInEachFormat)
{
    StartOnSample(L"title.txt");
    // Item, file, what the core makes of the screen (the PNG comes next).
    const std::tuple<int, const wchar_t*, std::string> exports[] = {
        {IDM_EXPORTMZF, L"t.mzf", MzfImage("TITLE", false)},
        {IDM_EXPORTASM, L"t.asm", AssemblerSource("TITLE", false)},
        {IDM_EXPORTBIN, L"t.bin", VramImage(false)},
        {IDM_EXPORTPNG, L"t.png", ""}};
    for (const auto& [id, name, bytes] : exports) {
        CommandWithFile(id, Scratch(name));
        EXPECT_TRUE(bytes.empty() || ReadFile(Scratch(name)) == bytes) << id;
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileDialogKinds, (std::vector<FileDialog>{FileDialog::ExportMzf, FileDialog::ExportAsm,
                                                         FileDialog::ExportBin, FileDialog::ExportPng}));
    // The PNG at the zoom of the canvas (x2), through the platform's decoder.
    ASSERT_TRUE(LoadOverlayFile(Scratch(L"t.png")));
    EXPECT_TRUE(gOverlay.width == 640 && gOverlay.pixels == ScreenPicture(2));

    // Marks cleared on request; a read-only target is reported as saving is.
    Command(IDM_EXPORTCLEARMARKS);
    CommandWithFile(IDM_EXPORTBIN, Scratch(L"t.bin"));
    EXPECT_EQ(ReadFile(Scratch(L"t.bin")), VramImage(true));
    SetFileAttributesW(Scratch(L"t.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    CommandWithFile(IDM_EXPORTMZF, Scratch(L"t.bin"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Scratch(L"t.bin") + L" に保存できませんでした\nファイルが読み取り専用です。");
    SetFileAttributesW(Scratch(L"t.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The frames leave as an MZF program at the speed the player's slider
// gives, into the file the dialog names; with no frame the user is told,
// and nothing is asked.
TEST_F(Documents, TheFramesLeaveAsAnMzfProgram)
{
    StartOnSample(L"walk.txt");
    EXPECT_TRUE(Grayed(IDM_EXPORTMZFANIM));
    Command(IDM_EXPORTMZFANIM);
    EXPECT_EQ(Said(), std::vector<std::wstring>{L"Vexa: Error: コマが設定されていません"});
    EXPECT_TRUE(fileDialogKinds.empty());

    messages.clear();
    Command(IDM_SELECTALL);
    Command(IDM_FRAME2);
    EXPECT_FALSE(Grayed(IDM_EXPORTMZFANIM));
    Command(IDM_ANIMSTART);
    SetPlayerSpeed(15);
    SendMessageW(PlayerWindow(), WM_COMMAND, IDOK, 0);
    CommandWithFile(IDM_EXPORTMZFANIM, Scratch(L"walk.mzf"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileDialogKinds, std::vector<FileDialog>{FileDialog::ExportMzfAnimation});
    std::string expected;
    ASSERT_EQ(AnimationMzfImage("WALK", 64, false, expected), AnimationRefusal::None);
    EXPECT_TRUE(ReadFile(Scratch(L"walk.mzf")) == expected);

    // A read-only target is reported as saving is, and stays as it was.
    SetFileAttributesW(Scratch(L"walk.mzf").c_str(), FILE_ATTRIBUTE_READONLY);
    Command(IDM_EXPORTCLEARMARKS);
    CommandWithFile(IDM_EXPORTMZFANIM, Scratch(L"walk.mzf"));
    EXPECT_EQ(Said(), std::vector<std::wstring>{L"Vexa: Error: " + Scratch(L"walk.mzf") +
                                                L" に保存できませんでした\nファイルが読み取り専用です。"});
    EXPECT_TRUE(ReadFile(Scratch(L"walk.mzf")) == expected);
    SetFileAttributesW(Scratch(L"walk.mzf").c_str(), FILE_ATTRIBUTE_NORMAL);
}

using StartUp_ = EditorTest;

// A path relative to the starting folder, quoted, with more after it; the
// editor then works in the program's folder, where its font and settings are.
TEST_F(StartUp_, CommandLineFileOpensFromAnyStartingFolder)
{
    CreateDirectoryW(Scratch(L"My Screens").c_str(), nullptr);
    const std::wstring file = Scratch(L"My Screens\\タイトル 1.txt");
    WriteFile(file, SampleScreenFile());
    wchar_t before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(Scratch().c_str());
    Start(L"  \"My Screens\\タイトル 1.txt\" ignored");
    GetCurrentDirectoryW(MAX_PATH, after);
    SetCurrentDirectoryW(before);
    EXPECT_EQ(gDocumentFile.path, file);
    EXPECT_EQ(Title(), L"タイトル 1.txt - Vexa");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(BesideProgram(L"x"), std::wstring(after) + L"\\x");
}

// The settings file as a user may have left it: a section of their own in
// UTF-8 without a mark, a value out of range, a path too long for a slot,
// gaps. The window starts with what it holds; the close writes back what
// changed, names in other scripts under either code page, keeping the rest
// and the gaps; the next start comes back as it was left. There the zoom
// menu offers only what fits the screen, and the client area follows the
// zoom and the status bar.
TEST_F(StartUp_, SettingsFileComesBackAndTheClientAreaFollowsZoomAndStatusBar)
{
    const std::wstring ini = BesideProgram(L"Vexa.ini"), plain = Scratch(L"plain.txt");
    const std::wstring greek = Scratch(L"Ωμέγα.txt"), picture = Scratch(L"絵 😀.txt");
    WriteFile(ini, "[Before]\r\ntitle=タイトル\r\n[Config]\r\nZoom=0\r\nShowGrid=7\r\nShowStatusBar=1\r\nUserKey=5\r\n"
                   "[RecentFiles]\r\nRecentFile1=" + Narrow(plain.c_str()) + "\r\nRecentFile2=C:\\" +
                       std::string(3000, 'e') + "\r\nRecentFile7=C:\\g.txt\r\n");
    Start();
    EXPECT_EQ(ClientSize().cx, ViewForZoom(0).W);
    EXPECT_EQ(ClientSize().cy, ViewForZoom(0).H + gShell.Tb + gShell.Sb);
    EXPECT_TRUE(Checked(IDM_GRID));  // 7: the default
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(plain.c_str()).c_str());
    EXPECT_EQ(LookUpRecentFile(1), nullptr);  // too long for a slot: dropped, not cut
    EXPECT_STREQ(LookUpRecentFile(6), "C:\\g.txt");
    for (const std::wstring& file : {greek, picture}) {
        WriteFile(file, SampleScreenFile());
        CommandWithFile(IDM_OPEN, file);
    }
    Command(IDM_ZOOM2);
    Command(IDM_STATUSBAR);
    Stop();

    const auto read = [&](const wchar_t* section, const wchar_t* key) {
        wchar_t value[1024];
        GetPrivateProfileStringW(section, key, L"<none>", value, 1024, ini.c_str());
        return std::wstring(value);
    };
    EXPECT_EQ(read(L"Before", L"title"), L"タイトル");
    EXPECT_EQ(read(L"Config", L"UserKey"), L"<none>");
    EXPECT_EQ(read(L"Config", L"Zoom") + read(L"Config", L"ShowGrid") + read(L"Config", L"ShowStatusBar"), L"110");
    EXPECT_EQ(read(L"RecentFiles", L"RecentFile1"), picture);
    EXPECT_EQ(read(L"RecentFiles", L"RecentFile2"), greek);
    EXPECT_EQ(read(L"RecentFiles", L"RecentFile4"), L"");
    EXPECT_EQ(read(L"RecentFiles", L"RecentFile9"), L"C:\\g.txt");

    Start();
    EXPECT_EQ(ClientSize().cx, ViewForZoom(1).W);
    EXPECT_EQ(ClientSize().cy, ViewForZoom(1).H + gShell.Tb);
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(picture.c_str()).c_str());
    // Names compare as the file system does, in any script: moved up, not added.
    std::wstring shouted = greek;
    CharUpperW(&shouted[0]);
    EXPECT_TRUE(AddRecentFile(Narrow(shouted.c_str()).c_str()));
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(greek.c_str()).c_str());
    EXPECT_EQ(LookUpRecentFile(3), nullptr);

    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    int fitting = 0;
    while (fitting < kZoomLevels && ViewForZoom(fitting).W <= width && ViewForZoom(fitting).H <= height) ++fitting;
    ASSERT_TRUE(fitting > 2 && fitting < kZoomLevels) << "the screen must cut the menu short: " << fitting;
    HMENU popup = OpenPopupHolding(IDM_ZOOM1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), fitting);
    EXPECT_NE(GetMenuState(popup, IDM_ZOOM1 + fitting - 1, MF_BYCOMMAND), 0xFFFFFFFF);
    EXPECT_EQ(GetMenuState(popup, IDM_ZOOM1 + fitting, MF_BYCOMMAND), 0xFFFFFFFF);
    EXPECT_TRUE(GetMenuState(popup, IDM_ZOOM2, MF_BYCOMMAND) & MF_CHECKED);

    EXPECT_FALSE(IsWindowVisible(gShell.statusBar));
    Command(IDM_STATUSBAR);
    EXPECT_TRUE(IsWindowVisible(gShell.statusBar) && gShell.Sb > 0 && gShell.Tb > 0);
    EXPECT_EQ(ClientSize().cy, ViewForZoom(1).H + gShell.Tb + gShell.Sb);
    Command(IDM_STATUSBAR);
    // x1 is narrow: the menu bar may wrap, the client area stays exact.
    for (int z : {0, 2}) {
        Command(IDM_ZOOM1 + z);
        EXPECT_EQ(ClientSize().cx, ViewForZoom(z).W) << z;
        EXPECT_EQ(ClientSize().cy, ViewForZoom(z).H + gShell.Tb) << z;
    }
}
