// kernel32 national language support slice: date and time texts of the
// user's locale (GetDateFormatA, GetTimeFormatA) and the ANSI code page.
#pragma once

#include <windef.h>

typedef DWORD LCID;

// Both name the one locale of the process here (the POSIX locale of LC_TIME).
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_NOUSEROVERRIDE 0x80000000u

#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002

#define TIME_NOMINUTESORSECONDS 0x00000001
#define TIME_NOSECONDS 0x00000002
#define TIME_NOTIMEMARKER 0x00000004
#define TIME_FORCE24HOURFORMAT 0x00000008

#ifdef __cplusplus
extern "C" {
#endif

// The number of characters written, the NUL included; with cchDate 0 the
// number needed. 0 on failure: ERROR_INSUFFICIENT_BUFFER (buffer too small),
// ERROR_INVALID_PARAMETER (bad date or locale, NULL buffer with a size),
// ERROR_INVALID_FLAGS (unknown flags, or a picture with DATE_* flags).
WINBASEAPI int WINAPI GetDateFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCSTR lpFormat,
                                     LPSTR lpDateStr, int cchDate);
WINBASEAPI int WINAPI GetTimeFormatA(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCSTR lpFormat,
                                     LPSTR lpTimeStr, int cchTime);
// The process's ANSI code page: 1252 unless _setmbcp chose another.
WINBASEAPI UINT WINAPI GetACP(void);

#ifdef __cplusplus
}
#endif

#define GetDateFormat GetDateFormatA
#define GetTimeFormat GetTimeFormatA
