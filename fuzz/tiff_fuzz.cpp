// Fuzzes the fax image queries: any file gives a page count and a
// resolution answer without fault, and the library's two queries agree with
// the imaging calls they are made of.
#include <xwth/faxfile.h>

#include <TQImaging.h>

#include <stdint.h>
#include <stdio.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_support.h"

using xwth_fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = xwth_fuzz::ScratchPath("in.tif");
    if (!xwth_fuzz::WriteInput(file, data, size)) {
        return 0;
    }

    int count = 0, x = -1, y = -1;
    bool resolved = false;
    void* handle = TQIOpenFile(file.c_str());
    if (handle != NULL) {
        TQIGetPageCount(handle, count);
        Check(count >= 0);
        resolved = TQIGetPageResolution(handle, 0, x, y) != 0;
        Check(!resolved || (x >= 0 && y >= 0));
        int lastX = -1, lastY = -1;
        if (count > 1 && TQIGetPageResolution(handle, count - 1, lastX, lastY) != 0) {
            Check(lastX >= 0 && lastY >= 0);
        }
        Check(TQIGetPageResolution(handle, count, lastX, lastY) == 0);
        TQICloseFile(handle);
    }
    Check(GetFaxFileNumOfPages(file.c_str()) == count);
    Check(IsFaxFileResolutionHi(file.c_str()) == (resolved && static_cast<uint16_t>(y) >= 196));
    return 0;
}
