// The frames on the real window: saved into a frames file, read back after
// a restart and played; damaged, missing and read-only files; the frames
// kept by the recovery copy; the animated GIF written from the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "anim/frames.h"
#include "io/recovery.h"
#include "render/overlay.h"
#include "render/view.h"
#include "res/resource.h"
#include "screen/document.h"
#include "screen/selection.h"
#include "screen/undo.h"
#include "shell/base/shell_win32.h"
#include "shell/base/text_win32.h"
#include "shell/overlay_win32.h"
#include "shell/player_win32.h"
#include "tests/gif/player_pictures.h"
#include "tests/win32/editor_harness.h"

namespace {

class FramesOfTheWindow : public EditorTest {
protected:
    // Frames 1, 2 and 9 from selections, through their menu commands.
    void SetThreeFrames()
    {
        SetSelection(0, 0, 3, 3);
        Command(IDM_FRAME1);
        SetSelection(4, 0, 7, 3);
        Command(IDM_FRAME2);
        SetSelection(10, 10, 10, 10);
        Command(IDM_FRAME9);
    }
    std::wstring LastMessage() const { return messages.empty() ? L"" : Said().back(); }
};

bool SameFrame(const Frame& f, int left, int top, int right, int bottom)
{
    return f.left == left && f.top == top && f.right == right && f.bottom == bottom;
}

}  // namespace

// A user sets frames, saves them, restarts the editor, reads them back,
// plays them and writes them as a GIF at the canvas's zoom and the player's
// speed. The platform's decoder reads the GIF's first picture here; the
// pictures and the file are left beside the program for
// tests/gif/check_gif.py, which decodes every picture with PIL, a decoder of
// its own, after this suite.
TEST_F(FramesOfTheWindow, SavedFramesComeBackAfterARestartAndPlayAndLeaveAsAGif)
{
    const std::wstring screen = StartOnSample(L"walk.txt"), frames = Scratch(L"steps.vxf");
    const std::wstring gif = BesideProgram(L"window-animation.gif");
    // Nothing to save yet.
    EXPECT_TRUE(Grayed(IDM_FRAMESSAVE) && !Grayed(IDM_FRAMESLOAD) && Grayed(IDM_EXPORTGIF));
    SetThreeFrames();
    ASSERT_FALSE(Grayed(IDM_FRAMESSAVE) || Grayed(IDM_EXPORTGIF));
    // The dialog proposes the screen's own name; the file is plain text.
    CommandWithFile(IDM_FRAMESSAVE, frames);
    ASSERT_EQ(fileDialogKinds, std::vector<FileDialog>{FileDialog::SaveFrames});
    EXPECT_EQ(fileProposals.back(), Scratch(L"walk.vxf"));
    EXPECT_EQ(ReadFile(frames),
              "# Vexa frames: number, then left, top, right, bottom cells\n1 0 0 3 3\n2 4 0 7 3\n9 10 10 10 10\n");
    // The open dialog starts on the file last used (here cancelled).
    Command(IDM_FRAMESLOAD);
    EXPECT_EQ(fileProposals.back(), frames);
    Stop();

    Start(screen);
    ASSERT_FALSE(AnyFrameDefined());
    CommandWithFile(IDM_FRAMESLOAD, frames);
    EXPECT_EQ(fileDialogKinds.back(), FileDialog::OpenFrames);
    EXPECT_TRUE(SameFrame(gFrames[0], 0, 0, 3, 3) && SameFrame(gFrames[1], 4, 0, 7, 3) &&
                SameFrame(gFrames[8], 10, 10, 10, 10));
    for (int k = 2; k < 8; ++k) EXPECT_FALSE(FrameDefined(k)) << k;
    EXPECT_TRUE(messages.empty());
    SetSelection(0, 0, 3, 3);
    Command(IDM_FRAME4);  // frame 1 again: a picture without change
    Command(IDM_ANIMSTART);
    ASSERT_NE(PlayerWindow(), nullptr);
    EXPECT_TRUE(gPlayer.layout.bufferWidth == 4 * 16 && gPlayer.layout.bufferHeight == 4 * 16);
    // While it plays, the frames can be neither saved nor read.
    EXPECT_TRUE(Grayed(IDM_FRAMESSAVE) && Grayed(IDM_FRAMESLOAD));
    SetPlayerSpeed(75);
    ASSERT_EQ(gPlayer.interval, 256);
    DeleteFileW(gif.c_str());
    CommandWithFile(IDM_EXPORTGIF, gif);
    EXPECT_EQ(fileDialogKinds, (std::vector<FileDialog>{FileDialog::SaveFrames, FileDialog::OpenFrames,
                                                         FileDialog::OpenFrames, FileDialog::ExportGif}));
    EXPECT_EQ(fileProposals.back(), Scratch(L"walk.gif"));
    EXPECT_TRUE(messages.empty());
    SendMessageW(PlayerWindow(), WM_COMMAND, IDOK, 0);
    const int k = CurrentView().k;
    ASSERT_EQ(k, 2);
    const std::string expected = PlayerPictures(k, 260);  // 256 ms kept to the hundredth
    WriteFile(BesideProgram(L"window-animation.expected"), expected);

    ASSERT_TRUE(LoadOverlayFile(gif));
    PlayerLayout layout;
    ASSERT_TRUE(PlanPlayer(k, layout));
    const int width = layout.bufferWidth, height = layout.bufferHeight;
    ASSERT_TRUE(gOverlay.width == width && gOverlay.height == height);
    const std::string first = expected.substr(expected.find('\n') + 1, static_cast<size_t>(3) * width * height);
    int wrong = 0;
    for (int i = 0; i < width * height; ++i)
        wrong += gOverlay.pixels[i] != ((static_cast<uint32_t>(static_cast<uint8_t>(first[3 * i])) << 16) |
                                        (static_cast<uint32_t>(static_cast<uint8_t>(first[3 * i + 1])) << 8) |
                                        static_cast<uint8_t>(first[3 * i + 2]));
    EXPECT_EQ(wrong, 0);

    // A damaged file, a missing one: nothing changes, and the user is told.
    WriteFile(Scratch(L"bad.vxf"), "1 0 0 3 3\n1 4 0 7 3\n");
    CommandWithFile(IDM_FRAMESLOAD, Scratch(L"bad.vxf"));
    EXPECT_EQ(LastMessage(), L"Vexa: Error: コマ設定ファイルではありません（2行目）");
    CommandWithFile(IDM_FRAMESLOAD, Scratch(L"none.vxf"));
    EXPECT_EQ(LastMessage(), L"Vexa: Error: " + Scratch(L"none.vxf") + L" が開けません");
    EXPECT_TRUE(SameFrame(gFrames[1], 4, 0, 7, 3) && FrameDefined(8) && !FrameDefined(2));

    // A read-only file is reported as saving reports it, and stays.
    SetSelection(20, 20, 21, 21);
    Command(IDM_FRAME3);
    SetFileAttributesW(frames.c_str(), FILE_ATTRIBUTE_READONLY);
    CommandWithFile(IDM_FRAMESSAVE, frames);
    EXPECT_EQ(LastMessage(), L"Vexa: Error: " + frames + L" に保存できませんでした");
    SetFileAttributesW(frames.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(frames).find("3 20 20 21 21"), std::string::npos);
}

// The copy is written again when only the frames change; a session
// recovered from it gets its frames back. (A copy from before frames were
// kept is recovered in the documents' tests.)
TEST_F(FramesOfTheWindow, TheRecoveryCopyKeepsTheFrames)
{
    const std::wstring folder = RecoveryFolder();
    const auto copy = [&] {
        const std::vector<std::wstring> names = Names(folder + L"\\*.vxr");
        return names.empty() ? std::string() : ReadFile(folder + L"\\" + names[0]);
    };
    StartOnSample();
    Paint(2, 2);
    RecoveryTick();
    ASSERT_NE(copy(), "");
    EXPECT_EQ(copy().find("\n1 "), std::string::npos);
    SetThreeFrames();
    RecoveryTick();
    const std::string withFrames = copy();
    EXPECT_NE(withFrames.find("\n1 0 0 3 3\n2 4 0 7 3\n9 10 10 10 10\n"), std::string::npos);
    messageAnswers.push_back(IDYES);  // the discard prompt
    Stop();

    // Left by a run that ended: offered at the start, Yes takes it all back.
    messages.clear();
    WriteFile(folder + L"\\dead-1.vxr", withFrames);
    messageAnswers.push_back(IDYES);
    Start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(IsModified() && gDoc.screen.code[CellIndex(2, 2)] == 1);
    EXPECT_TRUE(SameFrame(gFrames[0], 0, 0, 3, 3) && SameFrame(gFrames[8], 10, 10, 10, 10) && !FrameDefined(3));
}
