// Client-wide configuration: the one CGlobalConfigData record of the process
// and Conf_Save, which persists one setting.
#pragma once

#include <afx.h>

#include "companion_export.h"

// One persisted string setting: its live value and where Conf_Save puts it.
// The configuration file stands in for the registry: the setting is the key
// m_pszName2 of the section m_pszName1, or of "m_pszName1\m_pszName3" when the
// third name is not empty. The root key is kept for the Conf_Save call only.
struct CONFIG_API CConfString {
    CString m_strValue;
    const char* m_pszName1;
    const char* m_pszName2;
    const char* m_pszName3;
    HKEY m_hRoot;
};

// The client's settings, in their fixed order. The fax cover and header page
// names come first; the sender block is a run of thirteen string settings.
class CONFIG_API CGlobalConfigData {
public:
    CGlobalConfigData();

    // Reads every setting from the configuration file; a missing file or key
    // leaves the empty string.
    void Load();

    CConfString m_FaxHeaderPage;
    CConfString m_FaxCoverPage;
    CConfString m_SpoolArchive;
    CConfString m_SenderName;
    CConfString m_SenderCompany;
    CConfString m_SenderTitle;
    CConfString m_SenderFax;
    CConfString m_SenderPhone;
    CConfString m_SenderEmail;
    CConfString m_SenderAddress;
    CConfString m_SenderDepartment;
    CConfString m_SenderCity;
    CConfString m_SenderCountry;
    CConfString m_SenderHomePhone;
    CConfString m_SenderNotes;
    CConfString m_SenderStationId;
};

class CONFIG_API CConfigApp {
public:
    // The process's one record, loaded on the first call from the file named
    // by $XWTH_CONFIG, else ${XDG_CONFIG_HOME:-$HOME/.config}/xwth/config.ini.
    static CGlobalConfigData& GetConfig();
    // The configuration file's path as GetConfig resolves it.
    static CString GetConfigPath();
};

// Persists one setting (see CConfString for where); the file is replaced
// atomically, so a reader never sees half of it.
CONFIG_API void Conf_Save(const char* const pszName1, const char* const pszName2, const char* value,
                          HKEY hRoot, const char* pszName3);
