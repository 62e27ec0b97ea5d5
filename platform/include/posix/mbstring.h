// C runtime multibyte strings: the _mbs* functions under the code page that
// _setmbcp chose. A double-byte character is one character: no function
// splits it or matches its trail byte on its own.
#pragma once

#include <stddef.h>

#include <mbctype.h>

#ifdef __cplusplus
extern "C" {
#endif

// Tokens of `str` between characters of `delim`; NULL `str` continues the
// last string of this thread. Runs of delimiters give no empty tokens.
WINPORT_API unsigned char* _mbstok(unsigned char* str, const unsigned char* delim);
// First occurrence of `sub` in `str` starting on a character boundary.
WINPORT_API unsigned char* _mbsstr(const unsigned char* str, const unsigned char* sub);
// Comparison without regard to case: ASCII letters and, in double-byte
// pages, the full-width Latin letters compare as their small forms.
WINPORT_API int _mbsicmp(const unsigned char* s1, const unsigned char* s2);
// Upper case in place (the same letters); returns str.
WINPORT_API unsigned char* _mbsupr(unsigned char* str);
// The next character; the previous one, found by scanning from `start`.
WINPORT_API unsigned char* _mbsinc(const unsigned char* current);
WINPORT_API unsigned char* _mbsdec(const unsigned char* start, const unsigned char* current);
// Number of characters (a double-byte character counts once).
WINPORT_API size_t _mbslen(const unsigned char* str);
// Non-zero for the digits 0-9 and, in double-byte pages, their full-width forms.
WINPORT_API int _ismbcdigit(unsigned int c);

#ifdef __cplusplus
}
#endif
