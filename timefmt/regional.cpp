// The regional settings caches and the functions that read them:
// TF_GetWinCountryCode, TF_GetDateTimeInfo.
//
// Both caches are process-wide and unguarded: the client calls these
// functions, and the parser that shares the settings cache, from one thread
// at a time. They live from load to unload and are refreshed only when a
// caller asks (bReload), so a change of the regional settings is seen after
// such a refresh; the parser always asks.
#include <xwth/timefmt.h>

#include <windows.h>

#include "timefmt/regional.h"

namespace timefmt {
namespace {

RegionalSettings g_settings;

struct CountryCache {
    bool bFilled = false;
    int nCountry = 1;
};
CountryCache g_country;

}  // namespace

RegionalSettings& RegionalCache(int bReload) {
    if (g_settings.bFilled && bReload == 0) {
        return g_settings;
    }
    char buffer[128];
    GetProfileStringA("intl", "sShortDate", "", buffer, sizeof buffer);
    g_settings.strShortDate = buffer;
    g_settings.nTimeStyle = static_cast<int>(GetProfileIntA("intl", "iTime", 0));
    GetProfileStringA("intl", "s2359", "", buffer, sizeof buffer);
    CharLowerA(buffer);
    g_settings.strPM = buffer;
    g_settings.bFilled = true;
    return g_settings;
}

}  // namespace timefmt

int TF_GetWinCountryCode(int bCanadaAsUS, int bReload) {
    timefmt::CountryCache& cache = timefmt::g_country;
    if (!cache.bFilled || bReload != 0) {
        cache.nCountry = static_cast<int>(GetProfileIntA("intl", "iCountry", 1));
        cache.bFilled = true;
    }
    return bCanadaAsUS != 0 && cache.nCountry == 2 ? 1 : cache.nCountry;
}

// Positions are given by the first letter of each kind, whatever its case:
//   picture      month day year  result
//   M/d/yy       1     2   3     1
//   dd.MM.yyyy   2     1   3     1
//   yyyy-MM-dd   2     3   1     1
//   MM/yyyy      1     0   2     0
//   (empty)      0     0   0     0
int TF_GetDateTimeInfo(INT_DATETIMEINFO* pInfo, int bReload) {
    if (pInfo == NULL) {
        return 0;
    }
    const timefmt::RegionalSettings& settings = timefmt::RegionalCache(bReload);
    pInfo->nMonthPos = pInfo->nDayPos = pInfo->nYearPos = 0;
    int position = 1;
    const char* picture = settings.strShortDate;
    for (const char* p = picture; *p != '\0'; ++p) {
        int* slot = NULL;
        switch (*p) {
        case 'M': case 'm': slot = &pInfo->nMonthPos; break;
        case 'D': case 'd': slot = &pInfo->nDayPos; break;
        case 'Y': case 'y': slot = &pInfo->nYearPos; break;
        default: break;
        }
        if (slot != NULL && *slot == 0) {
            *slot = position++;
        }
    }
    pInfo->b24Hour = settings.nTimeStyle != 0 ? 1 : 0;
    return pInfo->nMonthPos != 0 && pInfo->nDayPos != 0 && pInfo->nYearPos != 0 ? 1 : 0;
}
