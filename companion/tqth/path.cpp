// TQCheckLastSlash: a folder path made ready for a file name to be appended.
//
//   path          result
//   "a"           "a\"
//   "a\"          "a\"       already ends in a separator
//   "a/"          "a/"       '/' counts as a separator too
//   "C:"          "C:\"
//   ""            ""         no folder named: appending "\" would name the root
//   NULL          ""
// The test is on the last byte. Under a double-byte code page a path whose
// last character has the trail byte 0x5C would pass as ending in a separator.
#include <windows.h>

#include <string.h>

#include "TQTH.h"

CString TQCheckLastSlash(const char* path) {
    if (path == NULL || *path == '\0')
        return CString();
    CString result(path);
    const char last = path[strlen(path) - 1];
    if (last != '\\' && last != '/')
        result += '\\';
    return result;
}
