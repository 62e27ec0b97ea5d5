// CObject and run-time class information; debug output and ASSERT failures.
#include <stdio.h>
#include <stdlib.h>

#include <new>

#include <afx.h>

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, NULL,
                                             NULL, NULL, NULL};

CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
}

CObject::~CObject() = default;

BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const {
    (void)dc;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* pClass = this; pClass != NULL; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass) return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() {
    if (m_pfnCreateObject == NULL) return NULL;
    // The factory is a plain new: out of memory surfaces as std::bad_alloc or
    // as a framework exception from a constructor; either way the answer is NULL.
    try {
        return (*m_pfnCreateObject)();
    } catch (CException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
    }
    return NULL;
}

void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...) {
    char text[1024];
    va_list args;
    va_start(args, lpszFormat);
    vsnprintf(text, sizeof text, lpszFormat, args);
    va_end(args);
    OutputDebugStringA(text);
    fputs(text, stderr);
}

void AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
    fprintf(stderr, "%s(%d): ASSERT failed\n", lpszFileName, nLine);
    fflush(stderr);
    abort();
}
