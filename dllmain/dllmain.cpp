// Load and unload of the library: the process-wide static objects are built
// first, then the library registers itself as an extension module of the
// client's framework; on unload the registration goes first, then the static
// objects go in the reverse order of their construction.
#include <afx.h>

#include <windows.h>

#include <xwth/resourcemanager.h>

#include "resources/fontcache_state.h"

namespace {

AFX_EXTENSION_MODULE g_module = {};

// The process-wide static objects, in the order of their construction.
CFontDescrArray g_fontCache;  // first: every holder of the cache goes before it
CResourceManager g_resourceManager;

}  // namespace

CFontDescrArray& FontCacheArray() {
    return g_fontCache;
}

CResourceManager& GetResourceManager() {
    return g_resourceManager;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(g_module, hInstance)) {
            return FALSE;
        }
        // The framework keeps the object in its list of extension libraries
        // and deletes it when the module is terminated.
        new CDynLinkLibrary(g_module);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(g_module);
    }
    return TRUE;
}

#if !defined(_WIN32)
namespace {

// POSIX loaders call no DllMain. This object stands last among the library's
// static objects of this file, so it is built after them and destroyed before
// them, which gives the same order as a Windows loader.
class ProcessAttachment {
public:
    ProcessAttachment() {
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&g_module), &m_hModule);
        DllMain(m_hModule, DLL_PROCESS_ATTACH, NULL);
    }
    ~ProcessAttachment() { DllMain(m_hModule, DLL_PROCESS_DETACH, NULL); }

private:
    HMODULE m_hModule = NULL;
};

ProcessAttachment g_attachment;

}  // namespace
#endif
