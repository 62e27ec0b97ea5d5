// gdi32 brushes: CreateSolidBrush, CreatePatternBrush, CreateBrushIndirect.
#include "win32/gdi/gdi.h"

#include <cstring>

using namespace winport;
using namespace winport::gdi;

extern "C" {

WINGDIAPI HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto b = std::make_shared<Brush>();
    b->style = BS_SOLID;
    b->color = color & 0x00FFFFFF;
    return Register<HBRUSH>(std::move(b));
}

// The brush keeps a copy of the bitmap's pixels: the caller may delete its
// bitmap at once. A mono pattern draws its 0 bits in the DC's text colour
// and its 1 bits in the background colour.
WINGDIAPI HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm) {
    auto src = LookupGdi<Bitmap>(hbm);
    if (!src) {
        return NULL;
    }
    auto copy = MakeBitmap(src->width, src->height,
                           src->format == PixelFormat::Mono ? PixelFormat::Mono : PixelFormat::Rgb32,
                           false, false);
    if (!copy) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(src->width));
    for (int y = 0; y < src->height; ++y) {
        LoadRow(*src, 0, y, src->width, row.data());
        StoreRow(*copy, 0, y, src->width, row.data());
    }
    auto b = std::make_shared<Brush>();
    b->style = BS_PATTERN;
    b->pattern = std::move(copy);
    return Register<HBRUSH>(std::move(b));
}

WINGDIAPI HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
    if (plbrush == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    switch (plbrush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(plbrush->lbColor);
    case BS_NULL: {
        auto b = std::make_shared<Brush>();
        b->style = BS_NULL;
        return Register<HBRUSH>(std::move(b));
    }
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
}

}  // extern "C"
