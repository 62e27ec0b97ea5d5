// kernel32 time: system and local time, FILETIME/SYSTEMTIME conversion,
// the tick count.
#include "win32/filestat.h"

#include <cstdint>
#include <ctime>

namespace winport {
namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kTicksPerDay = 86400 * kTicksPerSecond;

// Days since 1601-01-01 of a proleptic Gregorian date, and back; civil
// arithmetic with no time_t range limits (FILETIME reaches year 30827).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 134774;  // 1601 → 1970 is 134774 days
}

void CivilFromDays(std::int64_t days1601, std::int64_t& y, unsigned& m, unsigned& d) {
    const std::int64_t z = days1601 - 134774 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

bool IsLeap(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(unsigned y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

void SystemTimeFromTicks(std::uint64_t ticks, SYSTEMTIME& st) {
    const std::int64_t days = static_cast<std::int64_t>(ticks / kTicksPerDay);
    std::uint64_t rest = ticks % kTicksPerDay;
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
    st.wHour = static_cast<WORD>(rest / (3600 * kTicksPerSecond));
    rest %= 3600 * kTicksPerSecond;
    st.wMinute = static_cast<WORD>(rest / (60 * kTicksPerSecond));
    rest %= 60 * kTicksPerSecond;
    st.wSecond = static_cast<WORD>(rest / kTicksPerSecond);
    st.wMilliseconds = static_cast<WORD>((rest % kTicksPerSecond) / 10000);
}

std::uint64_t NowTicks() {
    struct timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return FileTimeTicks(FileTimeFromTimespec(ts.tv_sec, static_cast<std::uint32_t>(ts.tv_nsec)));
}

// The zone's offset from UTC now, in ticks (east positive). Windows converts
// with the current bias whatever date the FILETIME holds, and so do we.
std::int64_t CurrentBiasTicks() {
    ::tzset();  // TZ may have changed since the last call
    const std::time_t now = std::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    return static_cast<std::int64_t>(local.tm_gmtoff) * kTicksPerSecond;
}

constexpr std::uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFull;

}  // namespace
}  // namespace winport

using namespace winport;

extern "C" {

WINBASEAPI void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime) {
    *lpSystemTimeAsFileTime = FileTimeFromTicks(NowTicks());
}

WINBASEAPI void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    SystemTimeFromTicks(NowTicks(), *lpSystemTime);
}

WINBASEAPI void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    // The bias of the moment itself, so daylight saving applies correctly.
    ::tzset();
    struct timespec ts;
    ::clock_gettime(CLOCK_REALTIME, &ts);
    struct tm local;
    ::localtime_r(&ts.tv_sec, &local);
    const std::int64_t ticks = (static_cast<std::int64_t>(ts.tv_sec) + local.tm_gmtoff) * kTicksPerSecond +
                               ts.tv_nsec / 100 + static_cast<std::int64_t>(kEpochDelta100ns);
    SystemTimeFromTicks(static_cast<std::uint64_t>(ticks), *lpSystemTime);
}

WINBASEAPI BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
    if (lpFileTime == nullptr || lpSystemTime == nullptr || FileTimeTicks(*lpFileTime) > kMaxFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SystemTimeFromTicks(FileTimeTicks(*lpFileTime), *lpSystemTime);
    return TRUE;
}

WINBASEAPI BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
    // Every field is checked; wDayOfWeek is ignored.
    const SYSTEMTIME* st = lpSystemTime;
    if (st == nullptr || lpFileTime == nullptr || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 ||
        st->wMonth > 12 || st->wDay < 1 || st->wDay > DaysInMonth(st->wYear, st->wMonth) || st->wHour > 23 ||
        st->wMinute > 59 || st->wSecond > 59 || st->wMilliseconds > 999) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay);
    const std::int64_t ticks = days * kTicksPerDay +
                               ((st->wHour * 60 + st->wMinute) * 60 + st->wSecond) * kTicksPerSecond +
                               static_cast<std::int64_t>(st->wMilliseconds) * 10000;
    *lpFileTime = FileTimeFromTicks(static_cast<std::uint64_t>(ticks));
    return TRUE;
}

WINBASEAPI BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
    if (lpFileTime == nullptr || lpLocalFileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t local = static_cast<std::int64_t>(FileTimeTicks(*lpFileTime)) + CurrentBiasTicks();
    *lpLocalFileTime = FileTimeFromTicks(static_cast<std::uint64_t>(local));
    return TRUE;
}

WINBASEAPI BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime) {
    if (lpLocalFileTime == nullptr || lpFileTime == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::int64_t utc = static_cast<std::int64_t>(FileTimeTicks(*lpLocalFileTime)) - CurrentBiasTicks();
    *lpFileTime = FileTimeFromTicks(static_cast<std::uint64_t>(utc));
    return TRUE;
}

WINBASEAPI DWORD WINAPI GetTickCount(void) {
    // Milliseconds since boot, sleep included, wrapping after 49.7 days.
    struct timespec ts;
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<DWORD>(static_cast<std::uint64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

}  // extern "C"
