#include "shell/overlay_win32.h"

#include "io/picture_file.h"
#include "render/overlay.h"
#include "render/view.h"
#include "render/view_settings.h"
#include "shell/base/modal_win32.h"
#include "shell/panel_win32.h"
#include "shell/safe_file_win32.h"
#include "shell/wic_win32.h"

namespace {

// The dialog reopens on the last picture chosen.
std::wstring gLastPicture;

// Decodes with the platform's imaging component into 32-bit pixels laid on
// black (premultiplied alpha is exactly that).
bool Decode(std::vector<uint8_t>& bytes, OverlayPicture& picture)
{
    ComScope com;
    IWICImagingFactory* factory = CreateImagingFactory();
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    UINT width = 0, height = 0;
    bool ok = factory && SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              PictureSizeAcceptable(width, height) &&
              SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame, &converted)) &&
              AllocatePicture(picture, static_cast<int>(width), static_cast<int>(height));
    if (ok) {
        const UINT stride = width * 4;
        ok = SUCCEEDED(converted->CopyPixels(nullptr, stride, stride * height,
                                             reinterpret_cast<BYTE*>(picture.pixels.data())));
        for (uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    }
    if (!ok) picture = OverlayPicture();
    ReleaseCom(converted);
    ReleaseCom(frame);
    ReleaseCom(decoder);
    ReleaseCom(stream);
    ReleaseCom(factory);
    return ok;
}

}  // namespace

bool DecodePictureFile(const std::wstring& path, OverlayPicture& picture)
{
    picture = OverlayPicture();
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, kPictureFileLimit, LongerFile::Refuse, bytes)) return false;
    const PictureKind kind = IdentifyPicture(bytes.data(), bytes.size());
    // A BMP whose headers do not hold together never reaches the decoder.
    if (kind == PictureKind::Unknown || (kind == PictureKind::Bitmap && !PrepareBitmap(bytes))) return false;
    return Decode(bytes, picture);
}

bool LoadOverlayFile(const std::wstring& path)
{
    // The previous picture is gone whatever follows; a shown one leaves the
    // canvas at once.
    const bool wasShown = gView.ShowOverlay && OverlayLoaded();
    ReleaseOverlay();
    if (!DecodePictureFile(path, gOverlay)) {
        if (wasShown) InvalidateCanvas();
        return false;
    }
    RedrawOverlay();
    return true;
}

void RedrawOverlay()
{
    GdiFlush();  // the buffer's pixels are written directly
    DrawOverlay(ViewOf(gOverlayBuffer));
}

bool LoadOverlayBitmap(HWND owner)
{
    FileChoice choice = {gLastPicture, 0};
    if (!ChooseFile(owner, FileDialog::OpenPicture, choice)) return false;
    gLastPicture = choice.path;
    return LoadOverlayFile(choice.path);
}

