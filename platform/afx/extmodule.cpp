// Extension-module registration and CDynLinkLibrary.
#include <initializer_list>
#include <mutex>

#include <afx.h>

namespace {

// Guards every change of the extension list. Recursive because
// AfxTermExtensionModule deletes CDynLinkLibrary objects, whose destructors
// unlink themselves, while it holds the lock. Never destroyed: extension
// DLLs unregister while the process exits, when static destructors may
// already have run.
std::recursive_mutex& LibraryListLock() {
    static std::recursive_mutex* lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    return AfxGetModuleState()->m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    // The application's own resources first (unless the state is a system
    // module's), then the extension DLLs newest first, the system ones last.
    if (!pState->m_bSystem) {
        HINSTANCE hInst = pState->m_hCurrentResourceHandle;
        if (hInst != NULL && ::FindResourceA(hInst, lpszName, lpszType) != NULL) return hInst;
    }
    std::lock_guard<std::recursive_mutex> guard(LibraryListLock());
    for (BOOL bSystem : {FALSE, TRUE}) {
        for (CDynLinkLibrary* pDLL = pState->m_libraryList.GetHead(); pDLL != NULL; pDLL = pDLL->m_pNextDLL) {
            if (pDLL->m_bSystem == bSystem && pDLL->m_hResource != NULL &&
                ::FindResourceA(pDLL->m_hResource, lpszName, lpszType) != NULL)
                return pDLL->m_hResource;
        }
    }
    // Found nowhere: the application's, where the caller's load then fails.
    return pState->m_hCurrentResourceHandle;
}

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized) return TRUE;
    state.bInitialized = TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.pFirstSharedClass = NULL;
    state.pFirstSharedFactory = NULL;
    return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
    if (!state.bInitialized) return;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    std::lock_guard<std::recursive_mutex> guard(LibraryListLock());
    for (CDynLinkLibrary* pDLL = pState->m_libraryList.GetHead(); pDLL != NULL;) {
        CDynLinkLibrary* pNext = pDLL->m_pNextDLL;
        if (bAll || pDLL->m_hModule == state.hModule) delete pDLL;
        pDLL = pNext;
    }
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule),
      m_hResource(state.hResource),
      m_pFirstSharedClass(state.pFirstSharedClass),
      m_bSystem(bSystem),
      m_pNextDLL(NULL) {
    std::lock_guard<std::recursive_mutex> guard(LibraryListLock());
    AfxGetModuleState()->m_libraryList.AddHead(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_pFirstSharedClass(NULL), m_bSystem(FALSE), m_pNextDLL(NULL) {
    std::lock_guard<std::recursive_mutex> guard(LibraryListLock());
    AfxGetModuleState()->m_libraryList.AddHead(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    std::lock_guard<std::recursive_mutex> guard(LibraryListLock());
    AfxGetModuleState()->m_libraryList.Remove(this);
}
