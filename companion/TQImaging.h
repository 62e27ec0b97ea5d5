// Imaging library: the page count and per-page resolution of fax image files.
#pragma once

#include "companion_export.h"

// An open image file; NULL when the file cannot be opened or is not an image
// file this library reads (TIFF). Every handle returned is closed once.
TQIMAGING_API void* TQIOpenFile(const char* file);

// count receives the number of pages (top-level image directories). Only the
// file's directory chain is read, no image data. Non-zero on success; on
// failure count is left as it was.
TQIMAGING_API int TQIGetPageCount(void* handle, int& count);

// x and y receive the horizontal and vertical resolution of page `page`
// (0 for the first) in dots per inch, rounded to a whole number; 96 x 96
// for a page that records no resolution, or 0. Non-zero on success; on
// failure (no such page, a value that is no resolution) both are left as
// they were.
TQIMAGING_API int TQIGetPageResolution(void* handle, int page, int& x, int& y);

// Releases a handle that TQIOpenFile returned; NULL is ignored.
TQIMAGING_API void TQICloseFile(void* handle);
