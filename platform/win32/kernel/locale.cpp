// The user's locale for dates and times, on POSIX: the locale name comes from
// the environment (LC_ALL, LC_TIME, LANG) as the C library would read it, and
// everything else from ICU, so no POSIX locale needs to be generated for it.
//
// Which ICU forms stand for which Windows values:
//   Windows value                  ICU source
//   month names (MMMM)             stand-alone wide months
//   month names beside a day (MMMM) format (genitive) wide months
//   abbreviated months (MMM)       stand-alone abbreviated months
//   day names (dddd, ddd)          stand-alone wide and abbreviated weekdays
//   era (g, gg)                    abbreviated era
//   s1159, s2359                   AM/PM markers
//   sShortDate                     short date pattern, years made four digits
//   sLongDate                      full date pattern
//   sTimeFormat                    medium time pattern
//   iTime                          1 when that pattern counts hours 0-23
//   iCountry                       the region's dialling code (table below)
// The Gregorian calendar is used whatever the locale's default calendar is.
#include "win32/kernel/nls.h"

#include "crt/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace winport::nls {
namespace {

// Windows country codes are international dialling codes, except 2 for
// Canada (which shares 1 with the United States). Regions not listed read 1.
struct CountryCode {
    const char* region;
    int code;
};
constexpr CountryCode kCountries[] = {
    {"US", 1},    {"CA", 2},    {"RU", 7},    {"ZA", 27},   {"GR", 30},   {"NL", 31},  {"BE", 32},
    {"FR", 33},   {"ES", 34},   {"HU", 36},   {"IT", 39},   {"RO", 40},   {"CH", 41},  {"AT", 43},
    {"GB", 44},   {"DK", 45},   {"SE", 46},   {"NO", 47},   {"PL", 48},   {"DE", 49},  {"MX", 52},
    {"AR", 54},   {"BR", 55},   {"AU", 61},   {"NZ", 64},   {"SG", 65},   {"JP", 81},  {"KR", 82},
    {"CN", 86},   {"TR", 90},   {"IN", 91},   {"PT", 351},  {"LU", 352},  {"IE", 353}, {"IS", 354},
    {"FI", 358},  {"BG", 359},  {"UA", 380},  {"HR", 385},  {"SI", 386},  {"CZ", 420}, {"SK", 421},
    {"HK", 852},  {"TW", 886},  {"IL", 972},
};

int CountryFromLocale(const std::string& name) {
    char region[ULOC_COUNTRY_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getCountry(name.c_str(), region, sizeof region, &status);
    for (const CountryCode& c : kCountries) {
        if (std::strcmp(c.region, region) == 0) {
            return c.code;
        }
    }
    return 1;
}

std::u16string Symbol(const UDateFormat* format, UDateFormatSymbolType type, int index) {
    UChar buffer[128];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = udat_getSymbols(format, type, index, buffer, 128, &status);
    if (U_FAILURE(status) || n <= 0) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n));
}

std::u16string Pattern(UDateFormatStyle timeStyle, UDateFormatStyle dateStyle, const std::string& locale) {
    UErrorCode status = U_ZERO_ERROR;
    UDateFormat* format = udat_open(timeStyle, dateStyle, locale.c_str(), u"UTC", -1, nullptr, 0, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    UChar buffer[256];
    const int32_t n = udat_toPattern(format, false, buffer, 256, &status);
    udat_close(format);
    if (U_FAILURE(status) || n <= 0 || n >= 256) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n));
}

std::unique_ptr<LocaleData> BuildLocale(const std::string& name) {
    auto data = std::make_unique<LocaleData>();
    data->name = name;
    const std::string icu = name + "@calendar=gregorian";
    UErrorCode status = U_ZERO_ERROR;
    UDateFormat* format = udat_open(UDAT_NONE, UDAT_SHORT, icu.c_str(), u"UTC", -1, nullptr, 0, &status);
    if (U_SUCCESS(status)) {
        for (int m = 0; m < 12; ++m) {
            data->months[m] = Symbol(format, UDAT_STANDALONE_MONTHS, m);
            data->genitiveMonths[m] = Symbol(format, UDAT_MONTHS, m);
            data->shortMonths[m] = Symbol(format, UDAT_STANDALONE_SHORT_MONTHS, m);
        }
        for (int d = 0; d < 7; ++d) {
            // ICU counts weekdays from 1 (Sunday).
            data->days[d] = Symbol(format, UDAT_STANDALONE_WEEKDAYS, d + 1);
            data->shortDays[d] = Symbol(format, UDAT_STANDALONE_SHORT_WEEKDAYS, d + 1);
        }
        data->am = Symbol(format, UDAT_AM_PMS, 0);
        data->pm = Symbol(format, UDAT_AM_PMS, 1);
        data->era = Symbol(format, UDAT_ERAS, 1);
        udat_close(format);
    }
    data->shortDate = PictureFromPattern(Pattern(UDAT_NONE, UDAT_SHORT, icu), true);
    data->longDate = PictureFromPattern(Pattern(UDAT_NONE, UDAT_FULL, icu), false);
    data->timeFormat = PictureFromPattern(Pattern(UDAT_MEDIUM, UDAT_NONE, icu), false);
    data->clock24 = data->timeFormat.find(u'H') != std::u16string::npos;
    data->country = CountryFromLocale(name);
    return data;
}

bool IsPatternLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Windows pictures read unquoted letters as fields, so literal text holding
// a letter or a quote is quoted, a quote in it written twice.
void AppendLiteral(std::u16string& out, std::u16string_view text) {
    bool letters = false;
    for (char16_t c : text) {
        letters = letters || IsPatternLetter(c) || c == u'\'';
    }
    if (letters) {
        out += u'\'';
    }
    for (char16_t c : text) {
        if (c == u'\'') {
            out += u"''";
        } else if (c == 0x00A0 || c == 0x202F || c == 0x2009) {
            out += u' ';  // the narrow and no-break spaces of newer ICU data
        } else {
            out += c;
        }
    }
    if (letters) {
        out += u'\'';
    }
}

// Which locales have been built; entries are never removed, so references
// handed out stay valid.
std::mutex gLocalesMutex;
std::map<std::string, std::unique_ptr<LocaleData>>& Locales() {
    static auto* locales = new std::map<std::string, std::unique_ptr<LocaleData>>();
    return *locales;
}

// One converter per code page, used under gConvertMutex (a converter keeps
// state between calls).
std::mutex gConvertMutex;
UConverter* Converter(UINT cp) {
    static std::map<UINT, UConverter*>* converters = new std::map<UINT, UConverter*>();
    auto it = converters->find(cp);
    if (it != converters->end()) {
        return it->second;
    }
    const std::string name = "windows-" + std::to_string(cp);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status)) {
        converter = nullptr;
    } else {
        ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    converters->emplace(cp, converter);
    return converter;
}

// The bytes of one code point in the page, or an empty string.
std::string EncodeOne(UConverter* converter, const char16_t* units, int32_t count) {
    char buffer[8];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    const int32_t n = ucnv_fromUChars(converter, buffer, sizeof buffer, reinterpret_cast<const UChar*>(units),
                                      count, &status);
    if (U_FAILURE(status) || n <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(n));
}

}  // namespace

std::string LocaleNameFromEnvironment() {
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return "en_US";
    }
    return name;
}

const LocaleData& CurrentLocale() {
    const std::string name = LocaleNameFromEnvironment();
    std::lock_guard<std::mutex> lock(gLocalesMutex);
    auto& locales = Locales();
    auto it = locales.find(name);
    if (it == locales.end()) {
        it = locales.emplace(name, BuildLocale(name)).first;
    }
    return *it->second;
}

std::u16string PictureFromPattern(std::u16string_view p, bool fourDigitYears) {
    std::u16string out;
    size_t i = 0;
    while (i < p.size()) {
        const char16_t c = p[i];
        if (c == u'\'') {
            // '' is a quote; 'text' is literal text, with '' for a quote in it.
            std::u16string literal;
            if (i + 1 < p.size() && p[i + 1] == u'\'') {
                literal = u"'";
                i += 2;
            } else {
                for (++i; i < p.size(); ++i) {
                    if (p[i] == u'\'') {
                        if (i + 1 < p.size() && p[i + 1] == u'\'') {
                            literal += u'\'';
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    literal += p[i];
                }
            }
            AppendLiteral(out, literal);
            continue;
        }
        if (!IsPatternLetter(c)) {
            AppendLiteral(out, p.substr(i, 1));
            ++i;
            continue;
        }
        size_t n = 1;
        while (i + n < p.size() && p[i + n] == c) {
            ++n;
        }
        i += n;
        const size_t upTo2 = n < 2 ? n : 2;
        switch (c) {
        case u'G': out += u"gg"; break;
        case u'y': case u'u': case u'Y': out += n == 2 && !fourDigitYears ? u"yy" : u"yyyy"; break;
        case u'M': case u'L': out.append(n == 5 ? 3 : (n > 4 ? 4 : n), u'M'); break;
        case u'd': out.append(upTo2, u'd'); break;
        case u'E': case u'c': case u'e': out += n == 4 ? u"dddd" : u"ddd"; break;
        case u'h': case u'K': out.append(upTo2, u'h'); break;
        case u'H': case u'k': out.append(upTo2, u'H'); break;
        case u'm': out.append(upTo2, u'm'); break;
        case u's': out.append(upTo2, u's'); break;
        case u'a': case u'b': case u'B': out += u"tt"; break;
        default:
            // No Windows picture: the field goes, and the blank before it.
            while (!out.empty() && out.back() == u' ') {
                out.pop_back();
            }
            break;
        }
    }
    return out;
}

std::u16string AnsiToUtf16(std::string_view text, UINT cp) {
    std::u16string out;
    out.reserve(text.size());
    size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) {
        out += static_cast<char16_t>(text[ascii++]);
    }
    if (ascii == text.size()) {
        return out;
    }
    std::lock_guard<std::mutex> lock(gConvertMutex);
    UConverter* converter = Converter(cp);
    if (converter == nullptr) {
        converter = Converter(1252);
    }
    std::u16string rest((text.size() - ascii) * 2 + 2, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetToUnicode(converter);
    const int32_t n = ucnv_toUChars(converter, reinterpret_cast<UChar*>(rest.data()),
                                    static_cast<int32_t>(rest.size()), text.data() + ascii,
                                    static_cast<int32_t>(text.size() - ascii), &status);
    if (U_SUCCESS(status)) {
        out.append(rest.data(), static_cast<size_t>(n));
    }
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text, UINT cp) {
    std::string out;
    out.reserve(text.size());
    std::unique_lock<std::mutex> lock(gConvertMutex, std::defer_lock);
    UConverter* converter = nullptr;
    for (size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (converter == nullptr) {
            lock.lock();
            converter = Converter(cp);
            if (converter == nullptr) {
                converter = Converter(1252);
            }
        }
        const int32_t units = U16_IS_LEAD(c) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1]) ? 2 : 1;
        std::string bytes = EncodeOne(converter, text.data() + i, units);
        if (bytes.empty()) {
            // The letter without its accent, as a best fit; else '?'.
            UErrorCode status = U_ZERO_ERROR;
            const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
            UChar decomposed[8];
            const int32_t n = U_SUCCESS(status)
                                  ? unorm2_getDecomposition(nfd, units == 2 ? U16_GET_SUPPLEMENTARY(c, text[i + 1]) : c,
                                                            decomposed, 8, &status)
                                  : 0;
            if (U_SUCCESS(status) && n > 0 && !U16_IS_LEAD(decomposed[0])) {
                bytes = EncodeOne(converter, reinterpret_cast<const char16_t*>(decomposed), 1);
            }
            if (bytes.empty()) {
                bytes.assign(1, '?');
            }
        }
        out += bytes;
        i += static_cast<size_t>(units);
    }
    return out;
}

bool IntlLocaleValue(const char* key, std::string& value) {
    if (key == nullptr) {
        return false;
    }
    const auto is = [key](const char* name) { return lstrcmpiA(key, name) == 0; };
    const UINT cp = AnsiCodePage();
    const LocaleData& locale = CurrentLocale();
    if (is("sShortDate")) {
        value = Utf16ToAnsi(locale.shortDate, cp);
    } else if (is("sLongDate")) {
        value = Utf16ToAnsi(locale.longDate, cp);
    } else if (is("sTimeFormat")) {
        value = Utf16ToAnsi(locale.timeFormat, cp);
    } else if (is("s1159")) {
        value = Utf16ToAnsi(locale.am, cp);
    } else if (is("s2359")) {
        value = Utf16ToAnsi(locale.pm, cp);
    } else if (is("iTime")) {
        value.assign(1, locale.clock24 ? '1' : '0');
    } else if (is("iCountry")) {
        value = std::to_string(locale.country);
    } else if (is("iDate")) {
        // 0 month first, 1 day first, 2 year first.
        const size_t m = locale.shortDate.find(u'M'), d = locale.shortDate.find(u'd'),
                     y = locale.shortDate.find(u'y');
        value.assign(1, y < m && y < d ? '2' : d < m ? '1' : '0');
    } else {
        return false;
    }
    return true;
}

}  // namespace winport::nls

extern "C" WINBASEAPI UINT WINAPI GetACP(void) { return winport::AnsiCodePage(); }
