// CChangeCurDir: a scope guard for the process's current directory.
//
// The constructor remembers the current folder and the destructor makes it
// current again, whatever moved the process in between: the guard's own
// Change, or a call it wraps (a file dialog leaves its folder current). The
// 32-bit member records whether a Change succeeded. A copy takes over the
// remembered folder, so each of two copies restores it when it goes. Only a
// folder that could not be read at construction (on POSIX, one removed while
// current) is not restored.
//
// The current directory is per process: guards on several threads at once
// undo each other's work, as SetCurrentDirectory itself would.
#include <windows.h>

#include <string>

#include "TQTH.h"

namespace {

// The current directory, or "" when it cannot be read (on POSIX, a folder
// that was removed while current).
CString CurrentDirectory() {
    std::string buf(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buf.size()), buf.data());
        if (n == 0)
            return CString();
        if (n < buf.size())
            return CString(buf.c_str());
        buf.resize(n);  // n counts the terminator when the buffer is too small
    }
}

}  // namespace

CChangeCurDir::CChangeCurDir() : m_strSaved(CurrentDirectory()), m_dwChanged(0) {}

// The copy operations are the XWTH library's (companion/xwth/copy_operations.cpp).
CChangeCurDir::CChangeCurDir(const CString& strSaved, DWORD dwChanged)
    : m_strSaved(strSaved), m_dwChanged(dwChanged) {}

CChangeCurDir::~CChangeCurDir() {
    if (m_strSaved.IsEmpty())
        return;
    // The caller may be about to read the error of its own last call.
    const DWORD dwError = GetLastError();
    SetCurrentDirectoryA(m_strSaved);
    SetLastError(dwError);
}

int CChangeCurDir::Change(const char* dir) {
    if (dir == NULL || *dir == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!SetCurrentDirectoryA(dir))
        return 0;
    m_dwChanged = 1;
    return 1;
}
