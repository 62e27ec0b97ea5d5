// COM's task allocator, winport on POSIX: the memory that the shell and COM
// hand to a caller, who frees it with CoTaskMemFree.
#pragma once

#include <stddef.h>

#include <windef.h>
#include <winerror.h>

#include <objidl.h>

#ifdef __cplusplus
extern "C" {
#endif

// NULL when out of memory; CoTaskMemFree(NULL) does nothing.
WINPORT_API LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb);
WINPORT_API LPVOID WINAPI CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
WINPORT_API void WINAPI CoTaskMemFree(LPVOID pv);

#ifdef __cplusplus
}
#endif
