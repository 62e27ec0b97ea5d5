// TQImaging over the Windows Imaging Component: the same answers as the
// libtiff build, from the system's TIFF decoder.
//
// A handle holds one TIFF decoder. The page count is the decoder's frame
// count; a page's resolution is its frame's GetResolution, which the decoder
// already gives in dots per inch (centimetre units converted, 96 x 96 for a
// page whose resolution is missing or 0); it is rounded to a whole number
// and refused when negative, not a number or beyond int.
// Files of other formats that the system can decode are refused, so that
// both builds read the same files.
//
// COM is initialised for the calling thread while a handle is open (an
// apartment the thread already has is used as it is).
#include <windows.h>
#include <wincodec.h>

#include <limits.h>
#include <math.h>

#include <new>

#include "TQImaging.h"

namespace {

struct ImageFile {
    IWICBitmapDecoder* decoder;
    bool comInitialised;  // this handle's CoInitializeEx is to be balanced
};

template <class T>
void ReleaseInterface(T*& p) {
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

bool ToDotsPerInch(double value, int& dpi) {
    const double rounded = nearbyint(value);
    if (!(rounded >= 0.0) || rounded > static_cast<double>(INT_MAX)) {
        return false;
    }
    dpi = static_cast<int>(rounded);
    return true;
}

IWICBitmapDecoder* OpenTiffDecoder(const char* file) {
    const int chars = MultiByteToWideChar(CP_ACP, 0, file, -1, nullptr, 0);
    if (chars <= 0) {
        return nullptr;
    }
    wchar_t* wide = new (std::nothrow) wchar_t[chars];
    if (wide == nullptr) {
        return nullptr;
    }
    MultiByteToWideChar(CP_ACP, 0, file, -1, wide, chars);

    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        if (FAILED(factory->CreateDecoderFromFilename(wide, nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand, &decoder))) {
            decoder = nullptr;
        }
    }
    ReleaseInterface(factory);
    delete[] wide;

    GUID format = {};
    if (decoder != nullptr &&
        (FAILED(decoder->GetContainerFormat(&format)) || !IsEqualGUID(format, GUID_ContainerFormatTiff))) {
        ReleaseInterface(decoder);
    }
    return decoder;
}

}  // namespace

void* TQIOpenFile(const char* file) {
    if (file == nullptr || *file == '\0') {
        return nullptr;
    }
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool comInitialised = SUCCEEDED(init);  // S_FALSE (already initialised) counts too
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) {
        return nullptr;
    }
    IWICBitmapDecoder* decoder = OpenTiffDecoder(file);
    auto* image = decoder != nullptr ? new (std::nothrow) ImageFile{decoder, comInitialised} : nullptr;
    if (image == nullptr) {
        ReleaseInterface(decoder);
        if (comInitialised) {
            CoUninitialize();
        }
        return nullptr;
    }
    return image;
}

int TQIGetPageCount(void* handle, int& count) {
    if (handle == nullptr) {
        return 0;
    }
    UINT frames = 0;
    if (FAILED(static_cast<ImageFile*>(handle)->decoder->GetFrameCount(&frames))) {
        return 0;
    }
    count = frames > static_cast<UINT>(INT_MAX) ? INT_MAX : static_cast<int>(frames);
    return 1;
}

int TQIGetPageResolution(void* handle, int page, int& x, int& y) {
    if (handle == nullptr || page < 0) {
        return 0;
    }
    IWICBitmapFrameDecode* frame = nullptr;
    if (FAILED(static_cast<ImageFile*>(handle)->decoder->GetFrame(static_cast<UINT>(page), &frame))) {
        return 0;
    }
    double dpiX = 0, dpiY = 0;
    const HRESULT hr = frame->GetResolution(&dpiX, &dpiY);
    ReleaseInterface(frame);
    int roundedX = 0, roundedY = 0;
    if (FAILED(hr) || !ToDotsPerInch(dpiX, roundedX) || !ToDotsPerInch(dpiY, roundedY)) {
        return 0;
    }
    x = roundedX;
    y = roundedY;
    return 1;
}

void TQICloseFile(void* handle) {
    if (handle == nullptr) {
        return;
    }
    auto* image = static_cast<ImageFile*>(handle);
    ReleaseInterface(image->decoder);
    if (image->comInitialised) {
        CoUninitialize();
    }
    delete image;
}
