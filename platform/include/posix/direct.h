// C runtime folder functions (_mkdir, _rmdir, _chdir, _getcwd), winport on POSIX.
#pragma once

#include <wpexport.h>

// Paths take '\' and '/' alike. On failure errno holds the number the Windows
// runtime would set, which is the Linux number except where listed here:
// a folder that is not empty gives WP_ENOTEMPTY (41 there, ENOTEMPTY is 39 on
// Linux). A name too long gives ENOENT, as the Windows runtime maps it, and a
// buffer too small for _getcwd gives ERANGE (34 on both).
#define WP_ENOTEMPTY 41
// Windows numbering, listed for code that compares with the Windows constant.
#define WP_ENAMETOOLONG 38

#ifdef __cplusplus
extern "C" {
#endif

WINPORT_API int _mkdir(const char* dirname);
WINPORT_API int _rmdir(const char* dirname);
WINPORT_API int _chdir(const char* dirname);
// With buffer NULL the result is allocated (malloc) with at least maxlen bytes.
WINPORT_API char* _getcwd(char* buffer, int maxlen);

#ifdef __cplusplus
}
#endif
