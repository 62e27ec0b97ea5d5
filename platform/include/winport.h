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

#ifdef __cplusplus
}
#endif
