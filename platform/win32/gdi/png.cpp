// winport's PNG output: WpSaveBitmapAsPng, WpSaveScreenAsPng (libpng).
#include "win32/errors.h"
#include "win32/gdi/gdi.h"
#include "win32/paths.h"

#include <winport.h>

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace winport;
using namespace winport::gdi;

namespace {

// Writes rows of 0x00RRGGBB to f; false when libpng reports an error.
bool WritePng(std::FILE* f, const Bitmap& bm) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(bm.width));
    std::vector<png_byte> rgb(static_cast<std::size_t>(bm.width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bm.width), static_cast<png_uint_32>(bm.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // 96 dpi in pixels per metre.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < bm.height; ++y) {
        LoadRow(bm, 0, y, bm.width, row.data());
        for (int x = 0; x < bm.width; ++x) {
            rgb[x * 3 + 0] = static_cast<png_byte>(row[x] >> 16);
            rgb[x * 3 + 1] = static_cast<png_byte>(row[x] >> 8);
            rgb[x * 3 + 2] = static_cast<png_byte>(row[x]);
        }
        png_write_row(png, rgb.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

BOOL Save(const Bitmap& bm, LPCSTR lpszPath) {
    if (lpszPath == nullptr || *lpszPath == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = ToPosixPath(lpszPath);
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return FailFromErrno(errno, path.c_str());
    }
    std::FILE* f = fdopen(fd, "wb");
    if (f == nullptr) {
        const int err = errno;
        close(fd);
        unlink(temp.c_str());
        return FailFromErrno(err, path.c_str());
    }
    const bool written = WritePng(f, bm);
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        unlink(temp.c_str());
        SetLastError(written ? ERROR_WRITE_FAULT : ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    // mkstemp makes the file private; a saved picture is an ordinary file.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(temp.c_str(), 0666 & ~mask);
    if (rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        unlink(temp.c_str());
        return FailFromErrno(err, path.c_str());
    }
    return TRUE;
}

}  // namespace

extern "C" {

WINPORT_API BOOL WINAPI WpSaveBitmapAsPng(HBITMAP hBitmap, LPCSTR lpszPath) {
    auto bm = LookupGdi<Bitmap>(hBitmap);
    if (!bm) return FALSE;
    return Save(*bm, lpszPath);
}

WINPORT_API BOOL WINAPI WpSaveScreenAsPng(LPCSTR lpszPath) { return Save(*Screen(), lpszPath); }

}  // extern "C"
