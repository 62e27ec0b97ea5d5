// user32 slice. Grows with the window, menu and drawing families.
#pragma once

#include <windef.h>
#include <winuser_wnd.h>
#include <winuser_res.h>

// Members named like user32 functions take the 8-bit names, as they do in an
// ANSI Windows build (a class member GetProp is compiled as GetPropA).
#define GetProp GetPropA
#define SetProp SetPropA
#define CharLower CharLowerA
#define CharUpper CharUpperA

#ifdef __cplusplus
extern "C" {
#endif

// ---- windows -------------------------------------------------------------
WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND hWnd);

// ---- character case ----------------------------------------------------------
// In place, by the ANSI code page; a pointer whose high word is 0 carries
// one character in its low byte and the converted character comes back.
WINUSERAPI LPSTR WINAPI CharLowerA(LPSTR lpsz);
WINUSERAPI LPSTR WINAPI CharUpperA(LPSTR lpsz);

#ifdef __cplusplus
}
#endif
