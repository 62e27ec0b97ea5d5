// kernel32 synchronisation slice: named and unnamed mutexes and waiting on them.
#pragma once
//
// Named mutexes are shared between processes: a mutex exists while some
// process holds a handle to it, and ownership belongs to a thread. A thread
// that ends (or a process that dies) while owning a mutex leaves it
// abandoned: the next wait gets it with WAIT_ABANDONED. Names follow the
// kernel's rules: case-sensitive, at most MAX_PATH characters, an
// optional "Global\" (all sessions) or "Local\" (this session, the default)
// prefix, and no '\' after it.

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SYNCHRONIZE 0x00100000L
#define MUTEX_MODIFY_STATE 0x0001
#define MUTEX_ALL_ACCESS 0x1F0001

#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)

// A new or existing mutex; for an existing name the last error is
// ERROR_ALREADY_EXISTS and bInitialOwner is ignored, else ERROR_SUCCESS.
WINBASEAPI HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCSTR lpName);
// An existing mutex, or NULL with ERROR_FILE_NOT_FOUND.
WINBASEAPI HANDLE WINAPI OpenMutexA(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCSTR lpName);
// FALSE with ERROR_NOT_OWNER when the calling thread does not own the mutex.
WINBASEAPI BOOL WINAPI ReleaseMutex(HANDLE hMutex);
// WAIT_OBJECT_0, WAIT_ABANDONED or WAIT_TIMEOUT; WAIT_FAILED and a last
// error for a handle that cannot be waited on.
WINBASEAPI DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Handle duplication, within the current process only (both process
// handles GetCurrentProcess()) and for mutex handles only: the new handle
// names the same mutex and must be closed on its own.
#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002
WINBASEAPI BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                                       LPHANDLE lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle,
                                       DWORD dwOptions);

#ifdef __cplusplus
}
#endif

#define CreateMutex CreateMutexA
#define OpenMutex OpenMutexA
