// winport's own extensions beyond the Win32 API: what a host program (the
// xwth tool, the tests) installs or asks for on a headless POSIX system.
// Every name carries the prefix Wp.
#pragma once

#include <windows.h>
#include <wpexport.h>

#ifdef __cplusplus
extern "C" {
#endif

// --- screen and bitmaps as PNG ---------------------------------------------
// Writes the bitmap's pixels as an 8-bit RGB PNG (a 1-bit bitmap as black and
// white). The file is written beside its final name and renamed into place,
// so a failure leaves no partial file. FALSE with the last error on failure
// (ERROR_INVALID_HANDLE for a handle that is no bitmap, the file system's
// error otherwise). The bitmap may stay selected in a DC.
WINPORT_API BOOL WINAPI WpSaveBitmapAsPng(HBITMAP hBitmap, LPCSTR lpszPath);
// The same for the virtual screen (GetDC(NULL) draws on it).
WINPORT_API BOOL WINAPI WpSaveScreenAsPng(LPCSTR lpszPath);

// --- menu input script for TrackPopupMenuEx ----------------------------------

// --- presenters: message boxes and file dialogs -------------------------------

// Answers MessageBoxA in place of a person: gets the owner, text, caption
// and style as MessageBoxA got them, and returns the button code (IDOK,
// IDCANCEL, ...) that MessageBoxA then returns. Called on the caller's thread.
typedef int (*WpMessageBoxPresenter)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Installs the presenter for every later MessageBoxA; NULL restores the
// default, which writes the box to standard error and answers its default
// button. Returns the presenter installed before (NULL for the default).
WINPORT_API WpMessageBoxPresenter WpSetMessageBoxPresenter(WpMessageBoxPresenter presenter);

#ifdef __cplusplus
}
#endif
