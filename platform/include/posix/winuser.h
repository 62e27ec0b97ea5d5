// user32 slice. Grows with the window, menu and drawing families.
#pragma once

#include <windef.h>
#include <winuser_res.h>

// Members named like user32 functions take the 8-bit names, as they do in an
// ANSI Windows build (a class member GetProp is compiled as GetPropA).
#define GetProp GetPropA
#define SetProp SetPropA

#ifdef __cplusplus
extern "C" {
#endif

// ---- windows -------------------------------------------------------------
WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND hWnd);

#ifdef __cplusplus
}
#endif
