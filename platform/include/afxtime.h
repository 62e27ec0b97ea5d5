// Points and spans of time in whole seconds.
//   CTime      signed 64-bit seconds since 1970-01-01 00:00:00 UTC
//   CTimeSpan  signed 64-bit seconds
#pragma once

#include <time.h>

#include <afxstr.h>

#ifndef _WIN32
// The C runtime's time family, which <time.h> declares on Windows.
#include <wptime.h>
#endif

// <windows.h> makes GetCurrentTime() a macro for GetTickCount().
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

// A plain value. The parts of a span are truncated towards zero, so every
// part of a negative span is negative or zero:
//   span          GetDays GetTotalHours GetHours GetMinutes GetSeconds
//   1d 2h 3m 4s   1       26            2        3          4
//   -(same)       -1      -26           -2       -3         -4
class WINPORT_API CTimeSpan {
public:
    CTimeSpan() noexcept : m_timeSpan(0) {}
    CTimeSpan(__time64_t time) noexcept : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept;

    [[nodiscard]] LONGLONG GetDays() const noexcept { return m_timeSpan / (24 * 3600); }
    [[nodiscard]] LONGLONG GetTotalHours() const noexcept { return m_timeSpan / 3600; }
    [[nodiscard]] LONG GetHours() const noexcept { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
    [[nodiscard]] LONGLONG GetTotalMinutes() const noexcept { return m_timeSpan / 60; }
    [[nodiscard]] LONG GetMinutes() const noexcept {
        return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60);
    }
    [[nodiscard]] LONGLONG GetTotalSeconds() const noexcept { return m_timeSpan; }
    [[nodiscard]] LONG GetSeconds() const noexcept {
        return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60);
    }
    [[nodiscard]] __time64_t GetTimeSpan() const noexcept { return m_timeSpan; }

    CTimeSpan operator+(CTimeSpan span) const noexcept { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const noexcept { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span) noexcept { m_timeSpan += span.m_timeSpan; return *this; }
    CTimeSpan& operator-=(CTimeSpan span) noexcept { m_timeSpan -= span.m_timeSpan; return *this; }
    bool operator==(CTimeSpan span) const noexcept { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const noexcept { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const noexcept { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const noexcept { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const noexcept { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const noexcept { return m_timeSpan >= span.m_timeSpan; }

    // %D days, %H hours, %M minutes, %S seconds (the last three two digits
    // wide), %% a percent sign; anything else is copied.
    [[nodiscard]] CString Format(LPCTSTR pszFormat) const;

private:
    __time64_t m_timeSpan;
};

// A plain value. The calendar parts read in local time (the TZ of the
// process); the valid range is that of the C runtime's 64-bit time functions,
// 1970-01-01 00:00:00 to 3000-12-31 23:59:59 UTC. Outside it the parts read
// 0, GetLocalTm/GetGmtTm give NULL and Format gives "".
class WINPORT_API CTime {
public:
    [[nodiscard]] static CTime WINAPI GetCurrentTime() noexcept;
    // TRUE when the file time converts to local calendar time.
    [[nodiscard]] static BOOL WINAPI IsValidFILETIME(const FILETIME& fileTime) noexcept;

    CTime() noexcept : m_time(0) {}
    CTime(__time64_t time) noexcept : m_time(time) {}
    // Local calendar time; nDST < 0 lets the C runtime decide whether daylight
    // saving applies. Fields out of range (year < 1900, month 1..12, day
    // 1..31, hour 0..23, minute and second 0..59) or a time outside the
    // valid range throw CInvalidArgException*.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // An MS-DOS date and time (local); the fields are checked as above.
    CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
    // Local calendar time; a year before 1900 gives the time 0.
    CTime(const SYSTEMTIME& st, int nDST = -1);
    // A UTC file time, converted through local time as the framework does.
    CTime(const FILETIME& ft, int nDST = -1);

    CTime& operator=(__time64_t time) noexcept { m_time = time; return *this; }
    CTime& operator+=(CTimeSpan span) noexcept { m_time += span.GetTimeSpan(); return *this; }
    CTime& operator-=(CTimeSpan span) noexcept { m_time -= span.GetTimeSpan(); return *this; }
    CTimeSpan operator-(CTime time) const noexcept { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const noexcept { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const noexcept { return CTime(m_time + span.GetTimeSpan()); }
    bool operator==(CTime time) const noexcept { return m_time == time.m_time; }
    bool operator!=(CTime time) const noexcept { return m_time != time.m_time; }
    bool operator<(CTime time) const noexcept { return m_time < time.m_time; }
    bool operator>(CTime time) const noexcept { return m_time > time.m_time; }
    bool operator<=(CTime time) const noexcept { return m_time <= time.m_time; }
    bool operator>=(CTime time) const noexcept { return m_time >= time.m_time; }

    // Fill *ptm and return ptm; NULL (with *ptm untouched) outside the range
    // or when ptm is NULL.
    struct tm* GetGmtTm(struct tm* ptm) const;
    struct tm* GetLocalTm(struct tm* ptm) const;
    // Local calendar time, milliseconds 0; false outside the range.
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    [[nodiscard]] __time64_t GetTime() const noexcept { return m_time; }
    [[nodiscard]] int GetYear() const;
    [[nodiscard]] int GetMonth() const;      // 1..12
    [[nodiscard]] int GetDay() const;        // 1..31
    [[nodiscard]] int GetHour() const;
    [[nodiscard]] int GetMinute() const;
    [[nodiscard]] int GetSecond() const;
    [[nodiscard]] int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // strftime of the local / UTC calendar time; "" for a NULL format or a
    // time outside the range.
    [[nodiscard]] CString Format(LPCTSTR pszFormat) const;
    [[nodiscard]] CString FormatGmt(LPCTSTR pszFormat) const;

private:
    __time64_t m_time;
};
