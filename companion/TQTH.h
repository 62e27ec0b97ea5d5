// Base toolkit: heap block holder, current-directory guard, path and window
// helpers, and the program's display name.
//   CMemBlock      a heap block and its size; copies share the block
//   CChangeCurDir  makes a folder current for a scope
#pragma once

#include <afx.h>

#include "companion_export.h"

class CWnd;

// Owns a heap block of a 32-bit size. Copies made by copy construction or
// assignment share the block with their source; the block is freed once,
// when the last holder lets it go (holders share one reference count).
class TQTH_API CMemBlock {
public:
    CMemBlock();
    explicit CMemBlock(DWORD size);  // operator! is true afterwards when out of memory
    CMemBlock(const CMemBlock& other);
    CMemBlock& operator=(const CMemBlock& other);
    virtual ~CMemBlock();

    // Holds exactly `size` bytes instead of the present block (zero-filled
    // when bZero); NULL when out of memory, in which case nothing is held.
    void* Alloc(DWORD size, bool bZero);
    void Free();

    [[nodiscard]] DWORD Size() const { return m_dwSize; }
    [[nodiscard]] BYTE* Offset(DWORD n) const { return m_pBlock + n; }
    operator void*() const { return m_pBlock; }
    operator BYTE*() const { return m_pBlock; }
    operator int() const { return m_pBlock != NULL; }
    bool operator!() const { return m_pBlock == NULL; }

private:
    void Release();

    BYTE* m_pBlock;
    DWORD m_dwSize;
    long* m_pRefs;  // shared by every copy of one block
};

// Remembers the current directory on construction and restores it on
// destruction, whatever Change made current in between.
class TQTH_API CChangeCurDir {
public:
    CChangeCurDir();
    CChangeCurDir(const CChangeCurDir& other);
    CChangeCurDir& operator=(const CChangeCurDir& other);
    virtual ~CChangeCurDir();

    // Makes dir current; non-zero on success.
    int Change(const char* dir);

private:
    CString m_strSaved;
    DWORD m_dwChanged;  // non-zero once Change has made another folder current
};

// path with exactly one trailing backslash added when it has none.
TQTH_API CString TQCheckLastSlash(const char* path);

// Brings the window to the foreground; non-zero on success.
TQTH_API int TQSetForegroundWindow(CWnd* pWnd);

// The program's display name, used as message-box title.
extern TQTH_API CString gszProgramName;
