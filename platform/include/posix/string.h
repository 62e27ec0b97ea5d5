// The C runtime's <string.h>: the system's own, plus the Windows runtime's
// names that the framework and the library use.
#pragma once

#include_next <string.h>

#include <wpexport.h>

#ifdef __cplusplus
extern "C" {
#endif

// A malloc copy of strSource, to be released with free; NULL (errno ENOMEM)
// when memory runs out, NULL (errno EINVAL) for a NULL source.
WINPORT_API char* _strdup(const char* strSource);

#ifdef __cplusplus
}
#endif
