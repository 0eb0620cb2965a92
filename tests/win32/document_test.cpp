// Opening and saving on the real window: titles, the discard prompt, failed
// loads and saves, and the recent-files popup.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "app/recent_files.h"
#include "shell/base/shell_win32.h"
#include "shell/window_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "res/resource.h"
#include "screen/screen.h"
#include "screen/pen.h"
#include "screen/undo.h"
#include "tests/win32/editor_harness.h"

namespace {

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[512];
    GetMenuStringW(menu, position, text, 512, MF_BYPOSITION);
    return text;
}

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
};

TEST_F(Documents, SaveAsThenSaveKeepTheNameAndTheMarks)
{
    Start();
    EXPECT_EQ(Title(), L"Vexa");  // untouched until the first refresh
    Paint(0, 0);
    EXPECT_EQ(Title(), L"無題 * Vexa");
    Command(IDM_SAVE);  // untitled: the Save As dialog, cancelled
    ASSERT_EQ(fileDialogsWereSave.size(), 1u);
    EXPECT_TRUE(fileDialogsWereSave[0]);
    EXPECT_EQ(Title(), L"無題 * Vexa");

    const std::wstring file = Scratch(L"絵 stage1.txt");
    fileAnswers.push_back(file);
    Command(IDM_SAVE);
    EXPECT_EQ(Title(), L"絵 stage1.txt - Vexa");
    const std::string saved = ReadFile(file);
    EXPECT_EQ(saved.size(), 5999u);  // 'A' white on blue, the rest zero
    EXPECT_EQ(saved.compare(0, 2, "1,"), 0);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Scratch(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    Paint(1, 0);
    EXPECT_EQ(Title(), L"絵 stage1.txt * Vexa");
    Command(IDT_SAVE);  // named: no dialog
    EXPECT_EQ(fileDialogsWereSave.size(), 2u);
    EXPECT_EQ(Title(), L"絵 stage1.txt - Vexa");
    EXPECT_EQ(ReadFile(file).compare(0, 4, "1,1,"), 0);
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(file.c_str()).c_str());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Documents, DiscardPromptGuardsOpeningAndClosing)
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
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"変更内容を破棄しますか？");
    EXPECT_EQ(messages[0].caption, L"Vexa");
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(fileDialogsWereSave.size(), 1u);
    EXPECT_NE(gScreen.code[CellIndex(3, 3)], 0);
    EXPECT_TRUE(gDocument.path.empty());

    // A dropped file asks too; No keeps everything.
    messageAnswers.push_back(IDNO);
    const std::wstring dropPath = other;
    const size_t bytes = sizeof(DROPFILES) + (dropPath.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), dropPath.c_str(), dropPath.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(gShell.main, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(gDocument.path.empty());

    messageAnswers.push_back(IDYES);
    fileAnswers.push_back(other);
    Command(IDM_OPEN);
    EXPECT_EQ(gDocument.path, other);
    EXPECT_EQ(Title(), L"other.txt - Vexa");
    EXPECT_EQ(gScreen.code[1], 7);
    EXPECT_FALSE(CanUndo());

    // Closing with changes: No keeps the window, Yes closes it.
    Paint(0, 0);
    messageAnswers.push_back(IDNO);
    Stop();
    EXPECT_TRUE(IsWindow(gShell.main));
    messageAnswers.push_back(IDYES);
    Stop();
    EXPECT_FALSE(IsWindow(gShell.main));
}

TEST_F(Documents, FailedLoadsKeepTheScreenAndForgetTheFile)
{
    const std::wstring good = Scratch(L"good.txt"), bad = Scratch(L"bad.txt");
    WriteFile(good, SampleScreenFile());
    std::string broken = SampleScreenFile();
    broken[3000] = ' ';
    WriteFile(bad, broken);
    Start(good);
    const int before = gScreen.code[500];
    Paint(0, 0);
    AddRecentFile(Narrow(bad.c_str()).c_str());

    messageAnswers.push_back(IDYES);
    fileAnswers.push_back(bad);
    Command(IDM_OPEN);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, L"BRISELフォーマットではありません");
    EXPECT_EQ(messages[1].caption, L"Vexa: Error");
    EXPECT_EQ(gScreen.code[500], before);
    EXPECT_EQ(gScreen.code[0], 0x01);  // the painted cell survives
    EXPECT_TRUE(CanUndo());             // and so does its history
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(Title(), L"無題 * Vexa");
    EXPECT_STREQ(LookUpRecentFile(0), Narrow(good.c_str()).c_str());
    EXPECT_EQ(LookUpRecentFile(1), nullptr);

    // A vanished recent file: message, forgotten, untitled.
    DeleteFileW(good.c_str());
    messageAnswers.push_back(IDYES);
    Command(IDM_RECENT1);
    EXPECT_EQ(messages.back().text, good + L" が開けません");
    EXPECT_EQ(LookUpRecentFile(0), nullptr);
    messageAnswers.push_back(IDYES);
    Command(IDM_RECENT1);
    EXPECT_EQ(messages.back().text, L"Cannot find recent filename???");
    EXPECT_EQ(messages.back().caption, L"Error");
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
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Scratch(L"*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.cFileName[0] != L'.') ++entries;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(entries, 2);  // keep.txt and the file that was there
    Paint(3, 3);
    // Closing still asks, so nothing is lost.
    messageAnswers.push_back(IDNO);
    Stop();
    EXPECT_EQ(messages.back().text, L"変更内容を破棄しますか？");
}

TEST_F(Documents, AllFilesFilterStillReadsAndWritesScreenFiles)
{
    // Whatever filter the dialogs are left on, a file is read as a screen
    // file and saved as one: a save never leaves a file empty.
    const std::wstring notes = Scratch(L"notes.dat");
    WriteFile(notes, "just some notes");
    Start();
    Paint(0, 0);
    messageAnswers.push_back(IDYES);
    fileAnswers.push_back(notes);
    filterAnswers.push_back(2);
    Command(IDM_OPEN);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, L"BRISELフォーマットではありません");
    EXPECT_EQ(ReadFile(notes), "just some notes");
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(gScreen.code[0], 0x01);

    const std::wstring any = Scratch(L"picture.any");
    fileAnswers.push_back(any);
    filterAnswers.push_back(2);
    Command(IDM_SAVEAS);
    EXPECT_EQ(gDocument.fileType, 2);
    EXPECT_EQ(ReadFile(any).size(), 5999u);
    Paint(1, 0);
    Command(IDM_SAVE);  // no dialog this time
    EXPECT_EQ(fileDialogsWereSave.size(), 2u);
    const std::string again = ReadFile(any);
    EXPECT_EQ(again.size(), 5999u);
    EXPECT_EQ(again.compare(0, 4, "1,1,"), 0);
    messageAnswers.push_back(IDYES);
    fileAnswers.push_back(any);
    filterAnswers.push_back(2);
    Command(IDM_OPEN);
    EXPECT_EQ(gDocument.path, any);
    EXPECT_EQ(gScreen.code[1], 0x01);
}

TEST_F(Documents, RecentFilesPopupFollowsTheList)
{
    Start();
    HMENU popup = OpenPopupHolding(IDM_RECENT_NONE);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 1);
    EXPECT_EQ(MenuText(popup, 0), L"(なし)");
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);

    for (int n = 1; n <= 10; ++n) {
        const std::wstring f = Scratch(L"s" + std::to_wstring(n) + L".txt");
        WriteFile(f, SampleScreenFile());
        fileAnswers.push_back(f);
        Command(IDM_OPEN);
    }
    SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    ASSERT_EQ(GetMenuItemCount(popup), 9);
    EXPECT_EQ(MenuText(popup, 0), L"&1: " + Scratch(L"s10.txt"));
    EXPECT_EQ(MenuText(popup, 8), L"&9: " + Scratch(L"s2.txt"));
    EXPECT_EQ(GetMenuItemID(popup, 3), static_cast<UINT>(IDM_RECENT4));
    Command(IDM_RECENT4);  // s7 moves to the top
    EXPECT_EQ(gDocument.name, L"s7.txt");
    SendMessageW(gShell.main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_EQ(MenuText(popup, 0), L"&1: " + Scratch(L"s7.txt"));
    EXPECT_EQ(MenuText(popup, 1), L"&2: " + Scratch(L"s10.txt"));

    // The list survives a restart in the same order.
    Stop();
    Start();
    popup = OpenPopupHolding(IDM_RECENT_NONE);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 9);
    EXPECT_EQ(MenuText(popup, 0), L"&1: " + Scratch(L"s7.txt"));
}

TEST_F(Documents, MenuStatesFollowTheEditor)
{
    Start();
    EXPECT_TRUE(MenuState(IDM_UNDO) & MF_GRAYED);
    EXPECT_TRUE(MenuState(IDM_REDO) & MF_GRAYED);
    for (int id : {IDM_CUT, IDM_COPY, IDM_PASTE, IDM_COPYIMAGE, IDM_FILL, IDM_FLIPLR, IDM_FLIPUD, IDM_ANIMSTART,
                   IDM_FRAMECANCELALL, IDM_SHIFTLEFT, IDM_SHIFTDOWN, IDM_FRAME1, IDM_FRAME9})
        EXPECT_TRUE(MenuState(id) & MF_GRAYED) << id;
    EXPECT_FALSE(MenuState(IDM_SELECTALL) & MF_GRAYED);
    EXPECT_TRUE(MenuState(IDM_GRID) & MF_CHECKED);
    EXPECT_TRUE(MenuState(IDM_SHOWFRAMES) & MF_CHECKED);
    EXPECT_FALSE(MenuState(IDM_MARKBIT3) & MF_CHECKED);
    HMENU anim = OpenPopupHolding(IDM_FRAME3);
    wchar_t text[64];
    GetMenuStringW(anim, IDM_FRAME3, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"3コマめに設定");

    const POINT p = CellCentre(1, 1);
    Press(p.x, p.y);
    Release(p.x, p.y);
    EXPECT_FALSE(MenuState(IDM_UNDO) & MF_GRAYED);
    Command(IDM_UNDO);
    EXPECT_TRUE(MenuState(IDM_UNDO) & MF_GRAYED);
    EXPECT_FALSE(MenuState(IDM_REDO) & MF_GRAYED);
    Key(VK_F9);
    EXPECT_TRUE(MenuState(IDM_MARKBIT3) & MF_CHECKED);
    Key(VK_F11);
    EXPECT_TRUE(MenuState(IDM_MARKDISPC0) & MF_CHECKED);
    Command(IDM_MARKTRANSPARENT);
    EXPECT_TRUE(MenuState(IDM_MARKTRANSPARENT) & MF_CHECKED);
    Command(IDM_GRIDCROSS);
    EXPECT_TRUE(MenuState(IDM_GRIDCROSS) & MF_CHECKED);
    EXPECT_FALSE(MenuState(IDM_GRIDDOT) & MF_CHECKED);

    Command(IDM_ABOUT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"Vexa v0.23\n\tby Orlen");
    EXPECT_EQ(messages[0].caption, L"About");
}
