// user32 GetClassNameA: the registered name of a window's class.
//
// The name is the one the class was registered with, in its own case (the
// built-in controls answer "Static" and "Button"), also after the class was
// unregistered while the window lived on.
#include <algorithm>
#include <cstring>

#include "win32/user/user.h"

using namespace winport;

extern "C" {

WINUSERAPI int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    auto w = LookupWindow(hWnd);
    if (!w) return 0;
    if (lpClassName == nullptr || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::string& name = w->cls->name;
    const size_t n = std::min(name.size(), static_cast<size_t>(nMaxCount) - 1);
    std::memcpy(lpClassName, name.data(), n);
    lpClassName[n] = '\0';
    return static_cast<int>(n);
}

}  // extern "C"
