// kernel32 process and thread: identity, Sleep, environment, debug output.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sched.h>
#include <unistd.h>

extern "C" {

WINBASEAPI DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(::getpid()); }

// The kernel's thread id: the number tools such as ps, top and gdb show.
WINBASEAPI DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(::gettid()); }

WINBASEAPI void WINAPI Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == INFINITE) {
        for (;;) {
            ::pause();
        }
    }
    struct timespec rest;
    rest.tv_sec = dwMilliseconds / 1000;
    rest.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    // Sleep(0) only gives up the rest of the time slice.
    if (dwMilliseconds == 0) {
        ::sched_yield();
        return;
    }
    while (::nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

WINBASEAPI DWORD WINAPI GetEnvironmentVariableA(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
    // Names are matched as POSIX does, with regard to case.
    const char* value = lpName != nullptr ? std::getenv(lpName) : nullptr;
    if (value == nullptr) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    const std::size_t len = std::strlen(value);
    if (lpBuffer == nullptr || len + 1 > nSize) {
        return static_cast<DWORD>(len + 1);  // the size needed, NUL included
    }
    std::memcpy(lpBuffer, value, len + 1);
    SetLastError(ERROR_SUCCESS);  // an empty value returns 0 too
    return static_cast<DWORD>(len);
}

WINBASEAPI void WINAPI OutputDebugStringA(LPCSTR lpOutputString) {
    // No debugger listens here; $WINPORT_DEBUG sends the text to stderr.
    const char* on = std::getenv("WINPORT_DEBUG");
    if (on == nullptr || *on == '\0' || lpOutputString == nullptr) {
        return;
    }
    std::fputs(lpOutputString, stderr);
}

}  // extern "C"
