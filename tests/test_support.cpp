#include "tests/test_support.h"

#include "anim/frames.h"
#include "app/edit_commands.h"
#include "app/settings.h"
#include "render/font.h"
#include "render/view.h"
#include "screen/host.h"
#include "screen/screen.h"
#include "screen/undo.h"

HostLog gHostLog;

namespace {

std::vector<uint32_t> gTestPixels;

// The host of the tests: a canvas view and a log of what the core reported.
void ConnectTestHost()
{
    gHost = Host{};
    ConnectCanvasView(gHost);
    gHost.invalidateCanvas = [] { ++gHostLog.canvasInvalidations; };
    gHost.modifiedChanged = [](bool modified) { gHostLog.modifiedReports.push_back(modified); };
    gHost.toolChanged = [](int tool) { gHostLog.toolChanges.push_back(tool); };
    gHost.putClipboardText = [](const std::string& text) {
        gHostLog.clipboardText = text;
        return gHostLog.hasText = true;
    };
    gHost.getClipboardText = [](std::string& text) {
        text = gHostLog.clipboardText;
        return gHostLog.hasText;
    };
    gHost.putClipboardImage = [](int width, int height) {
        gHostLog.imageWidth = width;
        gHostLog.imageHeight = height;
    };
}

}  // namespace

std::vector<uint8_t> ScreenVram(bool clearMarks)
{
    std::vector<uint8_t> vram(2 * kCellCount);
    for (int i = 0; i < kCellCount; ++i) {
        vram[i] = static_cast<uint8_t>(gDoc.screen.code[i]);
        vram[kCellCount + i] = static_cast<uint8_t>(gDoc.screen.attr[i] & (clearMarks ? ~kAttrMark : 0xFF));
    }
    return vram;
}

void ResetCore()
{
    ConnectTestHost();
    ResetEditing();
    gPlayer = Player{};  // the shell closes it; here no window does
    ResetSettings();
    UpdateViewGeometry();
    gCanvas.gridColour = kPanelGrey;
    gCanvas.markColour = kMarkPurple;
    gCanvas.pixels = {nullptr, 0, 0};
    DestroyHistory();
    CreateHistory();
    gHostLog = HostLog();
}

void UseTestBackBuffer(int zoom, uint32_t fill)
{
    gView.Zoom = zoom;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    gTestPixels.assign(static_cast<size_t>(g.W) * 2 * g.H, fill);
    gCanvas.pixels = {gTestPixels.data(), g.W, 2 * g.H};
}

void LoadPatternFont()
{
    for (int g = 0; g < kGlyphCount; ++g)
        for (int r = 0; r < kGlyphBytes; ++r) gFontImage[g * kGlyphBytes + r] = static_cast<uint8_t>((g + r * 37) & 0xFF);
}

int UndoAll()
{
    int groups = 0;
    for (; CanUndo(); ++groups) Undo();
    return groups;
}
