// The process-wide cache of the regional settings that the date order, the
// clock style and the time parser read (WIN.INI [intl]).
#pragma once

#include <afx.h>

namespace timefmt {

// Filled by the first call that needs it and refreshed only on request.
struct RegionalSettings {
    bool bFilled = false;
    CString strShortDate;  // sShortDate, at most 127 characters
    int nTimeStyle = 0;    // iTime: 0 a 12-hour clock, else 24 hours
    CString strPM;         // s2359, in lower case
};

// The cache, filled first when it is empty or bReload is non-zero.
RegionalSettings& RegionalCache(int bReload);

}  // namespace timefmt
