// GetDateFormatA and GetTimeFormatA: the picture language, the flags, buffer
// sizes and errors, in the en-US locale (both builds: under Wine the user's
// locale is en-US as well).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel_test_support.h"

namespace {

using xwth_test::Returns;

// 2005-09-05 13:07:09 was a Monday; the day of the week given is wrong on
// purpose, as the functions compute it.
const SYSTEMTIME kMoment = {2005, 9, 3 /* Wednesday */, 5, 13, 7, 9, 0};

const DWORD kOwn = LOCALE_NOUSEROVERRIDE;

class DateFormatTest : public ::testing::Test {
protected:
#if !defined(_WIN32)
    // A fixed locale and an empty WIN.INI, so nothing of the user's own leaks in.
    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_lcAll{"LC_ALL", "en_US.UTF-8"};
    xwth_test::ScopedEnv m_winIni{"XWTH_WININI", m_dir.file("win.ini").c_str()};
#endif
};

std::string Date(DWORD flags, const SYSTEMTIME& st, const char* picture) {
    char buffer[128] = "untouched";
    return GetDateFormatA(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, sizeof buffer) > 0 ? buffer : "<failed>";
}

std::string Time(DWORD flags, const SYSTEMTIME& st, const char* picture) {
    char buffer[128] = "untouched";
    return GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, sizeof buffer) > 0 ? buffer : "<failed>";
}

TEST_F(DateFormatTest, DatePictures) {
    const struct {
        const char* picture;
        const char* want;
    } cases[] = {
        {"d dd ddd dddd", "5 05 Mon Monday"},  // day names: stand-alone forms
        {"M MM MMM MMMM", "9 09 Sep September"},
        {"y yy yyy yyyy yyyyy", "05 05 2005 2005 2005"},
        {"dd.MM.yyyy", "05.09.2005"},
        {"'d''M' d", "d'M 5"},                 // quoted text, '' a quote inside quotes
        {"dd''MM", "0509"},                    // and outside them an empty quoted text
        {"'unterminated d", "unterminated d"},
        {"x, h:m:s t!", "x, h:m:s t!"},        // time letters are copied in a date picture
        {"", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Date(0, kMoment, cases[i].picture), cases[i].want) << "case " << i;
    }
}

TEST_F(DateFormatTest, TimePicturesAndFlags) {
    const SYSTEMTIME midnight = {2005, 9, 1, 5, 0, 5, 0, 0};
    const struct {
        DWORD flags;
        const SYSTEMTIME& st;
        const char* picture;
        const char* want;
    } cases[] = {
        {0, kMoment, "h hh H HH m mm s ss t tt", "1 01 13 13 7 07 9 09 P PM"},
        {0, midnight, "h hh H HH tt", "12 12 0 00 AM"},
        {0, kMoment, "d M y 'h'", "d M y h"},  // date letters are copied in a time picture
        // The locale's own picture and designators (see UserDefaultPictures).
        {kOwn, kMoment, nullptr, "1:07:09 PM"},
        {kOwn | TIME_NOSECONDS, kMoment, nullptr, "1:07 PM"},
        {kOwn | TIME_NOMINUTESORSECONDS, kMoment, nullptr, "1 PM"},
        {kOwn | TIME_NOTIMEMARKER, kMoment, nullptr, "1:07:09"},
        {kOwn | TIME_FORCE24HOURFORMAT, kMoment, nullptr, "13:07:09 PM"},
        {TIME_NOSECONDS, kMoment, "HH:mm:ss", "13:07"},
        {TIME_NOTIMEMARKER, kMoment, "tt h:mm", " 1:07"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(Time(cases[i].flags, cases[i].st, cases[i].picture), cases[i].want) << "case " << i;
    }
}

// The locale's own pictures: the user's may change while this runs (other
// test programs edit [intl], in the shared Wine prefix too).
TEST_F(DateFormatTest, UserDefaultPictures) {
    EXPECT_EQ(Date(kOwn | DATE_SHORTDATE, kMoment, nullptr), "9/5/2005");
    EXPECT_EQ(Date(kOwn | DATE_LONGDATE, kMoment, nullptr), "Monday, September 5, 2005");
    EXPECT_EQ(Date(kOwn, kMoment, nullptr), "9/5/2005");
}

TEST_F(DateFormatTest, BufferSizes) {
    char buffer[16];
    // "05.09.2005" is 10 characters: 11 with the NUL.
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "dd.MM.yyyy", nullptr, 0), 11);
    EXPECT_EQ(WITH_LAST_ERROR(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "dd.MM.yyyy", buffer, 11)),
              Returns(11, 0xdeadbeef));
    EXPECT_STREQ(buffer, "05.09.2005");
    EXPECT_EQ(WITH_LAST_ERROR(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "dd.MM.yyyy", buffer, 10)),
              Returns(0, ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "HH:mm", nullptr, 0), 6);
    EXPECT_EQ(WITH_LAST_ERROR(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "HH:mm", buffer, 6)),
              Returns(6, 0xdeadbeef));
    EXPECT_EQ(WITH_LAST_ERROR(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "HH:mm", buffer, 5)),
              Returns(0, ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(DateFormatTest, BadArguments) {
    static char buffer[64];
    static const SYSTEMTIME april31 = {2005, 4, 0, 31, 0, 0, 0, 0};
    static const SYSTEMTIME month13 = {2005, 13, 0, 1, 0, 0, 0, 0};
    static const SYSTEMTIME zero = {};
    static const SYSTEMTIME hour24 = {2005, 1, 0, 1, 24, 0, 0, 0};
    static const SYSTEMTIME minute60 = {2005, 1, 0, 1, 0, 60, 0, 0};
    static const SYSTEMTIME noDate = {0, 0, 0, 0, 9, 30, 0, 0};
    const struct {
        int (*call)();
        int want;
        DWORD error;
    } cases[] = {
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &april31, "d", buffer, 64); }, 0, ERROR_INVALID_PARAMETER},
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &month13, "d", buffer, 64); }, 0, ERROR_INVALID_PARAMETER},
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &zero, "d", buffer, 64); }, 0, ERROR_INVALID_PARAMETER},
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &kMoment, nullptr, buffer, 64); },
         0, ERROR_INVALID_FLAGS},
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &kMoment, "d", buffer, 64); }, 0,
         ERROR_INVALID_FLAGS},
        {[] { return GetDateFormatA(LOCALE_USER_DEFAULT, 0, &kMoment, "d", nullptr, 64); }, 0, ERROR_INVALID_PARAMETER},
        {[] { return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &hour24, "H", buffer, 64); }, 0, ERROR_INVALID_PARAMETER},
        {[] { return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &minute60, "H", buffer, 64); }, 0, ERROR_INVALID_PARAMETER},
        // Only the time of day is checked: a SYSTEMTIME without a date formats.
        {[] { return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &noDate, "HH:mm", buffer, 64); }, 6, 0xdeadbeef},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(WITH_LAST_ERROR(cases[i].call()), Returns(cases[i].want, cases[i].error)) << "case " << i;
    }
}

}  // namespace
