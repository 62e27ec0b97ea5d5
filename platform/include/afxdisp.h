// The framework's OLE exception: COleException and AfxThrowOleException.
#pragma once

#include <afx.h>
#ifndef _WIN32
#include <objidl.h>
#endif

// A failed OLE or COM call; m_sc is its status code.
class WINPORT_API COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    COleException();
    ~COleException() override;

    // "OLE error 0x80070057" and the like.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = NULL) const override;

    // The status an exception stands for: m_sc of an OLE exception,
    // E_OUTOFMEMORY for a memory exception, E_NOTIMPL for a not-supported
    // one, E_UNEXPECTED otherwise.
    static SCODE AFXAPI Process(const CException* pAnyException);

    SCODE m_sc;
};

// Throws a heap COleException* carrying sc.
[[noreturn]] WINPORT_API void AFXAPI AfxThrowOleException(SCODE sc);
