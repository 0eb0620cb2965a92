#include "shell/overlay_win32.h"

#include <algorithm>

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
// black (premultiplied alpha is exactly that). A picture larger than the
// canvas needs is scaled as it is decoded, so that it never exists at full
// size here.
bool Decode(std::vector<uint8_t>& bytes, OverlayPicture& picture)
{
    ComScope com;
    IWICImagingFactory* factory = CreateImagingFactory();
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    IWICBitmapScaler* scaler = nullptr;
    UINT width = 0, height = 0;
    int keptWidth = 0, keptHeight = 0;
    bool ok = factory && SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              PictureSizeAcceptable(width, height) &&
              SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame, &converted));
    IWICBitmapSource* source = converted;
    if (ok) {
        PictureKeptSize(static_cast<int>(width), static_cast<int>(height), keptWidth, keptHeight);
        if (keptWidth != static_cast<int>(width) || keptHeight != static_cast<int>(height)) {
            ok = SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
                 SUCCEEDED(scaler->Initialize(converted, keptWidth, keptHeight, WICBitmapInterpolationModeFant));
            source = scaler;
        }
    }
    if (ok && AllocatePicture(picture, keptWidth, keptHeight)) {
        // In bands: asked for the whole picture at once, a scaler or a
        // converter may first fetch all of its source in one buffer.
        constexpr int kBand = 64;
        const UINT stride = static_cast<UINT>(keptWidth) * 4;
        for (int y = 0; ok && y < keptHeight; y += kBand) {
            const WICRect band = {0, y, keptWidth, std::min(kBand, keptHeight - y)};
            ok = SUCCEEDED(source->CopyPixels(&band, stride, stride * static_cast<UINT>(band.Height),
                                              reinterpret_cast<BYTE*>(&picture.pixels[static_cast<size_t>(y) * keptWidth])));
        }
        for (uint32_t& p : picture.pixels) p &= 0xFFFFFF;
    } else {
        ok = false;
    }
    if (!ok) picture = OverlayPicture();
    ReleaseCom(scaler);
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
    // Judged by its headers before the decoder sees it: a decoder may make
    // room for every pixel a header claims, and decode them, as soon as it
    // is handed the file; and a BMP whose headers do not hold together
    // never reaches it.
    PictureKind kind;
    int width = 0, height = 0;
    if (PreparePicture(bytes, kind, width, height) != PictureCheck::Accepted) return false;
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

