// C runtime time family of the Windows runtime (_tzset, _timezone, _mktime64,
// _localtime64_s, _ctime64), winport on POSIX. The framework headers include
// it as the Windows ones include <time.h>, so code that includes <afx.h> or
// <time.h> plus <windows.h> finds these names in both builds.
#pragma once

#include <time.h>

#include <wpexport.h>

#ifndef _WIN32
typedef long long __time64_t;
typedef int errno_t;
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The range of every 64-bit call here: 0 (1970-01-01 00:00:00 UTC) to
// 32535215999 (3000-12-31 23:59:59 UTC). Outside it the calls fail.
#define WP_MAX_TIME64 32535215999LL

// Seconds west of UTC of the zone's standard time (daylight saving is not in
// it): 18000 for TZ=EST5EDT, -3600 for TZ=CET-1CEST, -19800 for TZ=IST-5:30.
// Set from TZ when the library loads and again by each _tzset.
WINPORT_API extern long _timezone;

// Reads TZ again and sets _timezone. The POSIX TZ forms are understood
// (EST5EDT, IST-5:30, Europe/Berlin); without TZ the system's zone applies.
WINPORT_API void _tzset(void);

// Local calendar fields to seconds since 1970 UTC. Fields out of their range
// are carried over (2000-02-30 is 2000-03-01) and *tm is normalised, tm_wday,
// tm_yday and tm_isdst set; tm_isdst -1 lets the zone decide. -1 when tm is
// NULL (errno EINVAL) or the instant lies outside the range above, and then
// *tm is left as it was.
WINPORT_API __time64_t _mktime64(struct tm* tm);

// Seconds since 1970 UTC to local calendar fields. 0 on success; EINVAL when
// either pointer is NULL or the time is outside the range, and then every
// field of a non-NULL *tm is -1.
WINPORT_API errno_t _localtime64_s(struct tm* tm, const __time64_t* time);

// The local time as "Wed Jan 02 02:03:55 1980\n": the day of the month is
// zero-padded. The text lives in a per-thread buffer that the next call on
// the thread overwrites; NULL (errno EINVAL) for a NULL pointer or a time
// outside the range.
WINPORT_API char* _ctime64(const __time64_t* time);

#ifdef __cplusplus
}
#endif
