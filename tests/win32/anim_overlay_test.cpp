// Animation frames and the player on the real window, and overlays loaded
// from real picture files through the platform's decoder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "anim/frames.h"
#include "render/font.h"
#include "render/overlay.h"
#include "render/picture_convert.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "res/resource.h"
#include "screen/selection.h"
#include "shell/base/shell_win32.h"
#include "shell/panel_win32.h"
#include "shell/overlay_win32.h"
#include "shell/player_win32.h"
#include "shell/wic_win32.h"
#include "tests/bmp_maker.h"
#include "tests/win32/editor_harness.h"

namespace {

bool Grayed(UINT state) { return (state & MF_GRAYED) != 0; }

std::wstring MenuText(HMENU popup, int id)
{
    wchar_t text[64] = {};
    GetMenuStringW(popup, id, text, 64, MF_BYCOMMAND);
    return text;
}

// Pixels of the player's client area that differ from frame `k`'s picture.
int PictureDifferences(int k)
{
    const PlayerLayout& l = gPlayer.layout;
    std::vector<uint32_t> want(static_cast<size_t>(l.bufferWidth) * l.bufferHeight);
    const PixelView view = {want.data(), l.bufferWidth, l.bufferHeight};
    DrawFramePicture(view, k, l);
    const std::vector<uint32_t> shown = GrabClient(l.clientWidth, l.clientHeight, PlayerWindow());
    int wrong = 0;
    for (int y = 0; y < l.bufferHeight; ++y)
        for (int x = 0; x < l.bufferWidth; ++x)
            wrong += shown[static_cast<size_t>(l.picture.y + y) * l.clientWidth + l.picture.x + x] != *PixelAt(view, x, y);
    return wrong;
}

// A picture file written by the platform's own encoder.
bool Encode(const std::wstring& path, const GUID& container, const WICPixelFormatGUID& format, int bytesPerPixel,
            const std::vector<uint8_t>& pixels, int width, int height)
{
    std::string bytes;
    return EncodePicture(container, format, bytesPerPixel, pixels.data(), width, height, bytes) &&
           WriteWholeFile(path, bytes);
}

int ChannelDistance(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

}  // namespace

class AnimationAndOverlay : public EditorTest {
protected:
    // Loads `bytes` as an overlay through the command; true when loaded.
    bool LoadOverlay(const std::vector<uint8_t>& bytes, const wchar_t* name = L"p.bmp")
    {
        WriteFile(Scratch(name), std::string(bytes.begin(), bytes.end()));
        fileAnswers.push_back(Scratch(name));
        Command(IDM_LOADOVERLAY);
        return OverlayLoaded();
    }
    // The largest channel difference between the loaded picture and the
    // test picture.
    int PictureError(int bits)
    {
        if (gOverlay.width != kBmpWidth || gOverlay.height != kBmpHeight) return 999;
        int most = 0;
        for (int y = 0; y < kBmpHeight; ++y)
            for (int x = 0; x < kBmpWidth; ++x) {
                const uint32_t want = bits <= 8 ? BmpPaletteColour(BmpIndex(x, y) % (1 << bits)) : BmpPixel(x, y);
                most = std::max(most, ChannelDistance(gOverlay.pixels[y * kBmpWidth + x], want));
            }
        return most;
    }
};

TEST_F(AnimationAndOverlay, FramesOutlinedAndPlayedWhileTheZoomChanges)
{
    StartOnSample();
    SetSelection(2, 1, 3, 2);
    Command(IDM_FRAME2);
    SetSelection(10, 5, 12, 5);
    Command(IDM_FRAME5);
    ASSERT_TRUE(FrameDefined(1) && FrameDefined(4));
    EXPECT_FALSE(gSelection.active);
    HMENU popup = OpenPopupHolding(IDM_FRAME1);
    EXPECT_EQ(MenuText(popup, IDM_FRAME2), L"2コマめをキャンセル");
    EXPECT_EQ(MenuText(popup, IDM_FRAME1), L"1コマめに設定");
    EXPECT_TRUE(Grayed(GetMenuState(popup, IDM_FRAME1, MF_BYCOMMAND)));  // nothing selected
    EXPECT_FALSE(Grayed(GetMenuState(popup, IDM_FRAME2, MF_BYCOMMAND)));
    EXPECT_FALSE(Grayed(GetMenuState(popup, IDM_ANIMSTART, MF_BYCOMMAND)));

    // The outline: orange, one pixel outside the frame's cells.
    UpdateWindow(gShell.main);
    const SIZE size = ClientSize();
    const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
    const FrameOutline o = FrameOutlineOf(4, gShell.Tb);
    int orange = 0, perimeter = 0;
    for (int y = o.outline.top; y < o.outline.bottom; ++y)
        for (int x = o.outline.left; x < o.outline.right; ++x)
            if (y == o.outline.top || y == o.outline.bottom - 1 || x == o.outline.left || x == o.outline.right - 1) {
                ++perimeter;
                orange += shown[static_cast<size_t>(y) * size.cx + x] == 0xFF8000;
            }
    EXPECT_EQ(orange, perimeter);
    // The number: black on orange in the frame's top-left cell.
    int ground = 0, ink = 0;
    for (int y = 0; y < CurrentView().s; ++y)
        for (int x = 0; x < CurrentView().s; ++x) {
            const uint32_t p = shown[static_cast<size_t>(o.label.y + y) * size.cx + o.label.x + x];
            ground += p == 0xFF8000;
            ink += (p & 0x808080) == 0;  // dark: the glyphs may be smoothed
        }
    EXPECT_GT(ground, 0);
    EXPECT_GT(ink, 0);

    // The player: sized for the widest and the tallest frame, showing frame
    // 2 at once, then 5 at the next tick.
    Command(IDM_ANIMSTART);
    ASSERT_NE(PlayerWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(PlayerWindow()));
    RECT client;
    GetClientRect(PlayerWindow(), &client);
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 2 * 16 + 96);
    EXPECT_EQ(PictureDifferences(1), 0);
    for (int id : {IDM_ANIMSTART, IDM_FRAME1, IDM_FRAME2, IDM_FRAMECANCELALL}) EXPECT_TRUE(Grayed(MenuState(id))) << id;
    SendMessageW(PlayerWindow(), WM_TIMER, 99, 0);
    EXPECT_EQ(PictureDifferences(4), 0);

    // A zoom-in while it plays: the player keeps the zoom it opened with.
    Command(IDM_ZOOM4);
    SendMessageW(PlayerWindow(), WM_TIMER, 99, 0);
    EXPECT_EQ(gPlayer.layout.k, 2);
    EXPECT_EQ(PictureDifferences(1), 0);
    // The slider: a band to the right slows it down.
    HWND slider = GetDlgItem(PlayerWindow(), IDC_SPEED);
    SendMessageW(slider, TBM_SETPOS, TRUE, 75);
    SendMessageW(PlayerWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(gPlayer.interval, 256);

    SendMessageW(PlayerWindow(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(PlayerWindow(), nullptr);
    EXPECT_FALSE(gPlayer.open);
    EXPECT_FALSE(Grayed(MenuState(IDM_ANIMSTART)));
    Command(IDM_FRAMECANCELALL);
    EXPECT_FALSE(AnyFrameDefined());
}

TEST_F(AnimationAndOverlay, PicturesOfEveryKindAndBrokenFiles)
{
    Start();
    // Each BMP variant shows the picture it holds.
    for (const BmpSpec& s : BmpVariants()) {
        ASSERT_TRUE(LoadOverlay(MakeBmp(s))) << s.bits << " bits, header " << s.headerSize << (s.rle ? " RLE" : "");
        EXPECT_LE(PictureError(s.bits), s.bits == 16 ? 8 : 0) << s.bits << " bits";
    }
    EXPECT_TRUE(ShowOverlay);  // the first load showed it
    EXPECT_EQ(MenuState(IDM_SHOWOVERLAY) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    // PNG and JPEG from the platform's encoder; transparency lies on black.
    std::vector<uint8_t> bgra;
    for (int y = 0; y < kBmpHeight; ++y)
        for (int x = 0; x < kBmpWidth; ++x) {
            const uint32_t c = BmpPixel(x, y);
            bgra.insert(bgra.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(x < 5 ? 255 : 0)});
        }
    ASSERT_TRUE(Encode(Scratch(L"p.png"), GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 4, bgra, kBmpWidth,
                       kBmpHeight));
    fileAnswers.push_back(Scratch(L"p.png"));
    Command(IDM_LOADOVERLAY);
    ASSERT_TRUE(OverlayLoaded());
    EXPECT_EQ(gOverlay.pixels[2], BmpPixel(2, 0));
    EXPECT_EQ(gOverlay.pixels[7], 0u);
    std::vector<uint8_t> bgr;
    for (int y = 0; y < kBmpHeight; ++y)
        for (int x = 0; x < kBmpWidth; ++x) bgr.insert(bgr.end(), {0x40, 0x80, 0xC0});
    ASSERT_TRUE(Encode(Scratch(L"p.jpg"), GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, 3, bgr, kBmpWidth,
                       kBmpHeight));
    fileAnswers.push_back(Scratch(L"p.jpg"));
    Command(IDM_LOADOVERLAY);
    ASSERT_TRUE(OverlayLoaded());
    EXPECT_LE(ChannelDistance(gOverlay.pixels[33], 0xC08040), 12);

    // Files that cannot be trusted give no overlay, and the one before is
    // gone; a cancelled dialog keeps the picture.
    const std::vector<uint8_t> good = MakeBmp({8});
    std::vector<std::vector<uint8_t>> broken = {{'B', 'M', 1, 2, 3}, std::vector<uint8_t>(good.begin(), good.end() - 1),
                                                {good.begin(), good.begin() + 100}};
    std::vector<uint8_t> zeroHeight = good;
    zeroHeight[22] = zeroHeight[23] = zeroHeight[24] = zeroHeight[25] = 0;
    std::vector<uint8_t> wide = good;
    wide[18] = wide[19] = wide[20] = 0xFF;
    wide[21] = 0x7F;
    const std::string text = "hello, not a picture";
    broken.insert(broken.end(), {zeroHeight, wide, std::vector<uint8_t>(text.begin(), text.end())});
    for (const auto& bytes : broken) {
        ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
        EXPECT_FALSE(LoadOverlay(bytes)) << bytes.size() << " bytes";
    }
    ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
    Command(IDM_LOADOVERLAY);  // no answer: cancelled
    EXPECT_TRUE(OverlayLoaded());
    EXPECT_EQ(fileDialogKinds.back(), FileDialog::OpenPicture);
}

TEST_F(AnimationAndOverlay, TheCanvasShowsTheBlendAtX1AndX2)
{
    StartOnSample();
    ASSERT_TRUE(LoadOverlay(MakeBmp({24})));
    for (int zoom : {IDM_ZOOM1, IDM_ZOOM2}) {
        Command(zoom);
        InvalidateRect(gShell.main, nullptr, FALSE);
        UpdateWindow(gShell.main);
        const ViewGeometry& g = CurrentView();
        const SIZE size = ClientSize();
        const std::vector<uint32_t> shown = GrabClient(size.cx, size.cy);
        const PixelView overlay = ViewOf(gOverlayBuffer);
        int wrong = 0, cursor = 0;
        for (int y = 0; y < g.H; ++y)
            for (int x = 0; x < g.W; ++x) {
                const uint32_t canvas = *PixelAt(gBackBuffer, x, y) & 0xFFFFFF;
                const uint32_t got = shown[static_cast<size_t>(y + gShell.Tb) * size.cx + x];
                if (x < 8 || y < 8 || x >= 8 + 320 * g.k || y >= 8 + 200 * g.k) {
                    // The palette cursor is drawn over the panel, unblended.
                    if (got == 0xFF8000) ++cursor;
                    else wrong += got != canvas;
                    continue;
                }
                const uint32_t picture = *PixelAt(overlay, x - 8, g.H + y - 8) & 0xFFFFFF;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int s = (picture >> shift) & 0xFF, d = (canvas >> shift) & 0xFF;
                    const int want = s * 128 / 255 + d * (255 - 128) / 255;
                    wrong += std::abs(static_cast<int>((got >> shift) & 0xFF) - want) > 1;
                }
            }
        EXPECT_EQ(wrong, 0) << "zoom " << zoom - IDM_ZOOM1 + 1;
        EXPECT_GT(cursor, 0);
        // The picture fills the canvas height and keeps its shape: 10 x 6
        // is a little wider than the canvas and loses a few pixels on each
        // side.
        EXPECT_EQ(*PixelAt(overlay, 0, g.H) & 0xFFFFFF, BmpPixel(0, 0));
        EXPECT_EQ(*PixelAt(overlay, 320 * g.k - 1, g.H + 200 * g.k - 1) & 0xFFFFFF, BmpPixel(9, 5));
    }
}

TEST_F(AnimationAndOverlay, APictureBecomesTheScreenInOneUndoAndStaysAsTheOverlay)
{
    StartOnSample();
    const ScreenBuffer before = gScreen;
    std::vector<uint8_t> bgr;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x) bgr.insert(bgr.end(), {uint8_t(y * 6), uint8_t(x * 4), uint8_t(255 - x * 4)});
    std::string png;
    ASSERT_TRUE(EncodePicture(GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, 3, bgr.data(), 64, 40, png));
    WriteFile(Scratch(L"pic.png"), png);
    OverlayPicture decoded;
    ASSERT_TRUE(DecodePictureFile(Scratch(L"pic.png"), decoded));

    ConvertChoice choice;
    choice.options.mode = ConvertMode::Characters;
    choice.options.dither = ConvertDither::FloydSteinberg;
    fileAnswers.push_back(Scratch(L"pic.png"));
    convertAnswers.push_back(choice);
    Command(IDM_CONVERTPICTURE);
    ConvertedScreen want;
    ConvertPicture(decoded.pixels.data(), decoded.width, decoded.height, choice.options, want);
    EXPECT_EQ(0, std::memcmp(gScreen.code, want.code, sizeof want.code));
    EXPECT_EQ(0, std::memcmp(gScreen.attr, want.attr, sizeof want.attr));
    EXPECT_TRUE(OverlayLoaded() && ShowOverlay);
    EXPECT_EQ(gOverlay.pixels, decoded.pixels);
    Command(IDM_UNDO);
    EXPECT_EQ(0, std::memcmp(&gScreen, &before, sizeof before));

    // Cancelled, or not a picture: the screen stays.
    fileAnswers.push_back(Scratch(L"pic.png"));
    Command(IDM_CONVERTPICTURE);
    WriteFile(Scratch(L"not.png"), "hello");
    fileAnswers.push_back(Scratch(L"not.png"));
    Command(IDM_CONVERTPICTURE);
    EXPECT_EQ(0, std::memcmp(&gScreen, &before, sizeof before));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, Scratch(L"not.png") + L" が開けません");
}
