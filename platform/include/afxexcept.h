// Framework exceptions, thrown as heap pointers and released with Delete().
//   CException              the abstract root
//   CSimpleException        an exception described by one fixed text
//   CMemoryException, CNotSupportedException, CInvalidArgException
//   CFileException          a file failure: cause, Win32 error, file name
// and the TRY/CATCH macros over C++ try/catch.
#pragma once

#include <afxobj.h>
#include <afxstr.h>

// The catcher owns a caught exception and ends it with Delete(), which frees
// a heap exception (m_bAutoDelete TRUE) and leaves a static one alone:
//     catch (CFileException* e) { ...; e->Delete(); }
class WINPORT_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException();
    explicit CException(BOOL bAutoDelete);
    ~CException() override = 0;

    void Delete();

    // Copies the description, cut to nMaxError - 1 characters and always
    // terminated, into lpszError; *pnHelpContext (when given) becomes 0.
    // FALSE, with lpszError left alone, when there is no buffer or no text.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL) const;

    BOOL m_bAutoDelete;
};

class WINPORT_API CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    ~CSimpleException() override;
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL) const override;

protected:
    // pszMessage is a static text; the exception does not own it.
    CSimpleException(BOOL bAutoDelete, LPCTSTR pszMessage);

    LPCTSTR m_pszMessage;
};

class WINPORT_API CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException();
    explicit CMemoryException(BOOL bAutoDelete);
    ~CMemoryException() override;
};

class WINPORT_API CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException();
    explicit CNotSupportedException(BOOL bAutoDelete);
    ~CNotSupportedException() override;
};

class WINPORT_API CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException();
    explicit CInvalidArgException(BOOL bAutoDelete);
    ~CInvalidArgException() override;
};

// A failed file operation. m_cause is the portable reason, m_lOsError the
// Win32 error behind it (-1 when there is none), m_strFileName the file as the
// caller named it.
class WINPORT_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = NULL);
    ~CFileException() override;

    // Back to cause none, no error, no file name.
    void Clear();

    // The cause for a Win32 error code; genericException for codes without
    // a closer match.
    [[nodiscard]] static int AFXAPI OsErrorToException(LONG lOsError);
    // The cause for a C runtime errno value.
    [[nodiscard]] static int AFXAPI ErrnoToException(int nErrno);
    // Throw a CFileException* for the error; a zero error throws nothing.
    static void AFXAPI ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);
    static void AFXAPI ThrowErrno(int nErrno, LPCTSTR lpszFileName = NULL);

    // "<file>: <reason>" (the reason alone when no file is named).
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// Framework-style exception blocks. A CATCH block owns its exception only
// for the block: the exception is deleted when the block ends, unless
// THROW_LAST() passes it on. Plain try/catch with e->Delete() is equally fine.
class AfxCaughtException {
public:
    explicit AfxCaughtException(CException* e) noexcept : m_pException(e) {}
    ~AfxCaughtException() {
        if (m_pException != NULL) m_pException->Delete();
    }
    AfxCaughtException(const AfxCaughtException&) = delete;
    AfxCaughtException& operator=(const AfxCaughtException&) = delete;
    void Release() noexcept { m_pException = NULL; }

private:
    CException* m_pException;
};

#define TRY try {
#define CATCH(class_name, e) \
    }                        \
    catch (class_name * e) { \
        AfxCaughtException afxCaught_(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL }
#define END_TRY }
#define THROW(e) throw e
#define THROW_LAST() (afxCaught_.Release(), throw)
#define DELETE_EXCEPTION(e) ((e)->Delete())
