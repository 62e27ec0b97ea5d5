// C runtime _access, winport on POSIX.
#pragma once

#include <wpexport.h>

#ifdef __cplusplus
extern "C" {
#endif

// mode 0 asks for existence, 2 for write, 4 for read, 6 for both. Write access
// is refused (EACCES) for a read-only file, not for a folder, as on Windows.
// errno: ENOENT (2) missing, EACCES (13), EINVAL (22) for another mode; the
// numbers are the same in both runtimes.
WINPORT_API int _access(const char* path, int mode);

#ifdef __cplusplus
}
#endif
