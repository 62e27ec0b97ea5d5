// CTime and CTimeSpan: local calendar round trips under explicit time zones,
// range limits, conversions from SYSTEMTIME, FILETIME and MS-DOS stamps,
// formatting, and the parts of spans.
#include <time.h>

#include <array>
#include <string>

#include <afx.h>

#include "afx_test_support.h"

namespace {

using afx_test::ScopedTimeZone;
using afx_test::Throws;

// 2024-02-29 13:14:15 UTC, a Thursday.
constexpr __time64_t kLeapDay = 1709212455;

// Year, month, day, hour, minute, second, day of the week (1 = Sunday).
using Parts = std::array<int, 7>;

Parts PartsOf(const CTime& t) {
    return {t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond(), t.GetDayOfWeek()};
}

// "XYZ-3" is three hours east of UTC without daylight saving, in both the
// POSIX and the Windows C runtime spelling of TZ.
TEST(TimeTest, LocalCalendarRoundTrips) {
    struct Case {
        const char* tz;
        __time64_t t;
        Parts want;
    };
    const Case cases[] = {
        {"UTC0", 0, {1970, 1, 1, 0, 0, 0, 5}},
        {"UTC0", kLeapDay, {2024, 2, 29, 13, 14, 15, 5}},
        {"UTC0", 951782400, {2000, 2, 29, 0, 0, 0, 3}},
        {"UTC0", 32535215999LL, {3000, 12, 31, 23, 59, 59, 4}},
        {"XYZ-3", kLeapDay, {2024, 2, 29, 16, 14, 15, 5}},
        {"XYZ-3", 1704056400, {2024, 1, 1, 0, 0, 0, 2}},  // 2023-12-31 21:00 UTC
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const Parts& w = c.want;
        ScopedTimeZone tz(c.tz);
        const CTime t(c.t);
        EXPECT_EQ(PartsOf(t), w) << "case " << i;
        EXPECT_EQ(CTime(w[0], w[1], w[2], w[3], w[4], w[5]).GetTime(), c.t) << "case " << i;
        SYSTEMTIME st;
        ASSERT_TRUE(t.GetAsSystemTime(st)) << "case " << i;
        EXPECT_EQ(st.wDayOfWeek, w[6] - 1) << "case " << i;
        EXPECT_EQ(st.wMilliseconds, 0) << "case " << i;
        EXPECT_EQ(CTime(st).GetTime(), c.t) << "case " << i;
    }
}

TEST(TimeTest, OutOfRangeFieldsAndTimesThrow) {
    ScopedTimeZone tz("UTC0");
    const int cases[][6] = {
        {1899, 12, 31, 0, 0, 0}, {2000, 0, 1, 0, 0, 0},  {2000, 13, 1, 0, 0, 0}, {2000, 1, 0, 0, 0, 0},
        {2000, 1, 32, 0, 0, 0},  {2000, 1, 1, 24, 0, 0}, {2000, 1, 1, -1, 0, 0}, {2000, 1, 1, 0, 60, 0},
        {2000, 1, 1, 0, 0, 60},  {1969, 12, 31, 23, 59, 59}, {3001, 1, 1, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const int* c = cases[i];
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { CTime t(c[0], c[1], c[2], c[3], c[4], c[5]); })) << "case " << i;
    }
    // Day 31 of a short month rolls over, as the C runtime normalises it.
    EXPECT_EQ(CTime(2023, 2, 31, 0, 0, 0).GetMonth(), 3);
    ScopedTimeZone east("XYZ-3");
    // Local midnight of 1970-01-01 is before the epoch three hours east.
    EXPECT_TRUE(Throws<CInvalidArgException>([] { CTime t(1970, 1, 1, 0, 0, 0); }));
}

TEST(TimeTest, TimesOutsideTheRangeReadAsZero) {
    ScopedTimeZone tz("UTC0");
    for (__time64_t bad : {static_cast<__time64_t>(-1), static_cast<__time64_t>(32535216000LL)}) {
        const CTime t(bad);
        EXPECT_EQ(PartsOf(t), Parts{}) << bad;
        struct tm out = {};
        out.tm_year = 77;
        EXPECT_EQ(t.GetLocalTm(&out), nullptr) << bad;
        EXPECT_EQ(t.GetGmtTm(&out), nullptr) << bad;
        EXPECT_EQ(out.tm_year, 77) << bad;  // left alone
        EXPECT_STREQ(t.Format("%Y"), "") << bad;
        SYSTEMTIME st;
        EXPECT_FALSE(t.GetAsSystemTime(st)) << bad;
    }
    EXPECT_EQ(CTime(kLeapDay).GetLocalTm(NULL), nullptr);
}

TEST(TimeTest, FormatsLocalAndUtc) {
    ScopedTimeZone tz("XYZ-3");
    const CTime t(kLeapDay);
    EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-02-29 16:14:15");
    EXPECT_STREQ(t.FormatGmt("%Y-%m-%d %H:%M:%S"), "2024-02-29 13:14:15");
    EXPECT_STREQ(t.Format(NULL), "");
    std::string longFormat, want;
    for (int i = 0; i < 100; ++i) longFormat += "%Y.", want += "2024.";
    EXPECT_STREQ(t.Format(longFormat.c_str()), want.c_str());  // longer than any fixed buffer
    struct tm gmt, local;
    ASSERT_EQ(t.GetGmtTm(&gmt), &gmt);
    ASSERT_EQ(t.GetLocalTm(&local), &local);
    EXPECT_EQ(gmt.tm_hour, 13);
    EXPECT_EQ(local.tm_hour, 16);
}

TEST(TimeTest, ConvertsSystemFileAndDosTimes) {
    ScopedTimeZone tz("UTC0");
    SYSTEMTIME st = {2024, 2, 0, 29, 13, 14, 15, 999};  // the milliseconds are dropped
    EXPECT_EQ(CTime(st).GetTime(), kLeapDay);
    st.wYear = 1601;
    EXPECT_EQ(CTime(st).GetTime(), 0);  // a year before 1900 reads as time 0

    // 2025-01-29 13:14:16 as an MS-DOS date and time.
    const WORD wDate = ((2025 - 1980) << 9) | (1 << 5) | 29;
    const WORD wTime = (13 << 11) | (14 << 5) | (16 / 2);
    EXPECT_EQ(CTime(wDate, wTime).GetTime(), CTime(2025, 1, 29, 13, 14, 16).GetTime());

    // FILETIME counts 100 ns units from 1601-01-01 UTC.
    const unsigned long long units = (static_cast<unsigned long long>(kLeapDay) + 11644473600ULL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(units & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(units >> 32);
    EXPECT_TRUE(CTime::IsValidFILETIME(ft));
    const __time64_t got = CTime(ft).GetTime();
#ifdef _WIN32
    // Windows converts a file time through the system's time zone, which a
    // test cannot set; the C runtime then reads it in TZ. Whole quarter
    // hours apart at most.
    EXPECT_EQ((got - kLeapDay) % 900, 0);
    EXPECT_LE(got - kLeapDay, 14 * 3600);
    EXPECT_GE(got - kLeapDay, -14 * 3600);
#else
    EXPECT_EQ(got, kLeapDay);
#endif
    const __time64_t before = static_cast<__time64_t>(time(NULL));
    const __time64_t current = CTime::GetCurrentTime().GetTime();
    EXPECT_LE(before, current);
    EXPECT_LE(current, static_cast<__time64_t>(time(NULL)));
}

// The rows of the table above CTimeSpan, and more.
TEST(TimeSpanTest, PartsTruncateTowardsZero) {
    struct Case {
        CTimeSpan span;
        LONGLONG days, totalHours, totalMinutes;
        LONG hours, minutes, secs;
    };
    const Case cases[] = {
        {CTimeSpan(1, 2, 3, 4), 1, 26, 1563, 2, 3, 4},
        {CTimeSpan(-1, -2, -3, -4), -1, -26, -1563, -2, -3, -4},
        {CTimeSpan(0, 25, 0, 61), 1, 25, 1501, 1, 1, 1},  // fields may overflow into the next unit
        {CTimeSpan(86400LL * 40000), 40000, 960000, 57600000, 0, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(c.span.GetDays(), c.days) << "case " << i;
        EXPECT_EQ(c.span.GetTotalHours(), c.totalHours) << "case " << i;
        EXPECT_EQ(c.span.GetTotalMinutes(), c.totalMinutes) << "case " << i;
        EXPECT_EQ(c.span.GetHours(), c.hours) << "case " << i;
        EXPECT_EQ(c.span.GetMinutes(), c.minutes) << "case " << i;
        EXPECT_EQ(c.span.GetSeconds(), c.secs) << "case " << i;
    }
}

TEST(TimeSpanTest, Formats) {
    EXPECT_STREQ(CTimeSpan(3, 4, 5, 6).Format("%D days %H:%M:%S %% %Q"), "3 days 04:05:06 % %Q");
    EXPECT_STREQ(CTimeSpan(0, 0, 0, 7).Format("%S%"), "07%");
    EXPECT_STREQ(CTimeSpan(-90).Format("%M:%S"), "-1:-30");
    EXPECT_STREQ(CTimeSpan(5).Format(NULL), "");
}

}  // namespace
