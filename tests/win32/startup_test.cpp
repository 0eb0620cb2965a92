// Start-up on the real main window: command-line files, window sizes and the
// zoom menu.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/base/shell_win32.h"
#include "shell/window_win32.h"
#include "shell/document_win32.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/screen.h"
#include "tests/win32/editor_harness.h"

using StartUp_ = EditorTest;

TEST_F(StartUp_, QuotedPathWithSpacesOpensTheFile)
{
    CreateDirectoryW(Scratch(L"My Screens").c_str(), nullptr);
    const std::wstring file = Scratch(L"My Screens\\タイトル 1.txt");
    WriteFile(file, SampleScreenFile());
    Start(L"  \"" + file + L"\" ignored");
    EXPECT_EQ(gDocument.path, file);
    EXPECT_EQ(gDocument.name, L"タイトル 1.txt");
    EXPECT_EQ(Title(), L"タイトル 1.txt - Vexa");
    EXPECT_EQ(gScreen.code[5], 35);
    EXPECT_EQ(gScreen.attr[9], (1 << 4) | 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(gDocument.fileType, kBriselFileType);
}

TEST_F(StartUp_, RelativePathIsResolvedFromTheStartingFolder)
{
    CreateDirectoryW(Scratch(L"sub").c_str(), nullptr);
    WriteFile(Scratch(L"sub\\a.txt"), SampleScreenFile());
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(Scratch().c_str());
    Start(L"sub\\a.txt");
    wchar_t after[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, after);
    SetCurrentDirectoryW(before);
    EXPECT_EQ(gDocument.path, Scratch(L"sub\\a.txt"));
    EXPECT_EQ(gScreen.code[1], 7);
    // Settings and font come from the program's folder.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.resize(folder.rfind(L'\\'));
    EXPECT_EQ(std::wstring(after), folder);
}

TEST_F(StartUp_, UnclosedQuoteOrMissingFileLeavesAnUntitledDocument)
{
    WriteFile(Scratch(L"a.txt"), SampleScreenFile());
    Start(L"\"" + Scratch(L"a.txt"));
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(gScreen.code[1], 0);
    EXPECT_TRUE(messages.empty());
    Stop();

    Start(Scratch(L"nothing-here.txt"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Scratch(L"nothing-here.txt") + L" が開けません");
    EXPECT_EQ(messages[0].caption, L"Vexa: Error");
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(Title(), L"無題 - Vexa");
}

TEST_F(StartUp_, ClientAreaFollowsZoomAndStatusBar)
{
    Start();
    EXPECT_EQ(Zoom, 1);
    SIZE size = ClientSize();
    EXPECT_EQ(size.cx, 952);
    EXPECT_EQ(size.cy, 416 + gShell.Tb);
    EXPECT_GT(gShell.Tb, 0);
    EXPECT_FALSE(IsWindowVisible(gShell.statusBar));

    Command(IDM_STATUSBAR);
    EXPECT_TRUE(IsWindowVisible(gShell.statusBar));
    EXPECT_GT(gShell.Sb, 0);
    EXPECT_EQ(ClientSize().cy, 416 + gShell.Tb + gShell.Sb);
    Command(IDM_STATUSBAR);
    EXPECT_EQ(ClientSize().cy, 416 + gShell.Tb);

    // x1 is narrow: the menu bar may wrap, the client area stays exact.
    Command(IDM_ZOOM1);
    size = ClientSize();
    EXPECT_EQ(size.cx, 524);
    EXPECT_EQ(size.cy, 234 + gShell.Tb);
    Command(IDM_ZOOM3);
    EXPECT_EQ(ClientSize().cx, 1415);
    EXPECT_EQ(ClientSize().cy, 616 + gShell.Tb);
    EXPECT_EQ(ZoomRatio, 2);
    Command(IDM_ZOOMTOGGLE);  // Ctrl+E: to x1 and back
    EXPECT_EQ(Zoom, 0);
    EXPECT_EQ(MenuState(IDM_ZOOM1) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    Command(IDM_ZOOMTOGGLE);
    EXPECT_EQ(Zoom, 2);
    EXPECT_EQ(ClientSize().cx, 1415);
}

TEST_F(StartUp_, ZoomMenuOffersOnlyWhatFitsTheScreen)
{
    Start();
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    // The panel sizes of x1 to x8, as the layout table gives them.
    const int panelWidth[8] = {524, 952, 1415, 1878, 2341, 2804, 3267, 3730};
    const int panelHeight[8] = {234, 416, 616, 816, 1016, 1216, 1416, 1616};
    int fitting = 0;
    while (fitting < 8 && panelWidth[fitting] <= width && panelHeight[fitting] <= height) ++fitting;
    HMENU popup = OpenPopupHolding(IDM_ZOOM1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), fitting);
    for (int z = 0; z < 8; ++z) EXPECT_EQ(GetMenuState(popup, IDM_ZOOM1 + z, MF_BYCOMMAND) != 0xFFFFFFFF, z < fitting);
    EXPECT_EQ(GetMenuState(popup, IDM_ZOOM2, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    if (width == 1920 && height == 1080) {
        EXPECT_EQ(fitting, 4);
    }
}

TEST_F(StartUp_, SettingsComeBackAtTheNextStart)
{
    Start();
    Command(IDM_ZOOM1);
    Command(IDM_GRID);
    Command(IDM_GRIDDOT);
    Command(IDM_STATUSBAR);
    Stop();
    Start();
    EXPECT_EQ(Zoom, 0);
    EXPECT_EQ(ShowGrid, 0);
    EXPECT_EQ(GridType, 0);
    EXPECT_EQ(ShowStatusBar, 1);
    EXPECT_EQ(MenuState(IDM_GRID) & MF_CHECKED, 0u);
    EXPECT_EQ(MenuState(IDM_GRIDDOT) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(MenuState(IDM_STATUSBAR) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(ClientSize().cx, 524);
}
