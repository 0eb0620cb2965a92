#include "tests/test_support.h"


#include "app/edit_commands.h"
#include "app/settings.h"
#include "io/clipboard.h"
#include "render/font.h"
#include "render/view.h"
#include "screen/screen.h"
#include "screen/undo.h"

SeamLog gSeams;

void InvalidateCanvas() { ++gSeams.canvasInvalidations; }
void OnModifiedStateChanged(bool modified) { gSeams.modifiedReports.push_back(modified); }
void OnPenChanged(PenChange) {}
void OnToolChanged(int tool) { gSeams.toolChanges.push_back(tool); }
void OnSelectionChanged(bool) {}
bool PutClipboardText(const std::string& text)
{
    gSeams.clipboardText = text;
    return gSeams.hasText = true;
}
bool GetClipboardText(std::string& text)
{
    text = gSeams.clipboardText;
    return gSeams.hasText;
}
void PutClipboardImage(int width, int height) { gSeams.imageWidth = width; gSeams.imageHeight = height; }

static std::vector<uint32_t> gTestPixels;

void ResetCore()
{
    ResetEditing();
    ResetSettings();
    UpdateViewGeometry();
    gGridColour = kPanelGrey;
    gMarkColour = kMarkPurple;
    gBackBuffer = {nullptr, 0, 0};
    DestroyHistory();
    CreateHistory();
    gSeams = SeamLog();
}

void UseTestBackBuffer(int zoom, uint32_t fill)
{
    Zoom = zoom;
    UpdateViewGeometry();
    const ViewGeometry& g = CurrentView();
    gTestPixels.assign(static_cast<size_t>(g.W) * 2 * g.H, fill);
    gBackBuffer = {gTestPixels.data(), g.W, 2 * g.H};
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
