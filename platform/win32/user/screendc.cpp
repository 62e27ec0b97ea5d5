// user32 screen DCs: GetDC, GetWindowDC, ReleaseDC.
//
// There is one surface, the virtual screen; a window has no pixels of its own
// in a headless session, so a window's DC draws on the screen as well.
#include "win32/gdi/gdi.h"

using namespace winport;
using namespace winport::gdi;

extern "C" {

WINUSERAPI HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd != NULL && !LookupObject(hWnd, ObjectKind::Window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return NULL;
    }
    return NewDc(false);
}

WINUSERAPI HDC WINAPI GetWindowDC(HWND hWnd) { return GetDC(hWnd); }

// Answers 1 for a DC that GetDC gave, 0 for anything else (a memory DC stays).
WINUSERAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    (void)hWnd;
    auto dc = Lookup<GdiObject>(hDC);
    if (!dc || dc->type() != GdiType::Dc || static_cast<Dc&>(*dc).memory) {
        return 0;
    }
    return DeleteDC(hDC) ? 1 : 0;
}

}  // extern "C"
