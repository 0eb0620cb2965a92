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

TEST_F(StartUp_, CommandLineFileOpensOrLeavesAnUntitledDocument)
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
    EXPECT_EQ(gDocument.fileType, kBriselFileType);
    EXPECT_TRUE(messages.empty());
    Stop();

    // A relative path is resolved from the starting folder; settings and
    // font then come from the program's folder.
    wchar_t before[MAX_PATH], after[MAX_PATH], self[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(Scratch().c_str());
    Start(L"\"My Screens\\タイトル 1.txt\"");
    GetCurrentDirectoryW(MAX_PATH, after);
    SetCurrentDirectoryW(before);
    EXPECT_EQ(gDocument.path, file);
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring folder = self;
    EXPECT_EQ(std::wstring(after), folder.substr(0, folder.rfind(L'\\')));
    Stop();

    // An unclosed quote names no file. (A missing file is reported by the
    // end-to-end run, in its real message box.)
    Start(L"\"" + file);
    EXPECT_TRUE(gDocument.path.empty());
    EXPECT_EQ(gScreen.code[1], 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartUp_, ClientAreaFollowsZoomAndStatusBarAndComesBackAtTheNextStart)
{
    Start();
    EXPECT_EQ(Zoom, 1);
    EXPECT_EQ(ClientSize().cx, ViewForZoom(1).W);
    EXPECT_GT(gShell.Tb, 0);
    EXPECT_FALSE(IsWindowVisible(gShell.statusBar));
    Command(IDM_STATUSBAR);
    EXPECT_TRUE(IsWindowVisible(gShell.statusBar));
    EXPECT_GT(gShell.Sb, 0);
    EXPECT_EQ(ClientSize().cy, ViewForZoom(1).H + gShell.Tb + gShell.Sb);
    Command(IDM_STATUSBAR);
    // x1 is narrow: the menu bar may wrap, the client area stays exact.
    for (int z : {1, 0, 2}) {
        Command(IDM_ZOOM1 + z);
        EXPECT_EQ(ClientSize().cx, ViewForZoom(z).W) << z;
        EXPECT_EQ(ClientSize().cy, ViewForZoom(z).H + gShell.Tb) << z;
    }
    EXPECT_EQ(ZoomRatio, 2);
    Command(IDM_ZOOMTOGGLE);  // Ctrl+E: to x1 and back
    EXPECT_EQ(Zoom, 0);
    EXPECT_TRUE(MenuState(IDM_ZOOM1) & MF_CHECKED);
    Command(IDM_ZOOMTOGGLE);
    EXPECT_EQ(Zoom, 2);
    EXPECT_EQ(ClientSize().cx, ViewForZoom(2).W);

    Command(IDM_ZOOM1);
    Command(IDM_GRID);
    Command(IDM_GRIDDOT);
    Command(IDM_STATUSBAR);
    Stop();
    Start();
    EXPECT_TRUE(Zoom == 0 && ShowGrid == 0 && GridType == 0 && ShowStatusBar == 1);
    EXPECT_FALSE(MenuState(IDM_GRID) & MF_CHECKED);
    EXPECT_TRUE(MenuState(IDM_GRIDDOT) & MF_CHECKED);
    EXPECT_TRUE(MenuState(IDM_STATUSBAR) & MF_CHECKED);
    EXPECT_EQ(ClientSize().cx, ViewForZoom(0).W);
    EXPECT_EQ(ClientSize().cy, ViewForZoom(0).H + gShell.Tb + gShell.Sb);
}

TEST_F(StartUp_, ZoomMenuOffersOnlyWhatFitsTheScreen)
{
    Start();
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    int fitting = 0;
    while (fitting < kZoomLevels && ViewForZoom(fitting).W <= width && ViewForZoom(fitting).H <= height) ++fitting;
    EXPECT_TRUE(width != 1920 || height != 1080 || fitting == 4) << fitting;  // the CI screen
    HMENU popup = OpenPopupHolding(IDM_ZOOM1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), fitting);
    for (int z = 0; z < 8; ++z) EXPECT_EQ(GetMenuState(popup, IDM_ZOOM1 + z, MF_BYCOMMAND) != 0xFFFFFFFF, z < fitting);
    EXPECT_TRUE(GetMenuState(popup, IDM_ZOOM2, MF_BYCOMMAND) & MF_CHECKED);
}
