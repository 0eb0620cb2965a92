#include "shell/wic_win32.h"

IWICImagingFactory* CreateImagingFactory()
{
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return nullptr;
    return factory;
}

bool EncodePicture(const GUID& container, const WICPixelFormatGUID& format, int bytesPerPixel, const void* pixels,
                   int width, int height, std::string& out)
{
    ComScope com;
    IWICImagingFactory* factory = CreateImagingFactory();
    IStream* memory = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID chosen = format;
    const UINT stride = static_cast<UINT>(width * bytesPerPixel);
    bool ok = factory && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &memory)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(memory, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&chosen)) &&
              IsEqualGUID(chosen, format) &&
              SUCCEEDED(frame->WritePixels(height, stride, stride * height,
                                           static_cast<BYTE*>(const_cast<void*>(pixels)))) &&
              SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    if (ok) {
        STATSTG stat = {};
        LARGE_INTEGER start = {};
        ok = SUCCEEDED(memory->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(memory->Seek(start, STREAM_SEEK_SET, nullptr));
        out.assign(ok ? static_cast<size_t>(stat.cbSize.QuadPart) : 0, '\0');
        ULONG got = 0;
        ok = ok && SUCCEEDED(memory->Read(&out[0], static_cast<ULONG>(out.size()), &got)) && got == out.size();
    }
    ReleaseCom(frame);
    ReleaseCom(encoder);
    ReleaseCom(memory);
    ReleaseCom(factory);
    return ok;
}
