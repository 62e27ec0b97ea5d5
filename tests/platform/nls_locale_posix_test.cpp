// The regional layer on POSIX: the locale comes from LC_ALL/LC_TIME/LANG,
// names from ICU, pictures from WIN.INI [intl] where the user set them, texts
// in the ANSI code page that _setmbcp chose.
#include <windows.h>
#include <mbctype.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel_test_support.h"

namespace {

// 2005-09-05 13:07:09, a Monday.
const SYSTEMTIME kMoment = {2005, 9, 1, 5, 13, 7, 9, 0};

class RegionalTest : public ::testing::Test {
protected:
    ~RegionalTest() override { _setmbcp(1252); }
    void Locale(const char* name) { m_lcAll.emplace("LC_ALL", name); }
    std::string WinIni() const { return m_dir.file("win.ini"); }

    xwth_test::TempDir m_dir;
    xwth_test::ScopedEnv m_winIni{"XWTH_WININI", m_dir.file("win.ini").c_str()};
    std::optional<xwth_test::ScopedEnv> m_lcAll;
};

std::string Date(DWORD flags, const char* picture) {
    char buffer[128];
    return GetDateFormatA(LOCALE_USER_DEFAULT, flags, &kMoment, picture, buffer, sizeof buffer) > 0 ? buffer
                                                                                                   : "<failed>";
}

std::string Time(DWORD flags, const char* picture) {
    char buffer[128];
    return GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &kMoment, picture, buffer, sizeof buffer) > 0 ? buffer
                                                                                                   : "<failed>";
}

std::string Intl(const char* key) {
    char buffer[128];
    GetProfileStringA("intl", key, "(none)", buffer, sizeof buffer);
    return buffer;
}

// Golden texts, in code page 1252. Which ICU form each comes from:
// ddd/dddd stand-alone weekdays, MMM stand-alone abbreviated months, MMMM
// stand-alone months (format months beside a day number), gg abbreviated era;
// the default pictures from ICU's short date (years four digits), full date
// and medium time patterns.
TEST_F(RegionalTest, GoldenTextsByLocale) {
    const struct {
        const char* locale;
        DWORD flags;
        const char* picture;
        const char* want;
    } cases[] = {
        {"de_DE.UTF-8", 0, "ddd dddd", "Mo Montag"},
        {"de_DE.UTF-8", 0, "MMM MMMM|d. MMMM", "Sep September|5. September"},
        {"de_DE.UTF-8", 0, "gg", "n. Chr."},
        {"de_DE.UTF-8", DATE_SHORTDATE, nullptr, "05.09.2005"},
        {"de_DE.UTF-8", DATE_LONGDATE, nullptr, "Montag, 5. September 2005"},
        {"fr_FR.UTF-8", 0, "ddd dddd", "lun. lundi"},
        {"fr_FR.UTF-8", 0, "MMM MMMM", "sept. septembre"},
        {"fr_FR.UTF-8", 0, "gg", "ap. J.-C."},
        {"fr_FR.UTF-8", DATE_SHORTDATE, nullptr, "05/09/2005"},
        {"fr_FR.UTF-8", DATE_LONGDATE, nullptr, "lundi 5 septembre 2005"},
        {"C", DATE_LONGDATE, nullptr, "Monday, September 5, 2005"},   // C reads as en_US
        {"POSIX", DATE_SHORTDATE, nullptr, "9/5/2005"},
        {"de_AT@euro", 0, "MMMM", "September"},                         // modifier dropped
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Locale(cases[i].locale);
        EXPECT_EQ(Date(cases[i].flags, cases[i].picture), cases[i].want) << "case " << i;
    }
    // March: the umlaut in code page 1252.
    Locale("de_DE.UTF-8");
    const SYSTEMTIME march = {2005, 3, 0, 1, 0, 0, 0, 0};
    char buffer[32];
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, 0, &march, "MMM MMMM", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "M\xE4r M\xE4rz");
}

TEST_F(RegionalTest, TimeDefaultsByLocale) {
    const struct {
        const char* locale;
        DWORD flags;
        const char* want;
    } cases[] = {
        {"en_US.UTF-8", 0, "1:07:09 PM"},   // ICU's narrow no-break space is a blank
        {"de_DE.UTF-8", 0, "13:07:09"},
        {"de_DE.UTF-8", TIME_NOSECONDS, "13:07"},
        {"fr_FR.UTF-8", TIME_NOMINUTESORSECONDS, "13"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Locale(cases[i].locale);
        EXPECT_EQ(Time(cases[i].flags, nullptr), cases[i].want) << "case " << i;
    }
}

// Polish and Russian have a genitive month form, used beside a day number.
// Converted to the language's own page it is exact; code page 1252 gets the
// letter without its accent where there is one, else '?'.
TEST_F(RegionalTest, GenitiveMonthsInTheAnsiCodePage) {
    const struct {
        const char* locale;
        int codePage;
        const char* picture;
        const char* want;
    } cases[] = {
        {"pl_PL.UTF-8", 1250, "d MMMM", "5 wrze\x9Cnia"},         // format form: wrze\u015Bnia
        {"pl_PL.UTF-8", 1250, "MMMM", "wrzesie\xF1"},             // stand-alone: wrzesie\u0144
        {"pl_PL.UTF-8", 1250, "dddd, MMMM", "poniedzia\xB3" "ek, wrzesie\xF1"},  // dddd is no day number
        {"pl_PL.UTF-8", 1252, "d MMMM", "5 wrzesnia"},
        {"pl_PL.UTF-8", 1252, "dddd", "poniedzia?ek"},            // \u0142 has no base letter
        {"ru_RU.UTF-8", 1251, "d MMMM", "5 \xF1\xE5\xED\xF2\xFF\xE1\xF0\xFF"},  // \u0441\u0435\u043D\u0442\u044F\u0431\u0440\u044F
        {"ru_RU.UTF-8", 1251, "MMMM", "\xF1\xE5\xED\xF2\xFF\xE1\xF0\xFC"},      // \u0441\u0435\u043D\u0442\u044F\u0431\u0440\u044C
        {"ru_RU.UTF-8", 1252, "MMMM", "????????"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Locale(cases[i].locale);
        ASSERT_EQ(_setmbcp(cases[i].codePage), 0) << "case " << i;
        EXPECT_EQ(Date(0, cases[i].picture), cases[i].want) << "case " << i;
    }
}

// What the user writes into [intl] wins; a missing key reads as the
// locale's own value; LOCALE_NOUSEROVERRIDE ignores the user's pictures.
TEST_F(RegionalTest, IntlSectionOverridesAndDefaults) {
    Locale("de_DE.UTF-8");
    const struct {
        const char* key;
        const char* want;
    } defaults[] = {
        {"sShortDate", "dd.MM.yyyy"}, {"sLongDate", "dddd, d. MMMM yyyy"}, {"sTimeFormat", "HH:mm:ss"},
        {"iTime", "1"},               {"iCountry", "49"},                  {"iDate", "1"},
        {"sOther", "(none)"},
    };
    for (size_t i = 0; i < std::size(defaults); ++i) {
        EXPECT_EQ(Intl(defaults[i].key), defaults[i].want) << "case " << i;
    }
    EXPECT_EQ(GetProfileIntA("intl", "iCountry", 7), 49u);
    Locale("en_US.UTF-8");
    EXPECT_EQ(GetProfileIntA("intl", "iCountry", 7), 1u);
    EXPECT_EQ(GetProfileIntA("intl", "iTime", 7), 0u);
    EXPECT_EQ(Intl("s2359"), "PM");

    ASSERT_TRUE(WriteProfileStringA("intl", "sShortDate", "yyyy-MM-dd"));
    ASSERT_TRUE(WriteProfileStringA("intl", "sTimeFormat", "hh.mm tt"));
    ASSERT_TRUE(WriteProfileStringA("intl", "s2359", "pm"));
    ASSERT_TRUE(WriteProfileStringA("intl", "iCountry", "44"));
    EXPECT_EQ(Date(DATE_SHORTDATE, nullptr), "2005-09-05");
    EXPECT_EQ(Time(0, nullptr), "01.07 pm");
    EXPECT_EQ(GetProfileIntA("intl", "iCountry", 7), 44u);
    EXPECT_EQ(Date(DATE_SHORTDATE | LOCALE_NOUSEROVERRIDE, nullptr), "9/5/2005");
    EXPECT_EQ(Time(LOCALE_NOUSEROVERRIDE, nullptr), "1:07:09 PM");
    // Other sections know nothing of the locale.
    char buffer[16];
    GetProfileStringA("other", "iCountry", "x", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "x");
}

// LC_ALL before LC_TIME before LANG.
TEST_F(RegionalTest, LocaleVariablesInOrder) {
    xwth_test::ScopedEnv noAll("LC_ALL", nullptr);
    xwth_test::ScopedEnv time("LC_TIME", "fr_FR.UTF-8");
    xwth_test::ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(Date(0, "MMMM"), "septembre");
    {
        xwth_test::ScopedEnv noTime("LC_TIME", nullptr);
        EXPECT_EQ(Date(0, "MMMM"), "September");
        xwth_test::ScopedEnv all("LC_ALL", "pl_PL.UTF-8");
        EXPECT_EQ(Date(0, "MMM"), "wrz");
    }
}

}  // namespace

namespace {

// Here CharLowerA follows _setmbcp, as the _mbs* functions do (on Windows it
// follows the system's ANSI page instead, which a program cannot change).
TEST(CharCasePosixTest, DoubleByteCharactersAreLeftAlone) {
    const struct {
        int codePage;
        const char* text;
        const char* lower;
    } cases[] = {
        {932, "AB\x83\x41Z", "ab\x83\x41z"},           // 0x83 0x41 is a katakana letter, not 'A'
        {1252, "AB\x83\x41Z", "ab\x83" "az"},
        {1250, "\xA3\xD3\x8C", "\xB3\xF3\x9C"},           // Ł Ó Ś
        {1251, "\xC0\xDF\xA8", "\xE0\xFF\xB8"},           // А Я Ё
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(_setmbcp(cases[i].codePage), 0) << "case " << i;
        std::string text = cases[i].text;
        CharLowerA(text.data());
        EXPECT_EQ(text, cases[i].lower) << "case " << i;
    }
    _setmbcp(1252);
}

}  // namespace
