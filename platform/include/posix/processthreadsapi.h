// kernel32/advapi32 process and thread tokens: the process's access token and
// per-thread impersonation of it.
#pragma once
//
// There is one user per process here: a token names the process's effective
// user and group. Impersonating it is per-thread state that changes no POSIX
// permission; it shows in OpenThreadToken until RevertToSelf.

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TOKEN_ASSIGN_PRIMARY 0x0001
#define TOKEN_DUPLICATE 0x0002
#define TOKEN_IMPERSONATE 0x0004
#define TOKEN_QUERY 0x0008
#define TOKEN_QUERY_SOURCE 0x0010
#define TOKEN_ADJUST_PRIVILEGES 0x0020
#define TOKEN_ADJUST_GROUPS 0x0040
#define TOKEN_ADJUST_DEFAULT 0x0080
#define TOKEN_ADJUST_SESSIONID 0x0100
#define TOKEN_ALL_ACCESS 0x000F01FFL

// Pseudo-handles of the calling process and thread: never closed, valid
// only in the calling process (thread).
WINBASEAPI HANDLE WINAPI GetCurrentProcess(void);
WINBASEAPI HANDLE WINAPI GetCurrentThread(void);

// Only the current process's token can be opened. Close it with CloseHandle.
WINBASEAPI BOOL WINAPI OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);
// The thread's impersonation token; FALSE with ERROR_NO_TOKEN when the
// thread is not impersonating.
WINBASEAPI BOOL WINAPI OpenThreadToken(HANDLE ThreadHandle, DWORD DesiredAccess, BOOL OpenAsSelf,
                                       PHANDLE TokenHandle);
// The token must have been opened with TOKEN_QUERY and TOKEN_DUPLICATE
// (ERROR_ACCESS_DENIED otherwise). Closing the token later does not end the
// impersonation.
WINBASEAPI BOOL WINAPI ImpersonateLoggedOnUser(HANDLE hToken);
// Ends the calling thread's impersonation, if any.
WINBASEAPI BOOL WINAPI RevertToSelf(void);

#ifdef __cplusplus
}
#endif
