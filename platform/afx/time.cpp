// CTime and CTimeSpan: calendar conversion through the C runtime's time functions.
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <afx.h>

namespace {

// 3000-12-31 23:59:59 UTC, the end of the 64-bit C runtime time range.
constexpr __time64_t kMaxTime = 32535215999LL;

// The three conversions, each failing outside 0..kMaxTime as the Windows C
// runtime's _mktime64/_localtime64_s/_gmtime64_s do (winport has the first
// two on POSIX).
__time64_t MakeLocalTime(struct tm* ptm) {
    return _mktime64(ptm);
}
bool ToLocalTm(__time64_t t, struct tm* ptm) {
    return t >= 0 && t <= kMaxTime && _localtime64_s(ptm, &t) == 0;
}
#ifdef _WIN32
bool ToGmtTm(__time64_t t, struct tm* ptm) {
    return t >= 0 && t <= kMaxTime && _gmtime64_s(ptm, &t) == 0;
}
#else
bool ToGmtTm(__time64_t t, struct tm* ptm) {
    if (t < 0 || t > kMaxTime) return false;
    time_t tt = static_cast<time_t>(t);
    return gmtime_r(&tt, ptm) != NULL;
}
#endif

// strftime into a CString that grows as needed. strftime's 0 is ambiguous
// (failure or an empty result); past a generous size it is taken as "".
CString FormatTm(LPCTSTR pszFormat, const struct tm& tmValue) {
    CString result;
    if (pszFormat == NULL || *pszFormat == '\0') return result;
    for (int nSize = 128; nSize <= 65536; nSize *= 4) {
        LPTSTR buffer = result.GetBuffer(nSize);
        size_t n = strftime(buffer, static_cast<size_t>(nSize) + 1, pszFormat, &tmValue);
        if (n > 0) {
            result.ReleaseBuffer(static_cast<int>(n));
            return result;
        }
    }
    result.ReleaseBuffer(0);
    return result;
}

}  // namespace

// ---- CTimeSpan -------------------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) noexcept
    : m_timeSpan(nSecs + 60 * (nMins + 60 * (static_cast<__time64_t>(nHours) + 24 * static_cast<__time64_t>(lDays)))) {}

CString CTimeSpan::Format(LPCTSTR pszFormat) const {
    CString result;
    if (pszFormat == NULL) return result;
    for (LPCTSTR p = pszFormat; *p != '\0'; ++p) {
        if (*p != '%' || p[1] == '\0') {
            result += *p;
            continue;
        }
        switch (*++p) {
        case 'D': result.AppendFormat("%lld", static_cast<long long>(GetDays())); break;
        case 'H': result.AppendFormat("%02ld", static_cast<long>(GetHours())); break;
        case 'M': result.AppendFormat("%02ld", static_cast<long>(GetMinutes())); break;
        case 'S': result.AppendFormat("%02ld", static_cast<long>(GetSeconds())); break;
        case '%': result += '%'; break;
        default:
            result += '%';
            result += *p;
            break;
        }
    }
    return result;
}

// ---- CTime -----------------------------------------------------------------

CTime WINAPI CTime::GetCurrentTime() noexcept {
    return CTime(static_cast<__time64_t>(::time(NULL)));
}

BOOL WINAPI CTime::IsValidFILETIME(const FILETIME& fileTime) noexcept {
    FILETIME localTime;
    SYSTEMTIME systemTime;
    return FileTimeToLocalFileTime(&fileTime, &localTime) && FileTimeToSystemTime(&localTime, &systemTime);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 ||
        nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();
    struct tm tmValue;
    memset(&tmValue, 0, sizeof tmValue);
    tmValue.tm_year = nYear - 1900;
    tmValue.tm_mon = nMonth - 1;
    tmValue.tm_mday = nDay;
    tmValue.tm_hour = nHour;
    tmValue.tm_min = nMin;
    tmValue.tm_sec = nSec;
    tmValue.tm_isdst = nDST;
    m_time = MakeLocalTime(&tmValue);
    if (m_time == -1) AfxThrowInvalidArgException();
}

//   date bits: yyyyyyym mmmddddd (year from 1980)   time bits: hhhhhmmm mmmsssss (seconds / 2)
CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : CTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0x0F, wDosDate & 0x1F, wDosTime >> 11, (wDosTime >> 5) & 0x3F,
            (wDosTime & 0x1F) * 2, nDST) {}

CTime::CTime(const SYSTEMTIME& st, int nDST) : m_time(0) {
    if (st.wYear >= 1900) *this = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

CTime::CTime(const FILETIME& ft, int nDST) : m_time(0) {
    FILETIME localTime;
    SYSTEMTIME systemTime;
    if (!FileTimeToLocalFileTime(&ft, &localTime) || !FileTimeToSystemTime(&localTime, &systemTime))
        AfxThrowInvalidArgException();
    *this = CTime(systemTime, nDST);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const {
    struct tm tmValue;
    if (ptm == NULL || !ToGmtTm(m_time, &tmValue)) return NULL;
    *ptm = tmValue;
    return ptm;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
    struct tm tmValue;
    if (ptm == NULL || !ToLocalTm(m_time, &tmValue)) return NULL;
    *ptm = tmValue;
    return ptm;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const {
    struct tm tmValue;
    if (!ToLocalTm(m_time, &tmValue)) return false;
    st.wYear = static_cast<WORD>(tmValue.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tmValue.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(tmValue.tm_wday);
    st.wDay = static_cast<WORD>(tmValue.tm_mday);
    st.wHour = static_cast<WORD>(tmValue.tm_hour);
    st.wMinute = static_cast<WORD>(tmValue.tm_min);
    st.wSecond = static_cast<WORD>(tmValue.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

namespace {
// One local calendar field, 0 outside the range.
template <class Field>
int LocalField(__time64_t t, Field field) {
    struct tm tmValue;
    return ToLocalTm(t, &tmValue) ? field(tmValue) : 0;
}
}  // namespace

int CTime::GetYear() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_year + 1900; });
}
int CTime::GetMonth() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_mon + 1; });
}
int CTime::GetDay() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_mday; });
}
int CTime::GetHour() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_hour; });
}
int CTime::GetMinute() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_min; });
}
int CTime::GetSecond() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_sec; });
}
int CTime::GetDayOfWeek() const {
    return LocalField(m_time, [](const struct tm& t) { return t.tm_wday + 1; });
}

CString CTime::Format(LPCTSTR pszFormat) const {
    struct tm tmValue;
    if (!ToLocalTm(m_time, &tmValue)) return CString();
    return FormatTm(pszFormat, tmValue);
}

CString CTime::FormatGmt(LPCTSTR pszFormat) const {
    struct tm tmValue;
    if (!ToGmtTm(m_time, &tmValue)) return CString();
    return FormatTm(pszFormat, tmValue);
}
