// user32 window classes: RegisterClassA, UnregisterClassA, GetClassInfoA.
//
// One class per name for the whole process (names compare without regard to
// case); the instance handle is kept but is not part of the key, so a second
// module registering the same name fails with ERROR_CLASS_ALREADY_EXISTS.
// Atoms count up from 0xC000 like the system's string atoms. A class still
// used by a window may be unregistered: the window keeps what it was made
// with, as on Windows.
#include <strings.h>

#include <map>

#include "win32/user/user.h"

namespace winport {

std::recursive_mutex& UserLock() {
    static std::recursive_mutex* const lock = new std::recursive_mutex;
    return *lock;
}

namespace {

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct Registry {
    std::map<std::string, std::shared_ptr<const WindowClass>, NoCase> byName;
    ATOM nextAtom = 0xC000;
};

std::shared_ptr<const WindowClass> MakeClass(Registry& r, LPCSTR name, const WNDCLASSA& wc) {
    auto cls = std::make_shared<WindowClass>();
    cls->name = name;
    cls->atom = r.nextAtom++;
    cls->info = wc;
    cls->info.lpszClassName = nullptr;
    cls->info.lpszMenuName = nullptr;
    return cls;
}

// Built with the two system control classes already in it. Never destroyed:
// windows may be made and looked up from static destructors.
Registry& TheRegistry() {
    static Registry* const registry = [] {
        auto* r = new Registry;
        WNDCLASSA wc{};
        wc.lpfnWndProc = ButtonProc;
        r->byName["BUTTON"] = MakeClass(*r, "Button", wc);
        wc.lpfnWndProc = StaticProc;
        r->byName["STATIC"] = MakeClass(*r, "Static", wc);
        return r;
    }();
    return *registry;
}

[[nodiscard]] bool IsAtom(LPCSTR nameOrAtom) {
    return reinterpret_cast<ULONG_PTR>(nameOrAtom) <= 0xFFFF;
}

}  // namespace

std::shared_ptr<const WindowClass> FindWindowClass(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    Registry& r = TheRegistry();
    if (IsAtom(nameOrAtom)) {
        const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
        for (const auto& [name, cls] : r.byName) {
            if (cls->atom == atom) return cls;
        }
        return nullptr;
    }
    const auto it = r.byName.find(nameOrAtom);
    return it == r.byName.end() ? nullptr : it->second;
}

}  // namespace winport

using namespace winport;

extern "C" {

WINUSERAPI ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || IsAtom(lpWndClass->lpszClassName) ||
        lpWndClass->lpszClassName[0] == '\0' || lpWndClass->cbWndExtra < 0 || lpWndClass->cbClsExtra < 0 ||
        lpWndClass->cbWndExtra > 40 || lpWndClass->cbClsExtra > 40) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    Registry& r = TheRegistry();
    if (r.byName.count(lpWndClass->lpszClassName) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = MakeClass(r, lpWndClass->lpszClassName, *lpWndClass);
    const ATOM atom = cls->atom;
    r.byName[lpWndClass->lpszClassName] = std::move(cls);
    return atom;
}

WINUSERAPI BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance) {
    (void)hInstance;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    const auto cls = FindWindowClass(lpClassName);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    TheRegistry().byName.erase(cls->name);
    return TRUE;
}

WINUSERAPI BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass) {
    (void)hInstance;
    const auto cls = FindWindowClass(lpClassName);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *lpWndClass = cls->info;
    // The name points at the caller's own string, as the system answers.
    lpWndClass->lpszClassName = lpClassName;
    return TRUE;
}

}  // extern "C"
