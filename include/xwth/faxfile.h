// Fax image file queries: the page count and the fine-resolution test that a
// client records for each attachment.
#pragma once

#include <xwth/export.h>

// Number of pages of a fax image file; 0 when it cannot be opened.
XWTH_API int GetFaxFileNumOfPages(const char* file);

// True when the first page's vertical resolution is 196 lines per inch or
// more (fax fine resolution); false when it is lower, cannot be read, or the
// file cannot be opened.
XWTH_API bool IsFaxFileResolutionHi(const char* file);
