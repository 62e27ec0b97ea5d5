// CLogHelper: the enter and exit lines that bracket one function.
//
// Lines, written with the helper's category:
//   construction                           "-> <function>"
//   destruction, last SetGood said true    "<- <function> good"
//   destruction otherwise                  "<- <function> bad"
// An exception that leaves the function before SetGood(true) therefore shows
// as "bad". The exit line does not try to tell an exception apart:
// std::uncaught_exceptions() counts per C++ runtime, and in the Windows build
// each DLL carries its own static runtime, blind to exceptions thrown in the
// caller's. With bTrace false neither line is written; SetGood is still
// recorded. Category and function are copied (cut to 31 and 127 bytes), so
// the caller's strings need not outlive the helper.
#include <windows.h>

#include "TQLog.h"

namespace {

template <size_t N>
void CopyCut(char (&dest)[N], const char* src) {
    size_t i = 0;
    if (src != NULL)
        for (; i + 1 < N && src[i] != '\0'; ++i)
            dest[i] = src[i];
    dest[i] = '\0';
}

}  // namespace

CLogHelper::CLogHelper(const char* category, const char* function, bool bTrace)
    : m_bTrace(bTrace), m_bGood(false) {
    CopyCut(m_szCategory, category);
    CopyCut(m_szFunction, function);
    if (m_bTrace)
        Log(m_szCategory, "-> %s", m_szFunction);
}

CLogHelper::~CLogHelper() {
    if (!m_bTrace)
        return;
    Log(m_szCategory, "<- %s %s", m_szFunction, m_bGood ? "good" : "bad");  // never throws
}

void CLogHelper::SetGood(bool bGood) {
    m_bGood = bGood;
}
