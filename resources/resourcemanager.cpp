// CResourceManager: registration of resource modules, and the searches that
// load strings, bitmaps, icons, images and raw resources from them, newest
// registration first.
#include <xwth/resourcemanager.h>

#include <windows.h>

namespace {

const char kMakerName[] = "Corvantis";

tagSResModule* RecordAt(CPtrList& list, POSITION pos) {
    return static_cast<tagSResModule*>(list.GetAt(pos));
}

}  // namespace

CResourceManager::CResourceManager() : m_ModuleList(10), m_ModuleMap(10) {}

CResourceManager::~CResourceManager() {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL;) {
        auto* record = static_cast<tagSResModule*>(m_ModuleList.GetNext(pos));
        if (!record->strPath.IsEmpty()) {
            ::FreeLibrary(record->hModule);
        }
        delete record;
    }
    m_ModuleList.RemoveAll();
    m_ModuleMap.RemoveAll();
}

void CResourceManager::RemoveRecord(POSITION pos) {
    tagSResModule* record = RecordAt(m_ModuleList, pos);
    m_ModuleList.RemoveAt(pos);
    void* held = NULL;
    if (record->wID != 0 && m_ModuleMap.Lookup(record->wID, held) && held == record) {
        m_ModuleMap.RemoveKey(record->wID);
    }
    if (!record->strPath.IsEmpty()) {
        ::FreeLibrary(record->hModule);
    }
    delete record;
}

int CResourceManager::RegisterResourceModule(CString strPath, WORD wID) {
    HINSTANCE hModule = ::LoadLibraryA(strPath);
    if (hModule == NULL) {
        return FALSE;
    }
    // The old registration under wID goes only now that the new module is
    // loaded: re-registering one path under one id never lets its load count
    // reach zero in between.
    if (wID != 0) {
        UnRegisterResourceModule(wID);
    }
    tagSResModule* record = NULL;
    try {
        record = new tagSResModule{hModule, strPath, wID};
        m_ModuleList.AddHead(record);
    } catch (...) {
        delete record;
        ::FreeLibrary(hModule);
        throw;
    }
    if (wID != 0) {
        m_ModuleMap[wID] = record;
    }
    return TRUE;
}

int CResourceManager::RegisterResourceModule(HINSTANCE hModule, WORD wID) {
    if (wID != 0) {
        UnRegisterResourceModule(wID);
    }
    auto* record = new tagSResModule{hModule, CString(), wID};
    try {
        m_ModuleList.AddHead(record);
    } catch (...) {
        delete record;
        throw;
    }
    if (wID != 0) {
        m_ModuleMap[wID] = record;
    }
    return TRUE;
}

void CResourceManager::UnRegisterResourceModule(CString strPath) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL; m_ModuleList.GetNext(pos)) {
        if (RecordAt(m_ModuleList, pos)->strPath.Compare(strPath) == 0) {
            RemoveRecord(pos);
            return;
        }
    }
}

void CResourceManager::UnRegisterResourceModule(HINSTANCE hModule) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL; m_ModuleList.GetNext(pos)) {
        tagSResModule* record = RecordAt(m_ModuleList, pos);
        if (record->hModule == hModule) {
            // Removal by handle never frees the module, even one that the
            // manager loaded by path: the caller that named the handle keeps
            // the module's reference.
            record->strPath.Empty();
            RemoveRecord(pos);
            return;
        }
    }
}

void CResourceManager::UnRegisterResourceModule(WORD wID) {
    void* held = NULL;
    if (wID == 0 || !m_ModuleMap.Lookup(wID, held)) {
        return;
    }
    POSITION pos = m_ModuleList.Find(held);
    if (pos != NULL) {
        RemoveRecord(pos);
    } else {
        m_ModuleMap.RemoveKey(wID);
    }
}

HINSTANCE CResourceManager::GetResourceModuleHandle(WORD wID) {
    void* held = NULL;
    if (wID == 0 || !m_ModuleMap.Lookup(wID, held)) {
        return NULL;
    }
    return static_cast<tagSResModule*>(held)->hModule;
}

CString CResourceManager::LoadString(UINT nID, WORD wID) {
    CString result;
    if (m_ModuleList.IsEmpty()) {
        return result;
    }
    char* buffer = result.GetBuffer(CStringSubstArray::kBufferSize);
    buffer[0] = '\0';
    bool found = false;
    void* preferred = NULL;
    if (wID != 0 && m_ModuleMap.Lookup(wID, preferred)) {
        found = ::LoadStringA(static_cast<tagSResModule*>(preferred)->hModule, nID, buffer,
                              CStringSubstArray::kBufferSize) != 0;
    }
    for (POSITION pos = m_ModuleList.GetHeadPosition(); !found && pos != NULL;) {
        auto* record = static_cast<tagSResModule*>(m_ModuleList.GetNext(pos));
        found = ::LoadStringA(record->hModule, nID, buffer, CStringSubstArray::kBufferSize) != 0;
    }
    m_Substitutions.Substitute(buffer);
    result.ReleaseBuffer();
    return result;
}

int CResourceManager::LoadString(UINT nID, CString& str, WORD wID) {
    CString text = LoadString(nID, wID);
    if (text.IsEmpty()) {
        return FALSE;
    }
    str = text;
    return TRUE;
}

HBITMAP CResourceManager::LoadBitmap(LPCSTR lpszName, WORD /*wID*/) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL;) {
        if (HBITMAP bitmap = ::LoadBitmapA(RecordAt(m_ModuleList, pos)->hModule, lpszName)) {
            return bitmap;
        }
        m_ModuleList.GetNext(pos);
    }
    return NULL;
}

HICON CResourceManager::LoadIcon(LPCSTR lpszName, WORD /*wID*/) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL;) {
        if (HICON icon = ::LoadIconA(RecordAt(m_ModuleList, pos)->hModule, lpszName)) {
            return icon;
        }
        m_ModuleList.GetNext(pos);
    }
    return NULL;
}

void* CResourceManager::LoadImage(LPCSTR lpszName, UINT uType, int cx, int cy, UINT fuLoad) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL;) {
        if (HANDLE image = ::LoadImageA(RecordAt(m_ModuleList, pos)->hModule, lpszName, uType, cx, cy, fuLoad)) {
            return image;
        }
        m_ModuleList.GetNext(pos);
    }
    return NULL;
}

void* CResourceManager::LoadResource(LPCSTR lpszName, LPCSTR lpszType, WORD /*wID*/) {
    for (POSITION pos = m_ModuleList.GetHeadPosition(); pos != NULL;) {
        auto* record = static_cast<tagSResModule*>(m_ModuleList.GetNext(pos));
        if (HRSRC found = ::FindResourceA(record->hModule, lpszName, lpszType)) {
            return ::LoadResource(record->hModule, found);
        }
    }
    return NULL;
}

void* CResourceManager::LoadResource(UINT nID, LPCSTR lpszType, WORD wID) {
    return LoadResource(MAKEINTRESOURCEA(LOWORD(nID)), lpszType, wID);
}

void CResourceManager::AddStringSubstitution(CString strFrom, CString strTo) {
    m_Substitutions.SetSubst(strFrom, strTo);
}

void CResourceManager::AddStringSubstitution(UINT nFromID, UINT nToID) {
    CString strFrom;
    CString strTo;
    if (LoadString(nFromID, strFrom, 0) && LoadString(nToID, strTo, 0)) {
        m_Substitutions.SetSubst(strFrom, strTo);
    }
}

void CResourceManager::EnableAppNameSubstitute(int bEnable, CString strName) {
    if (strName == kMakerName) {
        return;
    }
    m_Substitutions.SetSubst(kMakerName, strName);
    m_Substitutions.EnableSubst(kMakerName, bEnable);
}
