// CFaxMessage: the message folder, its lifetime, properties and global settings.
#include <xwth/faxmessage.h>

#include <Config.h>
#include <TQLog.h>

#include "msgstore/records.h"
#include "msgstore/spoolfolder.h"

#include <stdio.h>

#include <map>
#include <mutex>

namespace {

const char kCategory[] = "FAXMSG";
const char kSpoolSection[] = "Zelvo Fax Setup,FAX";
const char kSpoolKey[] = "Spool Directory";
const char kPropsSection[] = "CustomProp";
const char kPropsFile[] = "props.ini";

// Property ids with accessors of their own.
constexpr UINT kPropToFax = 4;
constexpr UINT kPropToFirstName = 5;
constexpr UINT kPropToLastName = 6;
constexpr UINT kPropTargetPhone = 45;

// GetProp answers these ids from the sender run of the global settings
// instead of props.ini; id 40 and the other settings of the run are not
// among them.
//   id:      33    34    35    36    37    38    39    41    42    43
//   setting: 1st   2nd   4th   13th  11th  6th   5th   9th   7th   10th
struct GlobalProp {
    UINT id;
    CConfString CGlobalConfigData::*setting;
};
const GlobalProp kGlobalProps[] = {
    {33, &CGlobalConfigData::m_SenderName},     {34, &CGlobalConfigData::m_SenderCompany},
    {35, &CGlobalConfigData::m_SenderFax},      {36, &CGlobalConfigData::m_SenderStationId},
    {37, &CGlobalConfigData::m_SenderHomePhone}, {38, &CGlobalConfigData::m_SenderEmail},
    {39, &CGlobalConfigData::m_SenderPhone},    {41, &CGlobalConfigData::m_SenderCity},
    {42, &CGlobalConfigData::m_SenderAddress},  {43, &CGlobalConfigData::m_SenderCountry},
};

const CConfString* FindGlobalProp(UINT ulProp) {
    for (const GlobalProp& p : kGlobalProps) {
        if (p.id == ulProp) {
            return &(CConfigApp::GetConfig().*p.setting);
        }
    }
    return NULL;
}

// Assigns and persists one global setting unless it holds the value already.
void StoreGlobalSetting(CConfString& setting, const CString& value) {
    if (setting.m_strValue == value) {
        return;
    }
    setting.m_strValue = value;
    const char* name3 = (setting.m_pszName3 != NULL && setting.m_pszName3[0] != '\0') ? setting.m_pszName3 : NULL;
    Conf_Save(setting.m_pszName1, setting.m_pszName2, value, setting.m_hRoot, name3);
}

CString PropsPath(const CString& strFolder) {
    return strFolder + "\\" + kPropsFile;
}

// Calls fn(name) for every entry of folder\*.* ("." and ".." included, as
// the search reports them).
template <typename Fn>
void ForEachEntry(const CString& folder, Fn fn) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(folder + "\\*.*", &data);
    if (hFind == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        fn(data.cFileName);
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}

// The identity of each live message's folder, recorded when the folder is
// claimed, with a handle on the folder held open until the message lets it
// go: while the handle is open the file system cannot give the folder's
// index to a new folder, so a folder made again under the same name always
// reads as another. (The cost is one open handle per live message.) The
// exported class keeps its documented fields, so the record lives here,
// keyed by the object; an object without an entry owns no folder.
class FolderIds {
public:
    // false when the folder cannot be opened (it is gone already).
    bool Remember(const CFaxMessage* owner, const char* folder) {
        Held held;
        // Where a removal completes only when the last handle closes (Windows),
        // a folder removed behind the message's back keeps its name until the
        // message lets go, so the number cannot pass to another message.
        held.handle = CreateFileA(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (held.handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        BY_HANDLE_FILE_INFORMATION info;
        if (!GetFileInformationByHandle(held.handle, &info)) {
            CloseHandle(held.handle);
            return false;
        }
        held.id.volume = info.dwVolumeSerialNumber;
        held.id.indexHigh = info.nFileIndexHigh;
        held.id.indexLow = info.nFileIndexLow;
        Forget(owner);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_held[owner] = held;
        return true;
    }
    void Forget(const CFaxMessage* owner) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_held.find(owner);
        if (it != m_held.end()) {
            CloseHandle(it->second.handle);
            m_held.erase(it);
        }
    }
    // Whether `folder` still names the owner's folder (Gone also when the
    // owner holds none).
    msgstore::IdCheck Check(const CFaxMessage* owner, const char* folder) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_held.find(owner);
        return it == m_held.end() ? msgstore::IdCheck::Gone : msgstore::CheckFileId(folder, it->second.id, true);
    }

private:
    struct Held {
        HANDLE handle = INVALID_HANDLE_VALUE;
        msgstore::FileId id;
    };
    std::mutex m_mutex;
    std::map<const CFaxMessage*, Held> m_held;
};

FolderIds& OwnedFolders() {
    static FolderIds* ids = new FolderIds;  // outlives every message, even static ones
    return *ids;
}

}  // namespace

namespace msgstore {

bool FolderStillOwned(const CFaxMessage* owner, CString& folder) {
    if (folder.IsEmpty()) {
        return false;
    }
    const IdCheck check = OwnedFolders().Check(owner, folder);
    if (check == IdCheck::Unknown) {
        return false;  // cannot tell (no access): touch nothing, keep the path for later
    }
    if (check != IdCheck::Same) {
        OwnedFolders().Forget(owner);
        folder.Empty();
        return false;
    }
    return true;
}

}  // namespace msgstore

CFaxMessage::CFaxMessage()
    : m_bUseFaxCoverPage(false), m_dwID(0), m_bUseHiRes(true) {
    Log(kCategory, "CFaxMessage::CFaxMessage: Create empty FaxMessage");
    Init();
}

// A copy shares the other message's attachment records; each record gains one
// link for the copy, so it stays valid until the last holder releases it.
CFaxMessage::CFaxMessage(CFaxMessage& other)
    : m_bUseFaxCoverPage(false), m_dwID(0), m_bUseHiRes(true) {
    Log(kCategory, "CFaxMessage::CFaxMessage: Create FaxMessage from other message");
    Init();

    if (!m_strFolder.IsEmpty() && msgstore::FolderStillOwned(&other, other.m_strFolder)) {
        ForEachEntry(other.m_strFolder, [&](const char* name) {
            CopyFileA(other.m_strFolder + "\\" + name, m_strFolder + "\\" + name, FALSE);
        });
    }

    SetUseFaxCoverPage(other.GetUseFaxCoverPage());
    SetID(other.GetID());
    CString strCoverPage = other.GetFaxCoverPageName();
    SetFaxCoverPageName(strCoverPage);
    CString strBody = other.GetMessageBody();
    SetMessageBody(strBody);
    CString strValue = other.GetToFax();
    SetToFax(strValue);
    strValue = other.GetTargetPhone();
    SetTargetPhone(strValue);
    strValue = other.GetToFirstName();
    SetToFirstName(strValue);
    strValue = other.GetToLastName();
    SetToLastName(strValue);
    SetUseHiRes(other.GetUseHiRes());

    while (m_arrAttachments.GetSize() > 0) {
        ATTACHMENT_DESCR* pRecord = m_arrAttachments.GetAt(0);
        m_arrAttachments.RemoveAt(0);
        msgstore::ReleaseRecord(pRecord);
    }
    for (INT_PTR i = 0; i < other.m_arrAttachments.GetSize(); ++i) {
        ATTACHMENT_DESCR* pRecord = other.m_arrAttachments.GetAt(i);
        ++pRecord->nLinks;
        m_arrAttachments.Add(pRecord);
    }
}

CFaxMessage::~CFaxMessage() {
    Log(kCategory, "CFaxMessage::~CFaxMessage: Destroy FaxMessage");
    Delete();
    OwnedFolders().Forget(this);  // a folder Delete could not remove stays on disk, unowned
}

bool CFaxMessage::Init() {
    Log(kCategory, "CFaxMessage::Init: Initialize message");
    m_bUseHiRes = true;
    m_dwID = 0;
    m_bUseFaxCoverPage = false;

    char szSpool[MAX_PATH] = {0};
    GetProfileStringA(kSpoolSection, kSpoolKey, "", szSpool, MAX_PATH);

    CString strFolder;
    switch (msgstore::ClaimLowestFreeFolder(msgstore::AbsoluteSpool(szSpool), strFolder)) {
    case msgstore::ClaimResult::Claimed:
        break;
    case msgstore::ClaimResult::CannotCreate:
        Log(kCategory, "CFaxMessage::Init: Can't create dir: %s", (LPCSTR)strFolder);
        return false;
    case msgstore::ClaimResult::NoFreeNumber:
        Log(kCategory, "CFaxMessage::Init: Max number of dirs reached: %d", msgstore::kMaxFolders);
        return false;
    }
    if (!OwnedFolders().Remember(this, strFolder)) {
        // Gone again before it could be recognised: nothing here is provably
        // this message's, so it does not keep the name.
        Log(kCategory, "CFaxMessage::Init: Can't create dir: %s", (LPCSTR)strFolder);
        return false;
    }
    m_strFolder = strFolder;
    m_bUseFaxCoverPage = true;
    return true;
}

bool CFaxMessage::Save() {
    return true;
}

// A message without a folder (its Init failed, or an earlier Delete removed
// it) owns nothing on disk, so it sweeps nothing: every path it could form
// would lie outside its own message folder. Neither does a message whose
// folder was removed behind its back: the name may belong to another message
// by now, so the folder is checked against the one claimed, and forgotten
// when it is gone or is another.
bool CFaxMessage::Delete() {
    while (m_arrAttachments.GetSize() > 0) {
        if (!DeleteAttachment(0)) {
            m_arrAttachments.RemoveAt(0);  // an empty entry: nothing to release
        }
    }
    if (!msgstore::FolderStillOwned(this, m_strFolder)) {
        return false;
    }
    ForEachEntry(m_strFolder, [&](const char* name) { DeleteFileA(m_strFolder + "\\" + name); });
    // The handle goes first: Windows keeps the name of a removed folder that
    // is still open, and the next message could not claim the number.
    OwnedFolders().Forget(this);
    if (!msgstore::RemoveClaimedFolder(m_strFolder)) {
        // Still here (a file in it could not be deleted): still this one's.
        OwnedFolders().Remember(this, m_strFolder);
        return false;
    }
    // The number is free now and another message, in this process or another,
    // may claim it at once: this one must never touch that path again, or its
    // next Delete (the destructor's) would sweep the newcomer's folder.
    m_strFolder.Empty();
    return true;
}

void CFaxMessage::Dump() {}

bool CFaxMessage::IsIncoming() {
    return false;
}

DWORD CFaxMessage::GetID() {
    return m_dwID;
}

bool CFaxMessage::SetID(DWORD dwID) {
    m_dwID = dwID;
    return true;
}

CString CFaxMessage::GetMessageBody() {
    return m_strMessageBody;
}

bool CFaxMessage::SetMessageBody(CString& strBody) {
    m_strMessageBody = strBody;
    return true;
}

bool CFaxMessage::GetUseHiRes() {
    return m_bUseHiRes;
}

void CFaxMessage::SetUseHiRes(bool bUseHiRes) {
    m_bUseHiRes = bUseHiRes;
}

bool CFaxMessage::GetUseFaxCoverPage() {
    return m_bUseFaxCoverPage;
}

void CFaxMessage::SetUseFaxCoverPage(bool bUse) {
    m_bUseFaxCoverPage = bUse;
    CheckCPAttachment();
}

// Reads props.ini afresh on every call: another object or process may have
// written it since. A message without its folder (none, or one replaced
// behind its back) has no properties.
CString CFaxMessage::GetProp(UINT ulProp) {
    if (const CConfString* pSetting = FindGlobalProp(ulProp)) {
        return pSetting->m_strValue;
    }
    char szKey[16];
    snprintf(szKey, sizeof(szKey), "%04X", ulProp);
    char buf[512] = {0};
    if (msgstore::FolderStillOwned(this, m_strFolder)) {
        GetPrivateProfileStringA(kPropsSection, szKey, "", buf, sizeof(buf), PropsPath(m_strFolder));
    }
    Log(kCategory, "CFaxMessage::GetProp: ulProp: %d, buf: %s", (int)ulProp, buf);
    return CString(buf);
}

bool CFaxMessage::SetProp(UINT ulProp, CString szPropValue) {
    Log(kCategory, "CFaxMessage::SetProp: ulProp: %d, szPropValue: %s", (int)ulProp, (LPCSTR)szPropValue);
    if (!msgstore::FolderStillOwned(this, m_strFolder)) {
        return false;
    }
    char szKey[16];
    snprintf(szKey, sizeof(szKey), "%04X", ulProp);
    return WritePrivateProfileStringA(kPropsSection, szKey, szPropValue, PropsPath(m_strFolder)) != FALSE;
}

bool CFaxMessage::SetToFax(CString& str) {
    return SetProp(kPropToFax, str);
}

bool CFaxMessage::SetToFirstName(CString& str) {
    return SetProp(kPropToFirstName, str);
}

bool CFaxMessage::SetToLastName(CString& str) {
    return SetProp(kPropToLastName, str);
}

bool CFaxMessage::SetTargetPhone(CString& str) {
    return SetProp(kPropTargetPhone, str);
}

CString CFaxMessage::GetToFax() {
    return GetProp(kPropToFax);
}

CString CFaxMessage::GetToFirstName() {
    return GetProp(kPropToFirstName);
}

CString CFaxMessage::GetToLastName() {
    return GetProp(kPropToLastName);
}

CString CFaxMessage::GetTargetPhone() {
    return GetProp(kPropTargetPhone);
}

CString CFaxMessage::GetFaxCoverPageName() {
    return CConfigApp::GetConfig().m_FaxCoverPage.m_strValue;
}

CString CFaxMessage::GetFaxHeaderName() {
    return CConfigApp::GetConfig().m_FaxHeaderPage.m_strValue;
}

bool CFaxMessage::SetFaxCoverPageName(CString& strName) {
    StoreGlobalSetting(CConfigApp::GetConfig().m_FaxCoverPage, strName);
    return true;
}

bool CFaxMessage::SetFaxCHeaderPageName(CString& strName) {
    StoreGlobalSetting(CConfigApp::GetConfig().m_FaxHeaderPage, strName);
    return true;
}
