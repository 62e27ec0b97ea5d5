// gdi32's objects: device contexts, bitmaps, brushes, fonts, and the screen.
#pragma once
//
// Who owns what. The handle table owns every object until DeleteObject (or
// DeleteDC) takes it out. A DC holds a shared reference to each object
// selected into it, and each object counts the DCs holding it: deleting an
// object that a DC still holds only marks it, the handle stays valid, and the
// object leaves the table when the last DC lets go of it (selecting another
// object or DeleteDC). Stock objects are never deleted and never counted.
//
// Holds: Bitmap (1-bit DDB, 32-bit DDB, 24/32-bit DIB section), Brush,
// Font, Dc, and the helpers that move rows of pixels between them.

#include "win32/handles.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace winport::gdi {

enum class GdiType { Dc, Bitmap, Brush, Font, Pen };

class GdiObject : public Object {
public:
    static constexpr ObjectKind kKind = ObjectKind::Gdi;
    explicit GdiObject(GdiType type) : Object(kKind), m_type(type) {}
    [[nodiscard]] GdiType type() const { return m_type; }

    bool stock = false;
    int selectCount = 0;       // DCs holding this object (guarded by SelectionLock)
    bool deletePending = false;

private:
    const GdiType m_type;
};

// Pixel formats a surface keeps. Colour pixels travel between surfaces as
// 32-bit 0x00RRGGBB words (the DIB memory order B, G, R, X). Pal4 and Pal8
// are indices into the default 16- and 256-colour tables, Rgb555 little-endian
// 5-5-5 words; bitmaps of those depths (and 24-bit ones made by CreateBitmap)
// are never selected into a DC, as a memory DC takes only mono bitmaps, DIB
// sections and bitmaps of the screen's depth: they are read and written
// through their bits, SetDIBits/GetDIBits and pattern brushes.
enum class PixelFormat { Mono, Pal4, Pal8, Rgb555, Rgb24, Rgb32 };

class Bitmap : public GdiObject {
public:
    static constexpr GdiType kType = GdiType::Bitmap;
    Bitmap() : GdiObject(kType) {}

    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb32;
    bool dibSection = false;
    BITMAPINFOHEADER dibHeader{};
    std::vector<std::uint8_t> storage;  // owns the pixels (also a DIB section's)
    std::uint8_t* base = nullptr;       // row 0, the top row
    std::ptrdiff_t stride = 0;          // bytes from one row to the next below (negative bottom-up)
    void* selectedIn = nullptr;         // the DC holding it (guarded by SelectionLock)

    [[nodiscard]] int BitsPerPixel() const;
    // Bytes per row as the bitmap's clients see them: 16-bit padding for
    // device-dependent bitmaps, 32-bit for DIB sections.
    [[nodiscard]] int WidthBytes() const;
    [[nodiscard]] std::uint8_t* Row(int y) { return base + y * stride; }
    [[nodiscard]] const std::uint8_t* Row(int y) const { return base + y * stride; }
};

// A surface of the given size, cleared to 0. Null for a size it cannot hold.
std::shared_ptr<Bitmap> MakeBitmap(int width, int height, PixelFormat format, bool dibSection,
                                   bool bottomUp);

// Rows as 32-bit colour words: a mono pixel reads as 0 or 0x00FFFFFF and is
// stored as set when the word's low bit is set (raster operations on mono
// surfaces only ever see all-zero and all-one words).
void LoadRow(const Bitmap& bm, int x, int y, int n, std::uint32_t* out);
void StoreRow(Bitmap& bm, int x, int y, int n, const std::uint32_t* in);

class Brush : public GdiObject {
public:
    static constexpr GdiType kType = GdiType::Brush;
    Brush() : GdiObject(kType) {}

    UINT style = BS_SOLID;
    COLORREF color = 0;
    // BS_PATTERN: a private copy of the bitmap, so the caller may delete its own.
    std::shared_ptr<Bitmap> pattern;
};

class Font : public GdiObject {
public:
    static constexpr GdiType kType = GdiType::Font;
    Font() : GdiObject(kType) {}
    LOGFONTA logfont{};
};

class Pen : public GdiObject {
public:
    static constexpr GdiType kType = GdiType::Pen;
    Pen() : GdiObject(kType) {}
    COLORREF color = 0;
    bool null = false;
};

struct DcState {
    std::shared_ptr<Bitmap> bitmap;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    std::shared_ptr<Pen> pen;
    COLORREF textColor = 0;
    COLORREF bkColor = 0x00FFFFFF;
    int bkMode = OPAQUE;
    int mapMode = MM_TEXT;
    int charExtra = 0;
    POINT viewportOrg{0, 0};
    POINT brushOrg{0, 0};
};

class Dc : public GdiObject {
public:
    static constexpr GdiType kType = GdiType::Dc;
    Dc() : GdiObject(kType) {}

    bool memory = true;  // false: a DC on the screen
    DcState state;
    std::vector<DcState> saved;  // SaveDC's stack
};

// The lock that guards selection counts and the bitmap-to-DC link.
std::mutex& SelectionLock();

// The object behind h if it is a live GDI object of T's type; else null and
// ERROR_INVALID_HANDLE.
template <class T>
[[nodiscard]] std::shared_ptr<T> LookupGdi(const void* h) {
    auto obj = Lookup<GdiObject>(h);
    if (!obj || obj->type() != T::kType) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::static_pointer_cast<T>(obj);
}

// The handle of an object (its address as the table knows it).
template <class H, class T>
[[nodiscard]] H HandleOf(const std::shared_ptr<T>& obj) {
    return static_cast<H>(static_cast<void*>(static_cast<Object*>(obj.get())));
}

// Takes a DC's hold on obj back; the last hold on a deleted object ends it.
void ReleaseHold(const std::shared_ptr<GdiObject>& obj);
// Counts a new hold of a DC on obj.
void AddHold(const std::shared_ptr<GdiObject>& obj);

// Registers a new object and returns its handle.
template <class H, class T>
H Register(std::shared_ptr<T> obj) {
    return static_cast<H>(RegisterObject(std::move(obj)));
}

// The virtual screen: 1024x768, 32 bits, 96 dpi.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kScreenDpi = 96;
std::shared_ptr<Bitmap> Screen();

// The 1x1 mono bitmap every new memory DC starts with.
std::shared_ptr<Bitmap> DefaultBitmap();
std::shared_ptr<Brush> StockBrush(int index);
std::shared_ptr<Font> StockFont(int index);
std::shared_ptr<Pen> StockPen(int index);

// A new DC on the screen (GetDC) or in memory (CreateCompatibleDC).
HDC NewDc(bool memory);

// COLORREF <-> 0x00RRGGBB.
[[nodiscard]] inline std::uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
[[nodiscard]] inline COLORREF ToColorRef(std::uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// The nearer of black and white, as a colour is drawn on a mono surface.
[[nodiscard]] bool NearerWhite(COLORREF c);

// Fills a destination rectangle (device coordinates, already clipped to the
// surface) by the raster operation rop3 with the DC's brush and, when the
// code reads a source, with src (its top-left at sx, sy).
void Blit(Dc& dst, const RECT& rc, const Dc* src, int sx, int sy, std::uint8_t rop3,
          const Brush* brush);

// Device rectangle of a logical one, clipped to the DC's surface; false if empty.
bool DeviceRect(const Dc& dc, int x, int y, int w, int h, RECT* out);

}  // namespace winport::gdi
