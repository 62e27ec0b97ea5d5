// The framework's exception classes, their messages, and the AfxThrow helpers.
#include <errno.h>
#include <string.h>

#include <new>

#include <afx.h>

namespace {

// Copies text into the caller's buffer, cut to fit and always terminated.
BOOL CopyMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext, const CString& text) {
    if (lpszError == NULL || nMaxError == 0 || text.IsEmpty()) return FALSE;
    if (pnHelpContext != NULL) *pnHelpContext = 0;
    UINT n = static_cast<UINT>(text.GetLength());
    if (n > nMaxError - 1) n = nMaxError - 1;
    memcpy(lpszError, text.GetString(), n);
    lpszError[n] = '\0';
    return TRUE;
}

// Win32 errors and the cause each stands for; everything else is generic.
struct OsErrorCause {
    LONG lOsError;
    int cause;
};
constexpr OsErrorCause kOsErrorCauses[] = {
    {0, CFileException::none},                      // NO_ERROR
    {2, CFileException::fileNotFound},              // ERROR_FILE_NOT_FOUND
    {3, CFileException::badPath},                   // ERROR_PATH_NOT_FOUND
    {4, CFileException::tooManyOpenFiles},          // ERROR_TOO_MANY_OPEN_FILES
    {5, CFileException::accessDenied},              // ERROR_ACCESS_DENIED
    {6, CFileException::fileNotFound},              // ERROR_INVALID_HANDLE
    {11, CFileException::invalidFile},              // ERROR_BAD_FORMAT
    {12, CFileException::accessDenied},             // ERROR_INVALID_ACCESS
    {15, CFileException::badPath},                  // ERROR_INVALID_DRIVE
    {16, CFileException::removeCurrentDir},         // ERROR_CURRENT_DIRECTORY
    {17, CFileException::badPath},                  // ERROR_NOT_SAME_DEVICE
    {18, CFileException::fileNotFound},             // ERROR_NO_MORE_FILES
    {19, CFileException::accessDenied},             // ERROR_WRITE_PROTECT
    {20, CFileException::hardIO},                   // ERROR_BAD_UNIT
    {21, CFileException::hardIO},                   // ERROR_NOT_READY
    {22, CFileException::hardIO},                   // ERROR_BAD_COMMAND
    {23, CFileException::hardIO},                   // ERROR_CRC
    {24, CFileException::badSeek},                  // ERROR_BAD_LENGTH
    {25, CFileException::badSeek},                  // ERROR_SEEK
    {26, CFileException::invalidFile},              // ERROR_NOT_DOS_DISK
    {27, CFileException::badSeek},                  // ERROR_SECTOR_NOT_FOUND
    {29, CFileException::accessDenied},             // ERROR_WRITE_FAULT
    {30, CFileException::badSeek},                  // ERROR_READ_FAULT
    {32, CFileException::sharingViolation},         // ERROR_SHARING_VIOLATION
    {33, CFileException::lockViolation},            // ERROR_LOCK_VIOLATION
    {34, CFileException::badPath},                  // ERROR_WRONG_DISK
    {36, CFileException::tooManyOpenFiles},         // ERROR_SHARING_BUFFER_EXCEEDED
    {38, CFileException::endOfFile},                // ERROR_HANDLE_EOF
    {39, CFileException::diskFull},                 // ERROR_HANDLE_DISK_FULL
    {52, CFileException::badPath},                  // ERROR_DUP_NAME
    {53, CFileException::badPath},                  // ERROR_BAD_NETPATH
    {54, CFileException::accessDenied},             // ERROR_NETWORK_BUSY
    {55, CFileException::badPath},                  // ERROR_DEV_NOT_EXIST
    {57, CFileException::hardIO},                   // ERROR_ADAP_HDW_ERR
    {58, CFileException::accessDenied},             // ERROR_BAD_NET_RESP
    {59, CFileException::hardIO},                   // ERROR_UNEXP_NET_ERR
    {60, CFileException::invalidFile},              // ERROR_BAD_REM_ADAP
    {62, CFileException::directoryFull},            // ERROR_NO_SPOOL_SPACE
    {64, CFileException::accessDenied},             // ERROR_NETNAME_DELETED
    {65, CFileException::accessDenied},             // ERROR_NETWORK_ACCESS_DENIED
    {67, CFileException::badPath},                  // ERROR_BAD_NET_NAME
    {68, CFileException::tooManyOpenFiles},         // ERROR_TOO_MANY_NAMES
    {69, CFileException::tooManyOpenFiles},         // ERROR_TOO_MANY_SESS
    {70, CFileException::badPath},                  // ERROR_SHARING_PAUSED
    {71, CFileException::accessDenied},             // ERROR_REQ_NOT_ACCEP
    {80, CFileException::accessDenied},             // ERROR_FILE_EXISTS
    {82, CFileException::accessDenied},             // ERROR_CANNOT_MAKE
    {85, CFileException::badPath},                  // ERROR_ALREADY_ASSIGNED
    {86, CFileException::accessDenied},             // ERROR_INVALID_PASSWORD
    {88, CFileException::hardIO},                   // ERROR_NET_WRITE_FAULT
    {107, CFileException::fileNotFound},            // ERROR_DISK_CHANGE
    {108, CFileException::lockViolation},           // ERROR_DRIVE_LOCKED
    {111, CFileException::badPath},                 // ERROR_BUFFER_OVERFLOW
    {112, CFileException::diskFull},                // ERROR_DISK_FULL
    {113, CFileException::tooManyOpenFiles},        // ERROR_NO_MORE_SEARCH_HANDLES
    {114, CFileException::invalidFile},             // ERROR_INVALID_TARGET_HANDLE
    {117, CFileException::hardIO},                  // ERROR_INVALID_CATEGORY
    {123, CFileException::badPath},                 // ERROR_INVALID_NAME
    {124, CFileException::badPath},                 // ERROR_INVALID_LEVEL
    {125, CFileException::badPath},                 // ERROR_NO_VOLUME_LABEL
    {131, CFileException::badSeek},                 // ERROR_NEGATIVE_SEEK
    {132, CFileException::badSeek},                 // ERROR_SEEK_ON_DEVICE
    {144, CFileException::badPath},                 // ERROR_DIR_NOT_ROOT
    {145, CFileException::removeCurrentDir},        // ERROR_DIR_NOT_EMPTY
    {154, CFileException::badPath},                 // ERROR_LABEL_TOO_LONG
    {161, CFileException::badPath},                 // ERROR_BAD_PATHNAME
    {167, CFileException::lockViolation},           // ERROR_LOCK_FAILED
    {170, CFileException::accessDenied},            // ERROR_BUSY
    {182, CFileException::invalidFile},             // ERROR_INVALID_ORDINAL
    {183, CFileException::accessDenied},            // ERROR_ALREADY_EXISTS
    {191, CFileException::invalidFile},             // ERROR_INVALID_EXE_SIGNATURE
    {193, CFileException::invalidFile},             // ERROR_BAD_EXE_FORMAT
    {206, CFileException::badPath},                 // ERROR_FILENAME_EXCED_RANGE
    {208, CFileException::badPath},                 // ERROR_META_EXPANSION_TOO_LONG
    {267, CFileException::badPath},                 // ERROR_DIRECTORY
    {995, CFileException::hardIO},                  // ERROR_OPERATION_ABORTED
    {996, CFileException::hardIO},                  // ERROR_IO_INCOMPLETE
    {997, CFileException::hardIO},                  // ERROR_IO_PENDING
    {999, CFileException::accessDenied},            // ERROR_SWAPERROR
};

LPCTSTR CauseText(int cause) {
    switch (cause) {
    case CFileException::none: return "No error occurred.";
    case CFileException::fileNotFound: return "The file could not be found.";
    case CFileException::badPath: return "All or part of the path is invalid.";
    case CFileException::tooManyOpenFiles: return "Too many files are open.";
    case CFileException::accessDenied: return "Access to the file was denied.";
    case CFileException::invalidFile: return "The file handle or format is invalid.";
    case CFileException::removeCurrentDir: return "The directory is in use or not empty.";
    case CFileException::directoryFull: return "The directory is full.";
    case CFileException::badSeek: return "The file position could not be set.";
    case CFileException::hardIO: return "A device input/output error occurred.";
    case CFileException::sharingViolation: return "The file is in use by another process.";
    case CFileException::lockViolation: return "A region of the file is locked.";
    case CFileException::diskFull: return "The disk is full.";
    case CFileException::endOfFile: return "The end of the file was reached.";
    default: return "An unexpected file error occurred.";
    }
}

// Thrown when not even an exception object can be allocated; Delete() leaves it.
CMemoryException g_outOfMemory(FALSE);

}  // namespace

// ---- CException ------------------------------------------------------------

IMPLEMENT_DYNAMIC(CException, CObject)

CException::CException() : m_bAutoDelete(TRUE) {}

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() = default;

void CException::Delete() {
    if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    (void)lpszError;
    (void)nMaxError;
    if (pnHelpContext != NULL) *pnHelpContext = 0;
    return FALSE;
}

// ---- CSimpleException and its kinds -----------------------------------------

IMPLEMENT_DYNAMIC(CSimpleException, CException)

CSimpleException::CSimpleException(BOOL bAutoDelete, LPCTSTR pszMessage)
    : CException(bAutoDelete), m_pszMessage(pszMessage) {}

CSimpleException::~CSimpleException() = default;

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    return CopyMessage(lpszError, nMaxError, pnHelpContext, m_pszMessage);
}

IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
CMemoryException::CMemoryException() : CMemoryException(TRUE) {}
CMemoryException::CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete, "Out of memory.") {}
CMemoryException::~CMemoryException() = default;

IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
CNotSupportedException::CNotSupportedException() : CNotSupportedException(TRUE) {}
CNotSupportedException::CNotSupportedException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "The operation is not supported.") {}
CNotSupportedException::~CNotSupportedException() = default;

IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
CInvalidArgException::CInvalidArgException() : CInvalidArgException(TRUE) {}
CInvalidArgException::CInvalidArgException(BOOL bAutoDelete)
    : CSimpleException(bAutoDelete, "An invalid argument was passed.") {}
CInvalidArgException::~CInvalidArgException() = default;

// ---- CFileException --------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

CFileException::~CFileException() = default;

void CFileException::Clear() {
    m_cause = none;
    m_lOsError = -1;
    m_strFileName.Empty();
}

int AFXAPI CFileException::OsErrorToException(LONG lOsError) {
    for (const OsErrorCause& row : kOsErrorCauses)
        if (row.lOsError == lOsError) return row.cause;
    return genericException;
}

int AFXAPI CFileException::ErrnoToException(int nErrno) {
    switch (nErrno) {
    case EPERM:
    case EACCES: return accessDenied;
    case EBADF: return invalidFile;
    case EDEADLK: return sharingViolation;
    case EMFILE: return tooManyOpenFiles;
    case ENOENT:
    case ENFILE: return fileNotFound;
    case ENOSPC: return diskFull;
    case EINVAL:
    case EIO: return hardIO;
    default: return genericException;
    }
}

void AFXAPI CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
    if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void AFXAPI CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
    if (nErrno != 0) AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    CString text;
    if (!m_strFileName.IsEmpty()) text = m_strFileName + ": ";
    text += CauseText(m_cause);
    return CopyMessage(lpszError, nMaxError, pnHelpContext, text);
}

// ---- throw helpers ---------------------------------------------------------

void AFXAPI AfxThrowMemoryException() {
    CMemoryException* e = new (std::nothrow) CMemoryException();
    throw e != NULL ? e : &g_outOfMemory;
}

void AFXAPI AfxThrowInvalidArgException() {
    throw new CInvalidArgException();
}

void AFXAPI AfxThrowNotSupportedException() {
    throw new CNotSupportedException();
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}
