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
class TQTH_CLASS CMemBlock {
public:
    TQTH_MEMBER CMemBlock();
    TQTH_MEMBER explicit CMemBlock(DWORD size);  // operator! is true afterwards when out of memory
    XWTH_COPY_API CMemBlock(const CMemBlock& other);
    XWTH_COPY_API CMemBlock& operator=(const CMemBlock& other);
    TQTH_MEMBER virtual ~CMemBlock();

    // Holds exactly `size` bytes instead of the present block (zero-filled
    // when bZero); NULL when out of memory, in which case nothing is held.
    TQTH_MEMBER void* Alloc(DWORD size, bool bZero);
    TQTH_MEMBER void Free();

    [[nodiscard]] DWORD Size() const { return m_dwSize; }
    [[nodiscard]] BYTE* Offset(DWORD n) const { return m_pBlock + n; }
    operator void*() const { return m_pBlock; }
    operator BYTE*() const { return m_pBlock; }
    operator int() const { return m_pBlock != NULL; }
    bool operator!() const { return m_pBlock == NULL; }

private:
    // Holds other's block as one more holder, letting the present one go;
    // safe when other is this object. The copy operations are made of it.
    TQTH_MEMBER void Share(const CMemBlock& other);
    TQTH_MEMBER void Release();

    BYTE* m_pBlock;
    DWORD m_dwSize;
    long* m_pRefs;  // shared by every copy of one block
};

// Remembers the current directory on construction and restores it on
// destruction, whatever Change made current in between.
class TQTH_CLASS CChangeCurDir {
public:
    TQTH_MEMBER CChangeCurDir();
    XWTH_COPY_API CChangeCurDir(const CChangeCurDir& other);
    XWTH_COPY_API CChangeCurDir& operator=(const CChangeCurDir& other);
    TQTH_MEMBER virtual ~CChangeCurDir();

    // Makes dir current; non-zero on success.
    TQTH_MEMBER int Change(const char* dir);

private:
    // A guard that restores strSaved when dwChanged is non-zero; the copy
    // constructor is made of it.
    TQTH_MEMBER CChangeCurDir(const CString& strSaved, DWORD dwChanged);

    CString m_strSaved;
    DWORD m_dwChanged;  // non-zero once Change has made another folder current
};

// path with exactly one trailing backslash added when it has none.
TQTH_API CString TQCheckLastSlash(const char* path);

// Brings the window to the foreground; non-zero on success.
TQTH_API int TQSetForegroundWindow(CWnd* pWnd);

// The program's display name, used as message-box title.
extern TQTH_API CString gszProgramName;
