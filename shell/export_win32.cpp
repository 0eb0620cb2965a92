#include "shell/export_win32.h"

#include <vector>

#include "app/commands.h"
#include "render/view.h"
#include "res/resource.h"
#include "shell/base/modal_win32.h"
#include "shell/base/text_win32.h"
#include "shell/document_win32.h"
#include "shell/safe_file_win32.h"
#include "shell/wic_win32.h"


namespace {

// The dialog proposes the document's name with the format's extension.
std::wstring ProposedPath(ExportFormat format)
{
    std::wstring proposed = gDocumentFile.path;
    const size_t dot = proposed.find_last_of(L'.'), slash = proposed.find_last_of(L"\\/");
    if (!proposed.empty() && dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        proposed.erase(dot);
    if (!proposed.empty()) proposed += L"." + Widen(ExportExtension(format));
    return proposed;
}

std::string DocumentMzfName() { return MzfNameOfFile(Narrow(gDocumentFile.name.c_str())); }

// As saving reports it.
void ReportNotWritten(HWND owner, const std::wstring& path)
{
    ShowMessage(owner, LoadText(IDS_NOT_SAVED, path), LoadText(IDS_CAPTION_FILE_ERROR), MB_OK);
}

}  // namespace

bool ExportScreenTo(const std::wstring& path, ExportFormat format)
{
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
    }
    return WriteFileSafely(path, bytes) == SafeWriteResult::Written;
}

void ExportScreen(HWND owner, ExportFormat format)
{
    FileChoice choice = {ProposedPath(format), 0};
    const FileDialog kind = static_cast<FileDialog>(static_cast<int>(FileDialog::ExportMzf) + static_cast<int>(format));
    if (!ChooseFile(owner, kind, choice)) return;
    if (!ExportScreenTo(choice.path, format)) ReportNotWritten(owner, choice.path);
}

void ExportAnimationMzf(HWND owner)
{
    const AnimationExport made = MakeAnimationMzf(DocumentMzfName());
    if (made.refusal) {
        ShowMessage(owner, LoadText(made.refusal, std::to_wstring(made.delay)), LoadText(IDS_CAPTION_FILE_ERROR), MB_OK);
        return;
    }
    FileChoice choice = {ProposedPath(ExportFormat::Mzf), 0};
    if (!ChooseFile(owner, FileDialog::ExportMzfAnimation, choice)) return;
    if (WriteFileSafely(choice.path, made.bytes) != SafeWriteResult::Written) ReportNotWritten(owner, choice.path);
}
