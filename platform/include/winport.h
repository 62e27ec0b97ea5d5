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
