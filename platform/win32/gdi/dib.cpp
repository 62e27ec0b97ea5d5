// gdi32 device-independent bits into bitmaps: SetDIBits, CreateDIBitmap.
//
// Reads uncompressed (BI_RGB) DIBs of 1, 4, 8 bits with a colour table and of
// 16 (5-5-5), 24 and 32 bits; positive heights are bottom-up. Colours land in
// the bitmap as BitBlt would put them there: a mono bitmap takes the nearer
// of black and white.
#include "win32/gdi/gdi.h"

#include <algorithm>
#include <cstring>

using namespace winport;
using namespace winport::gdi;

namespace {

// The DIB's row y (top = 0) as 0x00RRGGBB words.
void DibRow(const BITMAPINFO& bi, const std::uint8_t* bits, int y, std::uint32_t* out) {
    const BITMAPINFOHEADER& h = bi.bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int bpp = h.biBitCount;
    const std::size_t stride = static_cast<std::size_t>(((width * bpp + 31) / 32) * 4);
    const int memRow = h.biHeight > 0 ? height - 1 - y : y;
    const std::uint8_t* row = bits + stride * static_cast<std::size_t>(memRow);
    auto table = [&](unsigned index) {
        // The table follows the header, whatever its version.
        const auto* colors = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const std::uint8_t*>(&bi) + h.biSize);
        const RGBQUAD& q = colors[index];
        return (static_cast<std::uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    };
    for (int x = 0; x < width; ++x) {
        switch (bpp) {
        case 1: out[x] = table((row[x >> 3] >> (7 - (x & 7))) & 1); break;
        case 4: out[x] = table((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
        case 8: out[x] = table(row[x]); break;
        case 16: {
            const unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[x] = (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
            break;
        }
        case 24: out[x] = row[x * 3] | (row[x * 3 + 1] << 8) | (static_cast<std::uint32_t>(row[x * 3 + 2]) << 16); break;
        default: std::memcpy(&out[x], row + x * 4, 4); out[x] &= 0x00FFFFFF; break;
        }
    }
}

bool Supported(const BITMAPINFOHEADER& h) {
    return h.biSize >= sizeof(BITMAPINFOHEADER) && h.biPlanes == 1 && h.biCompression == BI_RGB &&
           h.biWidth > 0 && h.biHeight != 0 && h.biHeight > -(1 << 20) && h.biHeight < (1 << 20) &&
           (h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 || h.biBitCount == 16 ||
            h.biBitCount == 24 || h.biBitCount == 32);
}

}  // namespace

extern "C" {

// Answers the number of rows copied. Only DIB_RGB_COLORS tables are read.
WINGDIAPI int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* lpBits,
                               const BITMAPINFO* lpbmi, UINT ColorUse) {
    (void)hdc;
    auto bm = LookupGdi<Bitmap>(hbm);
    if (!bm) return 0;
    if (lpBits == nullptr || lpbmi == nullptr || ColorUse != DIB_RGB_COLORS || !Supported(lpbmi->bmiHeader)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const BITMAPINFOHEADER& h = lpbmi->bmiHeader;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int width = std::min<int>(h.biWidth, bm->width);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(h.biWidth));
    int done = 0;
    // Scan lines count from the bottom of the DIB.
    for (UINT line = start; line < start + cLines && line < static_cast<UINT>(height); ++line) {
        const int y = height - 1 - static_cast<int>(line);
        if (y >= bm->height) continue;
        DibRow(*lpbmi, static_cast<const std::uint8_t*>(lpBits), y, row.data());
        if (bm->format == PixelFormat::Mono) {
            for (auto& v : row) v = NearerWhite(ToColorRef(v)) ? 0x00FFFFFFu : 0u;
        }
        StoreRow(*bm, 0, y, width, row.data());
        ++done;
    }
    return done;
}

// A bitmap compatible with hdc (mono when hdc holds a mono bitmap), with the
// DIB's pixels when CBM_INIT is given.
WINGDIAPI HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit,
                                        const void* pjBits, const BITMAPINFO* pbmi, UINT iUsage) {
    if (pbmih == nullptr || !Supported(*pbmih)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    HDC screen = hdc != NULL ? hdc : GetDC(NULL);
    HBITMAP bm = CreateCompatibleBitmap(screen, pbmih->biWidth, pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight);
    if (hdc == NULL) ReleaseDC(NULL, screen);
    if (bm != NULL && (flInit & CBM_INIT) && pjBits != nullptr && pbmi != nullptr) {
        SetDIBits(hdc, bm, 0, static_cast<UINT>(pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight),
                  pjBits, pbmi, iUsage);
    }
    return bm;
}

}  // extern "C"
