// Logging library: Log lines by category, CLogHelper scope brackets, and a
// sink through which a host program (tests among them) sees every line.
#pragma once

#include "companion_export.h"

#if defined(__GNUC__)
#  define TQLOG_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#  define TQLOG_PRINTF(fmt, args)
#endif

// Appends one line: to the file named by $TQLOG_FILE (tab-separated local
// time "YYYY-MM-DD HH:MM:SS.mmm", process id, thread id, category, text) and to
// the installed sink. Never throws, not even while an exception unwinds.
extern "C" TQLOG_API void Log(const char* category, const char* format, ...) TQLOG_PRINTF(2, 3);

// Receives every line after formatting: the category and the text alone.
typedef void (*TQLogSinkProc)(void* context, const char* category, const char* text);

// Installs the process's one sink (NULL removes it); returns the one it replaces.
extern "C" TQLOG_API TQLogSinkProc TQLogSetSink(TQLogSinkProc proc, void* context);

// Brackets one function: an "enter" line on construction and, on every exit,
// an "exit" line that says whether SetGood marked the work successful.
class TQLOG_API CLogHelper {
public:
    // bTrace: when false the bracket writes nothing (the work is still tracked).
    CLogHelper(const char* category, const char* function, bool bTrace);
    virtual ~CLogHelper();
    virtual void SetGood(bool bGood);

    CLogHelper(const CLogHelper&) = delete;
    CLogHelper& operator=(const CLogHelper&) = delete;

private:
    char m_szCategory[32];
    char m_szFunction[128];
    bool m_bTrace;
    bool m_bGood;
};
