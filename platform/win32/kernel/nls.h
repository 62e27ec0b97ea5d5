// The regional layer behind GetDateFormatA, GetTimeFormatA and WIN.INI's
// [intl] section: what the user's locale says about dates and times (from
// ICU), and text conversion to and from the process's ANSI code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace winport::nls {

// One locale's names and pictures, in UTF-16. Built once per locale name and
// kept for the life of the process.
struct LocaleData {
    std::string name;                   // as ICU names it: "de_DE"
    std::u16string months[12];          // stand-alone: "styczeń"
    std::u16string genitiveMonths[12];  // the form used beside a day number: "stycznia"
    std::u16string shortMonths[12];     // stand-alone, abbreviated
    std::u16string days[7];             // Sunday first, stand-alone
    std::u16string shortDays[7];
    std::u16string am, pm, era;
    std::u16string shortDate, longDate, timeFormat;  // Windows picture syntax
    int country = 1;                    // Windows country code (dialling code, 2 for Canada)
    bool clock24 = false;
};

// The locale of LC_TIME: LC_ALL, then LC_TIME, then LANG, without codeset or
// modifier; C, POSIX and an empty environment read as en_US.
[[nodiscard]] std::string LocaleNameFromEnvironment();
// The data of the locale the environment names now.
[[nodiscard]] const LocaleData& CurrentLocale();

// An ICU date pattern in Windows picture syntax. Fields Windows has no
// picture for (time zones, fractions of a second) go, with the blank before
// them; literal text with letters is quoted. With fourDigitYears every year
// field becomes yyyy, as Windows writes short dates.
[[nodiscard]] std::u16string PictureFromPattern(std::u16string_view pattern, bool fourDigitYears);

// Conversion with the code page `cp`. Characters the page lacks become
// their unaccented letter where that exists in the page, else '?'.
[[nodiscard]] std::u16string AnsiToUtf16(std::string_view text, UINT cp);
[[nodiscard]] std::string Utf16ToAnsi(std::u16string_view text, UINT cp);

// The current locale's value of a WIN.INI [intl] key (sShortDate, sLongDate,
// sTimeFormat, s1159, s2359, iTime, iCountry, iDate), in the ANSI code page;
// false for any other key.
bool IntlLocaleValue(const char* key, std::string& value);

}  // namespace winport::nls
