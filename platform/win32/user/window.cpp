// user32 windows. No window exists yet in this slice: every HWND is checked
// against the handle table and, naming no window, refused the Windows way.
#include "win32/handles.h"

extern "C" {

WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    if (!winport::LookupObject(hWnd, winport::ObjectKind::Window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // A headless session has no foreground to give.
    return TRUE;
}

}  // extern "C"
