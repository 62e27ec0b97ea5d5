// Export macro of the winport library (the Win32, C runtime and framework slice).
#pragma once

#if defined(_WIN32)
#  if defined(WINPORT_BUILDING)
#    define WINPORT_API __declspec(dllexport)
#  else
#    define WINPORT_API __declspec(dllimport)
#  endif
#else
#  define WINPORT_API __attribute__((visibility("default")))
#endif
