// The Win32 API slice that winport implements on POSIX; one header per family.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <winbase.h>
#include <synchapi.h>
#include <processthreadsapi.h>
#include <winnls.h>
#include <winuser.h>
#include <wingdi.h>
#include <winuserdraw.h>
#include <winuser_image.h>
#include <commdlg.h>
