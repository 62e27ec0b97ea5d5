// CFile and CFileStatus over the Win32 file API.
#include <string.h>

#include <afx.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

// Throws for the calling thread's last error; an API that failed without
// saying why still throws, as a generic failure.
[[noreturn]] void ThrowLastError(const CString& strFileName) {
    LONG lOsError = static_cast<LONG>(GetLastError());
    if (lOsError == 0) AfxThrowFileException(CFileException::genericException, -1, strFileName);
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, strFileName);
}

// Work on a closed CFile fails the way the API fails for a bad handle.
void RequireOpen(HANDLE hFile, const CString& strFileName) {
    if (hFile == CFile::hFileNull)
        AfxThrowFileException(CFileException::OsErrorToException(ERROR_INVALID_HANDLE), ERROR_INVALID_HANDLE,
                              strFileName);
}

// The absolute form of lpszFileName in szFull (MAX_PATH characters);
// FALSE when it does not fit or cannot be formed.
BOOL FullPath(LPTSTR szFull, LPCTSTR lpszFileName) {
    LPTSTR pFilePart = NULL;
    DWORD n = GetFullPathNameA(lpszFileName, MAX_PATH, szFull, &pFilePart);
    if (n == 0 || n >= MAX_PATH) {
        szFull[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

// Zero means "not recorded" (file systems without a creation time).
CTime TimeOf(const FILETIME& ft) {
    if (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) return CTime();
    if (!CTime::IsValidFILETIME(ft)) return CTime();
    return CTime(ft);
}

int NamePartStart(const CString& strPath) {
    for (int i = strPath.GetLength() - 1; i >= 0; --i) {
        char c = strPath[i];
        if (c == '\\' || c == '/' || c == ':') return i + 1;
    }
    return 0;
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
    // A destructor must not throw: a failing close is ignored here.
    if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

//   flags                          access           creation
//   modeRead / modeWrite / RW      READ / WRITE / both
//   (none of modeCreate)                            OPEN_EXISTING
//   modeCreate                                      CREATE_ALWAYS (truncates)
//   modeCreate | modeNoTruncate                     OPEN_ALWAYS
//   shareCompat, shareExclusive -> no sharing; shareDenyWrite -> share read;
//   shareDenyRead -> share write; shareDenyNone -> share both.
BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (m_hFile != hFileNull) Abort();
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();

    auto fail = [&](int cause, LONG lOsError) {
        if (pError != NULL) {
            pError->m_cause = cause;
            pError->m_lOsError = lOsError;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    };
    if (lpszFileName == NULL) return fail(CFileException::badPath, ERROR_INVALID_PARAMETER);

    TCHAR szFull[MAX_PATH];
    if (strlen(lpszFileName) >= MAX_PATH || !FullPath(szFull, lpszFileName))
        return fail(CFileException::badPath, -1);

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: return fail(CFileException::genericException, ERROR_INVALID_PARAMETER);
    }

    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: dwShare = 0; break;
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: return fail(CFileException::genericException, ERROR_INVALID_PARAMETER);
    }

    SECURITY_ATTRIBUTES sa;
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;

    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osWriteThrough) dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess) dwFlags |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan) dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;

    HANDLE hFile = CreateFileA(lpszFileName, dwAccess, dwShare, &sa, dwCreate, dwFlags, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        LONG lOsError = static_cast<LONG>(GetLastError());
        return fail(CFileException::OsErrorToException(lOsError), lOsError);
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = szFull;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) return 0;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    RequireOpen(m_hFile, m_strFileName);
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL)) ThrowLastError(m_strFileName);
    return static_cast<UINT>(dwRead);
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    if (lpBuf == NULL) AfxThrowInvalidArgException();
    RequireOpen(m_hFile, m_strFileName);
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL)) ThrowLastError(m_strFileName);
    if (dwWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (nFrom != begin && nFrom != current && nFrom != end) AfxThrowInvalidArgException();
    RequireOpen(m_hFile, m_strFileName);
    LARGE_INTEGER liOff;
    LARGE_INTEGER liNew;
    liOff.QuadPart = lOff;
    liNew.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, liOff, &liNew, nFrom)) ThrowLastError(m_strFileName);
    return static_cast<ULONGLONG>(liNew.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
    RequireOpen(m_hFile, m_strFileName);
    LARGE_INTEGER liOff;
    LARGE_INTEGER liNew;
    liOff.QuadPart = 0;
    liNew.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, liOff, &liNew, FILE_CURRENT)) ThrowLastError(m_strFileName);
    return static_cast<ULONGLONG>(liNew.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    RequireOpen(m_hFile, m_strFileName);
    LARGE_INTEGER liSize;
    liSize.QuadPart = 0;
    if (!GetFileSizeEx(m_hFile, &liSize)) ThrowLastError(m_strFileName);
    return static_cast<ULONGLONG>(liSize.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!SetEndOfFile(m_hFile)) ThrowLastError(m_strFileName);
}

void CFile::Flush() {
    if (m_hFile == hFileNull) return;
    if (!FlushFileBuffers(m_hFile)) ThrowLastError(m_strFileName);
}

void CFile::Close() {
    CString strFileName = m_strFileName;
    BOOL bError = FALSE;
    if (m_hFile != hFileNull) bError = !CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (bError) ThrowLastError(strFileName);
}

void CFile::Abort() {
    if (m_hFile != hFileNull) CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    return m_strFileName.Mid(NamePartStart(m_strFileName));
}

CString CFile::GetFileTitle() const {
    CString strName = GetFileName();
    int iDot = strName.ReverseFind('.');
    return iDot > 0 ? strName.Left(iDot) : strName;
}

CString CFile::GetFilePath() const {
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName) {
    m_strFileName = lpszNewName;
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
    rStatus = CFileStatus();
    lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
    if (m_hFile == hFileNull) return FALSE;
    FILETIME ftCreate, ftAccess, ftWrite;
    if (!GetFileTime(m_hFile, &ftCreate, &ftAccess, &ftWrite)) return FALSE;
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(m_hFile, &liSize)) return FALSE;
    rStatus.m_size = static_cast<ULONGLONG>(liSize.QuadPart);
    rStatus.m_ctime = TimeOf(ftCreate);
    rStatus.m_atime = TimeOf(ftAccess);
    rStatus.m_mtime = TimeOf(ftWrite);
    if (!m_strFileName.IsEmpty()) {
        DWORD dwAttributes = GetFileAttributesA(m_strFileName);
        if (dwAttributes != INVALID_FILE_ATTRIBUTES)
            rStatus.m_attribute = static_cast<BYTE>(dwAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    }
    return TRUE;
}

BOOL AFXAPI CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
    rStatus = CFileStatus();
    if (lpszFileName == NULL || strlen(lpszFileName) >= MAX_PATH) return FALSE;
    if (!FullPath(rStatus.m_szFullName, lpszFileName)) return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
    rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_ctime = TimeOf(data.ftCreationTime);
    rStatus.m_atime = TimeOf(data.ftLastAccessTime);
    rStatus.m_mtime = TimeOf(data.ftLastWriteTime);
    return TRUE;
}

void AFXAPI CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
    if (!MoveFileA(lpszOldName, lpszNewName)) ThrowLastError(lpszOldName);
}

void AFXAPI CFile::Remove(LPCTSTR lpszFileName) {
    if (!DeleteFileA(lpszFileName)) ThrowLastError(lpszFileName);
}
