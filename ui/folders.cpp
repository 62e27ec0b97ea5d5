// CheckPath, GetMyDocPath, DirFromDir, DirFromPath: where the file dialog
// opens.
//
//   DirFromPath(path)           folder           path afterwards
//   "D:\Docs\report.txt"        "D:\Docs\"       "report.txt"   (the folder exists)
//   "D:\Docs"                   "D:\"            "Docs"         (taken as a file in D:\)
//   "D:\Docs\*.*"               "D:\Docs\"       "*.*"
//   "report.txt"                ""               unchanged      (no folder part)
//   "D:\Missing\report.txt"     ""               unchanged
#include <windows.h>
#include <io.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

#include <cstring>

#include <TQLog.h>

#include "ui/folders.h"

// After the C++ headers: the Windows runtime's <mbctype.h> defines macros
// (_M1, _M2) that the standard library uses as names.
#include <mbstring.h>

namespace {

const char kCategory[] = "XWTH";

// Frees the shell's identifier list on every way out, exceptions included.
class IdListHolder {
public:
    IdListHolder() = default;
    ~IdListHolder() { CoTaskMemFree(m_pidl); }
    IdListHolder(const IdListHolder&) = delete;
    IdListHolder& operator=(const IdListHolder&) = delete;
    LPITEMIDLIST* Out() { return &m_pidl; }
    [[nodiscard]] LPCITEMIDLIST Get() const { return m_pidl; }

private:
    LPITEMIDLIST m_pidl = NULL;
};

}  // namespace

CString CheckPath(const char* path) {
    CLogHelper log(kCategory, "CheckPath", true);
    CString result(path != NULL ? path : "");
    if (!result.IsEmpty()) {
        // The last character, not the last byte: under a double-byte code
        // page 0x5C may be the second byte of a character.
        const auto* start = reinterpret_cast<const unsigned char*>(static_cast<const char*>(result));
        const unsigned char* last = _mbsdec(start, start + result.GetLength());
        if (last != NULL && *last == '\\' && _ismbblead(*last) == 0 && last + 1 == start + result.GetLength()) {
            result += "*.*";
        }
    }
    log.SetGood(true);
    return result;
}

bool GetMyDocPath(CString& path) {
    CLogHelper log(kCategory, "GetMyDocPath", true);
    path.Empty();
    try {
        IdListHolder pidl;
        if (FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_PERSONAL, pidl.Out()))) return false;
        char buffer[MAX_PATH] = {};
        if (!SHGetPathFromIDListA(pidl.Get(), buffer)) return false;
        path = buffer;
        log.SetGood(true);
        return true;
    } catch (CMemoryException* e) {
        e->Delete();
        path.Empty();
        return false;
    } catch (...) {
        path.Empty();
        return false;
    }
}

bool DirFromDir(const char* dir, CString& folder) {
    CLogHelper log(kCategory, "DirFromDir", true);
    folder.Empty();
    if (dir == NULL || *dir == '\0') return false;
    if (_access(dir, 0) == 0) folder = dir;
    log.SetGood(true);
    return !folder.IsEmpty();
}

bool DirFromPath(char* path, CString& folder) {
    CLogHelper log(kCategory, "DirFromPath", true);
    folder.Empty();
    if (path == NULL) return false;
    char drive[MAX_PATH] = {};
    char dir[MAX_PATH] = {};
    char fname[MAX_PATH] = {};
    char ext[MAX_PATH] = {};
    char dirPart[MAX_PATH] = {};
    _splitpath(path, drive, dir, fname, ext);
    _makepath(dirPart, drive, dir, NULL, NULL);
    Log(kCategory, "DirFromPath after _makepath '%s'\n", dirPart);
    if (_access(dirPart, 0) == 0) {
        folder = dirPart;
        if (_mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<const char*>(folder)),
                     reinterpret_cast<const unsigned char*>(path)) != 0) {
            // The name and extension are parts of path, so they fit where it was.
            const size_t nameLength = std::strlen(fname);
            std::memcpy(path, fname, nameLength);
            std::memcpy(path + nameLength, ext, std::strlen(ext) + 1);
        }
    }
    log.SetGood(true);
    return !folder.IsEmpty();
}
