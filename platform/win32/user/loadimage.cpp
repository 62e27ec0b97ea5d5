// user32 LoadImageA: bitmaps from .bmp files.
//
// Only LR_LOADFROMFILE is served here: loading from a module's resources
// needs the resource directory reader, and a name that cannot be served
// fails with ERROR_RESOURCE_TYPE_NOT_FOUND rather than answering a blank
// picture.
#include "win32/errors.h"
#include "win32/paths.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" {

WINUSERAPI HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy,
                                    UINT fuLoad) {
    (void)hInst;
    (void)cx;
    (void)cy;
    if (type != IMAGE_BITMAP || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    if (!(fuLoad & LR_LOADFROMFILE)) {
        SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
        return NULL;
    }
    const std::string path = winport::ToPosixPath(name);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        winport::FailFromErrno(errno, path.c_str());
        return NULL;
    }
    std::vector<unsigned char> data;
    unsigned char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0 && data.size() < (256u << 20)) {
        data.insert(data.end(), buf, buf + n);
    }
    std::fclose(f);
    BITMAPFILEHEADER fh;
    if (data.size() < sizeof(fh) + sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_DATA);
        return NULL;
    }
    std::memcpy(&fh, data.data(), sizeof(fh));
    const std::size_t infoEnd = fh.bfOffBits < data.size() ? fh.bfOffBits : data.size();
    if (infoEnd < sizeof(fh) + sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_DATA);
        return NULL;
    }
    // The header and colour table, copied out to an aligned place with room
    // for a full 256-entry table whatever the file declares, so that no pixel
    // index reads beyond it.
    std::vector<std::uint32_t> infoCopy((infoEnd - sizeof(fh)) / 4 + 1 + 256, 0);
    std::memcpy(infoCopy.data(), data.data() + sizeof(fh), infoEnd - sizeof(fh));
    const auto* bi = reinterpret_cast<const BITMAPINFO*>(infoCopy.data());
    const BITMAPINFOHEADER& h = bi->bmiHeader;
    const long long height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    const long long need = static_cast<long long>(((static_cast<long long>(h.biWidth) * h.biBitCount + 31) / 32) * 4) * height;
    if (fh.bfType != 0x4D42 || h.biSize < sizeof(BITMAPINFOHEADER) || fh.bfOffBits >= data.size() ||
        h.biWidth <= 0 || need <= 0 || static_cast<long long>(data.size() - fh.bfOffBits) < need ||
        sizeof(fh) + h.biSize + (h.biBitCount <= 8 ? (h.biClrUsed != 0 && h.biClrUsed < (1u << h.biBitCount) ? h.biClrUsed : 1u << h.biBitCount) * 4u : 0u) > fh.bfOffBits) {
        SetLastError(ERROR_INVALID_DATA);
        return NULL;
    }
    HBITMAP bm = CreateDIBitmap(NULL, &h, CBM_INIT, data.data() + fh.bfOffBits, bi, DIB_RGB_COLORS);
    return bm;
}

}  // extern "C"
