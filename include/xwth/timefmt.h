// Dates, times and durations as texts of the user's regional settings, the
// short-date order and clock style, and short date-and-time texts parsed
// back into time values (the TF_ family).
//   INT_DATETIMEINFO  the order of month, day and year in the short date,
//                     and whether the clock counts 24 hours
#pragma once

#include <afx.h>

#include <xwth/export.h>

struct INT_DATETIMEINFO {
    int nMonthPos;  // 1, 2 or 3 in the short date picture; 0 when it has no month
    int nDayPos;
    int nYearPos;
    int b24Hour;    // 1 for a 24-hour clock, 0 for a 12-hour one
};

// The Windows country code of the regional settings (iCountry, default 1);
// with bCanadaAsUS non-zero Canada (2) reads as the United States (1). Read
// once and cached; bReload non-zero reads it again.
XWTH_API int TF_GetWinCountryCode(int bCanadaAsUS, int bReload);
// Fills pInfo from the cached settings (sShortDate, iTime), filling the
// cache first when it is empty or bReload is non-zero. 1 when the short date
// names month, day and year; 0 otherwise, and for a NULL pInfo.
XWTH_API int TF_GetDateTimeInfo(INT_DATETIMEINFO* pInfo, int bReload);

// Texts of a time value in local time, asked of Windows on every call. The
// time -1 shows the current moment in UTC. A failed conversion gives "".
// The unnamed int arguments are accepted and have no effect.
XWTH_API CString TF_GetDateStr(CTime time, int);
XWTH_API CString TF_GetLongDateStr(CTime time, int);
XWTH_API CString TF_GetMonthLong(CTime time);
XWTH_API CString TF_GetMonthShort(CTime time);
XWTH_API CString TF_GetWeekDayLong(CTime time);
XWTH_API CString TF_GetWeekDayShort(CTime time);
// The date in a Windows date picture; NULL or "" gives TF_GetDateStr(time, 0).
XWTH_API CString TF_GetFormattedDate(CTime time, const char* picture);
// Hours and minutes; with bShortMarker non-zero a final "PM"/"AM" (any case)
// is cut to its first letter.
XWTH_API CString TF_GetTimeStr(CTime time, int, int bShortMarker);
// "%i:%02i:%02i": hours (not wrapped at 24), minutes, seconds, each part
// truncated toward zero, so a negative span has negative parts ("0:-1:-1").
XWTH_API CString TF_GetDurationStr(CTimeSpan& span);

// A short date with an optional 12-hour time ("03/15/2005 pm 2:30") in the
// order of the regional short date, as local time in seconds since
// 1970-01-01 UTC. 0 for a text that cannot be read, -1 for a date and time
// that cannot be represented. Refreshes the regional settings cache.
XWTH_API __int64 TF_TimeFromStrShort(const char* text);
