// GetFaxFileNumOfPages and IsFaxFileResolutionHi: both ask the imaging
// library through GetFaxFileInfo, which opens the file once. Nothing is
// logged and nothing throws; a file that cannot be opened has no pages and
// is not in fine resolution.
//
//   first page's vertical resolution   IsFaxFileResolutionHi
//   196 (fine)                         true
//   195, 98 (normal)                   false
//   65732 (low 16 bits: 196)           true: the value is cut to 16 bits
//   unreadable, or no file             false
#include "msgstore/faxfileinfo.h"

#include <xwth/faxfile.h>

#include <TQImaging.h>

namespace msgstore {

int GetFaxFileInfo(const char* file, int page, WORD* pXRes, WORD* pYRes) {
    int count = 0;
    void* handle = TQIOpenFile(file);
    if (handle == NULL) {
        return 0;
    }
    TQIGetPageCount(handle, count);
    int x = 0, y = 0;
    if (TQIGetPageResolution(handle, page, x, y) != 0) {
        if (pXRes != NULL) {
            *pXRes = static_cast<WORD>(x);
        }
        if (pYRes != NULL) {
            *pYRes = static_cast<WORD>(y);
        }
    }
    TQICloseFile(handle);
    return count;
}

}  // namespace msgstore

int GetFaxFileNumOfPages(const char* file) {
    return msgstore::GetFaxFileInfo(file, 0, NULL, NULL);
}

bool IsFaxFileResolutionHi(const char* file) {
    WORD resolution = 0;
    msgstore::GetFaxFileInfo(file, 0, NULL, &resolution);
    return resolution >= 196;
}
