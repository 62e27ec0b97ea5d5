// gdi32 raster operations: BitBlt, PatBlt, GetPixel, SetPixel.
//
// Every blit runs row by row through the code's specialised row function
// (rop.cpp). Operands are brought to the destination's terms first:
//   mono source -> colour destination: 0 is the destination DC's text colour,
//                                      1 its background colour;
//   colour source -> mono destination: 1 where the pixel equals the source
//                                      DC's background colour, else 0;
//   brush -> mono destination:         the nearer of black and white (a mono
//                                      pattern brush keeps its bits).
// 32-bit rows are worked on in place; other formats go through a row buffer.
#include "win32/gdi/gdi.h"
#include "win32/gdi/rop.h"

#include <algorithm>
#include <cstring>

namespace winport::gdi {
namespace {

struct PatternSource {
    const Brush* brush = nullptr;
    bool solid = true;
    std::uint32_t solidPixel = 0;
    std::uint32_t textPixel = 0, bkPixel = 0;
    bool monoDest = false;
    POINT org{0, 0};
    std::vector<std::uint32_t> tile;  // one row of the pattern, converted

    // The pattern for row y from x over n pixels.
    void Fill(int x, int y, int n, std::uint32_t* out) {
        if (solid) {
            return;  // filled once by the caller
        }
        const Bitmap& pb = *brush->pattern;
        const int py = ((y - org.y) % pb.height + pb.height) % pb.height;
        tile.resize(static_cast<std::size_t>(pb.width));
        LoadRow(pb, 0, py, pb.width, tile.data());
        for (auto& px : tile) {
            if (pb.format == PixelFormat::Mono) {
                if (!monoDest) px = px ? bkPixel : textPixel;
            } else if (monoDest) {
                px = NearerWhite(ToColorRef(px)) ? 0x00FFFFFFu : 0u;
            }
        }
        int px = ((x - org.x) % pb.width + pb.width) % pb.width;
        for (int i = 0; i < n; ++i) {
            out[i] = tile[static_cast<std::size_t>(px)];
            if (++px == pb.width) px = 0;
        }
    }
};

}  // namespace

void Blit(Dc& dst, const RECT& rc, const Dc* src, int sx, int sy, std::uint8_t rop,
          const Brush* brush) {
    Bitmap& db = *dst.state.bitmap;
    const int w = rc.right - rc.left;
    const bool useS = RopUsesSource(rop) && src != nullptr;
    const bool useP = RopUsesPattern(rop);
    const bool monoDest = db.format == PixelFormat::Mono;
    const RopRowFn fn = RopRow(rop);
    const RopSolidRowFn solidFn = RopSolidRow(rop);

    std::vector<std::uint32_t> dbuf, sbuf, pbuf;
    PatternSource pat;
    if (useP) {
        if (brush == nullptr || brush->style == BS_NULL) {
            return;  // a hollow brush paints nothing
        }
        pat.brush = brush;
        pat.monoDest = monoDest;
        pat.org = dst.state.brushOrg;
        pat.textPixel = ToPixel(dst.state.textColor);
        pat.bkPixel = ToPixel(dst.state.bkColor);
        pbuf.resize(static_cast<std::size_t>(w));
        if (brush->style == BS_SOLID) {
            const std::uint32_t v = monoDest ? (NearerWhite(brush->color) ? 0x00FFFFFFu : 0u)
                                             : ToPixel(brush->color);
            std::fill(pbuf.begin(), pbuf.end(), v);
        } else {
            pat.solid = false;
        }
    }

    // A source on the destination's own surface is copied out first, so that
    // overlapping rectangles read the pixels as they were before the call.
    const Bitmap* sb = useS ? src->state.bitmap.get() : nullptr;
    std::shared_ptr<Bitmap> snapshot;
    if (sb == &db) {
        snapshot = MakeBitmap(w, rc.bottom - rc.top, db.format, false, false);
        std::vector<std::uint32_t> tmp(static_cast<std::size_t>(w));
        for (int y = 0; y < rc.bottom - rc.top; ++y) {
            LoadRow(db, sx, sy + y, w, tmp.data());
            StoreRow(*snapshot, 0, y, w, tmp.data());
        }
        sb = snapshot.get();
        sx = 0;
        sy = 0;
    }
    enum class SrcConv { Direct, Copy, MonoToColor, ColorToMono } conv = SrcConv::Copy;
    std::uint32_t srcBk = 0, dstText = 0, dstBk = 0;
    if (sb != nullptr) {
        const bool monoSrc = sb->format == PixelFormat::Mono;
        if (monoSrc && !monoDest) {
            conv = SrcConv::MonoToColor;
            dstText = ToPixel(dst.state.textColor);
            dstBk = ToPixel(dst.state.bkColor);
        } else if (!monoSrc && monoDest) {
            conv = SrcConv::ColorToMono;
            srcBk = ToPixel(src->state.bkColor);
        } else if (sb->format == PixelFormat::Rgb32) {
            conv = SrcConv::Direct;
        }
        if (conv != SrcConv::Direct) sbuf.resize(static_cast<std::size_t>(w));
    }
    const bool directDest = db.format == PixelFormat::Rgb32;
    if (!directDest) dbuf.resize(static_cast<std::size_t>(w));

    // Whole rows of 32-bit surfaces laid out alike follow one another in
    // memory: one run over all of them saves a call and a ragged end per row.
    const int h = rc.bottom - rc.top;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(w) * 4;
    if (directDest && (db.stride == rowBytes || db.stride == -rowBytes) && !(useP && !pat.solid) &&
        (sb == nullptr || (conv == SrcConv::Direct && sb->stride == db.stride))) {
        const bool up = db.stride < 0;  // bottom-up: the last row comes first in memory
        auto* d = reinterpret_cast<std::uint32_t*>(db.Row(up ? rc.bottom - 1 : rc.top));
        const std::uint32_t* s =
            sb == nullptr ? nullptr
                          : reinterpret_cast<const std::uint32_t*>(sb->Row(up ? sy + h - 1 : sy)) + sx;
        if (useP) {
            solidFn(d, s, pbuf[0], w * h);
        } else {
            fn(d, s, nullptr, w * h);
        }
        return;
    }

    for (int y = rc.top; y < rc.bottom; ++y) {
        std::uint32_t* d = directDest ? reinterpret_cast<std::uint32_t*>(db.Row(y)) + rc.left
                                      : dbuf.data();
        if (!directDest && RopUsesDest(rop)) {
            LoadRow(db, rc.left, y, w, d);
        }
        const std::uint32_t* s = nullptr;
        if (sb != nullptr) {
            const int srow = sy + (y - rc.top);
            if (conv == SrcConv::Direct) {
                s = reinterpret_cast<const std::uint32_t*>(sb->Row(srow)) + sx;
            } else {
                LoadRow(*sb, sx, srow, w, sbuf.data());
                if (conv == SrcConv::MonoToColor) {
                    for (auto& v : sbuf) v = v ? dstBk : dstText;
                } else if (conv == SrcConv::ColorToMono) {
                    for (auto& v : sbuf) v = (v & 0x00FFFFFFu) == srcBk ? 0x00FFFFFFu : 0u;
                }
                s = sbuf.data();
            }
        }
        if (useP && !pat.solid) {
            pat.Fill(rc.left, y, w, pbuf.data());
        }
        if (useP && pat.solid) {
            solidFn(d, s, pbuf[0], w);
        } else {
            fn(d, s, useP ? pbuf.data() : nullptr, w);
        }
        if (!directDest) {
            StoreRow(db, rc.left, y, w, d);
        }
    }
}

}  // namespace winport::gdi

using namespace winport;
using namespace winport::gdi;

extern "C" {

WINGDIAPI BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return FALSE;
    }
    const auto code = static_cast<std::uint8_t>(rop >> 16);
    if (RopUsesSource(code)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    RECT rc;
    if (DeviceRect(*dc, x, y, w, h, &rc)) {
        Blit(*dc, rc, nullptr, 0, 0, code, dc->state.brush.get());
    }
    return TRUE;
}

// Both rectangles are clipped to their surfaces; what falls outside either
// is left alone. A negative size draws nothing.
WINGDIAPI BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1,
                             DWORD rop) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return FALSE;
    }
    const auto code = static_cast<std::uint8_t>(rop >> 16);
    if (!RopUsesSource(code)) {
        return PatBlt(hdc, x, y, cx, cy, rop);
    }
    auto src = LookupGdi<Dc>(hdcSrc);
    if (!src) {
        return FALSE;
    }
    if (cx <= 0 || cy <= 0) {
        return TRUE;
    }
    long long dx = static_cast<long long>(x) + dc->state.viewportOrg.x;
    long long dy = static_cast<long long>(y) + dc->state.viewportOrg.y;
    long long sx = static_cast<long long>(x1) + src->state.viewportOrg.x;
    long long sy = static_cast<long long>(y1) + src->state.viewportOrg.y;
    long long w = cx, h = cy;
    const Bitmap& db = *dc->state.bitmap;
    const Bitmap& sb = *src->state.bitmap;
    auto clipLow = [](long long& a, long long& b, long long& len) {
        const long long cut = std::max({0LL, -a, -b});
        a += cut;
        b += cut;
        len -= cut;
    };
    clipLow(dx, sx, w);
    clipLow(dy, sy, h);
    w = std::min({w, db.width - dx, sb.width - sx});
    h = std::min({h, db.height - dy, sb.height - sy});
    if (w <= 0 || h <= 0) {
        return TRUE;
    }
    const RECT rc{static_cast<LONG>(dx), static_cast<LONG>(dy), static_cast<LONG>(dx + w),
                  static_cast<LONG>(dy + h)};
    Blit(*dc, rc, src.get(), static_cast<int>(sx), static_cast<int>(sy), code,
         dc->state.brush.get());
    return TRUE;
}

WINGDIAPI COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    RECT rc;
    if (!DeviceRect(*dc, x, y, 1, 1, &rc)) {
        return CLR_INVALID;
    }
    std::uint32_t px;
    LoadRow(*dc->state.bitmap, rc.left, rc.top, 1, &px);
    return ToColorRef(px & 0x00FFFFFFu);
}

// Answers the colour actually set: on a mono surface black or white.
WINGDIAPI COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    RECT rc;
    if (!DeviceRect(*dc, x, y, 1, 1, &rc)) {
        return CLR_INVALID;
    }
    Bitmap& bm = *dc->state.bitmap;
    std::uint32_t px = ToPixel(color & 0x00FFFFFF);
    if (bm.format == PixelFormat::Mono) {
        px = NearerWhite(color) ? 0x00FFFFFFu : 0u;
    }
    StoreRow(bm, rc.left, rc.top, 1, &px);
    return ToColorRef(px);
}

}  // extern "C"
