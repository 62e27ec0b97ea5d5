// gdi32 bitmaps: CreateBitmap, CreateCompatibleBitmap, CreateDIBSection, their bits and rows.
#include "win32/gdi/gdi.h"

#include <array>
#include <climits>
#include <cstring>

namespace winport::gdi {

int Bitmap::BitsPerPixel() const {
    switch (format) {
    case PixelFormat::Mono: return 1;
    case PixelFormat::Pal4: return 4;
    case PixelFormat::Pal8: return 8;
    case PixelFormat::Rgb555: return 16;
    case PixelFormat::Rgb24: return 24;
    case PixelFormat::Rgb32: break;
    }
    return 32;
}

namespace {

// The colour tables of 4- and 8-bit device bitmaps. The 256 colours are a
// cube of 8 reds, 8 greens and 4 blues (index bits BBGGGRRR) whose first and
// last ten entries give way to the twenty static system colours.
constexpr std::uint32_t kTable16[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr std::uint32_t kSystemLow[10] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                          0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0};
constexpr std::uint32_t kSystemHigh[10] = {0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                           0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

const std::uint32_t* Table256() {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            t[i] = i < 10    ? kSystemLow[i]
                   : i > 245 ? kSystemHigh[i - 246]
                             : ((i & 7) * 0x20u) << 16 | (((i >> 3) & 7) * 0x20u) << 8 | ((i >> 6) * 0x40u);
        }
        return t;
    }();
    return table.data();
}

// The entry nearest to px by squared distance, the lowest index on a tie.
unsigned NearestIndex(const std::uint32_t* table, unsigned size, std::uint32_t px) {
    unsigned best = 0;
    long bestDist = LONG_MAX;
    for (unsigned i = 0; i < size && bestDist != 0; ++i) {
        long dist = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const long delta = static_cast<long>((px >> shift) & 0xFF) - static_cast<long>((table[i] >> shift) & 0xFF);
            dist += delta * delta;
        }
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    return best;
}

}  // namespace

int Bitmap::WidthBytes() const {
    if (dibSection) {
        return ((width * BitsPerPixel() + 31) / 32) * 4;
    }
    return ((width * BitsPerPixel() + 15) / 16) * 2;
}

std::shared_ptr<Bitmap> MakeBitmap(int width, int height, PixelFormat format, bool dibSection,
                                   bool bottomUp) {
    // Beyond 2^28 pixels a caller has made a mistake; refuse before allocating.
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > (1LL << 28)) {
        return nullptr;
    }
    auto bm = std::make_shared<Bitmap>();
    bm->width = width;
    bm->height = height;
    bm->format = format;
    bm->dibSection = dibSection;
    const std::size_t rowBytes = static_cast<std::size_t>(bm->WidthBytes());
    bm->storage.assign(rowBytes * static_cast<std::size_t>(height), 0);
    if (bottomUp) {
        bm->base = bm->storage.data() + rowBytes * static_cast<std::size_t>(height - 1);
        bm->stride = -static_cast<std::ptrdiff_t>(rowBytes);
    } else {
        bm->base = bm->storage.data();
        bm->stride = static_cast<std::ptrdiff_t>(rowBytes);
    }
    return bm;
}

void LoadRow(const Bitmap& bm, int x, int y, int n, std::uint32_t* out) {
    const std::uint8_t* row = bm.Row(y);
    switch (bm.format) {
    case PixelFormat::Rgb32:
        std::memcpy(out, row + x * 4, static_cast<std::size_t>(n) * 4);
        break;
    case PixelFormat::Rgb24:
        for (int i = 0; i < n; ++i) {
            const std::uint8_t* px = row + (x + i) * 3;
            out[i] = px[0] | (px[1] << 8) | (static_cast<std::uint32_t>(px[2]) << 16);
        }
        break;
    case PixelFormat::Mono:
        for (int i = 0; i < n; ++i) {
            const int xi = x + i;
            out[i] = ((row[xi >> 3] >> (7 - (xi & 7))) & 1) ? 0x00FFFFFFu : 0u;
        }
        break;
    case PixelFormat::Pal4:
        for (int i = 0; i < n; ++i) {
            const int xi = x + i;
            out[i] = kTable16[(row[xi >> 1] >> ((xi & 1) ? 0 : 4)) & 0xF];
        }
        break;
    case PixelFormat::Pal8:
        for (int i = 0; i < n; ++i) out[i] = Table256()[row[x + i]];
        break;
    case PixelFormat::Rgb555:
        for (int i = 0; i < n; ++i) {
            const unsigned v = row[(x + i) * 2] | (row[(x + i) * 2 + 1] << 8);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[i] = (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
        }
        break;
    }
}

void StoreRow(Bitmap& bm, int x, int y, int n, const std::uint32_t* in) {
    std::uint8_t* row = bm.Row(y);
    switch (bm.format) {
    case PixelFormat::Rgb32:
        std::memcpy(row + x * 4, in, static_cast<std::size_t>(n) * 4);
        break;
    case PixelFormat::Rgb24:
        for (int i = 0; i < n; ++i) {
            std::uint8_t* px = row + (x + i) * 3;
            px[0] = static_cast<std::uint8_t>(in[i]);
            px[1] = static_cast<std::uint8_t>(in[i] >> 8);
            px[2] = static_cast<std::uint8_t>(in[i] >> 16);
        }
        break;
    case PixelFormat::Mono:
        for (int i = 0; i < n; ++i) {
            const int xi = x + i;
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (xi & 7));
            if (in[i] & 1) {
                row[xi >> 3] |= bit;
            } else {
                row[xi >> 3] &= static_cast<std::uint8_t>(~bit);
            }
        }
        break;
    case PixelFormat::Pal4:
        for (int i = 0; i < n; ++i) {
            const int xi = x + i;
            const unsigned shift = (xi & 1) ? 0 : 4;
            const unsigned index = NearestIndex(kTable16, 16, in[i] & 0x00FFFFFFu);
            row[xi >> 1] = static_cast<std::uint8_t>((row[xi >> 1] & ~(0xFu << shift)) | (index << shift));
        }
        break;
    case PixelFormat::Pal8:
        for (int i = 0; i < n; ++i) {
            row[x + i] = static_cast<std::uint8_t>(NearestIndex(Table256(), 256, in[i] & 0x00FFFFFFu));
        }
        break;
    case PixelFormat::Rgb555:
        // Each channel keeps its top five bits.
        for (int i = 0; i < n; ++i) {
            const std::uint32_t v = in[i];
            const unsigned w = ((v >> 9) & 0x7C00) | ((v >> 6) & 0x03E0) | ((v >> 3) & 0x001F);
            row[(x + i) * 2] = static_cast<std::uint8_t>(w);
            row[(x + i) * 2 + 1] = static_cast<std::uint8_t>(w >> 8);
        }
        break;
    }
}

std::shared_ptr<Bitmap> DefaultBitmap() {
    static const std::shared_ptr<Bitmap> bm = [] {
        auto b = MakeBitmap(1, 1, PixelFormat::Mono, false, false);
        b->stock = true;
        RegisterObject(b);
        return b;
    }();
    return bm;
}

std::shared_ptr<Bitmap> Screen() {
    static const std::shared_ptr<Bitmap> bm = [] {
        auto b = MakeBitmap(kScreenWidth, kScreenHeight, PixelFormat::Rgb32, false, false);
        b->stock = true;
        RegisterObject(b);
        return b;
    }();
    return bm;
}

}  // namespace winport::gdi

using namespace winport::gdi;

extern "C" {

// Depths round up to the next one a device bitmap has (1, 4, 8, 16, 24, 32;
// 0 counts as 4); rows of the initial bits are padded to 16 bits. A zero size
// gives the stock 1x1 mono bitmap and a negative one is taken by its
// magnitude, as on Windows.
WINGDIAPI HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                                      const void* lpBits) {
    if (nWidth == INT_MIN || nHeight == INT_MIN || nPlanes != 1 || nBitCount > 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    const PixelFormat format = nBitCount == 1    ? PixelFormat::Mono
                               : nBitCount <= 4  ? PixelFormat::Pal4
                               : nBitCount <= 8  ? PixelFormat::Pal8
                               : nBitCount <= 16 ? PixelFormat::Rgb555
                               : nBitCount <= 24 ? PixelFormat::Rgb24
                                                 : PixelFormat::Rgb32;
    if (nWidth == 0 || nHeight == 0) {
        return HandleOf<HBITMAP>(DefaultBitmap());
    }
    nWidth = nWidth < 0 ? -nWidth : nWidth;
    nHeight = nHeight < 0 ? -nHeight : nHeight;
    auto bm = MakeBitmap(nWidth, nHeight, format, false, false);
    if (!bm) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    if (lpBits != nullptr) {
        std::memcpy(bm->storage.data(), lpBits, bm->storage.size());
    }
    return Register<HBITMAP>(std::move(bm));
}

// The bitmap takes the format of the one selected in hdc (a memory DC holding
// a mono bitmap makes mono bitmaps); the screen makes 32-bit ones.
WINGDIAPI HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return NULL;
    }
    if (cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    if (cx == 0 || cy == 0) {
        return HandleOf<HBITMAP>(DefaultBitmap());
    }
    const bool mono = dc->memory && dc->state.bitmap->format == PixelFormat::Mono;
    auto bm = MakeBitmap(cx, cy, mono ? PixelFormat::Mono : PixelFormat::Rgb32, false, false);
    if (!bm) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return Register<HBITMAP>(std::move(bm));
}

// 24- and 32-bit BI_RGB sections; a positive height is bottom-up, as in a DIB.
WINGDIAPI HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage,
                                          void** ppvBits, HANDLE hSection, DWORD offset) {
    (void)offset;
    if (ppvBits != nullptr) {
        *ppvBits = nullptr;
    }
    if (hdc != NULL && !LookupGdi<Dc>(hdc)) {
        return NULL;
    }
    if (pbmi == nullptr || usage != DIB_RGB_COLORS || hSection != NULL ||
        pbmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || pbmi->bmiHeader.biPlanes != 1 ||
        (pbmi->bmiHeader.biBitCount != 24 && pbmi->bmiHeader.biBitCount != 32) ||
        pbmi->bmiHeader.biCompression != BI_RGB || pbmi->bmiHeader.biWidth <= 0 ||
        pbmi->bmiHeader.biHeight == 0 || pbmi->bmiHeader.biHeight == INT_MIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    const LONG h = pbmi->bmiHeader.biHeight;
    auto bm = MakeBitmap(pbmi->bmiHeader.biWidth, h < 0 ? -h : h,
                         pbmi->bmiHeader.biBitCount == 24 ? PixelFormat::Rgb24 : PixelFormat::Rgb32,
                         true, h > 0);
    if (!bm) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    bm->dibHeader = pbmi->bmiHeader;
    bm->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    bm->dibHeader.biSizeImage = static_cast<DWORD>(bm->storage.size());
    if (ppvBits != nullptr) {
        *ppvBits = bm->storage.data();
    }
    return Register<HBITMAP>(std::move(bm));
}

WINGDIAPI LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
    auto bm = LookupGdi<Bitmap>(hbit);
    if (!bm) {
        return 0;
    }
    const LONG size = static_cast<LONG>(bm->storage.size());
    if (lpvBits == nullptr) {
        return size;
    }
    const LONG n = cb < size ? (cb < 0 ? 0 : cb) : size;
    std::memcpy(lpvBits, bm->storage.data(), static_cast<std::size_t>(n));
    return n;
}

WINGDIAPI LONG WINAPI SetBitmapBits(HBITMAP hbm, DWORD cb, const void* pvBits) {
    auto bm = LookupGdi<Bitmap>(hbm);
    if (!bm || bm->stock) {
        return 0;
    }
    if (pvBits == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t n = cb < bm->storage.size() ? cb : bm->storage.size();
    std::memcpy(bm->storage.data(), pvBits, n);
    return static_cast<LONG>(n);
}

// 32-bit top-down or bottom-up rows of any bitmap; enough for reading back
// what was drawn.
WINGDIAPI int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                               LPBITMAPINFO lpbmi, UINT usage) {
    if (!LookupGdi<Dc>(hdc)) {
        return 0;
    }
    auto bm = LookupGdi<Bitmap>(hbm);
    if (!bm) {
        return 0;
    }
    if (lpbmi == nullptr || usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& h = lpbmi->bmiHeader;
    if (lpvBits == nullptr) {
        h.biWidth = bm->width;
        h.biHeight = bm->height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bm->BitsPerPixel());
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(((bm->width * h.biBitCount + 31) / 32) * 4 * bm->height);
        return bm->height;
    }
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth != bm->width) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool bottomUp = h.biHeight > 0;
    auto* out = static_cast<std::uint32_t*>(lpvBits);
    UINT done = 0;
    for (UINT line = start; line < start + cLines && line < static_cast<UINT>(bm->height); ++line) {
        const int y = bottomUp ? bm->height - 1 - static_cast<int>(line) : static_cast<int>(line);
        LoadRow(*bm, 0, y, bm->width, out + static_cast<std::size_t>(done) * bm->width);
        ++done;
    }
    return static_cast<int>(done);
}

WINGDIAPI BOOL WINAPI GdiFlush(void) { return TRUE; }

}  // extern "C"
