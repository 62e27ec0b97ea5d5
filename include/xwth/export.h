// Export macro of the XWTH library.
#pragma once

#if defined(_WIN32)
#  if defined(XWTH_BUILDING)
#    define XWTH_API __declspec(dllexport)
#  else
#    define XWTH_API __declspec(dllimport)
#  endif
#else
#  define XWTH_API __attribute__((visibility("default")))
#endif
