// Win32 error to C runtime errno, numbered as the Windows runtime numbers it.
#pragma once

#include <windows.h>

namespace winport {

// The Windows runtime's own table: its folder and access functions call the
// Win32 API and translate the last error through it, and so do these.
// Sets errno and returns -1.
int SetErrnoFromWin32(DWORD error);

}  // namespace winport
