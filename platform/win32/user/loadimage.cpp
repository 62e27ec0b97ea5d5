// user32 LoadImageA, LoadBitmapA, LoadIconA: bitmaps and icons from a
// module's resources (RT_BITMAP; RT_GROUP_ICON and its RT_ICON members) or,
// with LR_LOADFROMFILE, from .bmp and .ico files.
//
// What each call makes:
//   bitmap, default        a 32-bit device bitmap; a 1-bit DIB whose two
//                          colours are black and white (or LR_MONOCHROME)
//                          a 1-bit bitmap
//   LR_CREATEDIBSECTION    a bottom-up DIB section of 32 bits for a 32-bit
//                          DIB, else of 24 bits (winport keeps no palette
//                          sections: a 1-, 4- or 8-bit DIB is widened)
//   LR_LOADTRANSPARENT     the colour-table entry of the first pixel in
//                          memory becomes COLOR_WINDOW (DIBs with a table)
//   icon                   the group member nearest the size asked (the
//                          system icon size when none is), then the deeper
//                          one; drawn at cx x cy, or its own size when 0, or
//                          the system size with LR_DEFAULTSIZE
//   cx, cy of a bitmap     0 keeps the DIB's size; else it is stretched
// LR_SHARED is accepted and changes nothing: every load makes an object of
// its own, which DeleteObject or DestroyIcon frees.
//
// Refused, with the reason as last error: DIBs that are compressed, OS/2
// headers and PNG icon images (ERROR_NOT_SUPPORTED); bytes that are no DIB
// or do not fit their resource or file (ERROR_INVALID_DATA); cursors
// (ERROR_INVALID_PARAMETER). A name the module lacks fails as FindResourceA
// does (1813, 1814; 1812 for a handle that is no resource module).
#include "win32/errors.h"
#include "win32/paths.h"
#include "win32/user/image.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace winport::user;

std::uint32_t Read32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
unsigned Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

// The bytes of a resource; false with the last error set.
bool ResourceBytes(HINSTANCE hInst, LPCSTR name, LPCSTR type, const std::uint8_t*& data, std::size_t& size) {
    HRSRC res = FindResourceA(hInst, name, type);
    if (res == NULL) {
        return false;
    }
    HGLOBAL global = LoadResource(hInst, res);
    size = SizeofResource(hInst, res);
    data = static_cast<const std::uint8_t*>(LockResource(global));
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

// A whole file, up to 256 MiB; false with the last error set.
bool ReadWholeFile(LPCSTR name, std::vector<std::uint8_t>& data) {
    const std::string path = winport::ToPosixPath(name);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        winport::FailFromErrno(errno, path.c_str());
        return false;
    }
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0 && data.size() < (256u << 20)) {
        data.insert(data.end(), buf, buf + n);
    }
    std::fclose(f);
    return true;
}

HBITMAP BitmapFromDib(PackedDib dib, int cx, int cy, UINT fuLoad) {
    if ((fuLoad & LR_LOADTRANSPARENT) && dib.colorsUsed > 0) {
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        dib.palette[static_cast<std::size_t>(FirstPixelIndex(dib))] =
            (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
    }
    BitmapKind kind = BitmapKind::Device;
    if (fuLoad & LR_CREATEDIBSECTION) {
        kind = dib.bitCount == 32 ? BitmapKind::DibSection32 : BitmapKind::DibSection24;
    } else if ((fuLoad & LR_MONOCHROME) ||
               (dib.bitCount == 1 && ((dib.palette[0] == 0 && dib.palette[1] == 0x00FFFFFFu) ||
                                      (dib.palette[0] == 0x00FFFFFFu && dib.palette[1] == 0)))) {
        kind = BitmapKind::Mono;
    }
    Pixels px = DecodeDib(dib, cx != 0 ? cx : dib.width, cy != 0 ? cy : dib.height);
    if (px.empty()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return BitmapFromPixels(px, kind);
}

HBITMAP LoadBitmapImage(HINSTANCE hInst, LPCSTR name, int cx, int cy, UINT fuLoad) {
    PackedDib dib;
    DWORD err = ERROR_SUCCESS;
    std::vector<std::uint8_t> file;
    if (fuLoad & LR_LOADFROMFILE) {
        if (!ReadWholeFile(name, file)) {
            return NULL;
        }
        // BITMAPFILEHEADER: "BM", size, two reserved words, offset of the rows.
        constexpr std::size_t kFileHeader = 14;
        if (file.size() < kFileHeader || file[0] != 'B' || file[1] != 'M' || Read32(&file[10]) < kFileHeader) {
            SetLastError(ERROR_INVALID_DATA);
            return NULL;
        }
        err = ParsePackedDib(file.data() + kFileHeader, file.size() - kFileHeader, Read32(&file[10]) - kFileHeader,
                             false, dib);
    } else {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        if (!ResourceBytes(hInst, name, RT_BITMAP, data, size)) {
            return NULL;
        }
        err = ParsePackedDib(data, size, 0, false, dib);
    }
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        return NULL;
    }
    return BitmapFromDib(dib, cx, cy, fuLoad);
}

// One image of an icon directory: where its bytes are (a resource id, or an
// offset into the file) and what the directory says of it.
struct IconEntry {
    int width = 0, height = 0, bits = 0;
    unsigned id = 0;
    std::uint32_t offset = 0, size = 0;
};

// The directory's entries: 6 bytes of header (0, type 1, count), then 14
// bytes an entry in a resource (ending in the RT_ICON id) or 16 in a file
// (ending in the image's offset). False when it does not fit.
bool IconDirectory(const std::uint8_t* data, std::size_t size, bool file, std::vector<IconEntry>& out) {
    if (size < 6 || Read16(data) != 0 || Read16(data + 2) != 1) {
        return false;
    }
    const std::size_t count = Read16(data + 4);
    const std::size_t entrySize = file ? 16 : 14;
    if (count == 0 || (size - 6) / entrySize < count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data + 6 + i * entrySize;
        IconEntry entry;
        entry.width = e[0] != 0 ? e[0] : 256;
        entry.height = e[1] != 0 ? e[1] : 256;
        entry.bits = static_cast<int>(Read16(e + 6));
        if (entry.bits == 0) {
            entry.bits = e[2] == 0 ? 8 : e[2] <= 2 ? 1 : e[2] <= 16 ? 4 : 8;
        }
        entry.size = Read32(e + 8);
        if (file) {
            entry.offset = Read32(e + 12);
        } else {
            entry.id = Read16(e + 12);
        }
        out.push_back(entry);
    }
    return true;
}

const IconEntry& BestIcon(const std::vector<IconEntry>& entries, int width, int height) {
    const IconEntry* best = &entries.front();
    for (const IconEntry& e : entries) {
        const int distance = std::abs(e.width - width) + std::abs(e.height - height);
        const int bestDistance = std::abs(best->width - width) + std::abs(best->height - height);
        if (distance < bestDistance || (distance == bestDistance && e.bits > best->bits)) {
            best = &e;
        }
    }
    return *best;
}

HICON LoadIconImage(HINSTANCE hInst, LPCSTR name, int cx, int cy, UINT fuLoad) {
    const bool fromFile = (fuLoad & LR_LOADFROMFILE) != 0;
    std::vector<std::uint8_t> file;
    const std::uint8_t* dir = nullptr;
    std::size_t dirSize = 0;
    if (fromFile) {
        if (!ReadWholeFile(name, file)) {
            return NULL;
        }
        dir = file.data();
        dirSize = file.size();
    } else if (!ResourceBytes(hInst, name, RT_GROUP_ICON, dir, dirSize)) {
        return NULL;
    }
    std::vector<IconEntry> entries;
    if (!IconDirectory(dir, dirSize, fromFile, entries)) {
        SetLastError(ERROR_INVALID_DATA);
        return NULL;
    }
    const int systemWidth = GetSystemMetrics(SM_CXICON), systemHeight = GetSystemMetrics(SM_CYICON);
    const IconEntry& entry = BestIcon(entries, cx != 0 ? cx : systemWidth, cy != 0 ? cy : systemHeight);
    const std::uint8_t* image = nullptr;
    std::size_t imageSize = 0;
    if (fromFile) {
        if (entry.offset > file.size() || file.size() - entry.offset < entry.size) {
            SetLastError(ERROR_INVALID_DATA);
            return NULL;
        }
        image = file.data() + entry.offset;
        imageSize = entry.size;
    } else if (!ResourceBytes(hInst, MAKEINTRESOURCEA(entry.id), RT_ICON, image, imageSize)) {
        return NULL;
    }
    PackedDib dib;
    const DWORD err = ParsePackedDib(image, imageSize, 0, true, dib);
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        return NULL;
    }
    const int width = cx != 0 ? cx : (fuLoad & LR_DEFAULTSIZE) ? systemWidth : dib.width;
    const int height = cy != 0 ? cy : (fuLoad & LR_DEFAULTSIZE) ? systemHeight : dib.height;
    Pixels color = DecodeDib(dib, width, height);
    Pixels mask = DecodeDib(dib, width, height, true);
    if (color.empty() || mask.empty()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    // A 32-bit image whose alpha bytes are not all 0 draws by its alpha:
    // winport draws no blend, so a pixel is transparent below half opacity.
    bool alpha = false;
    if (dib.bitCount == 32) {
        for (std::uint32_t v : color.rgb) alpha = alpha || (v >> 24) != 0;
    }
    for (std::size_t i = 0; i < color.rgb.size(); ++i) {
        if (alpha && (color.rgb[i] >> 24) < 128) {
            mask.rgb[i] = 0x00FFFFFFu;
            color.rgb[i] = 0;
        }
        color.rgb[i] &= 0x00FFFFFFu;
    }
    return MakeIcon(std::move(color), std::move(mask), true, 0, 0);
}

}  // namespace

extern "C" {

WINUSERAPI HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (name == nullptr || cx < 0 || cy < 0 || (type != IMAGE_BITMAP && type != IMAGE_ICON)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return NULL;
    }
    if (type == IMAGE_BITMAP) {
        return LoadBitmapImage(hInst, name, cx, cy, fuLoad);
    }
    return LoadIconImage(hInst, name, cx, cy, fuLoad);
}

WINUSERAPI HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
    return static_cast<HBITMAP>(LoadImageA(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

WINUSERAPI HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    return static_cast<HICON>(LoadImageA(hInstance, lpIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

}  // extern "C"
