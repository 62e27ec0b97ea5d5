// C runtime stream opening with Windows path spelling.
#include <share.h>
#include <stdio.h>

#include "win32/paths.h"

#include <cerrno>

extern "C" {

WINPORT_API FILE* _fsopen(const char* filename, const char* mode, int shflag) {
    if (filename == nullptr || mode == nullptr || shflag != _SH_DENYNO) {
        errno = EINVAL;
        return nullptr;
    }
    return std::fopen(winport::ToPosixPath(filename).c_str(), mode);
}

}  // extern "C"
