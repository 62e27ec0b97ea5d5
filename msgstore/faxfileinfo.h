// The one internal entry to the imaging library behind the fax file queries.
#pragma once

#include <windows.h>

namespace msgstore {

// Opens file once and returns its page count (0 when it cannot be opened);
// where the pointers are not null, stores the low 16 bits of page `page`'s
// horizontal and vertical resolution, leaving them untouched when the
// resolution cannot be read.
int GetFaxFileInfo(const char* file, int page, WORD* pXRes, WORD* pYRes);

}  // namespace msgstore
