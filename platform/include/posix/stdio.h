// The C runtime's <stdio.h>: the system's own, plus the Windows runtime's
// _fsopen, which takes a path in either spelling.
#pragma once

#include_next <stdio.h>

#include <wpexport.h>

#ifdef __cplusplus
extern "C" {
#endif

// fopen with a sharing flag from <share.h>. Only _SH_DENYNO (every other
// opener allowed, what a plain fopen does) is supported here; another flag
// gives NULL with errno EINVAL rather than a promise of exclusion that is not
// kept.
WINPORT_API FILE* _fsopen(const char* filename, const char* mode, int shflag);

#ifdef __cplusplus
}
#endif
