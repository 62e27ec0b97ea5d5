// C runtime time family over the POSIX time functions: the Windows range
// (1970 to 3000 UTC), the Windows ctime layout, and _timezone.
#include <wptime.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace {

long CurrentTimezone() {
    ::tzset();
    return ::timezone;
}

bool InRange(__time64_t t) { return t >= 0 && t <= WP_MAX_TIME64; }

}  // namespace

extern "C" {

WINPORT_API long _timezone = CurrentTimezone();

WINPORT_API void _tzset(void) { _timezone = CurrentTimezone(); }

WINPORT_API __time64_t _mktime64(struct tm* tm) {
    if (tm == nullptr) {
        errno = EINVAL;
        return -1;
    }
    // On a copy, so a time out of range leaves the caller's fields alone.
    struct tm work = *tm;
    ::tzset();
    const time_t t = ::mktime(&work);
    if (!InRange(t)) {
        return -1;
    }
    *tm = work;
    return t;
}

WINPORT_API errno_t _localtime64_s(struct tm* tm, const __time64_t* time) {
    if (tm == nullptr) {
        errno = EINVAL;
        return EINVAL;
    }
    if (time == nullptr || !InRange(*time)) {
        tm->tm_sec = tm->tm_min = tm->tm_hour = tm->tm_mday = tm->tm_mon = tm->tm_year = -1;
        tm->tm_wday = tm->tm_yday = tm->tm_isdst = -1;
        errno = EINVAL;
        return EINVAL;
    }
    ::tzset();
    const time_t t = static_cast<time_t>(*time);
    if (::localtime_r(&t, tm) == nullptr) {
        errno = EINVAL;
        return EINVAL;
    }
    return 0;
}

WINPORT_API char* _ctime64(const __time64_t* time) {
    static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    thread_local char text[64];  // 26 bytes for every year the range allows
    struct tm tm;
    if (time == nullptr || _localtime64_s(&tm, time) != 0) {
        errno = EINVAL;
        return nullptr;
    }
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %4d\n", kDays[tm.tm_wday], kMonths[tm.tm_mon],
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
    return text;
}

}  // extern "C"
