#include "shell/export_win32.h"

#include <vector>

#include "anim/animated_gif.h"
#include "anim/frames.h"
#include "app/commands.h"
#include "render/view.h"
#include "res/resource.h"
#include "shell/base/language_win32.h"
#include "shell/base/modal_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/safe_file_win32.h"
#include "shell/wic_win32.h"


namespace {

// The dialog proposes the document's name with the format's extension.
std::wstring ProposedPath(ExportFormat format)
{
    return DocumentPathWith((L"." + Widen(ExportExtension(format))).c_str());
}

std::string DocumentMzfName() { return MzfNameOfFile(Narrow(gDocumentFile.name.c_str())); }

}  // namespace

bool ExportScreenTo(const std::wstring& path, ExportFormat format, WriteFailure& why)
{
    why = WriteFailure::Unknown;
    const std::string name = DocumentMzfName();
    std::string bytes;
    switch (format) {
    case ExportFormat::Mzf: bytes = MzfImage(name, gExportChoice.clearMarks); break;
    case ExportFormat::Asm: bytes = AssemblerSource(name, gExportChoice.clearMarks); break;
    case ExportFormat::Bin: bytes = VramImage(gExportChoice.clearMarks); break;
    case ExportFormat::Png: {
        // The canvas at its zoom of the moment.
        const int k = CurrentView().k;
        // 0xRRGGBB in a 32-bit word is B, G, R and a spare byte in memory.
        const std::vector<uint32_t> pixels = ScreenPicture(k);
        if (!EncodePicture(GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGR, 4, pixels.data(), kCanvasWidthAt1 * k,
                           kCanvasHeightAt1 * k, bytes))
            return false;
        break;
    }
    // The frames at the canvas's zoom and the player's speed.
    case ExportFormat::Gif: {
        GifAnimation gif;
        if (!AnimationForGif(CurrentView().k, PlayerInterval(), gif) || !EncodeAnimatedGif(gif, bytes))
            return false;
        break;
    }
    }
    return WriteFileSafely(path, bytes, &why) == SafeWriteResult::Written;
}

void ExportScreen(HWND owner, ExportFormat format)
{
    FileChoice choice = {ProposedPath(format), 0};
    const FileDialog kind = static_cast<FileDialog>(static_cast<int>(FileDialog::ExportMzf) + static_cast<int>(format));
    if (!ChooseFile(owner, kind, choice)) return;
    WriteFailure why;
    if (!ExportScreenTo(choice.path, format, why)) TellNotWritten(owner, choice.path, why);
}

void ExportAnimationMzf(HWND owner)
{
    const AnimationExport made = MakeAnimationMzf(DocumentMzfName());
    if (made.refusal) {
        ShowMessage(owner, LoadText(made.refusal, std::to_wstring(made.delay)), LoadText(IDS_ERROR_CAPTION), MB_OK);
        return;
    }
    FileChoice choice = {ProposedPath(ExportFormat::Mzf), 0};
    if (!ChooseFile(owner, FileDialog::ExportMzfAnimation, choice)) return;
    WriteFailure why = WriteFailure::Unknown;
    if (WriteFileSafely(choice.path, made.bytes, &why) != SafeWriteResult::Written) TellNotWritten(owner, choice.path, why);
}
