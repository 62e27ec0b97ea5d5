// comctl32 image lists: ImageList_Create, _Add, _AddMasked, _Draw, _LoadImageA and the rest.
//
// A list owns two strips of images side by side: the colours (a 32-bit
// bitmap) and, with ILC_MASK, a 1-bit mask in which 1 marks a transparent
// pixel. Masked pixels of the colour strip are kept black, so that drawing
// is an AND with the mask followed by an OR with the colours. A list made
// with ILC_COLOR4 keeps its colours in the 16 colours of the default palette,
// as a 4-bit list does; deeper lists keep them as given.
#include "win32/handles.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <utility>

namespace {

class ImageList : public winport::Object {
public:
    static constexpr winport::ObjectKind kKind = winport::ObjectKind::ImageList;
    ImageList() : Object(kKind) {}
    ~ImageList() override {
        if (colors != NULL) DeleteObject(colors);
        if (mask != NULL) DeleteObject(mask);
    }

    int cx = 0, cy = 0;
    UINT flags = 0;
    int count = 0;
    int capacity = 0;
    int grow = 4;
    COLORREF bkColor = CLR_NONE;
    HBITMAP colors = NULL;
    HBITMAP mask = NULL;
    std::mutex lock;

    [[nodiscard]] bool Masked() const { return (flags & ILC_MASK) != 0; }
    [[nodiscard]] int Depth() const { return static_cast<int>(flags & 0xFE); }
};

constexpr std::array<COLORREF, 16> kPalette16 = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};

COLORREF Nearest16(COLORREF c) {
    COLORREF best = 0;
    int bestDist = 1 << 30;
    for (COLORREF p : kPalette16) {
        const int dr = GetRValue(c) - GetRValue(p), dg = GetGValue(c) - GetGValue(p),
                  db = GetBValue(c) - GetBValue(p);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = p;
        }
    }
    return best;
}

// A memory DC holding a bitmap for the scope.
struct MemDc {
    explicit MemDc(HBITMAP bm) : dc(CreateCompatibleDC(NULL)), old(SelectObject(dc, bm)) {}
    ~MemDc() {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    MemDc(const MemDc&) = delete;
    MemDc& operator=(const MemDc&) = delete;
    HDC dc;
    HGDIOBJ old;
};

// Makes room for n more images, copying the strips into larger ones.
bool Reserve(ImageList& il, int n) {
    if (il.count + n <= il.capacity && il.colors != NULL) return true;
    const int capacity = std::max(il.count + n, il.capacity + std::max(1, il.grow));
    HDC screen = GetDC(NULL);
    HBITMAP colors = CreateCompatibleBitmap(screen, capacity * il.cx, il.cy);
    ReleaseDC(NULL, screen);
    HBITMAP mask = il.Masked() ? CreateBitmap(capacity * il.cx, il.cy, 1, 1, nullptr) : NULL;
    if (colors == NULL || (il.Masked() && mask == NULL)) {
        if (colors != NULL) DeleteObject(colors);
        if (mask != NULL) DeleteObject(mask);
        return false;
    }
    if (il.colors != NULL && il.count > 0) {
        MemDc from(il.colors), to(colors);
        BitBlt(to.dc, 0, 0, il.count * il.cx, il.cy, from.dc, 0, 0, SRCCOPY);
        if (il.Masked()) {
            MemDc mfrom(il.mask), mto(mask);
            BitBlt(mto.dc, 0, 0, il.count * il.cx, il.cy, mfrom.dc, 0, 0, SRCCOPY);
        }
    }
    if (il.colors != NULL) DeleteObject(il.colors);
    if (il.mask != NULL) DeleteObject(il.mask);
    il.colors = colors;
    il.mask = mask;
    il.capacity = capacity;
    return true;
}

// Copies the images of hbm (cut into cx-wide pieces) to the end of the list;
// the mask comes from hbmMask, or from the pixels equal to crMask, or is
// left clear. Answers the index of the first image added, -1 on failure.
int AddImages(ImageList& il, HBITMAP hbm, HBITMAP hbmMask, COLORREF crMask) {
    BITMAP info{};
    if (GetObjectA(hbm, sizeof(info), &info) == 0) return -1;
    const int n = std::max(1, info.bmWidth / il.cx);
    if (!Reserve(il, n)) return -1;
    const int x0 = il.count * il.cx;
    const int w = std::min<int>(info.bmWidth, n * il.cx);
    const int h = std::min<int>(info.bmHeight, il.cy);
    MemDc src(hbm), dst(il.colors);
    if (src.old == NULL) return -1;  // the caller's bitmap is selected elsewhere
    PatBlt(dst.dc, x0, 0, n * il.cx, il.cy, BLACKNESS);
    BitBlt(dst.dc, x0, 0, w, h, src.dc, 0, 0, SRCCOPY);
    if (il.Depth() == ILC_COLOR4) {
        for (int y = 0; y < h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                SetPixel(dst.dc, x, y, Nearest16(GetPixel(dst.dc, x, y)));
    }
    if (il.Masked()) {
        MemDc m(il.mask);
        PatBlt(m.dc, x0, 0, n * il.cx, il.cy, BLACKNESS);
        if (hbmMask != NULL) {
            MemDc given(hbmMask);
            BitBlt(m.dc, x0, 0, w, h, given.dc, 0, 0, SRCCOPY);
        } else if (crMask != CLR_NONE) {
            // CLR_DEFAULT: the colour of the bitmap's top-left pixel.
            const COLORREF oldBk = SetBkColor(src.dc, crMask == CLR_DEFAULT ? GetPixel(src.dc, 0, 0) : crMask);
            BitBlt(m.dc, x0, 0, w, h, src.dc, 0, 0, SRCCOPY);
            SetBkColor(src.dc, oldBk);
        }
        // Transparent pixels black in the colour strip: colours AND NOT mask.
        SetTextColor(dst.dc, RGB(0, 0, 0));
        SetBkColor(dst.dc, RGB(255, 255, 255));
        BitBlt(dst.dc, x0, 0, n * il.cx, il.cy, m.dc, x0, 0, 0x00220326);  // DSna
    }
    const int first = il.count;
    il.count += n;
    return first;
}

std::shared_ptr<ImageList> Find(HIMAGELIST himl) { return winport::LookupOrFail<ImageList>(himl); }

}  // namespace

extern "C" {

WINCOMMCTRLAPI void WINAPI InitCommonControls(void) {}

WINCOMMCTRLAPI HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    if (cx <= 0 || cy <= 0 || cInitial < 0 || cx > 4096 || cy > 4096) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    auto il = std::make_shared<ImageList>();
    il->cx = cx;
    il->cy = cy;
    il->flags = flags;
    il->grow = std::max(1, cGrow);
    if (!Reserve(*il, std::max(1, cInitial))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return static_cast<HIMAGELIST>(winport::RegisterObject(std::move(il)));
}

WINCOMMCTRLAPI BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    if (!winport::UnregisterObject(himl, ImageList::kKind)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

WINCOMMCTRLAPI int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    auto il = Find(himl);
    if (!il) return 0;
    std::lock_guard<std::mutex> lock(il->lock);
    return il->count;
}

WINCOMMCTRLAPI BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    auto il = Find(himl);
    if (!il || cx == nullptr || cy == nullptr) return FALSE;
    *cx = il->cx;
    *cy = il->cy;
    return TRUE;
}

WINCOMMCTRLAPI int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
    auto il = Find(himl);
    if (!il) return -1;
    std::lock_guard<std::mutex> lock(il->lock);
    return AddImages(*il, hbmImage, hbmMask, CLR_NONE);
}

WINCOMMCTRLAPI int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
    auto il = Find(himl);
    if (!il) return -1;
    std::lock_guard<std::mutex> lock(il->lock);
    return AddImages(*il, hbmImage, NULL, crMask);
}

// i = -1 removes every image.
WINCOMMCTRLAPI BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
    auto il = Find(himl);
    if (!il) return FALSE;
    std::lock_guard<std::mutex> lock(il->lock);
    if (i == -1) {
        il->count = 0;
        return TRUE;
    }
    if (i < 0 || i >= il->count) return FALSE;
    const int tail = il->count - i - 1;
    if (tail > 0) {
        MemDc c(il->colors);
        BitBlt(c.dc, i * il->cx, 0, tail * il->cx, il->cy, c.dc, (i + 1) * il->cx, 0, SRCCOPY);
        if (il->Masked()) {
            MemDc m(il->mask);
            BitBlt(m.dc, i * il->cx, 0, tail * il->cx, il->cy, m.dc, (i + 1) * il->cx, 0, SRCCOPY);
        }
    }
    --il->count;
    return TRUE;
}

WINCOMMCTRLAPI COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
    auto il = Find(himl);
    if (!il) return CLR_NONE;
    return std::exchange(il->bkColor, clrBk);
}

WINCOMMCTRLAPI COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) {
    auto il = Find(himl);
    return il ? il->bkColor : CLR_NONE;
}

// ILD_TRANSPARENT, and ILD_NORMAL while the background colour is CLR_NONE,
// leave the destination under masked pixels; ILD_NORMAL with a background
// colour paints them in it; ILD_MASK draws the mask (black for opaque,
// white for transparent).
WINCOMMCTRLAPI BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    auto il = Find(himl);
    if (!il) return FALSE;
    std::lock_guard<std::mutex> lock(il->lock);
    if (i < 0 || i >= il->count) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int sx = i * il->cx;
    MemDc colors(il->colors);
    const COLORREF oldText = SetTextColor(hdcDst, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(hdcDst, RGB(255, 255, 255));
    BOOL ok = TRUE;
    if (!il->Masked()) {
        ok = BitBlt(hdcDst, x, y, il->cx, il->cy, colors.dc, sx, 0, SRCCOPY);
    } else {
        MemDc mask(il->mask);
        if (fStyle & ILD_MASK) {
            ok = BitBlt(hdcDst, x, y, il->cx, il->cy, mask.dc, sx, 0, SRCCOPY);
        } else if (!(fStyle & ILD_TRANSPARENT) && il->bkColor != CLR_NONE) {
            // The colours, then the background where the mask is set.
            HBRUSH bk = CreateSolidBrush(il->bkColor);
            HGDIOBJ oldBrush = SelectObject(hdcDst, bk);
            ok = BitBlt(hdcDst, x, y, il->cx, il->cy, colors.dc, sx, 0, SRCCOPY) &&
                 BitBlt(hdcDst, x, y, il->cx, il->cy, mask.dc, sx, 0, 0x00E20746);  // DSPDxax
            SelectObject(hdcDst, oldBrush);
            DeleteObject(bk);
        } else {
            ok = BitBlt(hdcDst, x, y, il->cx, il->cy, mask.dc, sx, 0, SRCAND) &&
                 BitBlt(hdcDst, x, y, il->cx, il->cy, colors.dc, sx, 0, SRCPAINT);
        }
    }
    SetTextColor(hdcDst, oldText);
    SetBkColor(hdcDst, oldBk);
    return ok;
}

// A horizontal strip of cx-wide images; crMask (unless CLR_NONE) marks the
// transparent colour (CLR_DEFAULT: the strip's top-left pixel's, as in
// ImageList_AddMasked). The bitmap comes from LoadImageA (a module's resource, or a file).
WINCOMMCTRLAPI HIMAGELIST WINAPI ImageList_LoadImageA(HINSTANCE hi, LPCSTR lpbmp, int cx, int cGrow,
                                                      COLORREF crMask, UINT uType, UINT uFlags) {
    if (uType != IMAGE_BITMAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    HBITMAP bm = static_cast<HBITMAP>(LoadImageA(hi, lpbmp, IMAGE_BITMAP, 0, 0, uFlags));
    if (bm == NULL) return NULL;
    BITMAP info{};
    GetObjectA(bm, sizeof(info), &info);
    if (cx <= 0) cx = info.bmHeight;
    const int n = std::max(1, info.bmWidth / std::max(1, cx));
    HIMAGELIST himl = ImageList_Create(cx, info.bmHeight, ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0u),
                                       n, cGrow);
    if (himl != NULL) {
        const int first = crMask != CLR_NONE ? ImageList_AddMasked(himl, bm, crMask)
                                             : ImageList_Add(himl, bm, NULL);
        if (first < 0) {
            ImageList_Destroy(himl);
            himl = NULL;
        }
    }
    DeleteObject(bm);
    return himl;
}

}  // extern "C"
