// GetLastError / SetLastError: one value per thread, as on Windows.
#include <windows.h>

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}  // namespace

extern "C" {

WINBASEAPI DWORD WINAPI GetLastError(void) { return t_lastError; }

WINBASEAPI void WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

}  // extern "C"
