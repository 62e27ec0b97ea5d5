// Module state and extension modules.
//   AFX_EXTENSION_MODULE  a framework extension DLL's registration record
//   CDynLinkLibrary       one extension DLL linked into the module state
//   AFX_MODULE_STATE      application object, instance and resource handles, extension list
//   AFX_MAINTAIN_STATE2   makes a module state current for a scope (AFX_MANAGE_STATE)
#pragma once

#include <afxobj.h>

class COleObjectFactory;
class CWinApp;

// Kept by the extension DLL itself (usually a static in its DllMain file);
// AfxInitExtensionModule fills it.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    COleObjectFactory* pFirstSharedFactory;
};

// A singly linked list threaded through the objects' own Next member; the
// list owns nothing.
template <class T, T* T::*Next>
class CTypedSimpleList {
public:
    CTypedSimpleList() noexcept : m_pHead(NULL) {}
    CTypedSimpleList(const CTypedSimpleList&) = delete;
    CTypedSimpleList& operator=(const CTypedSimpleList&) = delete;

    operator T*() const noexcept { return m_pHead; }
    [[nodiscard]] T* GetHead() const noexcept { return m_pHead; }
    [[nodiscard]] T* GetNext(T* p) const noexcept { return p->*Next; }
    [[nodiscard]] bool IsEmpty() const noexcept { return m_pHead == NULL; }
    [[nodiscard]] int GetCount() const noexcept {
        int n = 0;
        for (T* p = m_pHead; p != NULL; p = p->*Next) ++n;
        return n;
    }
    void AddHead(T* p) noexcept {
        p->*Next = m_pHead;
        m_pHead = p;
    }
    // false when p is not in the list.
    bool Remove(T* p) noexcept {
        for (T** link = &m_pHead; *link != NULL; link = &((*link)->*Next)) {
            if (*link == p) {
                *link = p->*Next;
                p->*Next = NULL;
                return true;
            }
        }
        return false;
    }
    void RemoveAll() noexcept { m_pHead = NULL; }

private:
    T* m_pHead;
};

// Links one extension DLL into the current module state for as long as it
// lives; it is created with new in the DLL's DllMain and deleted by
// AfxTermExtensionModule (or by its creator). Resource lookups walk the list.
class WINPORT_API CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CRuntimeClass* m_pFirstSharedClass;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;  // the module state's list link
};

// The application's module state is the process's own (extension DLLs share
// it, as they do in the framework); a thread may make another one current for
// a scope with AFX_MANAGE_STATE. The list is changed under a lock inside the
// framework; walk it only while no extension DLL is being loaded or unloaded.
class WINPORT_API AFX_MODULE_STATE {
public:
    AFX_MODULE_STATE() = default;
    AFX_MODULE_STATE(const AFX_MODULE_STATE&) = delete;
    AFX_MODULE_STATE& operator=(const AFX_MODULE_STATE&) = delete;

    // Set by CWinApp's constructor, cleared by its destructor.
    CWinApp* m_pCurrentWinApp = NULL;
    HINSTANCE m_hCurrentInstanceHandle = NULL;
    HINSTANCE m_hCurrentResourceHandle = NULL;
    // The application's m_pszAppName once AfxWinInit has run; not owned.
    LPCTSTR m_lpszCurrentAppName = NULL;
    BOOL m_bDLL = FALSE;
    BOOL m_bSystem = FALSE;
    // Newest extension first.
    CTypedSimpleList<CDynLinkLibrary, &CDynLinkLibrary::m_pNextDLL> m_libraryList;
};

// The calling thread's current module state: the one AFX_MANAGE_STATE made
// current, else the application's.
[[nodiscard]] WINPORT_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// The application's module state, whatever is current on this thread.
[[nodiscard]] WINPORT_API AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
// Makes pNewState current on the calling thread (NULL: the application's
// again) and returns the state that was current.
WINPORT_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState);

// Makes a module state current on this thread until the end of the scope,
// then restores the one that was current before. Scopes nest.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevModuleState(AfxSetModuleState(pNewState)) {}
    ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(m_pPrevModuleState); }
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevModuleState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)
[[nodiscard]] WINPORT_API HINSTANCE AFXAPI AfxGetInstanceHandle();
[[nodiscard]] WINPORT_API HINSTANCE AFXAPI AfxGetResourceHandle();
WINPORT_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// Where a resource of that name and type is to be loaded from: the first of
// AfxGetResourceHandle() (unless the module state is a system module's), the
// extension DLLs' resource modules newest first, then those of system
// extension DLLs, that contains it; AfxGetResourceHandle() when none does.
[[nodiscard]] WINPORT_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

#define afxCurrentInstanceHandle AfxGetModuleState()->m_hCurrentInstanceHandle
#define afxCurrentResourceHandle AfxGetModuleState()->m_hCurrentResourceHandle
#define afxCurrentAppName AfxGetModuleState()->m_lpszCurrentAppName

// Records hModule as the extension's code and resource module; TRUE. A second
// call for the same record changes nothing.
WINPORT_API BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the CDynLinkLibrary objects of this extension (of every extension
// with bAll). Nothing happens for a record that was never initialised.
WINPORT_API void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);
