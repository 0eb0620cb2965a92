// Opening and saving on the real window: titles, the discard prompt, failed
// loads and saves, and the recent-files popup.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/recent_files.h"
#include "io/exports.h"
#include "render/overlay.h"
#include "shell/base/shell_win32.h"
#include "shell/window_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/overlay_win32.h"
#include "res/resource.h"
#include "screen/screen.h"
#include "screen/pen.h"
#include "screen/undo.h"
#include "tests/win32/editor_harness.h"

namespace {

// The popup's texts once the window has refreshed it.
std::vector<std::wstring> Items(HMENU popup)
{
    SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    std::vector<std::wstring> items;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        wchar_t text[512];
        GetMenuStringW(popup, i, text, 512, MF_BYPOSITION);
        items.push_back(text);
    }
    return items;
}

const wchar_t kDiscard[] = L"Vexa: 変更内容を破棄しますか？";
const wchar_t kNotAScreenFile[] = L"Vexa: Error: BRISELフォーマットではありません";

}  // namespace

class Documents : public EditorTest {
protected:
    // Paints 'A' white on blue.
    void Paint(int column, int row)
    {
        SetPaletteCursor(9 * 16 + 1);
        const POINT p = CellCentre(column, row);
        Press(p.x, p.y);
        Release(p.x, p.y);
    }
    // Every message shown so far, as "caption: text".
    std::vector<std::wstring> Said() const
    {
        std::vector<std::wstring> said;
        for (const ShownMessage& m : messages) said.push_back(m.caption + L": " + m.text);
        return said;
    }
    // The recent-files popup naming s<n>.txt for each n, in order.
    std::vector<std::wstring> Recent(std::initializer_list<int> numbers) const
    {
        std::vector<std::wstring> items;
        for (int n : numbers) {
            const std::wstring file = Scratch(L"s" + std::to_wstring(n) + L".txt");
            items.push_back(L"&" + std::to_wstring(items.size() + 1) + L": " + file);
        }
        return items;
    }
    // The names in the scratch folder, sorted.
    std::vector<std::wstring> Listing() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(Scratch(L"*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(Documents, SaveAsThenSaveKeepTheNameAndTheMarks)
{
    Start();
    EXPECT_EQ(Title(), L"Vexa");  // untouched until the first refresh
    Paint(0, 0);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    Command(IDM_SAVE);  // untitled: the Save As dialog, cancelled
    EXPECT_EQ(fileDialogsWereSave, std::vector<bool>{true});
    EXPECT_EQ(Title(), L"無題 * Vexa");

    const std::wstring file = Scratch(L"絵 stage1.txt");
    fileAnswers.push_back(file);
    Command(IDM_SAVE);
    EXPECT_EQ(Title(), L"絵 stage1.txt - Vexa");
    EXPECT_EQ(ReadFile(file).size(), 5999u);  // 'A' white on blue, the rest zero
    EXPECT_EQ(ReadFile(file).compare(0, 2, "1,"), 0);
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"絵 stage1.txt"});  // no temporary file left behind
    Paint(1, 0);
    EXPECT_EQ(Title(), L"絵 stage1.txt * Vexa");
    Command(IDT_SAVE);  // named: no dialog
    EXPECT_EQ(fileDialogsWereSave.size(), 2u);
    EXPECT_EQ(Title(), L"絵 stage1.txt - Vexa");
    EXPECT_EQ(ReadFile(file).compare(0, 4, "1,1,"), 0);
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(file.c_str()).c_str());

    // Whatever filter the dialogs are left on, a save writes a screen file
    // (never an empty one) and an open reads one.
    const std::wstring any = Scratch(L"picture.any");
    fileAnswers.insert(fileAnswers.end(), {any, file});
    filterAnswers.assign(2, 2);
    Command(IDM_SAVEAS);
    EXPECT_EQ(gDocument.fileType, 2);
    Paint(2, 0);
    Command(IDM_SAVE);  // no dialog this time
    EXPECT_EQ(fileDialogsWereSave.size(), 3u);
    EXPECT_EQ(ReadFile(any).size(), 5999u);
    EXPECT_EQ(ReadFile(any).compare(0, 6, "1,1,1,"), 0);
    Command(IDM_OPEN);
    EXPECT_EQ(gDocument.path, file);
    EXPECT_EQ(gScreen.code[2], 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Documents, DiscardPromptGuardsOpeningAndDropping)
{
    const std::wstring other = Scratch(L"other.txt");
    WriteFile(other, SampleScreenFile());
    Start();
    Command(IDM_OPEN);  // nothing to lose: no question, the dialog opens
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileDialogsWereSave.size(), 1u);

    Paint(3, 3);
    messageAnswers.push_back(IDNO);
    fileAnswers.push_back(other);
    Command(IDM_OPEN);
    EXPECT_EQ(Said(), std::vector<std::wstring>{kDiscard});
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(fileDialogsWereSave.size(), 1u);
    EXPECT_NE(gScreen.code[CellIndex(3, 3)], 0);
    EXPECT_TRUE(gDocument.path.empty());

    // A dropped file asks too; No keeps everything.
    messageAnswers.push_back(IDNO);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (other.size() + 2) * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), other.c_str(), other.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(gShell.main, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(Said(), std::vector<std::wstring>(2, kDiscard));
    EXPECT_TRUE(gDocument.path.empty());

    messageAnswers.push_back(IDYES);
    fileAnswers.push_back(other);
    Command(IDM_OPEN);
    EXPECT_EQ(gDocument.path, other);
    EXPECT_EQ(Title(), L"other.txt - Vexa");
    EXPECT_EQ(gScreen.code[1], 7);
    EXPECT_FALSE(CanUndo());

    EXPECT_EQ(Said(), std::vector<std::wstring>(3, kDiscard));
}

TEST_F(Documents, FailedLoadsKeepTheScreenAndForgetTheFile)
{
    const std::wstring good = Scratch(L"good.txt"), bad = Scratch(L"bad.txt"), notes = Scratch(L"notes.dat");
    WriteFile(good, SampleScreenFile());
    std::string broken = SampleScreenFile();
    broken[3000] = ' ';
    WriteFile(bad, broken);
    WriteFile(notes, "just some notes");
    Start(good);
    const int before = gScreen.code[500];
    Paint(0, 0);
    AddRecentFile(Narrow(bad.c_str()).c_str());
    // A broken screen file, and any file read under the all-files filter.
    for (const auto& [path, filter] : {std::pair{bad, 1}, std::pair{notes, 2}}) {
        messageAnswers.push_back(IDYES);
        fileAnswers.push_back(path);
        filterAnswers.push_back(filter);
        Command(IDM_OPEN);
    }
    EXPECT_EQ(Said(), (std::vector<std::wstring>{kDiscard, kNotAScreenFile, kDiscard, kNotAScreenFile}));
    EXPECT_EQ(ReadFile(notes), "just some notes");
    EXPECT_EQ(gScreen.code[500], before);
    EXPECT_EQ(gScreen.code[0], 0x01);  // the painted cell survives
    EXPECT_TRUE(CanUndo());             // and so does its history
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(good.c_str()).c_str());
    EXPECT_EQ(LookUpRecentFile(1), nullptr);

    // A vanished recent file: message, forgotten, untitled.
    DeleteFileW(good.c_str());
    messages.clear();
    messageAnswers = {IDYES, IDOK, IDYES};
    Command(IDM_RECENT1);
    EXPECT_EQ(LookUpRecentFile(0), nullptr);
    Command(IDM_RECENT1);
    EXPECT_EQ(Said(), (std::vector<std::wstring>{kDiscard, L"Vexa: Error: " + good + L" が開けません", kDiscard,
                                                  L"Error: Cannot find recent filename???"}));
}

TEST_F(Documents, FailedSavesNeverDestroyTheFileAndKeepTheChanges)
{
    const std::wstring file = Scratch(L"keep.txt");
    WriteFile(file, SampleScreenFile());
    Start(file);
    Paint(2, 2);
    // The target is read-only: the old file stays whole, the user is told.
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    Command(IDM_SAVE);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, L"Vexa: Error");
    EXPECT_NE(messages[0].text.find(L"保存できませんでした"), std::wstring::npos);
    EXPECT_EQ(ReadFile(file), SampleScreenFile());
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(Title(), L"keep.txt * Vexa");

    // A missing folder: nothing is written, still modified.
    fileAnswers.push_back(Scratch(L"no such folder\\x.txt"));
    Command(IDM_SAVEAS);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(Title(), L"x.txt * Vexa");
    // A file that happens to carry the name the save would try first for its
    // temporary file is never touched, and nothing is left behind.
    wchar_t taken[32];
    swprintf(taken, 32, L"~vexa%04lx00.tmp", GetCurrentProcessId() & 0xFFFF);
    WriteFile(Scratch(taken), "mine");
    fileAnswers.push_back(file);
    Command(IDM_SAVEAS);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_FALSE(IsModified());
    EXPECT_EQ(ReadFile(Scratch(taken)), "mine");
    EXPECT_EQ(Listing(), (std::vector<std::wstring>{L"keep.txt", taken}));
}

TEST_F(Documents, RecentFilesPopupFollowsTheList)
{
    Start();
    HMENU popup = OpenPopupHolding(IDM_RECENT_NONE);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Items(popup), std::vector<std::wstring>{L"(なし)"});
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);
    for (int n = 1; n <= 10; ++n) {
        const std::wstring f = Scratch(L"s" + std::to_wstring(n) + L".txt");
        WriteFile(f, SampleScreenFile());
        fileAnswers.push_back(f);
        Command(IDM_OPEN);
    }
    EXPECT_EQ(Items(popup), Recent({10, 9, 8, 7, 6, 5, 4, 3, 2}));
    EXPECT_EQ(GetMenuItemID(popup, 3), static_cast<UINT>(IDM_RECENT4));
    Command(IDM_RECENT4);  // s7 moves to the top
    EXPECT_EQ(gDocument.name, L"s7.txt");
    EXPECT_EQ(Items(popup), Recent({7, 10, 9, 8, 6, 5, 4, 3, 2}));
    // The list survives a restart in the same order.
    Stop();
    Start();
    popup = OpenPopupHolding(IDM_RECENT_NONE);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(Items(popup), Recent({7, 10, 9, 8, 6, 5, 4, 3, 2}));
}

TEST_F(Documents, MenuStatesFollowTheEditor)
{
    Start();
    // (The block items' states are checked with the blocks.)
    for (int id : {IDM_UNDO, IDM_REDO, IDM_PASTE}) EXPECT_TRUE(MenuState(id) & MF_GRAYED) << id;
    EXPECT_FALSE(MenuState(IDM_SELECTALL) & MF_GRAYED);
    const int toggled[] = {IDM_MARKBIT3, IDM_MARKDISPC0, IDM_MARKTRANSPARENT, IDM_GRIDDOT};
    for (int id : {IDM_GRID, IDM_SHOWFRAMES, IDM_GRIDCROSS}) EXPECT_TRUE(MenuState(id) & MF_CHECKED) << id;
    for (int id : toggled) EXPECT_FALSE(MenuState(id) & MF_CHECKED) << id;

    const POINT p = CellCentre(1, 1);
    Press(p.x, p.y);
    Release(p.x, p.y);
    EXPECT_FALSE(MenuState(IDM_UNDO) & MF_GRAYED);
    Command(IDM_UNDO);
    EXPECT_TRUE(MenuState(IDM_UNDO) & MF_GRAYED);
    EXPECT_FALSE(MenuState(IDM_REDO) & MF_GRAYED);
    Key(VK_F9);
    Key(VK_F11);
    Command(IDM_MARKTRANSPARENT);
    Command(IDM_GRIDDOT);
    for (int id : toggled) EXPECT_TRUE(MenuState(id) & MF_CHECKED) << id;
    EXPECT_FALSE(MenuState(IDM_GRIDCROSS) & MF_CHECKED);

    Command(IDM_ABOUT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Vexa v0.23\n\tby Orlen");
    EXPECT_EQ(messages[0].caption, L"About");
}

// The recovery copy follows the document: written while it has unsaved
// changes, gone once they are saved or given up. Copies left behind by a
// run that ended are offered only when they can be trusted and are newer
// than their file.
TEST_F(Documents, RecoveryCopyFollowsTheDocument)
{
    const std::wstring folder = Scratch() + L"-recovery";
    const auto copies = [&] {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW f;
        HANDLE search = FindFirstFileW((folder + L"\\*.vxr").c_str(), &f);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &f))
            found.push_back(folder + L"\\" + f.cFileName);
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        return found;
    };
    const auto tick = [] { SendMessageW(gShell.main, WM_TIMER, 3, 0); };
    const std::wstring file = Scratch(L"s1.txt");
    WriteFile(file, SampleScreenFile());
    Start(file);
    tick();
    EXPECT_TRUE(copies().empty());  // nothing unsaved
    Paint(1, 1);
    tick();
    ASSERT_EQ(copies().size(), 1u);
    const std::string copy = ReadFile(copies()[0]);
    EXPECT_EQ(copy.substr(0, copy.find('\n', 16) + 1), "Vexa recovery 1\n" + Narrow(file.c_str()) + "\n");
    Command(IDM_SAVE);
    EXPECT_TRUE(copies().empty());
    Paint(2, 2);
    tick();
    ASSERT_EQ(copies().size(), 1u);
    messageAnswers.push_back(IDYES);  // give the change up for another file
    fileAnswers.push_back(file);
    Command(IDM_OPEN);
    EXPECT_TRUE(copies().empty());
    Stop();
    messages.clear();

    // Left behind by ended runs: a copy older than its file, and a damaged
    // one. Neither is offered, both go.
    WriteFile(folder + L"\\dead-1.vxr", "Vexa recovery 1\n" + Narrow(file.c_str()) + "\n" + SampleScreenFile());
    WriteFile(folder + L"\\dead-2.vxr", "Vexa recovery 1\nno screen here");
    FILETIME old = {0, 1};
    HANDLE stale = CreateFileW((folder + L"\\dead-1.vxr").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(stale, nullptr, nullptr, &old);
    CloseHandle(stale);
    for (int start = 0; start < 2; ++start) {
        Start(file);
        Stop();
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(copies().empty());

    // An untitled picture's copy, newer than anything: Yes brings it back
    // untitled and modified.
    WriteFile(folder + L"\\dead-3.vxr", "Vexa recovery 1\n\n" + SampleScreenFile());
    messageAnswers.push_back(IDYES);
    Start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"前回終了時の編集内容が残っています。復元しますか？");
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_EQ(gScreen.code[CellIndex(1, 0)], 7);
    EXPECT_TRUE(IsModified());
}

// Each export item writes what the core makes of the screen, into the file
// its own dialog names; the PNG, decoded by the platform, is the picture.
TEST_F(Documents, ExportsWriteTheScreenInEachFormat)
{
    const std::wstring file = Scratch(L"title.txt");
    WriteFile(file, SampleScreenFile());
    Start(file);
    const int ids[] = {IDM_EXPORTMZF, IDM_EXPORTASM, IDM_EXPORTBIN, IDM_EXPORTPNG};
    const wchar_t* names[] = {L"t.mzf", L"t.asm", L"t.bin", L"t.png"};
    for (int n = 0; n < 4; ++n) {
        fileAnswers.push_back(Scratch(names[n]));
        Command(ids[n]);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileDialogKinds, (std::vector<FileDialog>{FileDialog::ExportMzf, FileDialog::ExportAsm,
                                                         FileDialog::ExportBin, FileDialog::ExportPng}));
    EXPECT_EQ(ReadFile(Scratch(L"t.mzf")), MzfImage("TITLE", false));
    EXPECT_EQ(ReadFile(Scratch(L"t.asm")), AssemblerSource("TITLE", false));
    EXPECT_EQ(ReadFile(Scratch(L"t.bin")), VramImage(false));

    // The PNG at the zoom of the canvas (x2), through the platform's decoder.
    ASSERT_TRUE(LoadOverlayFile(Scratch(L"t.png")));
    const std::vector<uint32_t> want = ScreenPicture(2);
    EXPECT_EQ(gOverlay.width, 640);
    EXPECT_EQ(gOverlay.height, 400);
    EXPECT_TRUE(gOverlay.pixels == want);

    // Marks cleared on request; a read-only target is reported as saving is.
    Command(IDM_EXPORTCLEARMARKS);
    EXPECT_EQ(MenuState(IDM_EXPORTCLEARMARKS) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    fileAnswers.push_back(Scratch(L"t.bin"));
    Command(IDM_EXPORTBIN);
    EXPECT_EQ(ReadFile(Scratch(L"t.bin")), VramImage(true));
    SetFileAttributesW(Scratch(L"t.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    fileAnswers.push_back(Scratch(L"t.bin"));
    Command(IDM_EXPORTMZF);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Scratch(L"t.bin") + L" に保存できませんでした");
    SetFileAttributesW(Scratch(L"t.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
}
