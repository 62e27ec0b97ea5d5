// user32 windows: creation, destruction, text, styles, ids and window data.
//
// A window lives in the handle table from CreateWindowExA until
// DestroyWindow; a stale or foreign HWND is refused with
// ERROR_INVALID_WINDOW_HANDLE. Creation sends WM_NCCREATE then WM_CREATE, as
// Windows does: the title is stored by DefWindowProcA's WM_NCCREATE, so a
// procedure that answers WM_NCCREATE itself with FALSE (or WM_CREATE with -1)
// gets no window, and WM_NCDESTROY as the only further message. Destruction sends WM_DESTROY to the window, destroys its
// children, then sends WM_NCDESTROY; a top-level window's menu goes with it.
// Windows are not painted: there is no display behind them, and what is
// drawn on the virtual screen is drawn there by its owner.
#include <algorithm>
#include <cstring>

#include "win32/user/user.h"

using namespace winport;

namespace {

void DestroyTree(HWND hWnd);

void Unlink(const std::shared_ptr<Window>& w, HWND hWnd) {
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    if (auto parent = Lookup<Window>(w->parent)) {
        auto& c = parent->children;
        c.erase(std::remove(c.begin(), c.end(), hWnd), c.end());
    }
}

void DestroyTree(HWND hWnd) {
    auto w = Lookup<Window>(hWnd);
    if (!w || w->destroying) return;
    w->destroying = true;
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        children = w->children;
    }
    for (HWND child : children) DestroyTree(child);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    Unlink(w, hWnd);
    if ((w->style & WS_CHILD) == 0 && w->id != 0) {
        DestroyMenu(reinterpret_cast<HMENU>(w->id));
    }
    UnregisterObject(hWnd, ObjectKind::Window);
}

}  // namespace

extern "C" {

WINUSERAPI HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                                       int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam) {
    const auto cls = FindWindowClass(lpClassName);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (hWndParent != nullptr && !Lookup<Window>(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if ((dwStyle & WS_CHILD) != 0 && hWndParent == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if ((dwStyle & WS_CHILD) == 0 && hMenu != nullptr && !IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }

    auto w = std::make_shared<Window>();
    w->cls = cls;
    w->proc = cls->info.lpfnWndProc;
    w->style = dwStyle;
    w->exStyle = dwExStyle;
    w->parent = hWndParent;
    w->id = reinterpret_cast<LONG_PTR>(hMenu);
    w->instance = hInstance;
    const auto size = [](int v) { return v == CW_USEDEFAULT ? 0 : v; };
    w->rect = RECT{size(X), size(Y), size(X) + size(nWidth), size(Y) + size(nHeight)};
    w->threadId = GetCurrentThreadId();
    w->extra.assign(static_cast<size_t>(cls->info.cbWndExtra), 0);
    const HWND hWnd = static_cast<HWND>(RegisterObjectWithFreshHandle(w));
    if (hWndParent != nullptr) {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        if (auto parent = Lookup<Window>(hWndParent)) parent->children.push_back(hWnd);
    }

    CREATESTRUCTA cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cy = size(nHeight);
    cs.cx = size(nWidth);
    cs.y = size(Y);
    cs.x = size(X);
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = dwExStyle;
    if (!SendMessageA(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        // Nothing but WM_NCDESTROY reaches a window that refused to be made.
        w->destroying = true;
        SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
        Unlink(w, hWnd);
        UnregisterObject(hWnd, ObjectKind::Window);
        return nullptr;
    }
    if (SendMessageA(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        // Children made meanwhile go the usual way; the window itself was
        // never made, so it gets WM_NCDESTROY alone (as Wine shows it).
        std::vector<HWND> children;
        {
            std::lock_guard<std::recursive_mutex> lock(UserLock());
            children = w->children;
        }
        for (HWND child : children) DestroyTree(child);
        w->destroying = true;
        SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
        Unlink(w, hWnd);
        UnregisterObject(hWnd, ObjectKind::Window);
        return nullptr;
    }
    return Lookup<Window>(hWnd) ? hWnd : nullptr;
}

WINUSERAPI BOOL WINAPI DestroyWindow(HWND hWnd) {
    auto w = LookupWindow(hWnd);
    if (!w) return FALSE;
    DestroyTree(hWnd);
    return TRUE;
}

WINUSERAPI BOOL WINAPI IsWindow(HWND hWnd) {
    return Lookup<Window>(hWnd) ? TRUE : FALSE;
}

WINUSERAPI BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    auto w = LookupWindow(hWnd);
    if (!w) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    return (w->style & WS_DISABLED) == 0;
}

// Returns whether the window was disabled before; WM_ENABLE only on a change.
WINUSERAPI BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    auto w = LookupWindow(hWnd);
    if (!w) return FALSE;
    bool wasDisabled;
    {
        std::lock_guard<std::recursive_mutex> lock(UserLock());
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (bEnable) {
            w->style &= ~static_cast<DWORD>(WS_DISABLED);
        } else {
            w->style |= static_cast<DWORD>(WS_DISABLED);
        }
    }
    if (wasDisabled != !bEnable) SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

WINUSERAPI BOOL WINAPI IsWindowVisible(HWND hWnd) {
    for (auto w = Lookup<Window>(hWnd); w; w = Lookup<Window>(w->parent)) {
        if ((w->style & WS_VISIBLE) == 0) return FALSE;
        if ((w->style & WS_CHILD) == 0) return TRUE;
    }
    return FALSE;
}

// Returns whether the window was visible before.
WINUSERAPI BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    auto w = LookupWindow(hWnd);
    if (!w) return FALSE;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    } else {
        w->style |= static_cast<DWORD>(WS_VISIBLE);
    }
    return wasVisible ? TRUE : FALSE;
}

// The text comes from the window procedure (WM_GETTEXT), as it does for the
// windows of the calling process on Windows.
WINUSERAPI int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!LookupWindow(hWnd)) {
        if (lpString != nullptr && nMaxCount > 0) lpString[0] = '\0';
        return 0;
    }
    if (lpString == nullptr || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    return static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

WINUSERAPI int WINAPI GetWindowTextLengthA(HWND hWnd) {
    if (!LookupWindow(hWnd)) return 0;
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

WINUSERAPI BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!LookupWindow(hWnd)) return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

WINUSERAPI LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    auto w = LookupWindow(hWnd);
    if (!w) return 0;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    if (nIndex >= 0) {
        if (static_cast<size_t>(nIndex) + sizeof(LONG_PTR) > w->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + nIndex, sizeof v);
        return v;
    }
    switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent);
    case GWLP_ID: return w->id;
    case GWLP_USERDATA: return w->userData;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

// Returns the previous value. The parent cannot be changed through here.
WINUSERAPI LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    auto w = LookupWindow(hWnd);
    if (!w) return 0;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    LONG_PTR old;
    if (nIndex >= 0) {
        if (static_cast<size_t>(nIndex) + sizeof(LONG_PTR) > w->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        std::memcpy(&old, w->extra.data() + nIndex, sizeof old);
        std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
        return old;
    }
    switch (nIndex) {
    case GWLP_WNDPROC:
        if (dwNewLong == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return old;
    case GWLP_ID: old = w->id; w->id = dwNewLong; return old;
    case GWLP_USERDATA: old = w->userData; w->userData = dwNewLong; return old;
    case GWL_STYLE: old = static_cast<LONG>(w->style); w->style = static_cast<DWORD>(dwNewLong); return old;
    case GWL_EXSTYLE: old = static_cast<LONG>(w->exStyle); w->exStyle = static_cast<DWORD>(dwNewLong); return old;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

WINUSERAPI LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}

WINUSERAPI LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

// The parent of a child window, or the owner of a popup; NULL otherwise.
WINUSERAPI HWND WINAPI GetParent(HWND hWnd) {
    auto w = LookupWindow(hWnd);
    if (!w) return nullptr;
    if ((w->style & (WS_CHILD | WS_POPUP)) == 0) return nullptr;
    return w->parent;
}

WINUSERAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    auto w = LookupWindow(hDlg);
    if (!w) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(UserLock());
    for (HWND child : w->children) {
        auto c = Lookup<Window>(child);
        if (c && static_cast<int>(c->id) == nIDDlgItem) return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

WINUSERAPI int WINAPI GetDlgCtrlID(HWND hWnd) {
    auto w = LookupWindow(hWnd);
    if (!w) return 0;
    return (w->style & WS_CHILD) != 0 ? static_cast<int>(w->id) : 0;
}

WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    if (!Lookup<Window>(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // A headless session has no foreground to give.
    return TRUE;
}

}  // extern "C"
