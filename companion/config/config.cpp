// CGlobalConfigData, CConfigApp and Conf_Save: the client's settings in an
// INI file that stands in for its registry key.
//
// The file is found anew on every GetConfigPath call:
//   $XWTH_CONFIG                       when set and not empty
//   $XDG_CONFIG_HOME/xwth/config.ini   when set and not empty
//   %APPDATA%\xwth\config.ini          Windows build, when set and not empty
//   $HOME/.config/xwth/config.ini      POSIX build, when set and not empty
//   ""                                 otherwise: nothing is read or written
// A registry path "name1\name3" is the section of that name; the root key has
// no counterpart in the file and is ignored.
#include <windows.h>

#include <string>

#include "Config.h"

namespace {

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

bool IsSep(char c) {
    return c == '\\' || c == '/';
}

// The variable's value; "" when unset.
std::string EnvValue(const char* name) {
    std::string value;
    DWORD n = GetEnvironmentVariableA(name, NULL, 0);
    // n is the size needed with the terminator; it can grow between calls.
    while (n > value.size()) {
        value.assign(n, '\0');
        n = GetEnvironmentVariableA(name, value.data(), n);
    }
    value.resize(n);
    return value;
}

std::string ConfigPath() {
    std::string path = EnvValue("XWTH_CONFIG");
    if (!path.empty())
        return path;
    std::string base = EnvValue("XDG_CONFIG_HOME");
#ifdef _WIN32
    if (base.empty())
        base = EnvValue("APPDATA");
#else
    if (base.empty()) {
        base = EnvValue("HOME");
        if (!base.empty())
            base += std::string(1, kSep) + ".config";
    }
#endif
    if (base.empty())
        return std::string();
    if (!IsSep(base.back()))
        base += kSep;
    return base + "xwth" + kSep + "config.ini";
}

std::string SectionName(const char* pszName1, const char* pszName3) {
    std::string section = pszName1;
    if (pszName3 != NULL && *pszName3 != '\0')
        section += std::string("\\") + pszName3;
    return section;
}

// The value of key in section, however long; "" when missing.
CString ReadSetting(const std::string& section, const char* key, const std::string& file) {
    std::string buf(256, '\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buf.data(),
                                                 static_cast<DWORD>(buf.size()), file.c_str());
        // size - 1 copied means the value may have been cut to the buffer.
        if (n + 1 < buf.size())
            return CString(buf.c_str());
        buf.assign(buf.size() * 2, '\0');
    }
}

// Makes every missing folder of the path leading to folder, top down. Levels
// that already exist (as anything: a file in the way makes the next level or
// the write fail with its own error) are passed over; the root, a drive
// ("C:") and a UNC share ("\\server\share") are never created.
bool CreateFolderLevels(const std::string& folder) {
    size_t start = 0;
    if (folder.size() >= 2 && IsSep(folder[0]) && IsSep(folder[1])) {
        const size_t server = folder.find_first_of("\\/", 2);
        if (server == std::string::npos)
            return true;
        start = folder.find_first_of("\\/", server + 1);
        if (start == std::string::npos)
            return true;
    } else if (folder.size() >= 2 && folder[1] == ':') {
        start = 2;
    }
    for (size_t i = start; i <= folder.size(); ++i) {
        if (i < folder.size() && !IsSep(folder[i]))
            continue;
        if (i == 0 || i <= start || IsSep(folder[i - 1]))
            continue;
        const std::string level = folder.substr(0, i);
        if (GetFileAttributesA(level.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (!CreateDirectoryA(level.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

void Name(CConfString& s, const char* pszName1, const char* pszName2) {
    s.m_pszName1 = pszName1;
    s.m_pszName2 = pszName2;
    s.m_pszName3 = "";
    s.m_hRoot = HKEY_CURRENT_USER;
}

}  // namespace

CGlobalConfigData::CGlobalConfigData() {
    Name(m_FaxHeaderPage, "Fax", "HeaderPage");
    Name(m_FaxCoverPage, "Fax", "CoverPage");
    Name(m_SpoolArchive, "Fax", "ArchiveFolder");
    Name(m_SenderName, "Sender", "Name");
    Name(m_SenderCompany, "Sender", "Company");
    Name(m_SenderTitle, "Sender", "Title");
    Name(m_SenderFax, "Sender", "Fax");
    Name(m_SenderPhone, "Sender", "Phone");
    Name(m_SenderEmail, "Sender", "Email");
    Name(m_SenderAddress, "Sender", "Address");
    Name(m_SenderDepartment, "Sender", "Department");
    Name(m_SenderCity, "Sender", "City");
    Name(m_SenderCountry, "Sender", "Country");
    Name(m_SenderHomePhone, "Sender", "HomePhone");
    Name(m_SenderNotes, "Sender", "Notes");
    Name(m_SenderStationId, "Sender", "StationId");
}

void CGlobalConfigData::Load() {
    const std::string file = ConfigPath();
    CConfString* const all[] = {
        &m_FaxHeaderPage,    &m_FaxCoverPage,   &m_SpoolArchive,   &m_SenderName,
        &m_SenderCompany,    &m_SenderTitle,    &m_SenderFax,      &m_SenderPhone,
        &m_SenderEmail,      &m_SenderAddress,  &m_SenderDepartment, &m_SenderCity,
        &m_SenderCountry,    &m_SenderHomePhone, &m_SenderNotes,   &m_SenderStationId,
    };
    for (CConfString* s : all) {
        s->m_strValue = file.empty()
                            ? CString()
                            : ReadSetting(SectionName(s->m_pszName1, s->m_pszName3), s->m_pszName2, file);
    }
}

CGlobalConfigData& CConfigApp::GetConfig() {
    // Loaded once, on the first call, by whichever thread makes it. Never
    // destroyed: static destructors of client libraries may still read it.
    static CGlobalConfigData* const record = [] {
        auto* data = new CGlobalConfigData;
        data->Load();
        return data;
    }();
    return *record;
}

CString CConfigApp::GetConfigPath() {
    return CString(ConfigPath().c_str());
}

// Writes value (NULL deletes the key) and creates the file's folders first.
// Failures are silent to the caller, as a registry write would be; the last
// error tells what went wrong: ERROR_INVALID_PARAMETER for a missing section
// or key name (a NULL key would delete the whole section), otherwise the
// code of the failing folder creation or profile write.
void Conf_Save(const char* const pszName1, const char* const pszName2, const char* value, HKEY hRoot,
               const char* pszName3) {
    (void)hRoot;
    try {
        if (pszName1 == NULL || *pszName1 == '\0' || pszName2 == NULL || *pszName2 == '\0') {
            SetLastError(ERROR_INVALID_PARAMETER);
            return;
        }
        const std::string file = ConfigPath();
        if (file.empty()) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return;
        }
        const size_t sep = file.find_last_of("\\/");
        if (sep != std::string::npos && !CreateFolderLevels(file.substr(0, sep)))
            return;
        WritePrivateProfileStringA(SectionName(pszName1, pszName3).c_str(), pszName2, value,
                                   file.c_str());
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
}
