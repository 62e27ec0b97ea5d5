// user32 image helpers: packed DIBs read from untrusted bytes, pixels in and
// out of bitmaps (see image.h).
#include "win32/user/image.h"

#include <cstring>

namespace winport::user {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Larger pictures are refused before anything is allocated for them: no
// resource of a desktop program comes near, and a forged header must not
// make the loader allocate gigabytes.
constexpr long long kMaxSide = 1 << 15;
constexpr long long kMaxPixels = 1 << 26;

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

}  // namespace

DWORD ParsePackedDib(const std::uint8_t* data, std::size_t size, std::size_t bitsOffset, bool icon,
                     PackedDib& out) {
    static const std::uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    if (data == nullptr || size < 4) {
        return ERROR_INVALID_DATA;
    }
    if (std::memcmp(data, kPng, 4) == 0) {
        return ERROR_NOT_SUPPORTED;  // PNG-compressed icon images
    }
    const std::uint32_t headerSize = Read32(data);
    if (headerSize == 12) {
        return ERROR_NOT_SUPPORTED;  // the OS/2 header
    }
    if (headerSize < sizeof(BITMAPINFOHEADER) || headerSize > size) {
        return ERROR_INVALID_DATA;
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof(h));
    if (h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > kMaxSide ||
        h.biHeight > kMaxSide || h.biHeight < -kMaxSide) {
        return ERROR_INVALID_DATA;
    }
    if (h.biCompression != BI_RGB) {
        return ERROR_NOT_SUPPORTED;
    }
    const int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return ERROR_NOT_SUPPORTED;
    }
    long long height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
    if (icon) {
        // The header counts the colour rows and the mask rows; icons are bottom-up.
        if (h.biHeight < 0 || height % 2 != 0) {
            return ERROR_INVALID_DATA;
        }
        height /= 2;
    }
    if (height == 0 || h.biWidth * height > kMaxPixels) {
        return ERROR_INVALID_DATA;
    }
    // A table of biClrUsed entries (all 2^bpp when 0) follows the header;
    // deeper pictures may carry an optional one that is skipped.
    const std::uint32_t fullTable = bpp <= 8 ? (1u << bpp) : 0u;
    if ((bpp <= 8 && h.biClrUsed > fullTable) || h.biClrUsed > 256) {
        return ERROR_INVALID_DATA;
    }
    const std::uint32_t colors = h.biClrUsed != 0 ? h.biClrUsed : fullTable;
    const std::size_t tableEnd = static_cast<std::size_t>(headerSize) + 4u * colors;
    if (tableEnd > size) {
        return ERROR_INVALID_DATA;
    }
    const std::size_t bitsAt = bitsOffset != 0 ? bitsOffset : tableEnd;
    if (bitsAt < tableEnd) {
        return ERROR_INVALID_DATA;
    }
    out = PackedDib{};
    out.width = h.biWidth;
    out.height = static_cast<int>(height);
    out.bottomUp = h.biHeight > 0;
    out.bitCount = bpp;
    out.colorsUsed = bpp <= 8 ? static_cast<int>(colors) : 0;
    for (int i = 0; i < out.colorsUsed; ++i) {
        out.palette[static_cast<std::size_t>(i)] = Read32(data + headerSize + 4 * i) & 0x00FFFFFFu;
    }
    out.stride = static_cast<std::size_t>((static_cast<long long>(h.biWidth) * bpp + 31) / 32 * 4);
    out.maskStride = icon ? static_cast<std::size_t>((h.biWidth + 31) / 32 * 4) : 0;
    const std::size_t need = (out.stride + out.maskStride) * static_cast<std::size_t>(height);
    if (bitsAt > size || size - bitsAt < need) {
        return ERROR_INVALID_DATA;
    }
    out.bits = data + bitsAt;
    if (icon) {
        out.maskBits = out.bits + out.stride * static_cast<std::size_t>(height);
    }
    return ERROR_SUCCESS;
}

int FirstPixelIndex(const PackedDib& dib) {
    switch (dib.bitCount) {
    case 1: return dib.bits[0] >> 7;
    case 4: return dib.bits[0] >> 4;
    case 8: return dib.bits[0];
    default: return -1;
    }
}

Pixels DecodeDib(const PackedDib& dib, int width, int height, bool mask) {
    Pixels px;
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels ||
        (mask && dib.maskBits == nullptr)) {
        return px;
    }
    px.width = width;
    px.height = height;
    px.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * dib.height / height);
        const std::size_t memRow = static_cast<std::size_t>(dib.bottomUp ? dib.height - 1 - sy : sy);
        const std::uint8_t* row = mask ? dib.maskBits + dib.maskStride * memRow : dib.bits + dib.stride * memRow;
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<long long>(x) * dib.width / width);
            std::uint32_t v = 0;
            if (mask) {
                v = ((row[sx >> 3] >> (7 - (sx & 7))) & 1) ? 0x00FFFFFFu : 0u;
            } else {
                switch (dib.bitCount) {
                case 1: v = dib.palette[(row[sx >> 3] >> (7 - (sx & 7))) & 1]; break;
                case 4: v = dib.palette[(row[sx >> 1] >> ((sx & 1) ? 0 : 4)) & 0xF]; break;
                case 8: v = dib.palette[row[sx]]; break;
                case 16: {
                    const unsigned w = row[sx * 2] | (row[sx * 2 + 1] << 8);
                    const unsigned r = (w >> 10) & 31, g = (w >> 5) & 31, b = w & 31;
                    v = (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
                    break;
                }
                case 24:
                    v = row[sx * 3] | (row[sx * 3 + 1] << 8) | (static_cast<std::uint32_t>(row[sx * 3 + 2]) << 16);
                    break;
                default: v = Read32(row + sx * 4); break;  // the alpha byte is kept for the icon loader
                }
            }
            px.at(x, y) = v;
        }
    }
    return px;
}

Pixels Scaled(const Pixels& src, int width, int height) {
    if (src.width == width && src.height == height) {
        return src;
    }
    Pixels px;
    if (src.empty() || width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels) {
        return px;
    }
    px.width = width;
    px.height = height;
    px.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * src.height / height);
        for (int x = 0; x < width; ++x) {
            px.at(x, y) = src.rgb[static_cast<std::size_t>(sy) * src.width +
                                  static_cast<std::size_t>(static_cast<long long>(x) * src.width / width)];
        }
    }
    return px;
}

HBITMAP BitmapFromPixels(const Pixels& px, BitmapKind kind) {
    if (px.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    HBITMAP bm = NULL;
    switch (kind) {
    case BitmapKind::Mono: bm = CreateBitmap(px.width, px.height, 1, 1, nullptr); break;
    case BitmapKind::Device: {
        HDC screen = GetDC(NULL);
        bm = CreateCompatibleBitmap(screen, px.width, px.height);
        ReleaseDC(NULL, screen);
        break;
    }
    case BitmapKind::DibSection24:
    case BitmapKind::DibSection32: {
        // Bottom-up, as a DIB read from a resource is.
        BITMAPINFO bi = TopDown32(px.width, px.height);
        bi.bmiHeader.biHeight = px.height;
        bi.bmiHeader.biBitCount = kind == BitmapKind::DibSection24 ? 24 : 32;
        void* bits = nullptr;
        bm = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
        break;
    }
    }
    if (bm == NULL) {
        return NULL;
    }
    // The alpha byte some sources carry is no colour; SetDIBits drops it.
    const BITMAPINFO bi = TopDown32(px.width, px.height);
    if (SetDIBits(NULL, bm, 0, static_cast<UINT>(px.height), px.rgb.data(), &bi, DIB_RGB_COLORS) != px.height) {
        DeleteObject(bm);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return bm;
}

Pixels PixelsOfBitmap(HBITMAP bm) {
    Pixels px;
    BITMAP info{};
    if (bm == NULL || GetObjectA(bm, sizeof(info), &info) == 0 || GetObjectType(bm) != OBJ_BITMAP ||
        info.bmWidth <= 0 || info.bmHeight <= 0) {
        return px;
    }
    px.width = info.bmWidth;
    px.height = info.bmHeight;
    px.rgb.resize(static_cast<std::size_t>(px.width) * static_cast<std::size_t>(px.height));
    BITMAPINFO bi = TopDown32(px.width, px.height);
    HDC dc = CreateCompatibleDC(NULL);
    const int rows = GetDIBits(dc, bm, 0, static_cast<UINT>(px.height), px.rgb.data(), &bi, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (rows != px.height) {
        return Pixels{};
    }
    for (auto& v : px.rgb) v &= 0x00FFFFFFu;
    return px;
}

}  // namespace winport::user
