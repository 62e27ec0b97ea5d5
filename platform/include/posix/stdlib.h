// The C runtime's <stdlib.h>: the system's own, plus the Windows runtime's
// path splitting and joining.
#pragma once

#include_next <stdlib.h>

#include <wpexport.h>

#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

#ifdef __cplusplus
extern "C" {
#endif

// Splits path into drive ("D:"), folder (up to and with the last '\' or '/'),
// file name and extension (from the last '.' of the file name on). Any
// output may be NULL; each is cut to its _MAX_ size, NUL included.
WINPORT_API void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// The reverse: a ':' after the drive letter, a '\' after a folder without a
// separator and a '.' before an extension without one are added. NULL or
// empty parts are left out; the result is cut to _MAX_PATH, NUL included.
WINPORT_API void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);

#ifdef __cplusplus
}
#endif
