// gdi32 objects: SelectObject, DeleteObject, GetObjectA, stock objects.
#include "win32/gdi/gdi.h"

#include <cstring>

namespace winport::gdi {

std::mutex& SelectionLock() {
    static std::mutex* const m = new std::mutex;
    return *m;
}

void AddHold(const std::shared_ptr<GdiObject>& obj) {
    if (obj && !obj->stock) {
        std::lock_guard<std::mutex> lock(SelectionLock());
        ++obj->selectCount;
    }
}

void ReleaseHold(const std::shared_ptr<GdiObject>& obj) {
    if (!obj || obj->stock) {
        return;
    }
    bool dispose = false;
    {
        std::lock_guard<std::mutex> lock(SelectionLock());
        dispose = --obj->selectCount == 0 && obj->deletePending;
    }
    if (dispose) {
        UnregisterObject(static_cast<Object*>(obj.get()), ObjectKind::Gdi);
    }
}

bool NearerWhite(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack;
}

namespace {

template <class T>
std::shared_ptr<T> MakeStock() {
    auto obj = std::make_shared<T>();
    obj->stock = true;
    return obj;
}

std::shared_ptr<Brush> StockSolid(COLORREF c, UINT style = BS_SOLID) {
    auto b = MakeStock<Brush>();
    b->color = c;
    b->style = style;
    RegisterObject(b);
    return b;
}

std::shared_ptr<Font> StockFontOf(LONG height, LONG weight, const char* face, BYTE pitch) {
    auto f = MakeStock<Font>();
    f->logfont.lfHeight = height;
    f->logfont.lfWeight = weight;
    f->logfont.lfCharSet = ANSI_CHARSET;
    f->logfont.lfPitchAndFamily = pitch;
    std::strncpy(f->logfont.lfFaceName, face, LF_FACESIZE - 1);
    RegisterObject(f);
    return f;
}

}  // namespace

std::shared_ptr<Brush> StockBrush(int index) {
    static const std::shared_ptr<Brush> brushes[] = {
        StockSolid(RGB(255, 255, 255)), StockSolid(RGB(192, 192, 192)),
        StockSolid(RGB(128, 128, 128)), StockSolid(RGB(64, 64, 64)),
        StockSolid(RGB(0, 0, 0)),       StockSolid(0, BS_NULL),
    };
    return index >= WHITE_BRUSH && index <= NULL_BRUSH ? brushes[index] : nullptr;
}

std::shared_ptr<Pen> StockPen(int index) {
    static const std::shared_ptr<Pen> pens[] = {
        [] { auto p = MakeStock<Pen>(); p->color = RGB(255, 255, 255); RegisterObject(p); return p; }(),
        [] { auto p = MakeStock<Pen>(); RegisterObject(p); return p; }(),
        [] { auto p = MakeStock<Pen>(); p->null = true; RegisterObject(p); return p; }(),
    };
    return index >= WHITE_PEN && index <= NULL_PEN ? pens[index - WHITE_PEN] : nullptr;
}

// The fixed fonts map to the monospaced face fontconfig gives for "Courier
// New", the others to sans faces; SYSTEM_FONT is the bold face of the
// classic system font's cell of 16 pixels.
std::shared_ptr<Font> StockFont(int index) {
    static const std::shared_ptr<Font> oemFixed = StockFontOf(12, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN);
    static const std::shared_ptr<Font> ansiFixed = StockFontOf(12, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN);
    static const std::shared_ptr<Font> ansiVar = StockFontOf(12, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS);
    static const std::shared_ptr<Font> system = StockFontOf(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS);
    static const std::shared_ptr<Font> sysFixed = StockFontOf(16, FW_NORMAL, "Courier New", FIXED_PITCH | FF_MODERN);
    static const std::shared_ptr<Font> gui = StockFontOf(-11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS);
    switch (index) {
    case OEM_FIXED_FONT: return oemFixed;
    case ANSI_FIXED_FONT: return ansiFixed;
    case ANSI_VAR_FONT: return ansiVar;
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: return system;
    case SYSTEM_FIXED_FONT: return sysFixed;
    case DEFAULT_GUI_FONT: return gui;
    default: return nullptr;
    }
}

}  // namespace winport::gdi

using namespace winport;
using namespace winport::gdi;

namespace {

// Swaps obj into the DC's slot and answers the handle of what was there.
template <class T>
HGDIOBJ Swap(std::shared_ptr<T>& slot, std::shared_ptr<T> obj) {
    if (slot == obj) {
        return HandleOf<HGDIOBJ>(obj);
    }
    std::shared_ptr<T> old = std::move(slot);
    slot = std::move(obj);
    AddHold(slot);
    const HGDIOBJ h = HandleOf<HGDIOBJ>(old);
    ReleaseHold(old);
    return h;
}

}  // namespace

extern "C" {

WINGDIAPI HGDIOBJ WINAPI GetStockObject(int i) {
    if (auto b = StockBrush(i)) return HandleOf<HGDIOBJ>(b);
    if (auto p = StockPen(i)) return HandleOf<HGDIOBJ>(p);
    if (auto f = StockFont(i)) return HandleOf<HGDIOBJ>(f);
    return NULL;
}

// A bitmap goes into one memory DC at a time; the screen keeps its own.
WINGDIAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return NULL;
    }
    auto obj = Lookup<GdiObject>(h);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return NULL;
    }
    switch (obj->type()) {
    case GdiType::Bitmap: {
        auto bm = std::static_pointer_cast<Bitmap>(obj);
        if (!dc->memory) {
            return NULL;
        }
        if (!bm->dibSection && bm->format != PixelFormat::Mono && bm->format != PixelFormat::Rgb32) {
            SetLastError(ERROR_INVALID_HANDLE);  // not of the screen's depth
            return NULL;
        }
        {
            std::lock_guard<std::mutex> lock(SelectionLock());
            if (bm == Screen() ||
                (bm->selectedIn != nullptr && bm->selectedIn != dc.get() && !bm->stock)) {
                return NULL;
            }
            if (dc->state.bitmap && !dc->state.bitmap->stock) {
                dc->state.bitmap->selectedIn = nullptr;
            }
            if (!bm->stock) {
                bm->selectedIn = dc.get();
            }
        }
        return Swap(dc->state.bitmap, std::move(bm));
    }
    case GdiType::Brush:
        return Swap(dc->state.brush, std::static_pointer_cast<Brush>(obj));
    case GdiType::Font:
        return Swap(dc->state.font, std::static_pointer_cast<Font>(obj));
    case GdiType::Pen:
        return Swap(dc->state.pen, std::static_pointer_cast<Pen>(obj));
    case GdiType::Dc:
        break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return NULL;
}

// An object still selected into a DC is only marked: it ends when the last
// DC holding it lets go. Stock objects are never deleted.
WINGDIAPI BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    auto obj = Lookup<GdiObject>(ho);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (obj->type() == GdiType::Dc) {
        return DeleteDC(static_cast<HDC>(ho));
    }
    if (obj->stock) {
        return TRUE;
    }
    {
        std::lock_guard<std::mutex> lock(SelectionLock());
        if (obj->selectCount > 0) {
            obj->deletePending = true;
            return TRUE;
        }
    }
    UnregisterObject(ho, ObjectKind::Gdi);
    return TRUE;
}

WINGDIAPI DWORD WINAPI GetObjectType(HGDIOBJ h) {
    auto obj = Lookup<GdiObject>(h);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (obj->type()) {
    case GdiType::Dc: return static_cast<Dc&>(*obj).memory ? OBJ_MEMDC : OBJ_DC;
    case GdiType::Bitmap: return OBJ_BITMAP;
    case GdiType::Brush: return OBJ_BRUSH;
    case GdiType::Font: return OBJ_FONT;
    case GdiType::Pen: return OBJ_PEN;
    }
    return 0;
}

// Copies at most c bytes of the object's record; with no buffer answers the
// record's size. A DIB section fills a DIBSECTION when the buffer holds one.
WINGDIAPI int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    auto obj = Lookup<GdiObject>(h);
    if (!obj) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    auto copy = [&](const void* rec, int size) {
        if (pv == nullptr) {
            return size;
        }
        const int n = c < size ? c : size;
        if (n <= 0) {
            return 0;
        }
        std::memcpy(pv, rec, static_cast<std::size_t>(n));
        return n;
    };
    switch (obj->type()) {
    case GdiType::Bitmap: {
        const auto& bm = static_cast<const Bitmap&>(*obj);
        DIBSECTION ds{};
        ds.dsBm.bmType = 0;
        ds.dsBm.bmWidth = bm.width;
        ds.dsBm.bmHeight = bm.height;
        ds.dsBm.bmWidthBytes = bm.WidthBytes();
        ds.dsBm.bmPlanes = 1;
        ds.dsBm.bmBitsPixel = static_cast<WORD>(bm.BitsPerPixel());
        if (bm.dibSection) {
            ds.dsBm.bmBits = const_cast<std::uint8_t*>(bm.storage.data());
            ds.dsBmih = bm.dibHeader;
            if (c >= static_cast<int>(sizeof(DIBSECTION))) {
                return copy(&ds, sizeof(DIBSECTION));
            }
        }
        return copy(&ds.dsBm, sizeof(BITMAP));
    }
    case GdiType::Brush: {
        const auto& b = static_cast<const Brush&>(*obj);
        LOGBRUSH lb{b.style, b.style == BS_SOLID ? b.color : 0, 0};
        return copy(&lb, sizeof(lb));
    }
    case GdiType::Font:
        return copy(&static_cast<const Font&>(*obj).logfont, sizeof(LOGFONTA));
    case GdiType::Pen:
    case GdiType::Dc:
        break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

WINGDIAPI HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    auto dc = LookupGdi<Dc>(hdc);
    if (!dc) {
        return NULL;
    }
    switch (type) {
    case OBJ_BITMAP: return HandleOf<HGDIOBJ>(dc->state.bitmap);
    case OBJ_BRUSH: return HandleOf<HGDIOBJ>(dc->state.brush);
    case OBJ_FONT: return HandleOf<HGDIOBJ>(dc->state.font);
    case OBJ_PEN: return HandleOf<HGDIOBJ>(dc->state.pen);
    default: SetLastError(ERROR_INVALID_PARAMETER); return NULL;
    }
}

}  // extern "C"
