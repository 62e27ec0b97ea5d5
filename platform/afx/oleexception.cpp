// COleException and AfxThrowOleException.
#include <stdio.h>
#include <string.h>

#include <new>

#include <afxdisp.h>

IMPLEMENT_DYNAMIC(COleException, CException)

COleException::COleException() : CException(TRUE), m_sc(S_OK) {}
COleException::~COleException() = default;

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (lpszError == NULL || nMaxError == 0) return FALSE;
    if (pnHelpContext != NULL) *pnHelpContext = 0;
    char text[32];
    snprintf(text, sizeof text, "OLE error 0x%08lX", static_cast<unsigned long>(static_cast<ULONG>(m_sc)));
    size_t n = strlen(text);
    if (n > nMaxError - 1) n = nMaxError - 1;
    memcpy(lpszError, text, n);
    lpszError[n] = '\0';
    return TRUE;
}

SCODE AFXAPI COleException::Process(const CException* pAnyException) {
    if (pAnyException == NULL) return E_UNEXPECTED;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return static_cast<const COleException*>(pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException))) return E_OUTOFMEMORY;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException))) return E_NOTIMPL;
    return E_UNEXPECTED;
}

void AFXAPI AfxThrowOleException(SCODE sc) {
    COleException* e = new (std::nothrow) COleException();
    if (e == NULL) AfxThrowMemoryException();
    e->m_sc = sc;
    throw e;
}
