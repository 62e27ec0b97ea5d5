// C runtime multibyte code page: _setmbcp, _getmbcp and the lead-byte test.
#pragma once

#include <wpexport.h>

// _setmbcp's special arguments.
#define _MB_CP_SBCS 0
#define _MB_CP_OEM -2
#define _MB_CP_ANSI -3
#define _MB_CP_LOCALE -4

#ifdef __cplusplus
extern "C" {
#endif

// Makes `codepage` the multibyte code page of the process; 0 on success,
// -1 with errno EINVAL for a code page this runtime does not know. The
// double-byte pages 932, 936, 949 and 950 have lead bytes; every other page
// is read byte by byte. _MB_CP_ANSI and _MB_CP_LOCALE select 1252, the ANSI
// code page of the process; _MB_CP_SBCS does too, without lead bytes.
WINPORT_API int _setmbcp(int codepage);
WINPORT_API int _getmbcp(void);
// Non-zero when `c` begins a double-byte character in the current page.
WINPORT_API int _ismbblead(unsigned int c);
WINPORT_API int _ismbbtrail(unsigned int c);

#ifdef __cplusplus
}
#endif
