// CResourceManager: the registry of resource modules that strings, bitmaps,
// icons, images and raw resources are loaded from, and the substitution
// table every loaded string passes through.
//   tagSResModule      one registration
//   CStringSubst       one substitution entry
//   CStringSubstArray  the entries in the order they were added; owns them
//   CResourceManager   the registry; GetResourceManager() is the library's own
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <xwth/export.h>

class CFont;

// One registered module. Owned by the manager's module list; strPath is
// non-empty exactly when the manager loaded the module itself, and only such
// modules are ever freed by it.
struct tagSResModule {
    HINSTANCE hModule;
    CString strPath;
    WORD wID;  // 0: no id, not in the id map
};

// One substitution: every occurrence of m_strFrom (compared case-sensitively)
// reads as m_strTo while m_bEnabled is non-zero.
class XWTH_API CStringSubst : public CObject {
    DECLARE_DYNAMIC(CStringSubst)
public:
    CStringSubst(const CString& strFrom, const CString& strTo);
    ~CStringSubst() override;

    int m_bEnabled;
    CString m_strFrom;
    CString m_strTo;
};

// The substitution table. Owns its entries: the destructor deletes every
// non-null element.
class XWTH_API CStringSubstArray : public CObArray {
public:
    // The size of the buffer Substitute works in: 1023 bytes of text and the
    // terminator, the size of the resource manager's string buffer.
    static constexpr int kBufferSize = 1024;

    CStringSubstArray();
    ~CStringSubstArray() override;

    // Adds the entry {enabled, strFrom, strTo}, or gives the existing entry
    // for strFrom the text strTo (keeping its switch). A pair with equal texts
    // adds nothing; an empty strFrom is refused, since it would match
    // everywhere.
    void SetSubst(CString strFrom, CString strTo);
    // Sets m_bEnabled of every entry for strFrom to bEnable, unchanged.
    void EnableSubst(CString strFrom, int bEnable);
    // Runs every enabled entry, in order, over the zero-terminated text in
    // buffer, which must hold kBufferSize bytes. Each entry replaces all its
    // occurrences left to right and never searches its own inserted text;
    // later entries see the result of earlier ones. A text that would grow
    // past 1023 bytes is cut after the last whole character that fits.
    void Substitute(char* buffer);
};

// The registry. The most recent registration is searched first; a module id
// chosen by the client (0: none) can name one registration and is then
// preferred when strings are loaded. Not copyable, no locks: use it from one
// thread at a time.
class XWTH_API CResourceManager {
public:
    CResourceManager();
    // Frees the modules the manager loaded itself (never those registered by
    // handle) and deletes every record and substitution entry.
    ~CResourceManager();
    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    // Loads the module with LoadLibraryA and registers it first in the
    // search, under wID when it is not 0 (replacing the registration held
    // under wID after the new module has loaded). FALSE, and nothing changed,
    // when the module cannot be loaded.
    int RegisterResourceModule(CString strPath, WORD wID);
    // Registers a module that is already loaded; the handle is not checked.
    // Always TRUE.
    int RegisterResourceModule(HINSTANCE hModule, WORD wID);
    // Removes the newest registration with this path (case-sensitive) and
    // frees its module when the manager loaded it.
    void UnRegisterResourceModule(CString strPath);
    // Removes the newest registration of this handle; frees nothing.
    void UnRegisterResourceModule(HINSTANCE hModule);
    // Removes the registration held under wID, freeing its module when the
    // manager loaded it.
    void UnRegisterResourceModule(WORD wID);
    [[nodiscard]] HINSTANCE GetResourceModuleHandle(WORD wID);

    // The string nID with the substitutions applied: from module wID if it
    // is registered and has it, else from the first module that has it;
    // cut to 1023 bytes. Empty when no module has it. Exported as LoadStringA.
    CString LoadString(UINT nID, WORD wID);
    // As above; TRUE and str set when the text is not empty, else FALSE and
    // str untouched.
    int LoadString(UINT nID, CString& str, WORD wID);
    // The first handle that LoadBitmapA, LoadIconA or LoadImageA (with these
    // arguments) yields from the registered modules, newest first; NULL when
    // none does. The caller owns it as the Windows call defines. wID is not
    // used. Exported as LoadBitmapA, LoadIconA and LoadImageA.
    HBITMAP LoadBitmap(LPCSTR lpszName, WORD wID);
    HICON LoadIcon(LPCSTR lpszName, WORD wID);
    void* LoadImage(LPCSTR lpszName, UINT uType, int cx, int cy, UINT fuLoad);
    // The resource from the first module that contains it (as FindResourceA
    // finds it), loaded from that module, even if loading fails there.
    // wID is not used.
    void* LoadResource(LPCSTR lpszName, LPCSTR lpszType, WORD wID);
    // The same with the integer name made from the low 16 bits of nID.
    void* LoadResource(UINT nID, LPCSTR lpszType, WORD wID);

    void AddStringSubstitution(CString strFrom, CString strTo);
    // Both texts loaded as strings (with the substitutions so far); nothing
    // is added unless both are non-empty.
    void AddStringSubstitution(UINT nFromID, UINT nToID);
    // Makes the maker's name "Corvantis" read as strName, switched on or off
    // by bEnable; nothing at all when strName is "Corvantis".
    void EnableAppNameSubstitute(int bEnable, CString strName);

    // Style values: string resources loaded with LoadString(nID, 2). A colour
    // "r, g, b" answers 0x02bbggrr (each number's low 8 bits), crDefault when
    // fewer than three numbers read. A font "face,points, bold, italic"
    // (8 points, normal, upright where numbers are missing) answers the
    // cached font of that description, owned by the cache until the library
    // unloads; pDefault without a comma or with an empty face; NULL when the
    // font cannot be made. A flag is the integer the text starts with, 0 for
    // a missing or empty text.
    COLORREF GetStyleColor(UINT nID, COLORREF crDefault);
    CFont* GetStyleFont(UINT nID, CFont* pDefault);
    int GetStyleFlag(UINT nID);

    CPtrList m_ModuleList;     // tagSResModule*, newest at the head
    CMapWordToPtr m_ModuleMap;  // non-zero id -> the same tagSResModule*
    CStringSubstArray m_Substitutions;

private:
    // Takes the record out of the list and the map, frees its module when
    // the manager loaded it, and deletes it.
    void RemoveRecord(POSITION pos);
};

// The library's own manager: built with the library's static objects, empty,
// and destroyed when the library unloads. Never fails.
XWTH_API CResourceManager& GetResourceManager();
