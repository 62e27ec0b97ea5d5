// C runtime time family: _tzset/_timezone, _mktime64, _localtime64_s and
// _ctime64 in fixed zones, their 1970 to 3000 range and their errors.
// C runtime only, so the same checks hold the Windows runtime to them.
#include <time.h>
#ifndef _WIN32
#include <afx.h>
#endif

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "support/testutil.h"
#include "support/wine.h"

namespace {

using xwth_test::ScopedEnv;

// 3000-12-31 23:59:59 UTC.
constexpr __time64_t kMaxTime = 32535215999LL;

// The zones are written so that both runtimes read them alike: a name, the
// hours west of UTC, no daylight-saving rule.
struct Zone {
    explicit Zone(const char* tz) : env("TZ", tz) { _tzset(); }
    ~Zone() { _tzset(); }
    ScopedEnv env;
};

struct tm Fields(int year, int month, int day, int hour, int minute, int second) {
    struct tm tm;
    std::memset(&tm, 0, sizeof tm);
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return tm;
}

std::string Text(const struct tm& tm) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d wd%d yd%d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday, tm.tm_yday);
    return text;
}

TEST(CrtTimeTest, Mktime64RangeAndNormalisation) {
    // want -1: outside 1970-01-01 00:00:00 UTC .. 3000-12-31 23:59:59 UTC;
    // the range holds for the instant, not for the local fields.
    const char* const kWineLocal1969 = "Wine refuses a local year before 1970 although the instant is in range";
    const char* const kWineLocal3000 = "Wine takes the local fields, not the instant, against the end of the range";
    struct Case { const char* tz; struct tm in; __time64_t want; const char* normalised; const char* wine = nullptr; };
    const Case cases[] = {
        {"GMT0", Fields(1970, 1, 1, 0, 0, 0), 0, "1970-01-01 00:00:00 wd4 yd0"},
        {"GMT0", Fields(1969, 12, 31, 23, 59, 59), -1, nullptr},
        {"EST5", Fields(1970, 1, 1, 0, 0, 0), 18000, "1970-01-01 00:00:00 wd4 yd0"},
        {"EST5", Fields(1969, 12, 31, 19, 0, 0), 0, "1969-12-31 19:00:00 wd3 yd364", kWineLocal1969},
        {"CET-1", Fields(1970, 1, 1, 0, 0, 0), -1, nullptr},
        {"CET-1", Fields(1970, 1, 1, 1, 0, 0), 0, "1970-01-01 01:00:00 wd4 yd0"},
        {"IST-5:30", Fields(1970, 1, 1, 5, 30, 0), 0, "1970-01-01 05:30:00 wd4 yd0"},
        {"GMT0", Fields(3000, 12, 31, 23, 59, 59), kMaxTime, "3000-12-31 23:59:59 wd3 yd364"},
        {"GMT0", Fields(3001, 1, 1, 0, 0, 0), -1, nullptr},
        {"EST5", Fields(3000, 12, 31, 18, 59, 59), kMaxTime, "3000-12-31 18:59:59 wd3 yd364"},
        {"EST5", Fields(3000, 12, 31, 19, 0, 0), -1, nullptr, kWineLocal3000},
        {"GMT0", Fields(1899, 6, 1, 0, 0, 0), -1, nullptr},
        {"GMT0", Fields(2000, 2, 30, 0, 0, 0), 951868800, "2000-03-01 00:00:00 wd3 yd60"},
        {"GMT0", Fields(1999, 12, 31, 23, 59, 60), 946684800, "2000-01-01 00:00:00 wd6 yd0"},
        {"GMT0", Fields(2024, 13, 1, 0, 0, -1), 1735689599, "2024-12-31 23:59:59 wd2 yd365"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Zone zone(cases[i].tz);
        struct tm tm = cases[i].in;
        TODO_WINE_EXPECT_EQ(_mktime64(&tm), cases[i].want, cases[i].wine) << "case " << i;
        if (cases[i].normalised != nullptr) {
            TODO_WINE_EXPECT_EQ(Text(tm), cases[i].normalised, cases[i].wine) << "case " << i;
            TODO_WINE_EXPECT_EQ(tm.tm_isdst, 0, cases[i].wine) << "case " << i;
        }
    }
}

// _tzset sets _timezone, seconds west of UTC of the standard time.
TEST(CrtTimeTest, TimezoneLocaltime64sAndCtime64) {
    struct Case { const char* tz; long west; __time64_t t; const char* fields; const char* ctime; };
    const Case cases[] = {
        {"GMT0", 0, 0, "1970-01-01 00:00:00 wd4 yd0", "Thu Jan 01 00:00:00 1970\n"},
        {"EST5", 18000, 0, "1969-12-31 19:00:00 wd3 yd364", "Wed Dec 31 19:00:00 1969\n"},
        {"NST3:30", 12600, 315626635, "1980-01-01 22:33:55 wd2 yd0", "Tue Jan 01 22:33:55 1980\n"},
        {"IST-5:30", -19800, 315626635, "1980-01-02 07:33:55 wd3 yd1", "Wed Jan 02 07:33:55 1980\n"},
        {"CET-1", -3600, 951782400, "2000-02-29 01:00:00 wd2 yd59", "Tue Feb 29 01:00:00 2000\n"},
        {"GMT0", 0, kMaxTime, "3000-12-31 23:59:59 wd3 yd364", "Wed Dec 31 23:59:59 3000\n"},
        {"CET-1", -3600, kMaxTime, "3001-01-01 00:59:59 wd4 yd0", "Thu Jan 01 00:59:59 3001\n"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Zone zone(cases[i].tz);
        EXPECT_EQ(_timezone, cases[i].west) << "case " << i;
        struct tm tm;
        ASSERT_EQ(_localtime64_s(&tm, &cases[i].t), 0) << "case " << i;
        EXPECT_EQ(Text(tm), cases[i].fields) << "case " << i;
        const char* text = _ctime64(&cases[i].t);
        ASSERT_NE(text, nullptr) << "case " << i;
        EXPECT_STREQ(text, cases[i].ctime) << "case " << i;
    }
}

TEST(CrtTimeTest, OutOfRangeTimesAreRefused) {
    Zone zone("GMT0");
    const char* const kWineEnd = "Wine checks only the start of the range";
    const struct { __time64_t t; const char* wine; } cases[] = {
        {-1, nullptr}, {kMaxTime + 1, kWineEnd}, {-86400LL * 366, nullptr}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const char* const wine = cases[i].wine;
        struct tm tm = Fields(2000, 1, 1, 0, 0, 0);
        errno = 0;
        TODO_WINE_EXPECT_EQ(_localtime64_s(&tm, &cases[i].t), EINVAL, wine) << "case " << i;
        TODO_WINE_EXPECT_EQ(errno, EINVAL, wine) << "case " << i;
        const int fields[] = {tm.tm_sec, tm.tm_min, tm.tm_hour, tm.tm_mday, tm.tm_mon,
                              tm.tm_year, tm.tm_wday, tm.tm_yday, tm.tm_isdst};
        for (int field : fields) {
            TODO_WINE_EXPECT_EQ(field, -1, wine) << "case " << i;
        }
        errno = 0;
        TODO_WINE_EXPECT_TRUE(_ctime64(&cases[i].t) == nullptr, wine) << "case " << i;
        TODO_WINE_EXPECT_EQ(errno, EINVAL, wine) << "case " << i;
    }
    // An instant out of range leaves the caller's fields as they were.
    struct tm tm = Fields(3001, 1, 1, 0, 0, 0);
    EXPECT_EQ(_mktime64(&tm), -1);
    EXPECT_EQ(tm.tm_year, 1101);
    EXPECT_EQ(tm.tm_isdst, -1);
}

}  // namespace
