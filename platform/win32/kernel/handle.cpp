// CloseHandle: the one way out for every kernel object.
#include "win32/handles.h"

extern "C" WINBASEAPI BOOL WINAPI CloseHandle(HANDLE hObject) {
    // Find handles, windows, modules and GDI objects have their own release
    // calls; CloseHandle refuses them as Windows does.
    if (!winport::UnregisterKernelObject(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
