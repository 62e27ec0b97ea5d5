// TQImaging over libtiff: page count and resolution of TIFF fax files.
//
// A page is a top-level directory of the file. The page count follows the
// directory chain from the header and reads nothing else (no image data, no
// tag values); a chain that loops back is counted up to the first repeat.
// The resolution of a page reads that one directory.
//
//   stored resolution                  reported (dots per inch)
//   204 x 196, unit inch               204 x 196
//   204 x 196, no unit                 204 x 196   (inch is the default unit)
//   80 x 77, unit centimetre           203 x 196   (x 2.54, rounded)
//   80 x 38.5, unit centimetre         203 x 98
//   204 x 196, unit none               204 x 196   (no absolute unit: taken as
//                                                   given, the fax programs that
//                                                   write it mean inch)
//   x or y missing or 0                96 x 96     (see below)
//   negative, NaN, infinite, > INT_MAX failure
//
// A page without a usable resolution is reported at 96 x 96, the screen
// resolution that the system's imaging component reports for such a page,
// so that both builds give one answer; it is a normal, not a fine page.
//
// libtiff reports trouble through handlers; each file gets its own, which say
// nothing, so the process-wide handlers (which print to standard error) are
// never called for our files. Every allocation libtiff makes for one file is
// capped, so a crafted directory cannot exhaust memory.
#include <tiffio.h>

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <math.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <string>

#include "TQImaging.h"

namespace {

// A fax page directory needs a few kilobytes; a strip offset array of a
// very long page a few hundred more.
constexpr tmsize_t kMaxSingleAllocation = 16 * 1024 * 1024;

constexpr int kUnrecordedDpi = 96;

int Silent(TIFF*, void*, const char*, const char*, va_list) {
    return 1;  // handled: the process-wide handler is not called
}

struct ImageFile {
    TIFF* tif;
    int pages;  // -1 until counted
};

// The open has read the first directory already, so the file has a page
// even where the chain walk gives up at once on a directory that the full
// reader still made sense of. Pages are only read below this count, so the
// two calls always agree.
int CountPages(ImageFile* image) {
    if (image->pages < 0) {
        const tdir_t n = TIFFNumberOfDirectories(image->tif);
        image->pages = n < 1 ? 1 : n > static_cast<tdir_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
    }
    return image->pages;
}

// The Windows path separator is accepted as well as '/'.
std::string PosixPath(const char* file) {
    std::string path(file);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

// A resolution in dots per inch, rounded; false when the value is none.
bool ToDotsPerInch(double value, double factor, int& dpi) {
    const double scaled = nearbyint(value * factor);
    if (!(scaled >= 0.0) || scaled > static_cast<double>(INT_MAX)) {  // NaN fails the first test
        return false;
    }
    dpi = static_cast<int>(scaled);
    return true;
}

}  // namespace

void* TQIOpenFile(const char* file) {
    if (file == nullptr || *file == '\0') {
        return nullptr;
    }
    const std::string path = PosixPath(file);
    // Non-blocking, so that a FIFO cannot hold the caller; only regular files
    // are read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    auto* image = new (std::nothrow) ImageFile{nullptr, -1};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (image == nullptr || options == nullptr) {
        TIFFOpenOptionsFree(options);
        delete image;
        close(fd);
        return nullptr;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, Silent, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Silent, nullptr);
    // "m": no memory mapping, so a file cut short under us gives a read
    // error instead of a SIGBUS.
    image->tif = TIFFFdOpenExt(fd, path.c_str(), "rm", options);
    TIFFOpenOptionsFree(options);
    if (image->tif == nullptr) {
        close(fd);  // libtiff owns the descriptor only once the open succeeded
        delete image;
        return nullptr;
    }
    return image;
}

int TQIGetPageCount(void* handle, int& count) {
    if (handle == nullptr) {
        return 0;
    }
    count = CountPages(static_cast<ImageFile*>(handle));
    return 1;
}

int TQIGetPageResolution(void* handle, int page, int& x, int& y) {
    if (handle == nullptr || page < 0) {
        return 0;
    }
    auto* image = static_cast<ImageFile*>(handle);
    TIFF* tif = image->tif;
    if (page >= CountPages(image) || !TIFFSetDirectory(tif, static_cast<tdir_t>(page))) {
        return 0;
    }
    // libtiff keeps the two values as one field: with one of them missing
    // the other is still found, and the missing one reads as 0.
    float xres = 0, yres = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres) ||
        xres == 0 || yres == 0) {
        x = y = kUnrecordedDpi;
        return 1;
    }
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double factor = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    int dpiX = 0, dpiY = 0;
    if (!ToDotsPerInch(xres, factor, dpiX) || !ToDotsPerInch(yres, factor, dpiY)) {
        return 0;
    }
    x = dpiX;
    y = dpiY;
    return 1;
}

void TQICloseFile(void* handle) {
    if (handle == nullptr) {
        return;
    }
    auto* image = static_cast<ImageFile*>(handle);
    TIFFClose(image->tif);
    delete image;
}
