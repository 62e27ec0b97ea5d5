// user32 icons: CreateIconIndirect, GetIconInfo, DestroyIcon, DrawIconEx, DrawIcon.
//
// An icon owns its pixels, not bitmaps: the colour picture (none for a
// monochrome icon) and the AND mask in which set pixels are transparent.
// Drawing ANDs the mask into the destination and XORs the colours over it,
// so a colour icon keeps its transparent pixels black. GetIconInfo hands
// out new bitmaps the caller deletes, as on Windows; the icon's own pixels
// are never shared with a caller.
#include "win32/handles.h"
#include "win32/user/image.h"

#include <windows.h>

#include <utility>

namespace winport::user {
namespace {

class Icon final : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Icon;
    Icon() : Object(kKind) {}

    Pixels color;  // empty: monochrome, the mask holds AND rows then XOR rows
    Pixels mask;
    bool isIcon = true;
    DWORD xHotspot = 0;
    DWORD yHotspot = 0;

    [[nodiscard]] int Width() const { return mask.width; }
    [[nodiscard]] int Height() const { return color.empty() ? mask.height / 2 : mask.height; }
};

std::shared_ptr<Icon> FindIcon(HICON h) {
    auto icon = Lookup<Icon>(h);
    if (!icon) SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return icon;
}

// The rows [top, top + height) of px.
Pixels Rows(const Pixels& px, int top, int height) {
    Pixels out;
    out.width = px.width;
    out.height = height;
    out.rgb.assign(px.rgb.begin() + static_cast<std::ptrdiff_t>(top) * px.width,
                   px.rgb.begin() + static_cast<std::ptrdiff_t>(top + height) * px.width);
    return out;
}

// A memory DC holding a bitmap made of px for the scope.
struct PixelsDc {
    PixelsDc(const Pixels& px, BitmapKind kind)
        : bitmap(BitmapFromPixels(px, kind)), dc(CreateCompatibleDC(NULL)), old(SelectObject(dc, bitmap)) {}
    ~PixelsDc() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    PixelsDc(const PixelsDc&) = delete;
    PixelsDc& operator=(const PixelsDc&) = delete;
    [[nodiscard]] bool ok() const { return bitmap != NULL && old != NULL; }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

}  // namespace

HICON MakeIcon(Pixels color, Pixels mask, bool isIcon, DWORD xHotspot, DWORD yHotspot) {
    const bool fits = color.empty() ? mask.height >= 2 && mask.height % 2 == 0
                                    : color.width == mask.width && color.height == mask.height;
    if (mask.empty() || !fits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    auto icon = std::make_shared<Icon>();
    icon->color = std::move(color);
    icon->mask = std::move(mask);
    icon->isIcon = isIcon;
    // An icon's hot spot is its centre whatever the caller says.
    icon->xHotspot = isIcon ? static_cast<DWORD>(icon->Width() / 2) : xHotspot;
    icon->yHotspot = isIcon ? static_cast<DWORD>(icon->Height() / 2) : yHotspot;
    return static_cast<HICON>(RegisterObjectWithFreshHandle(std::move(icon)));
}

}  // namespace winport::user

using namespace winport;
using namespace winport::user;

extern "C" {

// Copies the caller's bitmaps; the caller keeps and deletes its own.
WINUSERAPI HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
    if (piconinfo == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    Pixels mask = PixelsOfBitmap(piconinfo->hbmMask);
    Pixels color;
    if (piconinfo->hbmColor != NULL) {
        color = PixelsOfBitmap(piconinfo->hbmColor);
        if (color.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return NULL;
        }
        // A mask of another size is read at the colour picture's.
        mask = Scaled(mask, color.width, color.height);
    }
    return MakeIcon(std::move(color), std::move(mask), piconinfo->fIcon != FALSE, piconinfo->xHotspot,
                    piconinfo->yHotspot);
}

WINUSERAPI BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    auto icon = FindIcon(hIcon);
    if (!icon) {
        return FALSE;
    }
    if (piconinfo == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HBITMAP mask = BitmapFromPixels(icon->mask, BitmapKind::Mono);
    HBITMAP color = icon->color.empty() ? NULL : BitmapFromPixels(icon->color, BitmapKind::Device);
    if (mask == NULL || (!icon->color.empty() && color == NULL)) {
        if (mask != NULL) DeleteObject(mask);
        if (color != NULL) DeleteObject(color);
        return FALSE;
    }
    piconinfo->fIcon = icon->isIcon ? TRUE : FALSE;
    piconinfo->xHotspot = icon->xHotspot;
    piconinfo->yHotspot = icon->yHotspot;
    piconinfo->hbmMask = mask;
    piconinfo->hbmColor = color;
    return TRUE;
}

WINUSERAPI BOOL WINAPI DestroyIcon(HICON hIcon) {
    if (!UnregisterObject(hIcon, ObjectKind::Icon)) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// A width or height of 0 is the icon's own, or the system's icon size with
// DI_DEFAULTSIZE; any other size stretches the icon. With a flicker-free
// brush the area is filled with it first, which leaves what an off-screen
// picture copied over it would.
WINUSERAPI BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                                  UINT istepIfAniCur, HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    (void)istepIfAniCur;
    auto icon = FindIcon(hIcon);
    if (!icon) {
        return FALSE;
    }
    if ((diFlags & DI_NORMAL) == 0 || cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int w = cxWidth != 0 ? cxWidth : (diFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : icon->Width();
    const int h = cyWidth != 0 ? cyWidth : (diFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : icon->Height();
    const int rows = icon->Height();
    const Pixels andRows = icon->color.empty() ? Rows(icon->mask, 0, rows) : icon->mask;
    const Pixels image = icon->color.empty() ? Rows(icon->mask, rows, rows) : icon->color;
    PixelsDc andDc(Scaled(andRows, w, h), BitmapKind::Mono);
    PixelsDc imageDc(Scaled(image, w, h), icon->color.empty() ? BitmapKind::Mono : BitmapKind::Device);
    if (!andDc.ok() || !imageDc.ok()) {
        return FALSE;
    }
    if (hbrFlickerFreeDraw != NULL) {
        const RECT rc{xLeft, yTop, xLeft + w, yTop + h};
        FillRect(hdc, &rc, hbrFlickerFreeDraw);
    }
    // Mono pictures land as black for 0 and white for 1.
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
    BOOL ok = TRUE;
    if (diFlags & DI_MASK) {
        ok = BitBlt(hdc, xLeft, yTop, w, h, andDc.dc, 0, 0, SRCAND);
    }
    if (ok && (diFlags & DI_IMAGE)) {
        ok = BitBlt(hdc, xLeft, yTop, w, h, imageDc.dc, 0, 0, (diFlags & DI_MASK) ? SRCINVERT : SRCCOPY);
    }
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBk);
    return ok;
}

WINUSERAPI BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, NULL, DI_NORMAL | DI_DEFAULTSIZE);
}

}  // extern "C"
