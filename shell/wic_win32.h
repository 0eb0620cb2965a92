// The platform's imaging component (WIC): what decoding and encoding share.
#pragma once
#include <windows.h>
#include <wincodec.h>

#include <string>

// COM for the calls in its scope, given back at the end when this scope
// started it.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

template <typename T>
void ReleaseCom(T*& p)
{
    if (p) p->Release();
    p = nullptr;
}

IWICImagingFactory* CreateImagingFactory();

// `pixels` (rows of width x bytesPerPixel bytes, top first, in `format`) as
// a file of `container` kind (PNG, JPEG ...), into `out`.
bool EncodePicture(const GUID& container, const WICPixelFormatGUID& format, int bytesPerPixel, const void* pixels,
                   int width, int height, std::string& out);
