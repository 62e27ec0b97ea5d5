// TQCheckLastSlash: a folder path made ready for a file name to be appended.
//
//   path          result
//   "a"           "a\"
//   "a\"          "a\"       already ends in a separator
//   "a/"          "a/"       '/' counts as a separator too
//   "C:"          "C:\"
//   ""            ""         no folder named: appending "\" would name the root
//   NULL          ""
//   "d\x95\x5C"   "d\x95\x5C\"  under code page 932: 0x5C is the second byte
//                               of a double-byte character, not a separator
// The last character is found by stepping through the path by characters of
// the multibyte code page (_mbsdec), never by looking at the last byte alone.
#include "TQTH.h"

#include <windows.h>

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbstring.h>
#include <string.h>

CString TQCheckLastSlash(const char* path) {
    if (path == NULL || *path == '\0')
        return CString();
    CString result(path);
    const unsigned char* start = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* last = _mbsdec(start, start + strlen(path));
    const bool separator = last != NULL && _ismbblead(*last) == 0 && (*last == '\\' || *last == '/');
    if (!separator)
        result += '\\';
    return result;
}
