// Framework basics: calling-convention and debug macros, POSITION, and the
// throw helpers through which every framework class reports a failure.
#pragma once

#include <stdarg.h>
#include <stddef.h>

#include <windows.h>

#include <wpexport.h>

#ifndef AFXAPI
#define AFXAPI
#endif
#define AFX_CDECL
#define AFX_INLINE inline
#define AFX_NOVTABLE

// printf checking for the formatting entry points. mingw-w64 builds format
// with its own C99 printf (__USE_MINGW_ANSI_STDIO), hence gnu_printf there.
#if defined(__clang__)
#define AFX_PRINTF_FMT(fmt, first) __attribute__((format(printf, fmt, first)))
#elif defined(__GNUC__) && defined(_WIN32)
#define AFX_PRINTF_FMT(fmt, first) __attribute__((format(gnu_printf, fmt, first)))
#elif defined(__GNUC__)
#define AFX_PRINTF_FMT(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define AFX_PRINTF_FMT(fmt, first)
#endif

// An opaque iteration cursor of the lists and maps; NULL ends an iteration.
struct AfxPositionTag;
typedef AfxPositionTag* POSITION;
#define BEFORE_START_POSITION ((POSITION)(LONG_PTR)-1)

class CObject;
class CString;

// The framework throws its exceptions as heap pointers; the catcher calls
// e->Delete(). These never return.
[[noreturn]] WINPORT_API void AFXAPI AfxThrowMemoryException();
[[noreturn]] WINPORT_API void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] WINPORT_API void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] WINPORT_API void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1,
                                                           LPCTSTR lpszFileName = NULL);

// Debug output: the formatted text (cut at 1023 characters) to
// OutputDebugString and standard error.
WINPORT_API void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...) AFX_PRINTF_FMT(1, 2);
// Reports a failed ASSERT with its place and ends the process.
[[noreturn]] WINPORT_API void AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);

// Pointer plausibility checks as used inside ASSERTs: only NULL is refused.
inline BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL bReadWrite = TRUE) {
    (void)bReadWrite;
    return p != NULL || nBytes == 0;
}
inline BOOL AfxIsValidString(LPCSTR psz, int nLength = -1) {
    (void)nLength;
    return psz != NULL;
}

// ASSERT checks only in _DEBUG builds. The release form still names its
// expression in an unevaluated sizeof, so a variable that only an ASSERT
// reads does not trip -Wunused, and the expression keeps compiling.
#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#define DEBUG_ONLY(f) (f)
#define ASSERT_VALID(pOb) (ASSERT((pOb) != NULL), (pOb)->AssertValid())
#else
#define ASSERT(f) ((void)sizeof(!(f)))
#define VERIFY(f) ((void)(f))
#define TRACE(...) (false ? AfxTrace(__VA_ARGS__) : (void)0)
#define DEBUG_ONLY(f) ((void)0)
#define ASSERT_VALID(pOb) ((void)sizeof(pOb))
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_KINDOF(class_name, pObject) ASSERT((pObject)->IsKindOf(RUNTIME_CLASS(class_name)))
#define ASSERT_POINTER(p, type) ASSERT(AfxIsValidAddress((p), sizeof(type), FALSE))
#define DEBUG_NEW new
#define UNUSED_ALWAYS(x) ((void)(x))

// Checks that hold in every build: a false condition throws
// CInvalidArgException*.
#define ENSURE(cond)                                  \
    do {                                              \
        if (!(cond)) AfxThrowInvalidArgException();   \
    } while (0)
#define ENSURE_ARG(cond) ENSURE(cond)
#define ENSURE_VALID(pOb) ENSURE((pOb) != NULL)
